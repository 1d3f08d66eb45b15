// Drives every text helper that takes untrusted bytes (titles, paths, command
// lines, MIDI lengths) and checks the invariants callers rely on: no read or
// write outside the buffers, no lone lead byte left by a cut, lossless splits.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "core/Text.h"

static void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// True when the text does not end in a lead byte that lost its trail byte.
static bool EndsOnCharacter(const char* s, size_t length) {
    size_t i = 0;
    while (i < length) {
        i += IsLeadByte(static_cast<uint8_t>(s[i])) ? 2 : 1;
    }
    return i == length;
}

static void FuzzPaths(const char* text) {
    std::string folder;
    std::string name;
    SplitPath(text, &folder, &name, true);
    Check(folder + name == text);
    SplitPath(text, &folder, &name, false);
    Check(folder + name == text);
    std::string base;
    std::string ext;
    SplitExtension(text, &base, &ext);
    Check(std::strncmp(text, base.c_str(), base.size()) == 0);
    const int separator = LastSeparator(text);
    Check(separator < static_cast<int>(std::strlen(text)));
    FindEitherChar(text, '\\', '>');
    FileUrl(text);
    std::string escaped = text;
    EscapeBrackets(&escaped);
}

static void FuzzTokens(const char* text, size_t dstSize) {
    std::string token;
    size_t position = 0;
    const size_t length = std::strlen(text);
    while (NextToken(&token, text, &position)) {
        Check(position <= length);
    }
    std::unique_ptr<char[]> word(new char[dstSize ? dstSize : 1]);
    for (const char* rest = text; rest;) {
        const char* next = NextCommandWord(word.get(), dstSize, rest);
        if (dstSize > 0) {
            const size_t stored = std::strlen(word.get());
            Check(stored < dstSize);
            Check(EndsOnCharacter(word.get(), stored) || (stored > 0 && word[stored - 1] == text[length - 1]));
        }
        Check(!next || next > rest || *next == '\0');
        rest = (next && *next != '\0') ? next : nullptr;
    }
}

static void FuzzCopies(const uint8_t* data, size_t size, const char* text, size_t n) {
    // The source is the raw bytes without a terminator: CopyBounded must not
    // look past n of them.
    const size_t limit = n < size ? n : size;
    std::unique_ptr<char[]> src(new char[limit ? limit : 1]);
    std::memcpy(src.get(), data, limit);
    std::unique_ptr<char[]> dst(new char[limit + 1]);
    const size_t copied = CopyBounded(dst.get(), src.get(), limit);
    Check(copied <= limit && dst[copied] == '\0');
    Check(EndsOnCharacter(dst.get(), copied));

    std::unique_ptr<char[]> title(new char[size + 1]);
    std::memcpy(title.get(), data, size);
    TrimTitle(size, title.get());
    Check(std::strlen(title.get()) <= size);

    std::string spaced = text;
    CompactSpaces(&spaced[0]);
    Check(std::strlen(spaced.c_str()) <= std::strlen(text));

    uint32_t value = 0;
    const int used = ReadVarLen(data, size, &value);
    Check(used >= 0 && static_cast<size_t>(used) <= size && used <= 4);
}

static void FuzzFolding(const char* text) {
    HtmlEscape(text, true);
    HtmlEscape(text, false);
    SearchKey(text, true);
    SearchKey(text, false);
    const std::string upper = UpperAscii(text);
    Check(upper.size() == std::strlen(text));
    Check(CompareNoCase(upper.c_str(), text) == 0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> text(new char[size + 1]);
    std::memcpy(text.get(), data, size);
    text[size] = '\0';
    const size_t small = size > 0 ? data[0] % 16 : 0;
    FuzzPaths(text.get());
    FuzzTokens(text.get(), small);
    FuzzCopies(data, size, text.get(), size > 0 ? data[size - 1] : 0);
    FuzzFolding(text.get());
    return 0;
}
