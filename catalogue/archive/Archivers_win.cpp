// Loading the archiver libraries and extracting members through them.
#include <windows.h>

#include <ctime>
#include <memory>

#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiveList.h"
#include "catalogue/archive/ArchiverCommand.h"
#include "catalogue/archive/Archivers.h"
#include "catalogue/archive/GcaRecord.h"
#include "core/Text.h"

namespace {

// The libraries' calling conventions.
using GetVersionFn = WORD(WINAPI*)();
using SetCursorModeFn = BOOL(WINAPI*)(BOOL);
using CommandFn = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);
using ExtractMemFn = int(WINAPI*)(HWND, LPCSTR, LPBYTE, DWORD, time_t*, LPWORD, LPDWORD);

using HARC = HANDLE;
using OpenArchiveFn = HARC(WINAPI*)(HWND, LPCSTR, DWORD);
using CloseArchiveFn = int(WINAPI*)(HARC);
using FindFirstFn = int(WINAPI*)(HARC, LPCSTR, IndividualInfo*);
using FindNextFn = int(WINAPI*)(HARC, IndividualInfo*);
using GetAttributeFn = int(WINAPI*)(HARC);

// Bytes of the output buffer handed to the command entries.
constexpr DWORD kOutputBytes = 514;

struct Library {
    const char* fileName;
    const char* prefix;  // of every entry point's name
    int kind;
    int minimumVersion;
    HMODULE module = nullptr;
    int version = 0;
    GetVersionFn getVersion = nullptr;
    SetCursorModeFn setCursorMode = nullptr;
    CommandFn command = nullptr;
    ExtractMemFn extractMem = nullptr;
    OpenArchiveFn openArchive = nullptr;
    CloseArchiveFn closeArchive = nullptr;
    FindFirstFn findFirst = nullptr;
    FindNextFn findNext = nullptr;
    GetAttributeFn getAttribute = nullptr;
};

Library libraries[] = {
    {"UNLHA32.DLL", "Unlha", kArchiveLzh, kUnlhaMinimumVersion},
    {"UNZIP32.DLL", "UnZip", kArchiveZip, kUnzipMinimumVersion},
    {"UnGCA32.dll", "UnGCA", kArchiveGca, kUngcaMinimumVersion},
};

std::string libraryFolder;

Library* LoadedLibrary(int kind) {
    for (Library& library : libraries) {
        if (library.kind == kind && library.module) {
            return &library;
        }
    }
    return nullptr;
}

template <typename Fn>
bool Entry(const Library& library, const char* suffix, Fn* fn) {
    const std::string name = std::string(library.prefix) + suffix;
    *fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library.module, name.c_str())));
    return *fn != nullptr;
}

// Looks up the entry points the kind needs; false when one is missing.
bool FindEntries(Library* library) {
    bool ok = Entry(*library, "GetVersion", &library->getVersion) &&
              Entry(*library, "SetCursorMode", &library->setCursorMode) && Entry(*library, "", &library->command);
    if (ok && library->kind != kArchiveLzh) {
        ok = Entry(*library, "ExtractMem", &library->extractMem);
    }
    if (ok && library->kind == kArchiveGca) {
        ok = Entry(*library, "OpenArchive", &library->openArchive) &&
             Entry(*library, "CloseArchive", &library->closeArchive) &&
             Entry(*library, "FindFirst", &library->findFirst) && Entry(*library, "FindNext", &library->findNext) &&
             Entry(*library, "GetAttribute", &library->getAttribute);
    }
    return ok;
}

void Unload(Library* library) {
    if (library->module) {
        FreeLibrary(library->module);
    }
    const Library blank{library->fileName, library->prefix, library->kind, library->minimumVersion};
    *library = blank;
}

int ExtractThroughLibraries(const char* memberPath,
                            const char* destinationFolder,
                            void* ownerWindow,
                            ExtractPurpose purpose) {
    std::string archive, member;
    const int kind = ArchiveKindOfPath(memberPath, false);
    if (kind == kArchiveNone || !SplitMemberPath(memberPath, &archive, &member)) {
        return kArchiveErrorCannotOpen;
    }
    Library* library = LoadedLibrary(kind);
    if (!library) {
        return ExtractMemberOwn(memberPath, destinationFolder);
    }
    const std::string line = ExtractCommandLine(kind, purpose, archive, destinationFolder, member);
    char output[kOutputBytes] = {};
    library->setCursorMode(purpose == ExtractPurpose::kShown);
    return library->command(static_cast<HWND>(ownerWindow), line.c_str(), output, kOutputBytes);
}

