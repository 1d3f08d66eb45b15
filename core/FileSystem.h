// Small file operations the catalogue needs beyond reading: creating a file
// for writing, moving one over another, deleting, and telling whether two
// folder paths lead to the same folder. Each world supplies its own implementation
// (FileSystem_win.cpp, FileSystem_posix.cpp); errors are the Win32 numbers.
#pragma once

#include <cstdint>
#include <memory>

// A file opened for writing. Destroying it without Commit closes it as it is.
class OutputFile {
   public:
    virtual ~OutputFile() = default;
    // Writes all n bytes; 0 or the error number.
    virtual uint32_t Write(const void* bytes, uint32_t n) = 0;
    // Flushes the data to the disk and closes the file; 0 or the error number.
    virtual uint32_t Commit() = 0;
};

// Creates a file that must not exist yet (80 or 183 when it does). Returns
// the file, or null with *error set.
std::unique_ptr<OutputFile> CreateNewFile(const char* path, uint32_t* error);

// Moves source over target, replacing target in one step; 0 or the error number.
uint32_t MoveOverFile(const char* source, const char* target);

// Deletes a file; 0 or the error number.
uint32_t RemoveFile(const char* path);

// Which folder a path leads to, whatever links it went through: the volume
// and the file's number on it. Equal identities are one folder.
struct FolderIdentity {
    uint64_t volume = 0;
    uint64_t file = 0;
};

inline bool operator==(const FolderIdentity& a, const FolderIdentity& b) {
    return a.volume == b.volume && a.file == b.file;
}

// Reads the identity of a folder (a path, with or without its final
// separator), following links; false when it cannot be read.
bool ReadFolderIdentity(const char* folder, FolderIdentity* identity);
