// Code page 932 conversions over the generated pair tables.
#include "core/Cp932.h"

#include <algorithm>

#include "core/Text.h"

namespace {

struct Cp932Pair {
    uint16_t unicode;
    uint16_t code;
};

#include "core/Cp932Table.inc"

}  // namespace

// Appends the CP932 bytes of one UTF-16 unit (not a surrogate).
static void AppendUnit(char16_t unit, std::string* out) {
    if (unit < 0x80) {
        out->push_back(char(unit));
        return;
    }
    const Cp932Pair* end = kCp932FromUnicode + sizeof(kCp932FromUnicode) / sizeof(kCp932FromUnicode[0]);
    const Cp932Pair* found =
        std::lower_bound(kCp932FromUnicode, end, unit, [](const Cp932Pair& p, char16_t u) { return p.unicode < u; });
    if (found == end || found->unicode != unit) {
        out->push_back(kCp932Unmappable);
        return;
    }
    if (found->code > 0xFF) {
        out->push_back(char(found->code >> 8));
    }
    out->push_back(char(found->code & 0xFF));
}

static bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

static bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

std::string Utf16ToCp932(const char16_t* units, size_t count) {
    std::string out;
    for (size_t i = 0; i < count && units[i] != 0; ++i) {
        const char16_t unit = units[i];
        if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            // Nothing outside the basic plane exists in CP932: one stand-in
            // per character, whether the pair is whole or not.
            if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(units[i + 1])) {
                ++i;
            }
            out.push_back(kCp932Unmappable);
            continue;
        }
        AppendUnit(unit, &out);
    }
    return out;
}

std::string Utf8ToCp932(const uint8_t* bytes, size_t size) {
    std::u16string units;
    size_t i = 0;
    while (i < size && bytes[i] != 0) {
        const uint8_t b = bytes[i];
        if ((b & 0xE0) == 0xC0) {
            if (size - i < 2) {
                break;
            }
            units.push_back(char16_t((b & 0x1F) << 6 | (bytes[i + 1] & 0x3F)));
            i += 2;
        } else if ((b & 0xF0) == 0xE0) {
            if (size - i < 3) {
                break;
            }
            units.push_back(char16_t((b & 0x0F) << 12 | (bytes[i + 1] & 0x3F) << 6 | (bytes[i + 2] & 0x3F)));
            i += 3;
        } else {
            units.push_back(char16_t(b));
            ++i;
        }
    }
    return Utf16ToCp932(units.data(), units.size());
}

// The Unicode character of a CP932 code, or 0 when it has none.
static char16_t UnicodeOfCode(uint16_t code) {
    const Cp932Pair* end = kCp932ToUnicode + sizeof(kCp932ToUnicode) / sizeof(kCp932ToUnicode[0]);
    const Cp932Pair* found =
        std::lower_bound(kCp932ToUnicode, end, code, [](const Cp932Pair& p, uint16_t c) { return p.code < c; });
    if (found == end || found->code != code) {
        return 0;
    }
    return found->unicode;
}

// Decodes the character at *p and moves past it; false at the terminator or
// at a lead byte cut off by it.
static bool NextUnicode(const uint8_t** p, char16_t* unit) {
    const uint8_t* at = *p;
    if (*at == 0 || (IsLeadByte(*at) && at[1] == 0)) {
        return false;
    }
    if (*at < 0x80) {
        *unit = char16_t(*at);
        *p = at + 1;
        return true;
    }
    const bool twoBytes = IsLeadByte(*at);
    const char16_t unicode = UnicodeOfCode(twoBytes ? uint16_t(at[0] << 8 | at[1]) : uint16_t(at[0]));
    *unit = unicode != 0 ? unicode : kCp932UndefinedUnicode;
    *p = at + (twoBytes ? 2 : 1);
    return true;
}

std::u16string Cp932ToUtf16(const char* text) {
    std::u16string out;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(text);
    char16_t unit = 0;
    while (NextUnicode(&p, &unit)) {
        out.push_back(unit);
    }
    return out;
}

std::string Cp932ToUtf8(const char* text) {
    std::string out;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(text);
    char16_t unit = 0;
    for (;;) {
        // Runs of 7-bit bytes are the same in both; they go over whole.
        const uint8_t* const run = p;
        while (*p != 0 && *p < 0x80) {
            ++p;
        }
        out.append(reinterpret_cast<const char*>(run), static_cast<size_t>(p - run));
        if (!NextUnicode(&p, &unit)) {
            break;
        }
        if (unit < 0x80) {
            out += char(unit);
        } else if (unit < 0x800) {
            out += char(0xC0 | (unit >> 6));
            out += char(0x80 | (unit & 0x3F));
        } else {
            out += char(0xE0 | (unit >> 12));
            out += char(0x80 | ((unit >> 6) & 0x3F));
            out += char(0x80 | (unit & 0x3F));
        }
    }
    return out;
}
