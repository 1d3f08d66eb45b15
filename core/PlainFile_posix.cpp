// Plain files and folder searches outside Windows, for the native tests,
// fuzzers and the command-line tool. Paths use the program's '\\' separator;
// it is turned into '/' here (never a 0x5C trail byte), and errno values
// become the Win32 error numbers the rest of the program expects.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/Cp932.h"
#include "core/FileFinder.h"
#include "core/PosixFiles.h"
#include "core/SongFile.h"
#include "core/Text.h"

std::string NativePath(const char* path) {
    const size_t size = std::strlen(path);
    if (IsSevenBit(path, size)) {
        std::string out(path, size);
        for (char& c : out) {
            if (c == '\\') {
                c = '/';
            }
        }
        return out;
    }
    std::string out;
    for (const uint8_t* p = reinterpret_cast<const uint8_t*>(path); *p; p++) {
        if (IsLeadByte(*p) && p[1]) {
            out += char(p[0]);
            out += char(p[1]);
            p++;
        } else {
            out += (*p == '\\') ? '/' : char(*p);
        }
    }
    // Unix file names are UTF-8; the program's text is CP932.
    return Cp932ToUtf8(out.c_str());
}

// True when the bytes are well-formed UTF-8 of at most three bytes a
// character (what CP932 text can come from).
static bool IsUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const uint8_t c = uint8_t(s[i]);
        const size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 0;
        if (length == 0 || length > s.size() - i) {
            return false;
        }
        for (size_t k = 1; k < length; k++) {
            if ((uint8_t(s[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

std::string ProgramNameOfNative(const std::string& name) {
    if (IsSevenBit(name.data(), name.size())) {
        return name;
    }
    if (!IsUtf8(name)) {
        return name;  // not UTF-8: taken as it is, the way Wine shows such names
    }
    return Utf8ToCp932(reinterpret_cast<const uint8_t*>(name.data()), name.size());
}

uint32_t ErrorOfErrno(int e) {
    switch (e) {
        case 0:
            return kErrorSuccess;
        case ENOENT:
            return kErrorFileNotFound;
        case ENOTDIR:
            return kErrorPathNotFound;
        case ENAMETOOLONG:
            return kErrorFilenameExcedRange;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            return kErrorAccessDenied;
        case ENOMEM:
            return kErrorNotEnoughMemory;
        case EBUSY:
        case ETXTBSY:
            return kErrorSharingViolation;
        case EEXIST:
            return kErrorAlreadyExists;
        case ENOTEMPTY:
            return kErrorDirNotEmpty;
        case ENOSPC:
            return 112;  // disk full
        default:
            return 31;  // general failure
    }
}

uint64_t FileTimeOfTimespec(const struct timespec& t) {
    const uint64_t kEpochDifference = 11644473600ULL;  // seconds from 1601 to 1970
    return (uint64_t(t.tv_sec) + kEpochDifference) * 10000000ULL + uint64_t(t.tv_nsec) / 100;
}

namespace {

// The folders listed while a WalkedFoldersScope lives: each kept open, with
// the sizes of its plain files by a hash of their names. Two names of one
// folder with the same hash but different sizes leave the size unknown.
class WalkedFolders {
  public:
    ~WalkedFolders() {
        for (const std::unique_ptr<Folder>& folder : folders_) {
            close(folder->fd);
        }
    }

    // A listing of folder (native, ending in '/') begins; the folder is kept
    // open through dirFd (duplicated). A listing of every name replaces what
    // an earlier one found; one of some names adds to it. Null when the
    // folder cannot be kept.
    struct Folder;
    Folder* BeginListing(const std::string& folder, int dirFd, bool everyName) {
        if (Folder* known = Find(folder)) {
            if (everyName) {
                known->sizes.clear();
                known->sorted = true;
            }
            return known;
        }
        if (folders_.size() >= kMaxFolders) {
            return nullptr;
        }
        const int fd = fcntl(dirFd, F_DUPFD_CLOEXEC, 0);
        if (fd < 0) {
            return nullptr;
        }
        folders_.push_back(std::make_unique<Folder>(Folder{folder, fd, {}, true}));
        index_[folder] = folders_.back().get();
        return folders_.back().get();
    }

    Folder* Find(const std::string& folder) {
        const auto found = index_.find(folder);
        return found == index_.end() ? nullptr : found->second;
    }

    void ForgetSizes() {
        for (const std::unique_ptr<Folder>& folder : folders_) {
            folder->sizes.clear();
        }
    }

    static uint64_t NameHash(const char* name) {
        uint64_t hash = 14695981039346656037ULL;  // FNV-1a
        for (const uint8_t* p = reinterpret_cast<const uint8_t*>(name); *p; p++) {
            hash = (hash ^ *p) * 1099511628211ULL;
        }
        return hash;
    }

    struct Folder {
        std::string path;
        int fd;
        std::vector<std::pair<uint64_t, uint64_t>> sizes;  // name hash, size
        bool sorted;

        void Add(const char* name, uint64_t size) {
            sizes.emplace_back(NameHash(name), size);
            sorted = false;
        }
        // The listed size of name; false when not listed or not known.
        bool SizeOf(const char* name, uint64_t* size) {
            if (!sorted) {
                std::sort(sizes.begin(), sizes.end());
                sorted = true;
            }
            const uint64_t hash = NameHash(name);
            auto first = std::lower_bound(sizes.begin(), sizes.end(), std::make_pair(hash, uint64_t(0)));
            if (first == sizes.end() || first->first != hash) {
                return false;
            }
            const auto next = first + 1;
            if (next != sizes.end() && next->first == hash && next->second != first->second) {
                return false;
            }
            *size = first->second;
            return true;
        }
    };

  private:
    // Each kept folder holds a descriptor.
    static constexpr size_t kMaxFolders = 256;
    std::vector<std::unique_ptr<Folder>> folders_;
    std::unordered_map<std::string, Folder*> index_;
};

thread_local WalkedFolders* tWalked = nullptr;
thread_local int tWalkedDepth = 0;

// An open file read with positioned reads: the position is kept here, so a
// seek costs no system call, and the size is the one read when the file was
// opened.
class PosixSongFile : public SongFile {
  public:
    PosixSongFile(int fd, uint64_t size, const char* path) : fd_(fd), size_(size), path_(path) {}
    ~PosixSongFile() override {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    bool Read(void* buffer, uint32_t n, uint32_t* count) override {
        *count = 0;
        if (fd_ < 0) {
            return false;
        }
        uint8_t* out = static_cast<uint8_t*>(buffer);
        while (*count < n) {
            ssize_t got = pread(fd_, out + *count, n - *count, off_t(position_ + *count));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                return false;
            }
            if (got == 0) {
                break;
            }
            *count += uint32_t(got);
        }
        position_ += *count;
        return true;
    }
    uint32_t Seek(int32_t offset, int origin) override {
        if (fd_ < 0) {
            return uint32_t(-1);
        }
        const int64_t base = origin == kSeekCurrent ? int64_t(position_) : origin == kSeekEnd ? int64_t(size_) : 0;
        const int64_t at = base + offset;
        if (at < 0) {
            return uint32_t(-1);  // before the start: refused, the position stays
        }
        position_ = uint64_t(at);
        return uint32_t(position_);
    }
    uint32_t Size(uint32_t* high) override {
        const uint64_t size = fd_ >= 0 ? size_ : 0;
        if (high) {
            *high = uint32_t(size >> 32);
        }
        return uint32_t(size);
    }
    const char* OpenedPath() const override {
        return path_.c_str();
    }

  private:
    int fd_;
    uint64_t size_;
    uint64_t position_ = 0;
    std::string path_;
};

uint32_t AttributesOf(const std::string& name, const struct stat& st) {
    uint32_t attributes = 0;
    if (S_ISDIR(st.st_mode)) {
        attributes |= kAttrDirectory;
    } else {
        attributes |= kAttrArchive;
    }
    if (!(st.st_mode & S_IWUSR)) {
        attributes |= kAttrReadOnly;
    }
    // Unix hides dot files; treat them as hidden the way Wine shows them.
    if (name.size() > 1 && name[0] == '.' && name != "..") {
        attributes |= kAttrHidden;
    }
    return attributes;
}

class PosixFinder : public FileFinder {
  public:
    PosixFinder(FindRecord* record, const char* pattern) {
        std::string native = NativePath(pattern);
        size_t slash = native.rfind('/');
        folder_ = slash == std::string::npos ? std::string() : native.substr(0, slash + 1);
        mask_ = native.substr(slash == std::string::npos ? 0 : slash + 1);
        // A name without wildcards is looked up directly: a list naming songs
        // of a large folder would otherwise read the whole folder per song.
        // A name that differs only in case is still found by the search.
        if (mask_.find_first_of("*?") == std::string::npos && !mask_.empty() && Describe(mask_, record)) {
            found_ = true;
            error_ = kErrorSuccess;
            return;
        }
        dir_ = opendir(folder_.empty() ? "." : folder_.c_str());
        if (!dir_) {
            // A folder that is not there is a path error, as on Windows.
            error_ = errno == ENOENT ? kErrorPathNotFound : ErrorOfErrno(errno);
            return;
        }
        if (tWalked && !folder_.empty()) {
            walked_ = tWalked->BeginListing(folder_, dirfd(dir_), mask_ == "*" || mask_ == "*.*");
        }
        found_ = Advance(record);
        error_ = found_ ? kErrorSuccess : kErrorFileNotFound;
    }
    ~PosixFinder() override {
        if (dir_) {
            closedir(dir_);
        }
    }
    bool Next(FindRecord* record) override {
        found_ = dir_ && Advance(record);
        return found_;
    }

  private:
    bool Advance(FindRecord* record) {
        while (struct dirent* entry = readdir(dir_)) {
            if (MatchesWildcard(entry->d_name, mask_.c_str()) && Describe(entry->d_name, record)) {
                return true;
            }
        }
        return false;
    }

    // Fills the record of the entry name in the folder. False when it is gone.
    bool Describe(const std::string& name, FindRecord* record) const {
        // Within the open folder the name is looked up relative to it.
        struct stat st;
        const int got = dir_ ? fstatat(dirfd(dir_), name.c_str(), &st, 0) : stat((folder_ + name).c_str(), &st);
        if (got != 0) {
            return false;
        }
        record->name = ProgramNameOfNative(name);
        record->alternateName.clear();
        record->attributes = AttributesOf(name, st);
        record->size = S_ISDIR(st.st_mode) ? 0 : uint64_t(st.st_size);
        if (walked_ && S_ISREG(st.st_mode)) {
            walked_->Add(name.c_str(), record->size);
        }
        record->lastWriteTime = FileTimeOfTimespec(st.st_mtim);
        record->lastAccessTime = FileTimeOfTimespec(st.st_atim);
        record->creationTime = FileTimeOfTimespec(st.st_ctim);
        return true;
    }

    DIR* dir_ = nullptr;
    WalkedFolders::Folder* walked_ = nullptr;
    std::string folder_;
    std::string mask_;
};

// Windows tells a missing folder (3) from a missing file (2).
bool ParentFolderExists(const std::string& native) {
    size_t slash = native.rfind('/');
    if (slash == std::string::npos || slash == 0) {
        return true;
    }
    struct stat st;
    return stat(native.substr(0, slash).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::unique_ptr<SongFile> OpenPlainSongFile(const char* path, const SongOpenRequest& request, uint32_t* lastError) {
    if (request.flags & kOpenPrepareOnly) {
        *lastError = kErrorSuccess;
        return std::make_unique<PosixSongFile>(-1, 0, path);
    }
    std::string native = NativePath(path);
    const size_t slash = native.rfind('/');
    WalkedFolders::Folder* walked =
        tWalked && slash != std::string::npos ? tWalked->Find(native.substr(0, slash + 1)) : nullptr;
    const char* name = native.c_str() + (slash == std::string::npos ? 0 : slash + 1);
    int fd = walked ? openat(walked->fd, name, O_RDONLY | O_CLOEXEC) : -1;
    if (fd < 0) {
        // Not in a kept folder, or no longer there: by the path as it is now.
        walked = nullptr;
        fd = open(native.c_str(), O_RDONLY | O_CLOEXEC);
    }
    uint64_t listedSize = 0;
    if (fd >= 0 && walked && walked->SizeOf(name, &listedSize)) {
        *lastError = kErrorSuccess;
        return std::make_unique<PosixSongFile>(fd, listedSize, path);
    }
    if (fd < 0) {
        *lastError = ErrorOfErrno(errno);
        if (errno == ENOENT && !ParentFolderExists(native)) {
            *lastError = kErrorPathNotFound;
        }
        return nullptr;
    }
    struct stat st;
    const bool statRead = fstat(fd, &st) == 0;
    if (!statRead || S_ISDIR(st.st_mode)) {
        *lastError = statRead ? kErrorAccessDenied : ErrorOfErrno(errno);
        close(fd);
        return nullptr;
    }
    *lastError = kErrorSuccess;
    return std::make_unique<PosixSongFile>(fd, uint64_t(st.st_size), path);
}

std::unique_ptr<FileFinder> OpenPlainFinder(FindRecord* record, const char* pattern) {
    return std::make_unique<PosixFinder>(record, pattern);
}

WalkedFoldersScope::WalkedFoldersScope() {
    if (tWalkedDepth++ == 0) {
        tWalked = new WalkedFolders();
    }
}

WalkedFoldersScope::~WalkedFoldersScope() {
    if (--tWalkedDepth == 0) {
        delete tWalked;
        tWalked = nullptr;
    }
}

void ForgetWalkedSizes() {
    if (tWalked) {
        tWalked->ForgetSizes();
    }
}
