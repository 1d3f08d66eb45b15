// The LZH and ZIP listings over our header walks, and member decoding.
#include "catalogue/archive/ArchiveList.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "catalogue/archive/ArchiveFiles.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiveSource.h"
#include "catalogue/archive/ArchiverCommand.h"
#include "catalogue/archive/Inflate.h"
#include "catalogue/archive/LzhDecoder.h"
#include "catalogue/archive/LzhHeader.h"
#include "catalogue/archive/MemberIndex.h"
#include "catalogue/archive/MemberMatch.h"
#include "catalogue/archive/ZipHeader.h"
#include "core/FileSystem.h"
#include "core/SongFile.h"
#include "core/Text.h"

static GcaListOpener gcaListOpener = nullptr;
static GcaMemberReader gcaMemberReader = nullptr;

void SetGcaListOpener(GcaListOpener opener) {
    gcaListOpener = opener;
}

void SetGcaMemberReader(GcaMemberReader reader) {
    gcaMemberReader = reader;
}

bool MemberMatchesPattern(const char* pattern, const char* name) {
    return std::strcmp(pattern, "*.*") == 0 || MatchMemberName(pattern, name);
}

namespace {

ArchiveFileOpener archiveFileOpener = nullptr;

// The parts both walks share: the open file, the pattern and the walk state.
// A walk remembers where each member it passes begins (MemberIndex.h).
class WalkedList : public ArchiveList {
   public:
    WalkedList(std::unique_ptr<SongFile> file, const char* archivePath)
        : file_(std::move(file)), source_(file_.get()), archivePath_(archivePath) {
    }

    int FindFirst(const char* pattern, ArchiveEntry* entry) override {
        pattern_ = pattern;
        done_ = false;
        places_ = MemberPlaces();
        if (!Start(&offset_)) {
            done_ = true;
            return kArchiveErrorBroken;
        }
        return FindNext(entry);
    }

    int FindNext(ArchiveEntry* entry) override {
        while (!done_) {
            entryOffset_ = offset_;
            int result = Step(entry);
            if (result == 0) {
                places_.Add(entry->name.c_str(), entryOffset_);
                if (MemberMatchesPattern(pattern_.c_str(), entry->name.c_str())) {
                    attributes_ = entry->attributes;
                    return 0;
                }
            } else if (result != kSkipped) {
                done_ = true;
                RememberMemberPlaces(archivePath_, source_.Size(), std::move(places_));
                return result;
            }
        }
        return kArchiveNoMore;
    }

    // Positions the list on the member named memberName (case folded): at
    // its remembered place when the archive was walked lately, else by a
    // walk over the whole archive, which remembers every member's place for
    // the reads that follow. 0, kArchiveErrorNotFound or the walk's error.
    int FindMember(const char* memberName) {
        ArchiveEntry entry;
        for (uint32_t offset : RecallMemberPlaces(archivePath_, source_.Size(), memberName)) {
            offset_ = offset;
            if (Step(&entry) == 0 && CompareNoCase(entry.name.c_str(), memberName) == 0) {
                return 0;
            }
        }
        bool found = false;
        uint32_t foundAt = 0;
        int result = FindFirst("*.*", &entry);
        for (; result == 0; result = FindNext(&entry)) {
            if (!found && CompareNoCase(entry.name.c_str(), memberName) == 0) {
                found = true;
                foundAt = entryOffset_;
            }
        }
        if (!found) {
            return result == kArchiveNoMore ? kArchiveErrorNotFound : result;
        }
        offset_ = foundAt;
        return Step(&entry);
    }

    // The uncompressed size of the member found last.
    virtual uint32_t CurrentSize() const = 0;
    // Decodes the member found last into out->Limit() bytes (its whole size
    // or less) and finishes out; a whole member is checked against its CRC.
    // 0, kArchiveErrorMethod, kArchiveErrorBroken or kArchiverErrorWrite.
    virtual int DecodeCurrent(MemberOutput* out) = 0;

   protected:
    static constexpr int kSkipped = 1;  // a member the listing does not show

