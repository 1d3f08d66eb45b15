// Titles of Windows Media files through the platform's Windows Media runtime.
#pragma once

#include <cstdint>

struct SongInfo;

// Reads "Title", "Author" and "Description" of a Windows Media file through
// wmvcore.dll. Returns the reader result: the title's length, 0 without a
// title, or kReadUnsupported when the runtime is missing or cannot open the
// file (our own ASF parser then reads it).
int32_t ReadWindowsMediaThroughRuntime(const char* path, SongInfo* info, char* title, char* comment);

// Installs the reader above for ReadSongInfo when wmvcore.dll can be loaded.
// True when it was installed.
bool InstallWindowsMediaRuntime();
