// Small file operations the catalogue needs beyond reading: creating a file
// for writing, moving one over another, and deleting. Each world supplies its own implementation
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
