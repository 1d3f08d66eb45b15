// Extraction by our own archiver libraries.
#include "catalogue/archive/ArchiversOwn.h"

#include <memory>
#include <vector>

#include "catalogue/archive/ArchiveFiles.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiverCommand.h"
#include "core/Text.h"

// Upper bound of the members one command walks past.
constexpr size_t kMembersWalkedMax = 100000;

static ArchiverSyntax SyntaxOf(int kind) {
    return kind == kArchiveLzh ? ArchiverSyntax::kLha : ArchiverSyntax::kUnzip;
}

static bool IsNamed(const ArchiverCommand& command, const std::string& name) {
    if (command.members.empty()) {
        return true;
    }
    for (const std::string& member : command.members) {
        if (CompareNoCase(member.c_str(), name.c_str()) == 0 || MemberMatchesPattern(member.c_str(), name.c_str())) {
            return true;
        }
    }
    return false;
}

// The entries of an archive that the command names. False when the archive
// cannot be listed.
static bool NamedEntries(int kind, const ArchiverCommand& command, std::vector<ArchiveEntry>* entries, int* error) {
    std::unique_ptr<ArchiveList> list = OpenArchiveList(kind, command.archive.c_str(), nullptr);
    if (!list) {
        *error = kArchiveErrorCannotOpen;
        return false;
    }
    ArchiveEntry entry;
    int result = FindFirstMember(list.get(), "*.*", &entry);
    for (size_t walked = 0; result == 0 && walked < kMembersWalkedMax; walked++) {
        if (!(entry.attributes & 0x10) && IsNamed(command, entry.name)) {
            entries->push_back(entry);
        }
        result = FindNextMember(list.get(), &entry);
    }
    CloseArchiveList(&list);
    *error = result == kArchiveNoMore ? 0 : result;
    return *error == 0;
}

// Creates the folders between the destination and a member's file.
static bool MakeMemberFolders(const std::string& destination, const std::string& target) {
    for (size_t i = destination.size(); i < target.size(); i += CharBytes(target.c_str() + i)) {
        if (target[i] == '\\' && !EnsureFolder(target.substr(0, i).c_str())) {
            return false;
        }
    }
    return true;
}

static int ExtractEntry(int kind,
                        const ArchiverCommand& command,
                        bool junkPaths,
                        const ArchiveEntry& entry,
                        std::string* output) {
    if (!IsSafeMemberName(entry.name.c_str())) {
        *output += entry.name + ": refused, the name leads outside the folder\r\n";
        return kArchiverErrorUnsafeName;
    }
    const std::string target = MemberTargetPath(command.destination, entry.name, junkPaths);
    const int result = MakeMemberFolders(command.destination, target)
                           ? ExtractMemberToFile(kind, command.archive.c_str(), entry.name.c_str(), target.c_str())
                           : kArchiverErrorWrite;
    if (result == kArchiverErrorWrite) {
        *output += entry.name + ": cannot write " + target + "\r\n";
        return result;
    }
    if (result != 0) {
        *output += entry.name + ": broken data\r\n";
        return result;
    }
    *output += "Extracted " + entry.name + "\r\n";
    return 0;
}

int RunOwnArchiver(int kind, const char* commandLine, std::string* output) {
    ArchiverCommand command;
    if (!ParseArchiverCommand(SyntaxOf(kind), commandLine, &command)) {
        *output += "Command line error\r\n";
        return kArchiverErrorCommand;
    }
    std::vector<ArchiveEntry> entries;
    int error = 0;
    if (!NamedEntries(kind, command, &entries, &error)) {
        *output += command.archive + ": cannot read the archive\r\n";
        return error;
    }
    if (entries.empty()) {
        *output += "No member matches\r\n";
        return kArchiveErrorNotFound;
    }
    const bool junkPaths = kind == kArchiveLzh ? command.command == "e" : HasSwitch(command, "-j");
    int result = 0;
    for (const ArchiveEntry& entry : entries) {
        const int one = ExtractEntry(kind, command, junkPaths, entry, output);
        if (result == 0) {
            result = one;
        }
    }
    return result;
}

int RunOwnArchiverEntry(int kind, const char* commandLine, char* output, size_t size) {
    std::string messages = "Command line error\r\n";
    int result = kArchiverErrorCommand;
    if (commandLine) {
        messages.clear();
        result = RunOwnArchiver(kind, commandLine, &messages);
    }
    if (output && size > 0) {
        CopyBounded(output, messages.c_str(), size - 1);
    }
    return result;
}

int ReadOwnArchiverMember(int kind,
                          const char* commandLine,
                          uint8_t* buffer,
                          uint32_t size,
                          uint32_t* written,
                          ArchiveEntry* entry) {
    *written = 0;
    ArchiverCommand command;
    if (!ParseArchiverCommand(SyntaxOf(kind), commandLine, &command) || command.members.size() != 1) {
        return kArchiverErrorCommand;
    }
    std::vector<ArchiveEntry> entries;
    int error = 0;
    if (!NamedEntries(kind, command, &entries, &error)) {
        return error;
    }
    if (entries.empty()) {
        return kArchiveErrorNotFound;
    }
    *entry = entries[0];
    const int result = ReadMemberToMemory(kind, command.archive.c_str(), entry->name.c_str(), buffer, size);
    if (result == 0) {
        *written = entry->size < size ? entry->size : size;
    }
    return result;
}
