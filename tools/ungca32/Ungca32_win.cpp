// UnGCA32.dll stand-in for the tests. The program loads it by name like a
// user's own GCA library and calls the same entries the same way; it serves
// a container of its own, which the tests write:
//
//   "QLGCATST"                       8 bytes, the magic
//   then one record per member:
//     name length     uint16 LE      1 to 512; 0 ends the container
//     name            CP932 bytes    folders separated by '/'
//     size            uint32 LE
//     MS-DOS time     uint16 LE      local time
//     MS-DOS date     uint16 LE
//     attributes      uint16 LE      1 read-only, 2 hidden, 4 system, 0x10 folder
//     data            size bytes     stored as they are
//
// The end of the file right after a record also ends it. A record cut short
// ends the listing with 0x8019 after the members before it.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiveList.h"
#include "catalogue/archive/ArchiverCommand.h"
#include "catalogue/archive/GcaRecord.h"
#include "catalogue/archive/LzhHeader.h"
#include "core/Text.h"

namespace {

constexpr char kMagic[] = "QLGCATST";
constexpr size_t kMagicBytes = 8;
constexpr DWORD kLargestContainer = 64u << 20;
constexpr WORD kVersion = 7;  // the lowest version the program accepts

struct Member {
    std::string name;
    size_t offset = 0;  // of the data in the container
    uint32_t size = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint16_t attributes = 0;
};

struct Container {
    std::string bytes;
    std::vector<Member> members;
    bool damaged = false;  // a record was cut short after the members
    std::string pattern;
    size_t next = 0;
    int lastAttributes = 0;
};

uint32_t Le(const std::string& bytes, size_t at, size_t n) {
    uint32_t value = 0;
    for (size_t i = n; i-- > 0;) {
        value = value << 8 | uint8_t(bytes[at + i]);
    }
    return value;
}

bool ReadFileBytes(const char* path, std::string* bytes) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER size = {};
    DWORD read = 0;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kLargestContainer;
    if (ok) {
        bytes->resize(size_t(size.QuadPart));
        ok = bytes->empty() ||
             (ReadFile(file, &(*bytes)[0], DWORD(bytes->size()), &read, nullptr) && read == bytes->size());
    }
    CloseHandle(file);
    return ok;
}

// The container at path; null when it cannot be read or lacks the magic.
std::unique_ptr<Container> OpenContainer(const char* path) {
    auto container = std::make_unique<Container>();
    std::string& bytes = container->bytes;
    if (!ReadFileBytes(path, &bytes) || bytes.size() < kMagicBytes || bytes.compare(0, kMagicBytes, kMagic) != 0) {
        return nullptr;
    }
    constexpr size_t kFieldsAfterName = 10;
    size_t at = kMagicBytes;
    while (at < bytes.size()) {
        if (bytes.size() - at < 2) {
            container->damaged = true;
            break;
        }
        const size_t nameLength = Le(bytes, at, 2);
        if (nameLength == 0) {
            break;
        }
        if (nameLength > kGcaFileNameMax || bytes.size() - at - 2 < nameLength + kFieldsAfterName) {
            container->damaged = true;
            break;
        }
        Member member;
        member.name = bytes.substr(at + 2, nameLength);
        at += 2 + nameLength;
        member.size = Le(bytes, at, 4);
        member.dosTime = uint16_t(Le(bytes, at + 4, 2));
        member.dosDate = uint16_t(Le(bytes, at + 6, 2));
        member.attributes = uint16_t(Le(bytes, at + 8, 2));
        member.offset = at + kFieldsAfterName;
        if (bytes.size() - member.offset < member.size) {
            container->damaged = true;
            break;
        }
        at = member.offset + member.size;
        container->members.push_back(member);
    }
    return container;
}

// The member a command line names (its name compared without case); null when none.
const Member* Named(const Container& container, const std::string& name) {
    for (const Member& member : container.members) {
        if (CompareNoCase(member.name.c_str(), name.c_str()) == 0) {
            return &member;
        }
    }
    return nullptr;
}

// The next member matching the listing's pattern into info: 0, -1 at the end,
// or 0x8019 when the container was cut short.
int FindMatching(Container* container, IndividualInfo* info) {
    while (container->next < container->members.size()) {
        const Member& member = container->members[container->next++];
        if (!MemberMatchesPattern(container->pattern.c_str(), member.name.c_str())) {
            continue;
        }
        *info = IndividualInfo();
        info->originalSize = member.size;
        info->compressedSize = member.size;
        info->date = member.dosDate;
        info->time = member.dosTime;
        CopyBounded(info->fileName, member.name.c_str(), kGcaFileNameMax);
        CopyBounded(info->mode, "stored", sizeof info->mode - 1);
        container->lastAttributes = member.attributes;
        return 0;
    }
    return container->damaged ? kArchiveErrorBroken : kArchiveNoMore;
}

