// A cheap fingerprint of the music files in a folder (and, with sub-folders,
// of its whole tree): their names, last write times and sizes folded into
// five running hashes. The folder watcher compares two of them to tell a
// change of songs from a change of other files, which never refreshes the
// song list.
#pragma once

#include <cstdint>

#include "core/FileFinder.h"

struct FolderSignature {
    uint32_t nameHash = 0;
    uint32_t writeTimeHighHash = 0;
    uint32_t writeTimeLowHash = 0;
    uint32_t sizeHighHash = 0;
    uint32_t sizeLowHash = 0;
};

// True when all five values are equal.
bool operator==(const FolderSignature& a, const FolderSignature& b);
bool operator!=(const FolderSignature& a, const FolderSignature& b);

// True when a file of this name is part of the signature: a music file by its
// extension, or an archive whose archiver is available.
bool CountsForSignature(const char* name);

// Folds a name into the name hash, each byte taken as a signed 8-bit value.
void AddNameToSignature(FolderSignature* signature, const char* name);

// Folds one counted file (name, last write time, size) into the signature.
void AddFileToSignature(FolderSignature* signature, const FindRecord& record);

// The signature of a folder path ending in its separator. Folders are entered
// only with includeSubFolders; a folder that cannot be listed adds nothing.
// Returns the signature (all zero for an empty or missing folder).
FolderSignature ReadFolderSignature(const char* folder, bool includeSubFolders);
