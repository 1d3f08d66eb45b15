// Archive members as song files and finder entries.
#include "catalogue/archive/ArchiveAccess.h"

#include <memory>
#include <new>

#include "catalogue/archive/ArchiveFiles.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiverCommand.h"
#include "catalogue/archive/LzhHeader.h"
#include "core/SongFile.h"
#include "core/Text.h"

static MemberExtractor memberExtractor = nullptr;
static std::string workingFolder;

void SetMemberExtractor(MemberExtractor extractor) {
    memberExtractor = extractor;
}

void SetWorkingFolder(const std::string& path) {
    workingFolder = path;
}

std::string WorkingFolder() {
    return workingFolder.empty() ? SystemTempFolder() + "Kadrel.$$$" : workingFolder;
}

void FindRecordOfEntry(const ArchiveEntry& entry, FindRecord* record) {
    const uint64_t kSecondsFrom1601To1970 = 11644473600ULL;
    record->attributes = entry.attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrDirectory);
    record->creationTime = 0;
    record->lastAccessTime = 0;
    record->lastWriteTime = 0;
    int64_t local = 0;
    if (LocalSecondsOfDos(entry.dosDate, entry.dosTime, &local)) {
        int64_t utc = UtcSecondsOfLocal(local);
        record->lastWriteTime = uint64_t(utc + int64_t(kSecondsFrom1601To1970)) * 10000000ULL;
    }
    record->size = entry.size;
    record->name = entry.name;
    record->alternateName.clear();
}

// The last element of a member name (after its last '/' or '\\').
static std::string LastNameElement(const std::string& name) {
    size_t start = 0;
    for (size_t i = 0; i < name.size(); i += CharBytes(name.c_str() + i)) {
        if (name[i] == '/' || name[i] == '\\') {
            start = i + 1;
        }
    }
    return name.substr(start);
}

int ExtractMemberOwn(const char* memberPath, const char* destinationFolder) {
    std::string archive, member;
    int kind = ArchiveKindOfPath(memberPath, false);
    if (!SplitMemberPath(memberPath, &archive, &member) || kind == kArchiveNone) {
        return kArchiveErrorCannotOpen;
    }
    // Only the last element is written, so no name reaches outside the folder.
    std::string fileName = LastNameElement(member);
    if (fileName.empty() || fileName == "." || !IsExtractableMemberName(member.c_str())) {
        return kArchiveErrorCannotOpen;
    }
    std::string target = std::string(destinationFolder) + "\\" + fileName;
    int result = ExtractMemberToFile(kind, archive.c_str(), member.c_str(), target.c_str());
    return result == kArchiverErrorWrite ? kArchiveErrorCannotOpen : result;
}

int ExtractMember(const char* memberPath, const char* destinationFolder, void* ownerWindow, ExtractPurpose purpose) {
    // Checked here, before any library sees the name: a user's own library
    // would write a device or take the name for a wildcard.
    std::string archive, member;
    if (SplitMemberPath(memberPath, &archive, &member) && !IsExtractableMemberName(member.c_str())) {
        return kArchiverErrorUnsafeName;
    }
    if (memberExtractor) {
        return memberExtractor(memberPath, destinationFolder, ownerWindow, purpose);
    }
    return ExtractMemberOwn(memberPath, destinationFolder);
}

namespace {

// A member extracted to the working folder: reads go to the copy, which is
// deleted when the reader goes unless it was there before.
class ExtractedSongFile : public SongFile {
   public:
    ExtractedSongFile(std::unique_ptr<SongFile> copy, std::string copyPath, int kind, bool existed, bool wholeFolder)
        : copy_(std::move(copy)),
          copyPath_(std::move(copyPath)),
          kind_(kind),
          existed_(existed),
          wholeFolder_(wholeFolder) {
    }
    ~ExtractedSongFile() override {
        copy_.reset();
        if (wholeFolder_) {
            RemoveFolderTree(WorkingFolder().c_str());
        } else if (!existed_) {
            DeleteFilePath(copyPath_.c_str());
        }
    }
    bool Read(void* buffer, uint32_t n, uint32_t* count) override {
        return copy_->Read(buffer, n, count);
    }
    uint32_t Seek(int32_t offset, int origin) override {
        return copy_->Seek(offset, origin);
    }
    uint32_t Size(uint32_t* high) override {
        return copy_->Size(high);
    }
    const char* OpenedPath() const override {
        return copyPath_.c_str();
    }
    int ArchiveKind() const override {
        return kind_;
    }

