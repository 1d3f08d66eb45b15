// ZIP member names stored in UTF-8 (general purpose bit 11) turned into the
// program's code page, so that they show and match like every other name.
#pragma once

#include <cstdint>
#include <string>

// General purpose bit 11: the name and comment are UTF-8.
constexpr uint16_t kZipFlagUtf8Name = 0x0800;

// Converts a UTF-8 member name to CP932. Decomposed kana (a kana followed
// by a combining voiced or semi-voiced mark, as some systems store names)
// are composed first; the characters that other Japanese code pages map
// differently (WAVE DASH, MINUS SIGN, ...) take their CP932 counterparts. A
// character that CP932 cannot hold becomes '_', never '?' (a wildcard to the
// archiver libraries) nor a folder separator. Returns false, leaving *out
// alone, when the bytes are not well-formed UTF-8.
bool ZipUtf8NameToCp932(const std::string& utf8, std::string* out);

// The name a listing shows for a member: as stored, or converted when flags
// has bit 11 and the name is well-formed UTF-8.
std::string ZipDisplayName(const std::string& name, uint16_t flags);