    // Finds the first header; false when the file holds none.
    virtual bool Start(uint32_t* offset) = 0;
    // Reads the member at offset_ and moves on: 0, kSkipped or a result.
    virtual int Step(ArchiveEntry* entry) = 0;

    // Runs a decoder over the packed bytes of a member into out, checking
    // a whole member's checksum.
    template <typename Decode>
    int DecodeChecked(uint32_t dataOffset,
                      uint32_t packedSize,
                      uint32_t size,
                      uint32_t crc,
                      ChecksumFn checksum,
                      MemberOutput* out,
                      Decode decode) {
        ArchiveRange packed(&source_, dataOffset, packedSize);
        const bool whole = out->Limit() == size;
        if (whole) {
            out->SetChecksum(checksum);
        }
        int result = decode(&packed, whole);
        if (result == 0 && !out->Finish(out->Limit())) {
            result = kArchiverErrorWrite;
        }
        if (result != 0 && out->WriteFailed()) {
            return kArchiverErrorWrite;
        }
        return result == 0 && whole && out->Checksum() != crc ? kArchiveErrorBroken : result;
    }

    std::unique_ptr<SongFile> file_;
    ArchiveSource source_;
    uint32_t offset_ = 0;

   private:
    std::string archivePath_;
    std::string pattern_;
    bool done_ = true;
    uint32_t entryOffset_ = 0;  // where the member found last begins
    MemberPlaces places_;
};

uint32_t LzhChecksum(const uint8_t* bytes, size_t n, uint32_t crc) {
    return LzhCrc16(bytes, n, uint16_t(crc));
}

class LzhList : public WalkedList {
   public:
    using WalkedList::WalkedList;

    uint32_t CurrentSize() const override {
        return current_.size;
    }
    int DecodeCurrent(MemberOutput* out) override {
        if (LzhMethodIndex(current_.method) < 0) {
            return kArchiveErrorMethod;
        }
        return DecodeChecked(current_.dataOffset, current_.packedSize, current_.size, current_.crc, LzhChecksum, out,
                             [this, out](ArchiveRange* packed, bool) {
                                 return DecodeLzhMember(current_.method, packed, packed->Size(), out);
                             });
    }

   private:
    bool Start(uint32_t* offset) override {
        return FindFirstLzhHeader(&source_, offset);
    }
    int Step(ArchiveEntry* entry) override {
        uint32_t next = 0;
        int result = ReadLzhHeader(&source_, offset_, LocalSecondsOfUtc, &current_, &next);
        if (result != 0) {
            return result;
        }
        offset_ = next;
        entry->size = current_.size;
        entry->dosTime = current_.dosTime;
        entry->dosDate = current_.dosDate;
        entry->attributes = current_.attributes;
        entry->name = current_.name;
        return 0;
    }

    LzhEntry current_;
};

class ZipList : public WalkedList {
   public:
    using WalkedList::WalkedList;

    uint32_t CurrentSize() const override {
        return current_.size;
    }
    int DecodeCurrent(MemberOutput* out) override {
        if (current_.flags & 0x1) {
            return kArchiveErrorBroken;  // encrypted
        }
        if (current_.method != 0 && current_.method != 8) {
            return kArchiveErrorMethod;
        }
        if (UsesDirectory() && LocateZipData(&source_, &current_) != 0) {
            return kArchiveErrorBroken;
        }
        return DecodeChecked(current_.dataOffset, current_.packedSize, current_.size, current_.crc, ZipCrc32From, out,
                             [this, out](ArchiveRange* packed, bool whole) {
                                 return current_.method == 0 ? CopyStoredMember(packed, packed->Size(), out)
                                                             : InflateMember(packed, out, whole);
                             });
    }