// A GCA listing through UnGCA32.dll, matched with our own member patterns.
class GcaList : public ArchiveList {
   public:
    GcaList(Library* library, HARC archive) : library_(library), archive_(archive) {
    }
    ~GcaList() override {
        library_->closeArchive(archive_);
    }
    int FindFirst(const char* pattern, ArchiveEntry* entry) override {
        pattern_ = pattern;
        IndividualInfo info = {};
        const int result = library_->findFirst(archive_, "*.*", &info);
        return result == 0 ? Matching(&info, result, entry) : result;
    }
    int FindNext(ArchiveEntry* entry) override {
        IndividualInfo info = {};
        return Matching(&info, library_->findNext(archive_, &info), entry);
    }

   private:
    // Skips members the pattern does not match, starting with the one in info.
    int Matching(IndividualInfo* info, int result, ArchiveEntry* entry) {
        for (; result == 0; result = library_->findNext(archive_, info)) {
            info->fileName[kGcaFileNameMax] = '\0';
            if (pattern_ == "*.*" || MemberMatchesPattern(pattern_.c_str(), info->fileName)) {
                attributes_ = uint16_t(library_->getAttribute(archive_));
                entry->size = info->originalSize;
                entry->dosDate = info->date;
                entry->dosTime = info->time;
                entry->attributes = attributes_;
                entry->name = info->fileName;
                return 0;
            }
        }
        return result;
    }

    Library* library_;
    HARC archive_;
    std::string pattern_;
};

std::unique_ptr<ArchiveList> OpenGcaList(const char* archivePath, void* ownerWindow) {
    Library* library = LoadedLibrary(kArchiveGca);
    if (!library) {
        return nullptr;
    }
    library->setCursorMode(FALSE);
    HARC archive = library->openArchive(static_cast<HWND>(ownerWindow), archivePath, 0);
    if (!archive) {
        return nullptr;
    }
    return std::make_unique<GcaList>(library, archive);
}

// A GCA member read into memory by the library, with the program's memory
// command line (its "dummy\" folder is never written).
int ReadGcaMemberThroughLibrary(const char* archivePath,
                                const char* memberName,
                                uint8_t* out,
                                uint32_t size,
                                uint32_t* written) {
    Library* library = LoadedLibrary(kArchiveGca);
    if (!library) {
        return kArchiveErrorCannotOpen;
    }
    const std::string line = MemoryCommandLine(kArchiveGca, archivePath, memberName);
    library->setCursorMode(FALSE);
    time_t stamp = 0;
    WORD attributes = 0;
    DWORD filled = 0;
    const int result = library->extractMem(nullptr, line.c_str(), out, size, &stamp, &attributes, &filled);
    *written = filled;
    return result;
}

}  // namespace

void SetArchiverFolder(const std::string& folder) {
    libraryFolder = folder;
}

void LoadArchivers() {
    for (Library& library : libraries) {
        Unload(&library);
        std::string path = library.fileName;
        if (!libraryFolder.empty()) {
            path = libraryFolder + "\\" + path;
        }
        library.module = LoadLibraryA(path.c_str());
        if (library.module && FindEntries(&library)) {
            library.version = library.getVersion();
        }
        if (library.version < library.minimumVersion) {
            Unload(&library);
        }
        SetArchiveAvailable(library.kind, library.module != nullptr);
    }
    SetMemberExtractor(ExtractThroughLibraries);
    SetGcaListOpener(OpenGcaList);
    SetGcaMemberReader(ReadGcaMemberThroughLibrary);
}

void FreeArchivers() {
    for (Library& library : libraries) {
        if (library.module) {
            SetArchiveAvailable(library.kind, false);
        }
        Unload(&library);
    }
}

int ArchiverVersion(int kind) {
    const Library* library = LoadedLibrary(kind);
    return library ? library->version : 0;
}
