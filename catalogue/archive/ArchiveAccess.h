// The archive branches of the song file reader and the finder: members are
// listed like folder entries, read into memory, or extracted to the working
// folder for the few readers that need a real file.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/archive/ArchiveList.h"
#include "core/FileFinder.h"

// Why a member is extracted; the archiver libraries get different options.
enum class ExtractPurpose {
    kForReading,  // quietly into the working folder, for a song reader
    kQuiet,       // for a player or a copy, no progress window
    kShown,       // for a player or a copy, with the library's windows
};

// Extracts one member ("archive.lzh>dir/x.mid") into destinationFolder (ending
// without a separator). Returns 0 on success, else the library's result.
using MemberExtractor = int (*)(const char* memberPath,
                                const char* destinationFolder,
                                void* ownerWindow,
                                ExtractPurpose purpose);

// Installs the extractor of the archiver libraries; without one, LZH and ZIP
// members are extracted by our own decoders.
void SetMemberExtractor(MemberExtractor extractor);

// Extracts a member through the installed extractor. Returns 0 on success,
// kArchiverErrorUnsafeName for a name IsExtractableMemberName refuses (no
// library is asked), else the extractor's result.
int ExtractMember(const char* memberPath, const char* destinationFolder, void* ownerWindow, ExtractPurpose purpose);

// Extracts a member with our own decoders: its last name element is written
// into destinationFolder, piece by piece. Returns 0, an archive error number, or
// kArchiveErrorCannotOpen when the file cannot be written or the name is
// unusable (IsExtractableMemberName refuses it, or it ends in a separator).
int ExtractMemberOwn(const char* memberPath, const char* destinationFolder);

// The working folder for extracted members: the system's temporary folder
// followed by "Kadrel.$$$" unless set otherwise at start-up.
void SetWorkingFolder(const std::string& path);
std::string WorkingFolder();

// The finder record of a member: attribute bits 1, 2, 4 and 0x10, the local
// MS-DOS time as a file time that reads back as that local time, the
// uncompressed size and the full name.
void FindRecordOfEntry(const ArchiveEntry& entry, FindRecord* record);

// Hooks the archive branches into OpenSongFile and FinderOpen.
void InstallArchiveAccess();