   private:
    // The central directory holds every member's sizes, also of members
    // whose local headers leave them to a data descriptor after the data
    // (streamed archives), so it is walked when the end record leads to it.
    // An archive without one (cut short, or written by hand) is walked
    // through its local headers.
    bool UsesDirectory() {
        if (!directoryKnown_) {
            directoryKnown_ = true;
            ZipDirectory directory;
            usesDirectory_ = FindZipDirectory(&source_, &directory);
            directoryOffset_ = directory.offset;
        }
        return usesDirectory_;
    }
    bool Start(uint32_t* offset) override {
        if (!IsZipArchive(&source_)) {
            return false;
        }
        *offset = UsesDirectory() ? directoryOffset_ : 0;
        return true;
    }
    int Step(ArchiveEntry* entry) override {
        uint32_t next = 0;
        int result = UsesDirectory() ? ReadZipDirectoryEntry(&source_, offset_, &current_, &next)
                                     : ReadZipHeader(&source_, offset_, &current_, &next);
        if (result != 0) {
            return result;
        }
        offset_ = next;
        if (!IsListedZipEntry(current_)) {
            return kSkipped;
        }
        entry->size = current_.size;
        entry->dosTime = current_.dosTime;
        entry->dosDate = current_.dosDate;
        entry->attributes = 0;
        entry->name = current_.name;
        return 0;
    }

    ZipEntry current_;
    bool directoryKnown_ = false;
    bool usesDirectory_ = false;
    uint32_t directoryOffset_ = 0;
};

std::unique_ptr<SongFile> OpenArchiveFile(const char* archivePath) {
    if (archiveFileOpener) {
        return archiveFileOpener(archivePath);
    }
    uint32_t error = 0;
    SongOpenRequest request;
    request.flags = 0;
    return OpenPlainSongFile(archivePath, request, &error);
}

// The walk over an LZH or ZIP archive file; null when the file cannot be opened.
std::unique_ptr<WalkedList> OpenWalkedList(int kind, const char* archivePath) {
    if (kind != kArchiveLzh && kind != kArchiveZip) {
        return nullptr;
    }
    std::unique_ptr<SongFile> file = OpenArchiveFile(archivePath);
    if (!file) {
        return nullptr;
    }
    if (kind == kArchiveLzh) {
        return std::make_unique<LzhList>(std::move(file), archivePath);
    }
    return std::make_unique<ZipList>(std::move(file), archivePath);
}

// GCA members are read by the library alone, which wants a buffer of the
// member's whole size: the size is taken from its listing. 0 with *size set,
// kArchiveErrorCannotOpen, kArchiveErrorNotFound or the listing's error.
int GcaMemberSize(const char* archivePath, const char* memberName, uint32_t* size) {
    std::unique_ptr<ArchiveList> list = gcaListOpener ? gcaListOpener(archivePath, nullptr) : nullptr;
    if (!list) {
        return kArchiveErrorCannotOpen;
    }
    ArchiveEntry entry;
    int result = list->FindFirst("*.*", &entry);
    for (; result == 0; result = list->FindNext(&entry)) {
        if (CompareNoCase(entry.name.c_str(), memberName) == 0) {
            *size = entry.size;
            return 0;
        }
    }
    return result == kArchiveNoMore ? kArchiveErrorNotFound : result;
}

// Reads a GCA member through the library's memory extraction. Its command
// line names the member in quotes, so a name the library would take for a
// wildcard, or whose quote would end it early, is never asked for.
int ReadGcaMember(const char* archivePath, const char* memberName, uint8_t* out, uint32_t size, uint32_t* written) {
    *written = 0;
    if (!IsExtractableMemberName(memberName)) {
        return kArchiverErrorUnsafeName;
    }
    if (!gcaMemberReader) {
        return kArchiveErrorCannotOpen;
    }
    const int result = gcaMemberReader(archivePath, memberName, out, size, written);
    *written = std::min(*written, size);
    return result;
}

// A whole GCA member: its listed size, then exactly that many bytes from the
// library (fewer means the member is damaged).
int ReadWholeGcaMember(const char* archivePath, const char* memberName, MemberBytes* member) {
    if (!IsExtractableMemberName(memberName)) {
        return kArchiverErrorUnsafeName;
    }
    uint32_t size = 0;
    int result = GcaMemberSize(archivePath, memberName, &size);
    if (result != 0) {
        return result;
    }
    if (size > kMemberInMemoryMax) {
        return kArchiveErrorTooLarge;
    }
    if (size == 0) {
        return 0;
    }
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size]);
    if (!bytes) {
        return kArchiveErrorTooLarge;
    }
    uint32_t written = 0;
    result = ReadGcaMember(archivePath, memberName, bytes.get(), size, &written);
    if (result == 0 && written != size) {
        result = kArchiveErrorBroken;
    }
    if (result == 0) {
        member->bytes = std::move(bytes);
        member->size = size;
    }
    return result;
}

