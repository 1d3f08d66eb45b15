// The song file reader: the one byte source every title reader and the
// related-file code read a song through. A song may be a plain file or an
// archive member held in memory or extracted to the working folder; readers
// see only Read/Seek/Size and never a path or a handle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Error values shared by both worlds (the Win32 last-error numbers).
constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorNotEnoughMemory = 8;
constexpr uint32_t kErrorSharingViolation = 32;
constexpr uint32_t kErrorHandleEof = 38;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorDirNotEmpty = 145;
constexpr uint32_t kErrorAlreadyExists = 183;
constexpr uint32_t kErrorFilenameExcedRange = 206;

// The longest path the program's path buffers hold (512 bytes with the
// terminator). A longer plain path is refused with kErrorFilenameExcedRange,
// never cut: cut short it could name another file or folder.
constexpr size_t kMaxPathBytes = 511;

// Seek origins.
constexpr int kSeekBegin = 0;
constexpr int kSeekCurrent = 1;
constexpr int kSeekEnd = 2;

class SongFile {
  public:
    virtual ~SongFile() = default;

    // Reads up to n bytes; *count receives the bytes delivered. False only when
    // the underlying read fails; a read at or past the end delivers 0 bytes.
    virtual bool Read(void* buffer, uint32_t n, uint32_t* count) = 0;

    // Moves the read position and returns the new one (origins above).
    virtual uint32_t Seek(int32_t offset, int origin) = 0;

    // Low 32 bits of the size; *high (optional) receives the high part.
    virtual uint32_t Size(uint32_t* high) = 0;

    // The file the bytes come from: the path itself for a plain file, the
    // extracted copy for an archive member in file mode, empty in memory mode.
    virtual const char* OpenedPath() const = 0;

    // 0 for a plain file, else the archive kind (1 LZH, 2 ZIP, 3 GCA).
    virtual int ArchiveKind() const {
        return 0;
    }

    // The member's bytes in memory mode, null otherwise.
    virtual const uint8_t* Buffer() const {
        return nullptr;
    }
};

// An archive member held in memory. A read that would pass the end of the
// member delivers nothing and leaves the position where it was.
class MemorySongFile : public SongFile {
  public:
    MemorySongFile(std::unique_ptr<uint8_t[]> bytes, uint32_t size, int archiveKind);
    // Copies the bytes (tests and small buffers).
    MemorySongFile(const void* bytes, uint32_t size);

    bool Read(void* buffer, uint32_t n, uint32_t* count) override;
    uint32_t Seek(int32_t offset, int origin) override;
    uint32_t Size(uint32_t* high) override;
    const char* OpenedPath() const override;
    int ArchiveKind() const override;
    const uint8_t* Buffer() const override;

  private:
    std::unique_ptr<uint8_t[]> bytes_;
    uint32_t size_;
    uint32_t position_ = 0;
    int archiveKind_;
};

// Open flags.
constexpr uint32_t kOpenMemoryMode = 0x1;   // archive members: read into memory
constexpr uint32_t kOpenPrepareOnly = 0x2;  // extract or accept, but open nothing

struct SongOpenRequest {
    uint32_t flags = kOpenMemoryMode;
    bool wholeFolder = false;  // extract the member's whole folder (related files)
    uint32_t memberSize = 0;   // member size when known, 0 to look it up
    void* ownerWindow = nullptr;
};

// Opens a song for reading. Returns the reader, or null with *lastError set
// (2 not found, 5 access denied, 32 sharing violation, ...). With
// kOpenPrepareOnly a plain path opens nothing and still returns a reader whose
// Read fails and whose OpenedPath is the path. Closing is destroying.
std::unique_ptr<SongFile> OpenSongFile(const char* path, const SongOpenRequest& request, uint32_t* lastError);

// Maps an open error to a reader result: 5 gives -4, 32 gives -3, others -2.
int32_t ReaderResultOfOpenError(uint32_t lastError);

// Opens archive members; installed by the archive layer. Returns null with
// *lastError set when the member cannot be produced. Without a hook every path
// is a plain path.
using ArchiveMemberOpener = std::unique_ptr<SongFile> (*)(const char* path,
                                                          int archiveKind,
                                                          const SongOpenRequest& request,
                                                          uint32_t* lastError);
// Says which archive kind a path names (0 for a plain path).
using ArchiveKindOfPathFn = int (*)(const char* path);
void SetArchiveHooks(ArchiveKindOfPathFn kindOfPath, ArchiveMemberOpener opener);
int ArchiveKindOfPathHook(const char* path);
ArchiveMemberOpener ArchiveOpenerHook();

// While one lives on a thread, the native file layer remembers the folders
// that thread lists and the sizes of their plain files, and opens a song of
// such a folder relative to the folder, taking its size from the listing
// instead of asking again. For a command that walks folders and then reads
// their songs; a file changed in between is read as far as the listing said
// it reaches, as a read just after the walk would. Files written through the
// file layer meanwhile are looked up afresh. Scopes nest; the Windows file
// layer ignores them.
class WalkedFoldersScope {
  public:
    WalkedFoldersScope();
    ~WalkedFoldersScope();
    WalkedFoldersScope(const WalkedFoldersScope&) = delete;
    WalkedFoldersScope& operator=(const WalkedFoldersScope&) = delete;
};

// Opens a plain file for reading; each world supplies its own.
std::unique_ptr<SongFile> OpenPlainSongFile(const char* path, const SongOpenRequest& request, uint32_t* lastError);
