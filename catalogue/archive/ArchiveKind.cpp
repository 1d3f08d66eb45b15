// Recognising archives by extension and splitting member paths.
#include "catalogue/archive/ArchiveKind.h"

#include <cstring>

#include "core/Text.h"

static bool archiveAvailable[4] = {false, false, false, false};

void SetArchiveAvailable(int kind, bool available) {
    if (kind > kArchiveNone && kind <= kArchiveGca) {
        archiveAvailable[kind] = available;
    }
}

bool ArchiveAvailable(int kind) {
    return kind > kArchiveNone && kind <= kArchiveGca && archiveAvailable[kind];
}

static bool EndsWithNoCase(const char* s, size_t length, const char* suffix) {
    size_t n = std::strlen(suffix);
    return length >= n && CompareNoCase(std::string(s + length - n, n).c_str(), suffix) == 0;
}

// Kind of an extension at the end of s[0..length), with or without a
// trailing '>' in the suffixes given.
static int KindOfSuffix(const char* s, size_t length, bool withMark) {
    static const struct {
        const char* extension;
        int kind;
    } kSuffixes[] = {{".lzh", kArchiveLzh}, {".zip", kArchiveZip}, {".neo", kArchiveZip}, {".gca", kArchiveGca}};
    for (const auto& row : kSuffixes) {
        std::string suffix = std::string(row.extension) + (withMark ? ">" : "");
        if (EndsWithNoCase(s, length, suffix.c_str())) {
            return ArchiveAvailable(row.kind) ? row.kind : kArchiveNone;
        }
    }
    return kArchiveNone;
}

int ArchiveKindOfName(const char* name) {
    size_t length = std::strlen(name);
    if (length < 5) {
        return kArchiveNone;
    }
    return KindOfSuffix(name, length, false);
}

// Bytes up to and including the first '>' (stepping over double-byte
// characters), or 0 when there is none.
static size_t LengthThroughMark(const char* path) {
    for (const char* p = path; *p != '\0'; p += CharBytes(p)) {
        if (*p == '>') {
            return size_t(p - path) + 1;
        }
    }
    return 0;
}

int ArchiveKindOfPath(const char* path, bool wholePath) {
    size_t length = wholePath ? std::strlen(path) : LengthThroughMark(path);
    if (length < 6) {
        return kArchiveNone;
    }
    return KindOfSuffix(path, length, true);
}

bool SplitMemberPath(const char* path, std::string* archive, std::string* member) {
    size_t length = LengthThroughMark(path);
    if (length == 0) {
        return false;
    }
    archive->assign(path, length - 1);
    member->assign(path + length);
    return true;
}