bool WriteMember(const Container& container, const Member& member, const std::string& target) {
    HANDLE file = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        member.size == 0 || (WriteFile(file, container.bytes.data() + member.offset, member.size, &written, nullptr) &&
                             written == member.size);
    CloseHandle(file);
    if (!ok) {
        DeleteFileA(target.c_str());
    }
    return ok;
}

void Report(LPSTR output, DWORD size, const std::string& text) {
    if (output && size > 0) {
        CopyBounded(output, text.c_str(), size - 1);
    }
}

}  // namespace

extern "C" {

WORD WINAPI UnGCAGetVersion() {
    return kVersion;
}

BOOL WINAPI UnGCASetCursorMode(BOOL) {
    return TRUE;
}

// "ex ... \"archive\" \"folder\\\" \"member\" ...": each named member is
// written into the folder under its last name element.
int WINAPI UnGCA(HWND, LPCSTR commandLine, LPSTR output, DWORD size) {
    ArchiverCommand command;
    if (!commandLine || !ParseArchiverCommand(ArchiverSyntax::kGca, commandLine, &command)) {
        Report(output, size, "bad command line");
        return kArchiverErrorCommand;
    }
    const std::unique_ptr<Container> container = OpenContainer(command.archive.c_str());
    if (!container) {
        Report(output, size, "cannot open " + command.archive);
        return kArchiveErrorCannotOpen;
    }
    for (const std::string& name : command.members) {
        const Member* member = Named(*container, name);
        if (!member) {
            Report(output, size, "not found: " + name);
            return kArchiveErrorNotFound;
        }
        if (!IsSafeMemberName(member->name.c_str())) {
            Report(output, size, "refused: " + name);
            return kArchiverErrorUnsafeName;
        }
        if (!WriteMember(*container, *member, MemberTargetPath(command.destination, member->name, true))) {
            Report(output, size, "cannot write: " + name);
            return kArchiverErrorWrite;
        }
    }
    Report(output, size, "");
    return 0;
}

// The one member the command line names, into buffer (a longer member is cut).
int WINAPI
UnGCAExtractMem(HWND, LPCSTR commandLine, LPBYTE buffer, DWORD size, time_t* time, LPWORD attributes, LPDWORD written) {
    if (written) {
        *written = 0;
    }
    ArchiverCommand command;
    if (!commandLine || (!buffer && size > 0) || !ParseArchiverCommand(ArchiverSyntax::kGca, commandLine, &command) ||
        command.members.size() != 1) {
        return kArchiverErrorCommand;
    }
    const std::unique_ptr<Container> container = OpenContainer(command.archive.c_str());
    if (!container) {
        return kArchiveErrorCannotOpen;
    }
    const Member* member = Named(*container, command.members[0]);
    if (!member) {
        return kArchiveErrorNotFound;
    }
    const DWORD filled = std::min<DWORD>(size, member->size);
    if (filled > 0) {
        std::memcpy(buffer, container->bytes.data() + member->offset, filled);
    }
    if (written) {
        *written = filled;
    }
    if (time) {
        int64_t local = 0;
        *time = LocalSecondsOfDos(member->dosDate, member->dosTime, &local) ? time_t(UtcSecondsOfLocal(local)) : 0;
    }
    if (attributes) {
        *attributes = member->attributes;
    }
    return 0;
}

HANDLE WINAPI UnGCAOpenArchive(HWND, LPCSTR path, DWORD) {
    return path ? OpenContainer(path).release() : nullptr;
}

int WINAPI UnGCACloseArchive(HANDLE archive) {
    delete static_cast<Container*>(archive);
    return 0;
}

int WINAPI UnGCAFindFirst(HANDLE archive, LPCSTR pattern, IndividualInfo* info) {
    Container* container = static_cast<Container*>(archive);
    if (!container || !info) {
        return kArchiveErrorNoArchive;
    }
    container->pattern = pattern ? pattern : "*.*";
    container->next = 0;
    return FindMatching(container, info);
}

int WINAPI UnGCAFindNext(HANDLE archive, IndividualInfo* info) {
    Container* container = static_cast<Container*>(archive);
    return container && info ? FindMatching(container, info) : kArchiveErrorNoArchive;
}

int WINAPI UnGCAGetAttribute(HANDLE archive) {
    const Container* container = static_cast<const Container*>(archive);
    return container ? container->lastAttributes : 0;
}

}  // extern "C"
