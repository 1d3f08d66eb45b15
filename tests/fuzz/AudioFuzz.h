// Shared by the audio tag reader fuzz targets: runs a reader the way the song
// list and the properties page call it and checks that every text it writes
// is terminated within its bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "analysis/SongInfo.h"
#include "analysis/SongReaders.h"

using FuzzedAudioReader = int32_t (*)(SongFile&, SongInfo*, char*, char*);

inline void CheckFuzz(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

inline void FuzzAudioReaderOnce(FuzzedAudioReader reader, const uint8_t* data, size_t size, SongInfo* info) {
    MemorySongFile file(data, uint32_t(size));
    char title[kTitleBufferBytes];
    char comment[kCommentBufferBytes];
    // Guard bytes: nothing may be written past 255 bytes and the terminator.
    std::memset(title, 0x5A, sizeof(title));
    std::memset(comment, 0x5A, sizeof(comment));
    std::strcpy(title, "path");
    const int32_t result = reader(file, info, title, comment);
    CheckFuzz(result >= kReadCannotRead && result <= 255);
    CheckFuzz(title[256] == 0x5A && comment[256] == 0x5A);
    CheckFuzz(std::memchr(comment, '\0', 256) != nullptr);
    if (result > 0) {
        CheckFuzz(std::strlen(title) == size_t(result));
    }
    if (info != nullptr) {
        CheckFuzz(std::memchr(info->copyright, '\0', sizeof(info->copyright)) != nullptr);
        CheckFuzz(std::memchr(info->secondText, '\0', 385) != nullptr);
    }
}

// Tags and headers lie in a file's first and last kilobytes; longer inputs
// only slow the runs.
constexpr size_t kMaxAudioFuzzInput = 256u << 10;

// List mode, then properties mode.
inline int FuzzAudioReader(FuzzedAudioReader reader, const uint8_t* data, size_t size) {
    if (size > kMaxAudioFuzzInput) {
        return 0;
    }
    FuzzAudioReaderOnce(reader, data, size, nullptr);
    SongInfo info;
    FuzzAudioReaderOnce(reader, data, size, &info);
    return 0;
}
