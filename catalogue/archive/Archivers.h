// The archiver libraries UNLHA32.DLL, UNZIP32.DLL and UnGCA32.dll: loaded at
// start-up when present and recent enough, they make their archive kinds
// available and do the program's extraction to disk. Without them the program
// works on: LZH and ZIP are read by our own code, GCA stays unavailable.
#pragma once

#include <string>
#include <vector>

#include "catalogue/archive/ArchiveAccess.h"

// Minimum versions, as the libraries' GetVersion entries report them.
constexpr int kUnlhaMinimumVersion = 102;
constexpr int kUnzipMinimumVersion = 540;
constexpr int kUngcaMinimumVersion = 7;

// Loads the libraries in the order UNLHA32.DLL, UNZIP32.DLL, UnGCA32.dll,
// sets each kind's availability, and installs the extractor and the GCA
// listing. A library with a missing entry point or a lower version is freed
// at once. Outside Windows no library is loaded and nothing changes.
void LoadArchivers();

// Frees the loaded libraries and makes their kinds unavailable.
void FreeArchivers();

// Where the libraries are loaded from: the system's search by name when the
// folder is empty (the default), else the named folder. For tests.
void SetArchiverFolder(const std::string& folder);

// The version of the loaded library of a kind, or 0 when none is loaded.
int ArchiverVersion(int kind);

// Extracts several members of one archive together ("a.lzh>song.mid",
// "a.lzh>song.wrd", ...), as a song's related files are. Returns 0 when every
// member was extracted, else the first failure's result.
int ExtractRelatedMembers(const std::vector<std::string>& memberPaths,
                          const char* destinationFolder,
                          void* ownerWindow,
                          ExtractPurpose purpose);
