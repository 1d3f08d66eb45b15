// Shared by the audio tag reader tests: run a reader over bytes the way the
// song list and the properties page call it, and build small tags in memory.
#pragma once

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "TestPaths.h"
#include "analysis/SongInfo.h"
#include "analysis/SongReaders.h"

using AudioReader = int32_t (*)(SongFile&, SongInfo*, char*, char*);

// What the song list sees: the result, the title and the comment.
struct ListRead {
    int32_t result;
    std::string title;
    std::string comment;
};

// What the properties page sees.
struct InfoRead {
    int32_t result;
    std::string title;
    std::string artist;      // SongInfo::copyright
    std::string secondText;  // the comment
    int32_t trackNames;
    int32_t shownTracks;
    uint8_t firstChannel;
};

constexpr const char* kUnchangedTitle = "C:\\music\\song";

inline ListRead ReadForList(AudioReader reader, const std::string& bytes) {
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    char title[kTitleBufferBytes];
    char comment[kCommentBufferBytes];
    strcpy(title, kUnchangedTitle);
    strcpy(comment, "stale");
    const int32_t result = reader(file, nullptr, title, comment);
    return ListRead{result, title, comment};
}

inline InfoRead ReadForInfo(AudioReader reader, const std::string& bytes) {
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    SongInfo info;
    info.trackNames.Add({"stale"});
    info.shownTracks = 3;
    info.channels[0] = 1;
    char title[kTitleBufferBytes];
    strcpy(title, kUnchangedTitle);
    const int32_t result = reader(file, &info, title, nullptr);
    return InfoRead{result,           title,           info.copyright, info.secondText, info.trackNames.Count(),
                    info.shownTracks, info.channels[0]};
}

// A corpus file and what the song list shows for it.
struct CorpusListCase {
    const char* file;  // under the corpus
    int32_t result;
    const char* title;
    const char* comment;
};

template <size_t n>
void ExpectListReads(AudioReader reader, const CorpusListCase (&cases)[n]) {
    for (const CorpusListCase& c : cases) {
        const std::string bytes = ReadWholeFile(CorpusPath(c.file));
        ASSERT_FALSE(bytes.empty()) << c.file;
        const ListRead read = ReadForList(reader, bytes);
        EXPECT_EQ(c.result, read.result) << c.file;
        EXPECT_EQ(c.title, read.title) << c.file;
        EXPECT_EQ(c.comment, read.comment) << c.file;
    }
}

inline std::string Le32(uint32_t n) {
    const char bytes[4] = {char(n), char(n >> 8), char(n >> 16), char(n >> 24)};
    return std::string(bytes, 4);
}

inline std::string Be32(uint32_t n) {
    const char bytes[4] = {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
    return std::string(bytes, 4);
}

inline std::string Synchsafe(uint32_t n) {
    const char bytes[4] = {char(n >> 21 & 0x7F), char(n >> 14 & 0x7F), char(n >> 7 & 0x7F), char(n & 0x7F)};
    return std::string(bytes, 4);
}

// UTF-16 of ASCII text, little-endian with its BOM.
inline std::string Utf16LeWithBom(const std::string& ascii) {
    std::string out("\xFF\xFE", 2);
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}
