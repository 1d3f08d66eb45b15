// Helpers of the native (non-Windows) file layer.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// The Unix path of a program path: '\\' separators turned into '/', the
// CP932 text into UTF-8.
std::string NativePath(const char* path);

// The program's (CP932) form of a Unix file name; a name that is not UTF-8
// is kept as it is.
std::string ProgramNameOfNative(const std::string& name);

// The Win32 error number that stands for an errno value.
uint32_t ErrorOfErrno(int e);

// A file time (100 ns units since 1601 UTC) from a Unix time.
uint64_t FileTimeOfTimespec(const struct timespec& t);

// Drops the sizes a walked-folders scope remembers, as the file layer
// writes, moves or removes a file.
void ForgetWalkedSizes();
