// Shift_JIS path and text helpers: splitting paths and token lists, bounded
// copies, title trimming and case folding. Every loop advances with CharBytes,
// so the trail byte of a double-byte character is never looked at on its own.
#include "core/Text.h"

#include <algorithm>
#include <cstring>

static uint8_t ByteAt(const char* p) {
    return static_cast<uint8_t>(*p);
}

static char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c;
}

bool IsSevenBit(const char* text, size_t size) {
    for (size_t i = 0; i < size; i++) {
        if (ByteAt(text + i) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool IsHalfWidthKana(uint8_t c) {
    return c >= 0xA1 && c <= 0xDF;
}

bool SplitPath(const char* path, std::string* folderOut, std::string* nameOut, bool archiveAware) {
    const char* split = nullptr;
    for (const char* p = path; *p != '\0'; p += CharBytes(p)) {
        if (archiveAware && *p == '>') {
            split = p;
            break;
        }
        if (*p == '\\') {
            split = p;
        }
    }
    const size_t folderBytes = split ? static_cast<size_t>(split - path) + 1 : 0;
    // Built before either output is written: a caller may split a string in place.
    std::string folder(path, folderBytes);
    std::string name(path + folderBytes);
    if (folderOut) {
        *folderOut = std::move(folder);
    }
    if (nameOut) {
        *nameOut = std::move(name);
    }
    return split != nullptr;
}

void SplitExtension(const char* path, std::string* baseOut, std::string* extOut) {
    const char* dot = nullptr;
    for (const char* p = path; *p != '\0'; p += CharBytes(p)) {
        if (*p == '.') {
            dot = p;
        } else if (*p == '\\' || *p == '>') {
            dot = nullptr;
        }
    }
    std::string base = dot ? std::string(path, dot) : std::string(path);
    std::string ext = dot ? std::string(dot + 1) : std::string();
    if (baseOut) {
        *baseOut = std::move(base);
    }
    if (extOut) {
        *extOut = std::move(ext);
    }
}

int LastSeparator(const char* path) {
    int found = -1;
    for (const char* p = path; *p != '\0'; p += CharBytes(p)) {
        if (*p == '\\' || *p == '/') {
            found = static_cast<int>(p - path);
        }
    }
    return found;
}

int FindEitherChar(const char* s, char a, char b) {
    for (const char* p = s; *p != '\0'; p += CharBytes(p)) {
        if (*p == a || (b != '\0' && *p == b)) {
            return static_cast<int>(p - s);
        }
    }
    return -1;
}

int FindDriveColon(const char* path) {
    const int found = FindEitherChar(path, ':', '>');
    return found >= 0 && path[found] == ':' ? found : -1;
}

bool NextToken(std::string* dst, const char* src, size_t* position) {
    const char* start = src + *position;
    dst->clear();
    if (*start == '\0') {
        return false;
    }
    const char* p = start;
    while (*p != '\0' && *p != ';') {
        p += CharBytes(p);
    }
    dst->assign(start, p);
    if (*p == ';') {
        ++p;
    }
    *position = static_cast<size_t>(p - src);
    return true;
}

const char* NextCommandWord(char* dst, size_t dstSize, const char* src) {
    while (*src == ' ') {
        ++src;
    }
    size_t used = 0;
    if (*src != '\0') {
        bool quoted = false;
        // Once a character does not fit, the rest of the word is skipped, so
        // the stored part is always a prefix that ends on a character boundary.
        bool full = dstSize == 0;
        const char* p = src;
        while (*p != '\0' && (quoted || *p != ' ')) {
            if (*p == '"') {
                quoted = !quoted;
                ++p;
                continue;
            }
            const size_t n = CharBytes(p);
            if (!full && n <= dstSize - 1 - used) {
                std::memcpy(dst + used, p, n);
                used += n;
            } else {
                full = true;
            }
            p += n;
        }
        src = p;
    } else {
        src = nullptr;
    }
    if (dstSize > 0) {
        dst[used] = '\0';
    }
    return src;
}

void EscapeBrackets(std::string* s) {
    std::string escaped;
    escaped.reserve(s->size());
    for (const char* p = s->c_str(); *p != '\0';) {
        const size_t n = CharBytes(p);
        if (n == 1 && (*p == '[' || *p == ']')) {
            escaped += '\\';
        }
        escaped.append(p, n);
        p += n;
    }
    *s = std::move(escaped);
}

size_t CopyBounded(char* dst, const char* src, size_t n) {
    size_t used = 0;
    // src[used + 1] is read only below n: src may be a field of exactly n
    // bytes without a terminator.
    while (used < n && src[used] != '\0') {
        if (IsLeadByte(ByteAt(src + used))) {
            if (used + 1 >= n || src[used + 1] == '\0') {
                break;
            }
            dst[used] = src[used];
            dst[used + 1] = src[used + 1];
            used += 2;
        } else {
            dst[used] = src[used];
            ++used;
        }
    }
    dst[used] = '\0';
    return used;
}

std::string PathBuffer(const char* path, size_t minBytes) {
    std::string buffer = path;
    buffer.resize(std::max(buffer.size() + 1, minBytes), '\0');
    return buffer;
}

int ReadVarLen(const uint8_t* bytes, size_t avail, uint32_t* value) {
    // Four bytes hold the 28 bits a MIDI file may use; a longer run is
    // malformed and stops after the fourth byte.
    const size_t limit = avail < 4 ? avail : 4;
    uint32_t v = 0;
    size_t used = 0;
    while (used < limit) {
        const uint8_t b = bytes[used++];
        v = (v << 7) | (b & 0x7F);
        if ((b & 0x80) == 0) {
            break;
        }
    }
    *value = v;
    return static_cast<int>(used);
}

std::string FileUrl(const char* path) {
    std::string url = "file:///";
    for (const char* p = path; *p != '\0';) {
        const size_t n = CharBytes(p);
        if (n == 1 && *p == '\\') {
            url += '/';
        } else {
            url.append(p, n);
        }
        p += n;
    }
    return url;
}

void CompactSpaces(char* title) {
    char* out = title;
    bool afterSpace = true;  // drops leading spaces
    for (const char* p = title; *p != '\0';) {
        const size_t n = CharBytes(p);
        // A full-width space counts as two spaces, which the run rule below
        // reduces to one.
        const bool space = (n == 1 && *p == ' ') || (n == 2 && ByteAt(p) == 0x81 && p[1] == 0x40);
        if (space) {
            if (!afterSpace) {
                *out++ = ' ';
            }
            afterSpace = true;
        } else {
            // out never passes p, so a forward copy is safe.
            for (size_t i = 0; i < n; ++i) {
                *out++ = p[i];
            }
            afterSpace = false;
        }
        p += n;
    }
    *out = '\0';
}

// Start of the character that holds byte end - 1 (end > 0).
static size_t LastCharStart(const char* buffer, size_t end) {
    size_t start = 0;
    for (size_t i = 0; i < end; i += IsLeadByte(ByteAt(buffer + i)) ? 2 : 1) {
        start = i;
    }
    return start;
}

bool TrimTitle(size_t length, char* buffer) {
    size_t kept = length;
    while (kept > 0 && (buffer[kept - 1] == ' ' || buffer[kept - 1] == '\0')) {
        --kept;
    }
    if (kept == 0) {
        buffer[0] = '\0';
        return true;
    }
    const size_t last = LastCharStart(buffer, kept);
    if (last + 1 == kept && IsLeadByte(ByteAt(buffer + last))) {
        // The trail byte of the last character was dropped with the spaces
        // and NULs: it belongs to the character. Without one, as when a reader
        // cut a long title, the lone lead byte goes.
        kept = kept < length ? kept + 1 : last;
    }
    if (kept >= 2 && buffer[kept - 2] == '\r' && buffer[kept - 1] == '\n' &&
        LastCharStart(buffer, kept - 1) == kept - 2) {
        kept -= 2;
    }
    buffer[kept] = '\0';
    return kept == 0;
}

std::string UpperAscii(const char* s) {
    std::string upper;
    for (const char* p = s; *p != '\0';) {
        const size_t n = CharBytes(p);
        if (n == 1 && *p >= 'a' && *p <= 'z') {
            upper += static_cast<char>(*p - 0x20);
        } else {
            upper.append(p, n);
        }
        p += n;
    }
    return upper;
}

int CompareNoCase(const char* a, const char* b) {
    // While the strings agree, their characters start at the same offsets, so
    // the lead byte test on a decides for both. Double-byte characters
    // compare as they are, single bytes with ASCII letters lowered.
    for (size_t i = 0;;) {
        if (IsLeadByte(ByteAt(a + i)) && a[i + 1] != '\0') {
            for (size_t k = i; k < i + 2; ++k) {
                if (a[k] != b[k]) {
                    return static_cast<int>(ByteAt(a + k)) - static_cast<int>(ByteAt(b + k));
                }
            }
            i += 2;
            continue;
        }
        const char ca = LowerAscii(a[i]);
        const char cb = LowerAscii(b[i]);
        if (ca != cb) {
            return static_cast<int>(static_cast<uint8_t>(ca)) - static_cast<int>(static_cast<uint8_t>(cb));
        }
        if (ca == '\0') {
            return 0;
        }
        ++i;
    }
}
