// Feeds arbitrary bytes to both command-line passes and checks what the
// start-up relies on: settings stay within their 512-byte buffers and end on a
// whole character, modes and kinds stay among the known values, and the
// user-defined player never gets a play mode of its own.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "catalogue/archive/ArchiveKind.h"
#include "core/CommandLine.h"
#include "core/Text.h"

static void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

static bool EndsOnCharacter(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        i += IsLeadByte(static_cast<uint8_t>(s[i])) ? 2 : 1;
    }
    return i == s.size();
}

// Answers from the bytes of the path, so a folder is sometimes found.
class HashedFiles : public CommandLineFiles {
   public:
    bool IsFolder(const char* path) override {
        return std::strlen(path) % 3 == 0;
    }
    int ArchiveKindOfMember(const char* path) override {
        return ArchiveKindOfPath(path, false);
    }
};

static bool KnownPlayMode(int32_t mode) {
    return (mode >= kStartPlayNone && mode <= kStartPlayRepeat) || mode == kStartPlaySelection ||
           mode == kStartPlayRandomFromSelection;
}

static bool KnownPlayerKind(int32_t kind) {
    return (kind >= 0 && kind <= 11) || kind == kPlayerKindUserDefined;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> line(new char[size + 1]);
    std::memcpy(line.get(), data, size);
    line[size] = '\0';
    const uint8_t flags = size > 0 ? data[0] : 0;
    SetArchiveAvailable(kArchiveLzh, (flags & 1) != 0);
    SetArchiveAvailable(kArchiveZip, (flags & 2) != 0);
    SetArchiveAvailable(kArchiveGca, (flags & 4) != 0);

    CommandLineRequest request;
    request.startPlayMode = kStartPlayRepeat;
    request.playerKind = (flags & 8) ? kPlayerKindUserDefined : 7;
    HashedFiles files;
    ParseClientCommandLine(line.get(), &files, &request);
    Check(request.lastPath.size() <= kCommandWordMax && EndsOnCharacter(request.lastPath));
    Check(request.lastFile.size() <= kCommandWordMax && EndsOnCharacter(request.lastFile));
    Check(KnownPlayMode(request.startPlayMode));
    Check(KnownPlayerKind(request.playerKind));
    Check(request.playerKind != kPlayerKindUserDefined || request.startPlayMode == kStartPlayNone ||
          request.startPlayMode == kStartPlaySelection);

    const int32_t state = ParseWindowStateOptions(line.get(), kWindowStateMaximized);
    Check(state >= kWindowStateNormal && state <= kWindowStateMaximized);
    return 0;
}
