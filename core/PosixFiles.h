// Helpers of the native (non-Windows) file layer.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// The path with the program's '\\' separators turned into '/'.
std::string NativePath(const char* path);

// The Win32 error number that stands for an errno value.
uint32_t ErrorOfErrno(int e);

// A file time (100 ns units since 1601 UTC) from a Unix time.
uint64_t FileTimeOfTimespec(const struct timespec& t);
