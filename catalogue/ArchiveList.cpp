// The LZH and ZIP listings over our header walks, and member decoding.
#include "catalogue/ArchiveList.h"

#include <cstring>
#include <vector>

#include "catalogue/ArchiveKind.h"
#include "catalogue/ArchiveSource.h"
#include "catalogue/Inflate.h"
#include "catalogue/LzhDecoder.h"
#include "catalogue/LzhHeader.h"
#include "catalogue/MemberMatch.h"
#include "catalogue/ZipHeader.h"
#include "core/SongFile.h"
#include "core/Text.h"

static GcaListOpener gcaListOpener = nullptr;

void SetGcaListOpener(GcaListOpener opener) {
    gcaListOpener = opener;
}

bool MemberMatchesPattern(const char* pattern, const char* name) {
    return std::strcmp(pattern, "*.*") == 0 || MatchMemberName(pattern, name);
}

namespace {

// The parts both walks share: the open file, the pattern and the walk state.
class WalkedList : public ArchiveList {
   public:
    explicit WalkedList(std::unique_ptr<SongFile> file) : file_(std::move(file)), source_(file_.get()) {
    }

    int FindFirst(const char* pattern, ArchiveEntry* entry) override {
        pattern_ = pattern;
        done_ = false;
        if (!Start(&offset_)) {
            done_ = true;
            return kArchiveErrorBroken;
        }
        return FindNext(entry);
    }

    int FindNext(ArchiveEntry* entry) override {
        while (!done_) {
            int result = Step(entry);
            if (result == 0 && MemberMatchesPattern(pattern_.c_str(), entry->name.c_str())) {
                attributes_ = entry->attributes;
                return 0;
            }
            if (result != 0 && result != kSkipped) {
                done_ = true;
                return result;
            }
        }
        return kArchiveNoMore;
    }

    ArchiveSource* Source() {
        return &source_;
    }

   protected:
    static constexpr int kSkipped = 1;  // a member the listing does not show

    // Finds the first header; false when the file holds none.
    virtual bool Start(uint32_t* offset) = 0;
    // Reads the member at offset_ and moves on: 0, kSkipped or a result.
    virtual int Step(ArchiveEntry* entry) = 0;

    std::unique_ptr<SongFile> file_;
    ArchiveSource source_;
    uint32_t offset_ = 0;

