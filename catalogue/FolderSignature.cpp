// The folder signature: five hashes over the music files of a folder tree,
// each step "hash * 37 + value" in unsigned 32-bit arithmetic.
#include "catalogue/FolderSignature.h"

#include <memory>
#include <string>

#include "analysis/FileTypes.h"
#include "catalogue/archive/ArchiveKind.h"
#include "core/FolderTrail.h"

// The program's paths live in 512-byte buffers; a deeper folder is not
// entered.
constexpr size_t kSignaturePathMax = 511;  // bytes

static uint32_t Fold(uint32_t hash, uint32_t value) {
    return hash * 37u + value;
}

bool operator==(const FolderSignature& a, const FolderSignature& b) {
    return a.nameHash == b.nameHash && a.writeTimeHighHash == b.writeTimeHighHash &&
           a.writeTimeLowHash == b.writeTimeLowHash && a.sizeHighHash == b.sizeHighHash &&
           a.sizeLowHash == b.sizeLowHash;
}

bool operator!=(const FolderSignature& a, const FolderSignature& b) {
    return !(a == b);
}

bool CountsForSignature(const char* name) {
    return MusicFileTypes().GetMusicFileKind(name, nullptr) != kKindNotMusic || ArchiveKindOfName(name) != kArchiveNone;
}

void AddNameToSignature(FolderSignature* signature, const char* name) {
    for (const char* p = name; *p; p++) {
        signature->nameHash = Fold(signature->nameHash, uint32_t(int32_t(static_cast<signed char>(*p))));
    }
}

void AddFileToSignature(FolderSignature* signature, const FindRecord& record) {
    AddNameToSignature(signature, record.name.c_str());
    signature->writeTimeLowHash = Fold(signature->writeTimeLowHash, uint32_t(record.lastWriteTime));
    signature->writeTimeHighHash = Fold(signature->writeTimeHighHash, uint32_t(record.lastWriteTime >> 32));
    signature->sizeLowHash = Fold(signature->sizeLowHash, uint32_t(record.size));
    signature->sizeHighHash = Fold(signature->sizeHighHash, uint32_t(record.size >> 32));
}

// Adds the entries of one folder, carrying the hashes on into its sub-folders.
// A sub-folder that is one of the folders the walk is already inside (a link
// back to it) adds nothing: it holds no songs the walk does not count anyway.
static void AddFolder(FolderSignature* signature,
                      FolderTrail& trail,
                      const std::string& folder,
                      bool includeSubFolders) {
    FindRecord record;
    std::unique_ptr<FileFinder> finder = OpenPlainFinder(&record, (folder + "*.*").c_str());
    for (bool more = finder->Found(); more; more = finder->Next(&record)) {
        if (record.name == "." || record.name == "..") {
            continue;
        }
        if (record.attributes & kAttrDirectory) {
            const std::string sub = folder + record.name + "\\";
            if (includeSubFolders && sub.size() <= kSignaturePathMax && trail.Enter(sub.c_str())) {
                AddNameToSignature(signature, record.name.c_str());
                AddFolder(signature, trail, sub, includeSubFolders);
                trail.Leave();
            }
            continue;
        }
        if (CountsForSignature(record.name.c_str())) {
            AddFileToSignature(signature, record);
        }
    }
}

FolderSignature ReadFolderSignature(const char* folder, bool includeSubFolders) {
    FolderSignature signature;
    FolderTrail trail;
    if (includeSubFolders) {
        trail.Enter(folder);
    }
    AddFolder(&signature, trail, folder, includeSubFolders);
    return signature;
}
