// UTF-8 member names in CP932.
#include "catalogue/archive/ZipNames.h"

#include <algorithm>
#include <iterator>

#include "core/Cp932.h"

static constexpr char32_t kVoicedMark = 0x3099;      // COMBINING KATAKANA-HIRAGANA VOICED SOUND MARK
static constexpr char32_t kSemiVoicedMark = 0x309A;  // COMBINING ... SEMI-VOICED SOUND MARK
static constexpr char kUnmappableInName = '_';

// Decodes one character at *i; false for a malformed, overlong or
// surrogate sequence or one cut by the end.
static bool DecodeUtf8(const std::string& s, size_t* i, char32_t* c) {
    const uint8_t b = uint8_t(s[*i]);
    int more = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (b < 0x80) {
        *c = b;
        ++*i;
        return true;
    } else if ((b & 0xE0) == 0xC0) {
        more = 1, value = b & 0x1F, least = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        more = 2, value = b & 0x0F, least = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        more = 3, value = b & 0x07, least = 0x10000;
    } else {
        return false;
    }
    if (s.size() - *i <= size_t(more)) {
        return false;
    }
    for (int k = 1; k <= more; k++) {
        const uint8_t next = uint8_t(s[*i + k]);
        if ((next & 0xC0) != 0x80) {
            return false;
        }
        value = value << 6 | (next & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return false;
    }
    *c = value;
    *i += size_t(more) + 1;
    return true;
}

// The kana that take a voiced mark by adding 1 (hiragana; katakana are 0x60
// above), and those that also take the semi-voiced mark by adding 2.
static const char32_t kVoicedBases[] = {0x304B, 0x304D, 0x304F, 0x3051, 0x3053, 0x3055, 0x3057,
                                        0x3059, 0x305B, 0x305D, 0x305F, 0x3061, 0x3064, 0x3066,
                                        0x3068, 0x306F, 0x3072, 0x3075, 0x3078, 0x307B, 0x309D};
static const char32_t kSemiVoicedBases[] = {0x306F, 0x3072, 0x3075, 0x3078, 0x307B};

static bool IsIn(const char32_t* first, const char32_t* last, char32_t c) {
    return std::find(first, last, c) != last;
}

// The composed kana of base and a combining mark, or 0 when there is none.
static char32_t ComposeKana(char32_t base, char32_t mark) {
    if (base == 0x30A6 && mark == kVoicedMark) {
        return 0x30F4;  // VU
    }
    if (base == 0x30FD && mark == kVoicedMark) {
        return 0x30FE;  // katakana iteration mark
    }
    const char32_t hiragana = (base >= 0x30A1 && base <= 0x30F6) ? base - 0x60 : base;
    if (mark == kVoicedMark && IsIn(std::begin(kVoicedBases), std::end(kVoicedBases), hiragana)) {
        return base + 1;
    }
    if (mark == kSemiVoicedMark && IsIn(std::begin(kSemiVoicedBases), std::end(kSemiVoicedBases), hiragana)) {
        return base + 2;
    }
    return 0;
}

// Characters that other Japanese mappings use where CP932 has its own.
static char32_t Cp932Counterpart(char32_t c) {
    switch (c) {
        case 0x301C:
            return 0xFF5E;  // WAVE DASH -> FULLWIDTH TILDE
        case 0x2016:
            return 0x2225;  // DOUBLE VERTICAL LINE -> PARALLEL TO
        case 0x2212:
            return 0xFF0D;  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
        case 0x2014:
            return 0x2015;  // EM DASH -> HORIZONTAL BAR
        case 0x00A2:
            return 0xFFE0;  // CENT SIGN
        case 0x00A3:
            return 0xFFE1;  // POUND SIGN
        case 0x00AC:
            return 0xFFE2;  // NOT SIGN
        default:
            return c;
    }
}

static void AppendCp932(char32_t c, std::string* out) {
    if (c > 0xFFFF) {
        out->push_back(kUnmappableInName);
        return;
    }
    const char16_t unit = char16_t(Cp932Counterpart(c));
    const std::string bytes = Utf16ToCp932(&unit, 1);
    // A best fit onto '?', '\\' or '/' would make a wildcard or a folder.
    const bool changedMeaning = bytes.size() == 1 &&
                                (bytes[0] == kCp932Unmappable || bytes[0] == '\\' || bytes[0] == '/') &&
                                char32_t(uint8_t(bytes[0])) != c;
    if (bytes.empty() || changedMeaning) {
        out->push_back(kUnmappableInName);
        return;
    }
    *out += bytes;
}

bool ZipUtf8NameToCp932(const std::string& utf8, std::string* out) {
    std::u32string characters;
    for (size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        if (!DecodeUtf8(utf8, &i, &c)) {
            return false;
        }
        const char32_t composed = characters.empty() ? 0 : ComposeKana(characters.back(), c);
        if (composed != 0) {
            characters.back() = composed;
        } else {
            characters.push_back(c);
        }
    }
    std::string converted;
    for (char32_t c : characters) {
        AppendCp932(c, &converted);
    }
    *out = converted;
    return true;
}

std::string ZipDisplayName(const std::string& name, uint16_t flags) {
    std::string converted;
    if ((flags & kZipFlagUtf8Name) && ZipUtf8NameToCp932(name, &converted)) {
        return converted;
    }
    return name;
}
