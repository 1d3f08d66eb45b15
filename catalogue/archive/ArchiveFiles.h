// The few file system services the archive layer needs for members
// extracted to disk; each world supplies them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/FileSystem.h"

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

// Creates a file for an extracted member, replacing what was there; its
// Commit closes it. Null when it cannot be created.
std::unique_ptr<OutputFile> CreateMemberFile(const char* path);
