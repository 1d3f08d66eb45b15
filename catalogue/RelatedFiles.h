// Related files: the companions found beside a song by name (same folder or
// archive, same base name, known extensions), the scripts' references to
// pictures and fonts, and the related set that copy, move and delete act on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/BagBox.h"
#include "core/FileFinder.h"

// Bits of WrdFlags: the WRD companions, in the order searched.
constexpr int32_t kRelatedWrd = 0x1;  // "wrd", WRD text script
constexpr int32_t kRelatedSry = 0x2;  // "sry", Sherry WRD script
constexpr int32_t kRelatedNbf = 0x4;  // "nbf", NEO script

// Bits of DocumentFlags.
constexpr int32_t kDocumentHed = 0x1;
constexpr int32_t kDocumentTxt = 0x2;
constexpr int32_t kDocumentDoc = 0x4;
constexpr int32_t kDocumentLog = 0x8;
constexpr int32_t kDocumentUser = 0x10;  // the "UserTextExt" setting

constexpr size_t kMaxRelatedExtensions = 6;

// Looks in the song's folder (or archive) for entries named base name + ".*";
// hidden, system and folder entries are ignored. Without extensions: 1 when
// any entry exists. With all: the OR of bit n for every extension n found
// (the first extension is bit 1). Without all: the number (1..6) of the
// first listed extension met, the search stopping there. 0: nothing found.
// outPath receives the folder and name of the entry last counted, outRecord
// its search record; both may be null. Extensions past the sixth are ignored.
int32_t FindRelatedFiles(const char* path,
                         bool all,
                         std::initializer_list<const char*> extensions,
                         std::string* outPath,
                         FindRecord* outRecord);

// The WRD companions of a song (kRelatedWrd | kRelatedSry | kRelatedNbf).
int32_t WrdFlags(const char* path);

// The document files of a song; userExtension may be empty.
int32_t DocumentFlags(const char* path, const char* userExtension);

// A related set: 1 string column of full paths, names compared ignoring case.
BagBox MakeRelatedSet();

// Adds path with its extension replaced by extension (or path itself when
// extension is null) to the set when such a file exists, under the name the
// folder gives it. True when it exists.
bool AddIfExists(BagBox* set, const char* path, const char* extension);

// The related set of a song: the song, its WRD companions (a "wrd" one only
// for sequence songs), every other same-named file that is neither a music
// file nor an archive, and every existing file its scripts name. Members of
// an archive are listed as member paths; extracting them is the caller's.
void CollectRelatedSet(const char* songPath, int32_t fileType, BagBox* set);

// The names a script refers to, relative to the script's folder, in order of
// appearance. Each takes the script's whole bytes and never reads past them.
std::vector<std::string> ScanWrdScript(const uint8_t* bytes, size_t size);
std::vector<std::string> ScanSherryScript(const uint8_t* bytes, size_t size);
std::vector<std::string> ScanNeoScript(const uint8_t* bytes, size_t size);
