// A read-ahead window over a SongFile for the sequence readers. One Read
// fills the window; bytes inside it cost nothing more, so a reader that walks
// a file's head in small steps still reads it once.
#pragma once

#include <cstdint>
#include <memory>

#include "core/SongFile.h"

class ByteWindow {
   public:
    // capacity: bytes fetched per Read (the first fill reads the file's head).
    ByteWindow(SongFile& file, uint32_t capacity);

    // The file's size, at most what a signed 32-bit Seek reaches.
    uint64_t FileSize() const {
        return fileSize_;
    }

    // Makes up to n bytes at pos readable (n at most the capacity). Returns
    // them with *got set to how many the file holds there (0 past the end).
    const uint8_t* Fetch(uint64_t pos, uint32_t n, uint32_t* got);

    // Copies up to n bytes at pos into dst; returns the count copied.
    uint32_t CopyOut(uint64_t pos, uint32_t n, void* dst);

    // Byte at pos, or 0 when the file ends before it.
    uint8_t ByteAt(uint64_t pos);

   private:
    SongFile& file_;
    // Left unset until a read fills it: every song read makes a window, and
    // only the bytes a Fetch reports are ever looked at.
    std::unique_ptr<uint8_t[]> buffer_;
    uint32_t capacity_;
    uint64_t fileSize_ = 0;
    uint64_t start_ = 0;
    uint32_t length_ = 0;
};
