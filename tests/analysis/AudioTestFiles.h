// Shared by the audio tag reader tests: run a reader over bytes the way the
// song list and the properties page call it, and build small tags in memory.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "TestPaths.h"
#include "analysis/Id3v2.h"
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

// A song file that counts what a reader asks of it: the reads and the largest
// one. A reader whose work grows with a count or size the file declares shows
// it here, without any timing.
class CountingSongFile : public SongFile {
   public:
    explicit CountingSongFile(SongFile& inner) : inner_(inner) {
    }
    bool Read(void* buffer, uint32_t n, uint32_t* count) override {
        reads++;
        largestRead = std::max(largestRead, n);
        return inner_.Read(buffer, n, count);
    }
    uint32_t Seek(int32_t offset, int origin) override {
        return inner_.Seek(offset, origin);
    }
    uint32_t Size(uint32_t* high) override {
        return inner_.Size(high);
    }
    const char* OpenedPath() const override {
        return inner_.OpenedPath();
    }

    uint32_t reads = 0;
    uint32_t largestRead = 0;

   private:
    SongFile& inner_;
};

// What the song list sees of a song read through a CountingSongFile, and what
// the reader asked of the file.
struct CountedRead {
    ListRead read;
    uint32_t reads;
    uint32_t largestRead;
};

inline CountedRead ReadCounted(AudioReader reader, SongFile& inner) {
    CountingSongFile file(inner);
    char title[kTitleBufferBytes];
    char comment[kCommentBufferBytes];
    strcpy(title, kUnchangedTitle);
    const int32_t result = reader(file, nullptr, title, comment);
    return CountedRead{ListRead{result, title, comment}, file.reads, file.largestRead};
}

inline CountedRead ReadCounted(AudioReader reader, const std::string& bytes) {
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    return ReadCounted(reader, file);
}

// Writes a file of size bytes that begins with head and ends with tail; the
// bytes between are zeros the file system need not store (a sparse file), so
// a test can have a reader face hundreds of megabytes cheaply.
inline bool WriteSparseFile(const std::string& path, const std::string& head, uint32_t size, const std::string& tail) {
    std::FILE* f = std::fopen(SystemPath(path).c_str(), "wb");
    if (!f) {
        return false;
    }
    const std::string end = tail.empty() ? std::string(1, '\0') : tail;
    bool ok = std::fwrite(head.data(), 1, head.size(), f) == head.size() &&
              std::fseek(f, long(size - end.size()), SEEK_SET) == 0 &&
              std::fwrite(end.data(), 1, end.size(), f) == end.size();
    return std::fclose(f) == 0 && ok;
}

// An ID3v2.3 frame: id, size, no flags, data.
inline std::string Frame23(const char* id, const std::string& data) {
    return std::string(id, 4) + Be32(uint32_t(data.size())) + std::string(2, '\0') + data;
}

// The largest tag body an ID3v2 header can state: 256 MiB less one byte.
constexpr uint32_t kLargestId3v2Body = 0x0FFFFFFF;

// A sparse file that is one tag of the largest size: its header (6 bytes:
// "ID3", version, revision, flags), first at the tag's start and last at its
// end, zeros between.
inline bool WriteLargestId3v2File(const std::string& path,
                                  const char* header,
                                  const std::string& first,
                                  const std::string& last) {
    return WriteSparseFile(path, std::string(header, 6) + Synchsafe(kLargestId3v2Body) + first,
                           kId3v2HeaderBytes + kLargestId3v2Body, last);
}

// Reads a file on disk through a CountingSongFile.
inline CountedRead ReadCountedFile(AudioReader reader, const std::string& path) {
    uint32_t error = 0;
    std::unique_ptr<SongFile> file = OpenPlainSongFile(path.c_str(), SongOpenRequest(), &error);
    EXPECT_TRUE(file) << path << " error " << error;
    if (!file) {
        return CountedRead{ListRead{kReadCannotRead, "", ""}, 0, 0};
    }
    return ReadCounted(reader, *file);
}
