// A watch on the bytes the archive layer reads from archive files, and
// sparse files for the archive tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "TestPaths.h"
#include "catalogue/archive/ArchiveList.h"
#include "core/SongFile.h"

namespace stored {

// Writes pieces of a file at their offsets; the gaps read as zeros and
// take no disk space where the file system keeps holes.
inline bool WritePieces(const std::string& path, const std::vector<std::pair<uint64_t, std::string>>& pieces) {
    FILE* f = std::fopen(SystemPath(path).c_str(), "wb");
    if (!f) {
        return false;
    }
    bool ok = true;
    for (const auto& piece : pieces) {
#ifdef _WIN32
        ok = ok && _fseeki64(f, int64_t(piece.first), SEEK_SET) == 0;
#else
        ok = ok && fseeko(f, off_t(piece.first), SEEK_SET) == 0;
#endif
        ok = ok && std::fwrite(piece.second.data(), 1, piece.second.size(), f) == piece.second.size();
    }
    return std::fclose(f) == 0 && ok;
}

// What the archive layer read from archive files while the watch was on.
struct ReadWatch {
    uint64_t bytes = 0;    // delivered in all
    uint32_t largest = 0;  // in one read
    uint64_t opens = 0;    // archive files opened
};
inline ReadWatch readWatch;

class WatchedFile : public SongFile {
   public:
    explicit WatchedFile(std::unique_ptr<SongFile> file) : file_(std::move(file)) {
    }
    bool Read(void* buffer, uint32_t n, uint32_t* count) override {
        const bool ok = file_->Read(buffer, n, count);
        readWatch.bytes += *count;
        readWatch.largest = *count > readWatch.largest ? *count : readWatch.largest;
        return ok;
    }
    uint32_t Seek(int32_t offset, int origin) override {
        return file_->Seek(offset, origin);
    }
    uint32_t Size(uint32_t* high) override {
        return file_->Size(high);
    }
    const char* OpenedPath() const override {
        return file_->OpenedPath();
    }

   private:
    std::unique_ptr<SongFile> file_;
};

inline std::unique_ptr<SongFile> OpenWatched(const char* path) {
    uint32_t error = 0;
    SongOpenRequest request;
    request.flags = 0;
    std::unique_ptr<SongFile> file = OpenPlainSongFile(path, request, &error);
    if (!file) {
        return nullptr;
    }
    readWatch.opens++;
    return std::make_unique<WatchedFile>(std::move(file));
}

// Puts the watch on archive files for a test's life.
class WatchArchiveReads {
   public:
    WatchArchiveReads() {
        readWatch = ReadWatch();
        SetArchiveFileOpener(OpenWatched);
    }
    ~WatchArchiveReads() {
        SetArchiveFileOpener(nullptr);
    }
    WatchArchiveReads(const WatchArchiveReads&) = delete;
    WatchArchiveReads& operator=(const WatchArchiveReads&) = delete;
};

}  // namespace stored
