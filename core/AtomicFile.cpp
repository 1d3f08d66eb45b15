// The atomic writer: temporary file beside the target, complete write and
// flush, then one move over the target.
#include "core/AtomicFile.h"

#include <algorithm>
#include <string>

#include "core/FileSystem.h"

static AtomicWriteFault writeFault = nullptr;

void SetAtomicWriteFault(AtomicWriteFault fault) {
    writeFault = fault;
}

// A stale temporary left by a crash is never reused; the next free name is
// taken instead, so two writers of one target cannot share a temporary.
constexpr int kTemporaryNameTries = 32;
constexpr uint32_t kErrorFileExists = 80;

static std::string TemporaryName(const char* path, int i) {
    return std::string(path) + ".~tmp" + (i == 0 ? std::string() : std::to_string(i));
}

static std::unique_ptr<OutputFile> TryTemporaryNames(const char* path, std::string* temporary, uint32_t* error) {
    for (int i = 0; i < kTemporaryNameTries; i++) {
        *temporary = TemporaryName(path, i);
        std::unique_ptr<OutputFile> file = CreateNewFile(temporary->c_str(), error);
        if (file || (*error != kErrorFileExists && *error != 183)) {
            return file;
        }
    }
    return nullptr;
}

static std::unique_ptr<OutputFile> CreateTemporary(const char* path, std::string* temporary, uint32_t* error) {
    std::unique_ptr<OutputFile> file = TryTemporaryNames(path, temporary, error);
    if (file || (*error != kErrorFileExists && *error != 183)) {
        return file;
    }
    // Every name is taken by temporaries that crashes left behind. They hold
    // nothing the target lacks: they are removed (one a writer still holds
    // open on Windows cannot be) and the names tried again.
    for (int i = 0; i < kTemporaryNameTries; i++) {
        RemoveFile(TemporaryName(path, i).c_str());
    }
    return TryTemporaryNames(path, temporary, error);
}

static uint32_t WriteAll(OutputFile& file, const uint8_t* bytes, size_t size) {
    uint32_t writeIndex = 0;
    while (size > 0) {
        const uint32_t n = uint32_t(std::min<size_t>(size, kAtomicWriteChunk));
        uint32_t error = writeFault ? writeFault(writeIndex) : 0;
        if (error == 0) {
            error = file.Write(bytes, n);
        }
        if (error != 0) {
            return error;
        }
        bytes += n;
        size -= n;
        writeIndex++;
    }
    return 0;
}

uint32_t WriteFileAtomically(const char* path, const void* bytes, size_t size) {
    std::string temporary;
    uint32_t error = 0;
    std::unique_ptr<OutputFile> file = CreateTemporary(path, &temporary, &error);
    if (!file) {
        return error;
    }
    error = WriteAll(*file, static_cast<const uint8_t*>(bytes), size);
    if (error == 0) {
        error = file->Commit();
    }
    file.reset();
    if (error == 0) {
        error = MoveOverFile(temporary.c_str(), path);
    }
    if (error != 0) {
        RemoveFile(temporary.c_str());
    }
    return error;
}
