// The work of our own archiver libraries UNLHA32.DLL and UNZIP32.DLL, kept
// free of the system so that it is tested natively: extracting the members a
// command line names, and reading one member into memory.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/archive/ArchiveList.h"

// Our libraries' versions, as their GetVersion entries report them.
constexpr int kOwnUnlhaVersion = 102;
constexpr int kOwnUnzipVersion = 540;

// Runs an extraction command line on an archive of that kind (kArchiveLzh
// with the LHA syntax, kArchiveZip with the unzip syntax). Every member
// matching a named member or pattern (all members when none is named) is
// written below the destination folder; a member whose name would reach
// outside it is refused. One line per member or error is appended to *output.
// Returns 0, kArchiverErrorCommand, kArchiveErrorCannotOpen,
// kArchiveErrorNotFound (nothing matched), kArchiverErrorUnsafeName,
// kArchiverErrorWrite or the decoder's error.
int RunOwnArchiver(int kind, const char* commandLine, std::string* output);

// The command entry of our libraries: runs the command line (null is a
// command line error) and copies the messages into output, a buffer of size
// bytes, cut on a character boundary and terminated.
int RunOwnArchiverEntry(int kind, const char* commandLine, char* output, size_t size);

// Reads the one member a memory command line names into buffer (size bytes;
// a longer member is cut). *written gets the bytes filled and *entry the
// member's listing entry. Returns 0, kArchiverErrorCommand,
// kArchiveErrorCannotOpen, kArchiveErrorNotFound or the decoder's error.
int ReadOwnArchiverMember(int kind,
                          const char* commandLine,
                          uint8_t* buffer,
                          uint32_t size,
                          uint32_t* written,
                          ArchiveEntry* entry);