   private:
    std::string pattern_;
    bool done_ = true;
};

class LzhList : public WalkedList {
   public:
    using WalkedList::WalkedList;
    const LzhEntry& Current() const {
        return current_;
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
    const ZipEntry& Current() const {
        return current_;
    }

   private:
    bool Start(uint32_t* offset) override {
        *offset = 0;
        return IsZipArchive(&source_);
    }
    int Step(ArchiveEntry* entry) override {
        uint32_t next = 0;
        int result = ReadZipHeader(&source_, offset_, &current_, &next);
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
};

std::unique_ptr<SongFile> OpenArchiveFile(const char* archivePath) {
    uint32_t error = 0;
    SongOpenRequest request;
    request.flags = 0;
    return OpenPlainSongFile(archivePath, request, &error);
}

// Walks a listing to the member named memberName (case folded).
template <typename List>
int FindByName(List* list, const char* memberName) {
    ArchiveEntry entry;
    for (int result = list->FindFirst("*.*", &entry); result != kArchiveNoMore; result = list->FindNext(&entry)) {
        if (result != 0) {
            return result;
        }
        if (CompareNoCase(entry.name.c_str(), memberName) == 0) {
            return 0;
        }
    }
    return kArchiveErrorNotFound;
}

// Stored or deflated bytes of a whole member into out (entry.size bytes),
// checked against the member's CRC-32.
int DecodeZipMemberBytes(const ZipEntry& entry, const std::vector<uint8_t>& packed, uint8_t* out) {
    if (entry.method == 0) {
        if (packed.size() < entry.size) {
            return kArchiveErrorBroken;
        }
        if (entry.size != 0) {
            std::memcpy(out, packed.data(), entry.size);
        }
    } else if (!InflateRaw(packed.data(), packed.size(), out, entry.size)) {
        return kArchiveErrorBroken;
    }
    return ZipCrc32(out, entry.size) == entry.crc ? 0 : kArchiveErrorBroken;
}

// The packed bytes of a member; fewer when the archive is cut short.
std::vector<uint8_t> ReadPacked(ArchiveSource* source, uint32_t offset, uint32_t packedSize) {
    uint32_t available = offset < source->Size() ? source->Size() - offset : 0;
    std::vector<uint8_t> packed(packedSize < available ? packedSize : available);
    packed.resize(source->ReadAt(offset, packed.data(), packed.size()));
    return packed;
}

int DecodeLzhMember(std::unique_ptr<SongFile> file, const char* memberName, uint8_t* out, uint32_t size) {
    LzhList list(std::move(file));
    int result = FindByName(&list, memberName);
    if (result != 0) {
        return result;
    }
    const LzhEntry& entry = list.Current();
    if (LzhMethodIndex(entry.method) < 0) {
        return kArchiveErrorMethod;
    }
    std::vector<uint8_t> packed = ReadPacked(list.Source(), entry.dataOffset, entry.packedSize);
    uint32_t wanted = size < entry.size ? size : entry.size;
    result = DecodeLzh(entry.method, packed.data(), packed.size(), out, wanted);
    if (result == 0 && wanted == entry.size && LzhCrc16(out, wanted, 0) != entry.crc) {
        result = kArchiveErrorBroken;
    }
    return result;
}

int DecodeZipMember(std::unique_ptr<SongFile> file, const char* memberName, uint8_t* out, uint32_t size) {
    ZipList list(std::move(file));
    int result = FindByName(&list, memberName);
    if (result != 0) {
        return result;
    }
    const ZipEntry& entry = list.Current();
    if (entry.flags & 0x1) {
        return kArchiveErrorBroken;  // encrypted
    }
    if (entry.method != 0 && entry.method != 8) {
        return kArchiveErrorMethod;
    }
    std::vector<uint8_t> packed = ReadPacked(list.Source(), entry.dataOffset, entry.packedSize);
    if (size < entry.size) {
        // Only part is wanted: inflate all, keep the start.
        std::vector<uint8_t> whole(entry.size);
        result = DecodeZipMemberBytes(entry, packed, whole.data());
        if (result == 0 && size != 0) {
            std::memcpy(out, whole.data(), size);
        }
        return result;
    }
    return DecodeZipMemberBytes(entry, packed, out);
}

}  // namespace

std::unique_ptr<ArchiveList> OpenArchiveList(int kind, const char* archivePath, void* ownerWindow) {
    if (kind == kArchiveGca) {
        return gcaListOpener ? gcaListOpener(archivePath, ownerWindow) : nullptr;
    }
    if (kind != kArchiveLzh && kind != kArchiveZip) {
        return nullptr;
    }
    std::unique_ptr<SongFile> file = OpenArchiveFile(archivePath);
    if (!file) {
        return nullptr;
    }
    if (kind == kArchiveLzh) {
        return std::make_unique<LzhList>(std::move(file));
    }
    return std::make_unique<ZipList>(std::move(file));
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

int ReadMemberToMemory(int kind, const char* archivePath, const char* memberName, uint8_t* out, uint32_t size) {
    if (kind != kArchiveLzh && kind != kArchiveZip) {
        return kArchiveErrorCannotOpen;
    }
    std::unique_ptr<SongFile> file = OpenArchiveFile(archivePath);
    if (!file) {
        return kArchiveErrorCannotOpen;
    }
    if (size != 0) {
        std::memset(out, 0, size);
    }
    return kind == kArchiveLzh ? DecodeLzhMember(std::move(file), memberName, out, size)
                               : DecodeZipMember(std::move(file), memberName, out, size);
}