   private:
    std::unique_ptr<SongFile> copy_;
    std::string copyPath_;
    int kind_;
    bool existed_;
    bool wholeFolder_;
};

// A member in memory: the whole member, or the first memberSize bytes when
// the caller knows a size (a shorter member leaves the rest zero).
std::unique_ptr<SongFile> OpenMemberInMemory(int kind,
                                             const std::string& archive,
                                             const std::string& member,
                                             const SongOpenRequest& request,
                                             uint32_t* lastError) {
    *lastError = kErrorFileNotFound;
    MemberBytes bytes;
    if (request.memberSize == 0) {
        if (ReadWholeMember(kind, archive.c_str(), member.c_str(), &bytes) != 0) {
            return nullptr;
        }
    } else if (request.memberSize <= kMemberInMemoryMax) {
        bytes.bytes.reset(new (std::nothrow) uint8_t[request.memberSize]);
        bytes.size = request.memberSize;
        if (!bytes.bytes ||
            ReadMemberToMemory(kind, archive.c_str(), member.c_str(), bytes.bytes.get(), bytes.size) != 0) {
            return nullptr;
        }
    } else {
        return nullptr;
    }
    // An empty member opens as an empty file does, so that the readers
    // judge it the same way.
    if (!bytes.bytes) {
        bytes.bytes.reset(new (std::nothrow) uint8_t[1]);
        if (!bytes.bytes) {
            return nullptr;
        }
    }
    *lastError = kErrorSuccess;
    return std::make_unique<MemorySongFile>(std::move(bytes.bytes), bytes.size, kind);
}

std::unique_ptr<SongFile> OpenMemberOnDisk(const char* path,
                                           int kind,
                                           const std::string& member,
                                           const SongOpenRequest& request,
                                           uint32_t* lastError) {
    std::string folder = WorkingFolder();
    std::string copyPath = folder + "\\" + LastNameElement(member);
    *lastError = kErrorFileNotFound;
    if (!EnsureFolder(folder.c_str())) {
        return nullptr;
    }
    bool existed = !request.wholeFolder && PathExists(copyPath.c_str());
    if (ExtractMember(path, folder.c_str(), request.ownerWindow, ExtractPurpose::kForReading) != 0 ||
        !PathExists(copyPath.c_str())) {
        return nullptr;
    }
    SongOpenRequest plain = request;
    plain.flags &= ~kOpenMemoryMode;
    std::unique_ptr<SongFile> copy = OpenPlainSongFile(copyPath.c_str(), plain, lastError);
    if (!copy) {
        if (!existed && !request.wholeFolder) {
            DeleteFilePath(copyPath.c_str());
        }
        return nullptr;
    }
    *lastError = kErrorSuccess;
    return std::make_unique<ExtractedSongFile>(std::move(copy), copyPath, kind, existed, request.wholeFolder);
}

std::unique_ptr<SongFile> OpenArchiveMember(const char* path,
                                            int kind,
                                            const SongOpenRequest& request,
                                            uint32_t* lastError) {
    std::string archive, member;
    if (!SplitMemberPath(path, &archive, &member)) {
        *lastError = kErrorFileNotFound;
        return nullptr;
    }
    if (request.flags & kOpenMemoryMode) {
        return OpenMemberInMemory(kind, archive, member, request, lastError);
    }
    return OpenMemberOnDisk(path, kind, member, request, lastError);
}

// Lists the members of an archive that match the pattern after its '>'.
class ArchiveFinder : public FileFinder {
   public:
    ArchiveFinder(FindRecord* record, const char* path, int kind, void* ownerWindow) {
        std::string archive, pattern;
        SplitMemberPath(path, &archive, &pattern);
        list_ = OpenArchiveList(kind, archive.c_str(), ownerWindow);
        if (!list_) {
            error_ = uint32_t(-1);
            return;
        }
        ArchiveEntry entry;
        const int result = FindFirstMember(list_.get(), pattern.c_str(), &entry);
        found_ = result == 0;
        // A listing that ends in damage before any member is reported as
        // that damage, not shown as an empty archive.
        error_ = result == 0 || result == kArchiveNoMore ? 0 : uint32_t(result);
        if (found_) {
            FindRecordOfEntry(entry, record);
        }
    }
    ~ArchiveFinder() override {
        CloseArchiveList(&list_);
    }
    bool Next(FindRecord* record) override {
        ArchiveEntry entry;
        found_ = list_ && FindNextMember(list_.get(), &entry) == 0;
        if (found_) {
            FindRecordOfEntry(entry, record);
        }
        return found_;
    }

   private:
    std::unique_ptr<ArchiveList> list_;
};

std::unique_ptr<FileFinder> OpenArchiveFinder(FindRecord* record, const char* path, int kind, void* ownerWindow) {
    return std::make_unique<ArchiveFinder>(record, path, kind, ownerWindow);
}

int KindOfMemberPath(const char* path) {
    return ArchiveKindOfPath(path, false);
}

}  // namespace

void InstallArchiveAccess() {
    SetArchiveHooks(KindOfMemberPath, OpenArchiveMember);
    SetArchiveFinderHook(OpenArchiveFinder);
}
