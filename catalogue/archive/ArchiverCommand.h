// The command lines between the program and the archiver libraries: the
// program builds them to extract members, and our own UNLHA32.DLL and
// UNZIP32.DLL read them back. Also the check that keeps an extracted member
// inside its destination folder.
#pragma once

#include <string>
#include <vector>

#include "catalogue/archive/ArchiveAccess.h"

// Results of our own libraries besides 0 and the archive error numbers.
constexpr int kArchiverErrorCommand = 0x8012;     // a command line we cannot read
constexpr int kArchiverErrorUnsafeName = 0x8020;  // a member that would land outside the folder
constexpr int kArchiverErrorWrite = 0x8023;       // the extracted file cannot be written

// Caps on what a command line may hold.
constexpr size_t kArchiverCommandMax = 65536;  // bytes
constexpr size_t kArchiverMembersMax = 1024;   // member names

// The command line that extracts one member of an archive of that kind into
// destinationFolder (a '\\' is added when it does not end in one).
std::string ExtractCommandLine(int kind,
                               ExtractPurpose purpose,
                               const std::string& archive,
                               const std::string& destinationFolder,
                               const std::string& member);

// The command line of the libraries' memory extraction (ZIP and GCA) of one
// member; empty for LZH, which our own decoder reads.
std::string MemoryCommandLine(int kind, const std::string& archive, const std::string& member);

// Which library reads a command line.
enum class ArchiverSyntax {
    kLha,    // "e -c1 \"archive\" \"folder\\\" \"member\""
    kUnzip,  // "-x -C \"archive\" \"folder\\\" \"member\"", '[' and ']' escaped
    kGca,    // "ex -xx0 \"archive\" \"folder\\\" \"member\""
};

// A command line taken apart.
struct ArchiverCommand {
    std::string command;                // "e" or "x" (LHA), "ex" (GCA); empty for unzip
    std::vector<std::string> switches;  // "-c1", "--i", ... in their order
    std::string archive;
    std::string destination;           // ends in '\\'; empty for the current folder
    std::vector<std::string> members;  // names or patterns; empty for every member
};

// Reads a command line. False when it is longer than kArchiverCommandMax,
// names more than kArchiverMembersMax members, has an unterminated quote, no
// archive, or a command other than "e" or "x" (LHA) or "ex" (GCA).
bool ParseArchiverCommand(ArchiverSyntax syntax, const char* line, ArchiverCommand* command);

// True when the command holds that switch (ASCII case ignored).
bool HasSwitch(const ArchiverCommand& command, const char* name);

// True when a member name stays inside the folder it is extracted to: not
// empty, no drive letter, not starting with a separator, and no element ".."
// between the separators '/' and '\\' (double-byte characters stepped over);
// nor does any element name a device (CON, PRN, AUX, NUL, COM1-COM9,
// LPT1-LPT9, whatever extension, trailing dots or blanks follow), whose
// "file" would be the device itself.
bool IsSafeMemberName(const char* name);

// True when the program may have a member extracted to disk: a safe name that
// a command line names literally, so no '*' or '?' (a library takes them for
// wildcards and extracts every member they match) and no '"' (it would end the
// quoted name and turn the rest into further arguments).
bool IsExtractableMemberName(const char* name);

// Where a member goes: the destination followed by the member's last name
// element (junkPaths), or by its whole name with '/' turned into '\\'.
std::string MemberTargetPath(const std::string& destination, const std::string& member, bool junkPaths);
