// The few file system services the archive layer needs for members
// extracted to disk; each world supplies them.
#pragma once

#include <cstdint>
#include <string>

// The system's temporary folder, ending in the path separator '\\'.
std::string SystemTempFolder();

// True when a file or folder of that name exists.
bool PathExists(const char* path);

// Creates a folder (its parent must exist). True when it exists afterwards.
bool EnsureFolder(const char* path);

// Deletes a file. True on success.
bool DeleteFilePath(const char* path);

// Removes a folder with everything below it.
void RemoveFolderTree(const char* path);

// Writes a whole file, replacing what was there. True on success.
bool WriteFileBytes(const char* path, const uint8_t* bytes, size_t size);