// Opens an archive and finds a member in it: 0 with *list on the member,
// kArchiveErrorCannotOpen, kArchiveErrorNotFound or the walk's error.
int OpenMember(int kind, const char* archivePath, const char* memberName, std::unique_ptr<WalkedList>* list) {
    *list = OpenWalkedList(kind, archivePath);
    if (!*list) {
        return kArchiveErrorCannotOpen;
    }
    return (*list)->FindMember(memberName);
}

}  // namespace

std::unique_ptr<ArchiveList> OpenArchiveList(int kind, const char* archivePath, void* ownerWindow) {
    if (kind == kArchiveGca) {
        return gcaListOpener ? gcaListOpener(archivePath, ownerWindow) : nullptr;
    }
    return OpenWalkedList(kind, archivePath);
}

int FindFirstMember(ArchiveList* list, const char* pattern, ArchiveEntry* entry) {
    return list ? list->FindFirst(pattern, entry) : kArchiveErrorNoArchive;
}

int FindNextMember(ArchiveList* list, ArchiveEntry* entry) {
    return list ? list->FindNext(entry) : kArchiveErrorNoArchive;
}

uint16_t MemberAttributes(const ArchiveList* list) {
    return list ? list->Attributes() : 0;
}

void CloseArchiveList(std::unique_ptr<ArchiveList>* list) {
    list->reset();
}

void SetArchiveFileOpener(ArchiveFileOpener opener) {
    archiveFileOpener = opener;
}

int ReadMemberToMemory(int kind, const char* archivePath, const char* memberName, uint8_t* out, uint32_t size) {
    if (size != 0) {
        std::memset(out, 0, size);
    }
    if (kind == kArchiveGca) {
        uint32_t written = 0;
        return ReadGcaMember(archivePath, memberName, out, size, &written);
    }
    std::unique_ptr<WalkedList> list;
    int result = OpenMember(kind, archivePath, memberName, &list);
    if (result != 0) {
        return result;
    }
    MemberOutput output(out, std::min(size, list->CurrentSize()));
    return list->DecodeCurrent(&output);
}

int ReadWholeMember(int kind, const char* archivePath, const char* memberName, MemberBytes* member) {
    if (kind == kArchiveGca) {
        return ReadWholeGcaMember(archivePath, memberName, member);
    }
    std::unique_ptr<WalkedList> list;
    int result = OpenMember(kind, archivePath, memberName, &list);
    if (result != 0) {
        return result;
    }
    const uint32_t size = list->CurrentSize();
    if (size > kMemberInMemoryMax) {
        return kArchiveErrorTooLarge;
    }
    MemberOutput output(size);
    result = list->DecodeCurrent(&output);
    if (result == 0) {
        member->bytes = output.TakeBytes();
        member->size = size;
    }
    return result;
}

int ExtractMemberToFile(int kind, const char* archivePath, const char* memberName, const char* targetPath) {
    std::unique_ptr<WalkedList> list;
    int result = OpenMember(kind, archivePath, memberName, &list);
    if (result != 0) {
        return result;
    }
    std::unique_ptr<OutputFile> file = CreateMemberFile(targetPath);
    if (!file) {
        return kArchiverErrorWrite;
    }
    MemberOutput output(list->CurrentSize(), file.get());
    result = list->DecodeCurrent(&output);
    if (result == 0 && file->Commit() != 0) {
        result = kArchiverErrorWrite;
    }
    if (result != 0) {
        file.reset();
        DeleteFilePath(targetPath);
    }
    return result;
}
