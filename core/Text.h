// Shift_JIS (code page 932) aware text and path helpers. Every scan steps over
// double-byte characters, so a trail byte equal to '\\', '>', '.', ';', '"',
// '[' or ']' is never taken for that character, and no cut leaves a lone lead
// byte behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// True for a byte that starts a double-byte character (0x81-0x9F, 0xE0-0xFC).
// Inline with CharBytes: every text scan asks for each byte.
inline bool IsLeadByte(uint8_t c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// True when every one of size bytes is 7-bit: text that reads the same in
// CP932, UTF-8 and ASCII.
bool IsSevenBit(const char* text, size_t size);

// True for a half-width katakana byte (0xA1-0xDF).
bool IsHalfWidthKana(uint8_t c);

// Bytes of the character at p: 2 for a lead byte followed by a further byte,
// else 1 (a lead byte right before the terminator counts as one byte).
inline size_t CharBytes(const char* p) {
    return (IsLeadByte(static_cast<uint8_t>(*p)) && p[1] != '\0') ? 2 : 1;
}

// Splits at the last '\\' (or, when archiveAware, at the first '>' which ends
// the search). folderOut gets everything up to and including the separator,
// nameOut the rest; either may be null. True when a separator was found.
bool SplitPath(const char* path, std::string* folderOut, std::string* nameOut, bool archiveAware);

// Splits off the extension: the text after the last '.' of the last name
// (the search stops at '\\' or '>'). extOut gets it without the dot.
void SplitExtension(const char* path, std::string* baseOut, std::string* extOut);

// Index of the last '\\' or '/', or -1.
int LastSeparator(const char* path);

// Index of the first byte equal to a or b (b may be 0), or -1.
int FindEitherChar(const char* s, char a, char b);

// Index of the ':' that makes a path a full one ("C:\\x", "C:x"), or -1.
// Only the part before the first '>' counts: a ':' in the name of an archive
// member ("pack.lzh>a:b.mid") is part of that name and leaves the path
// relative.
int FindDriveColon(const char* path);

// Copies src from *position up to the next ';' into dst and moves *position
// past it. True when the position advanced, false at the end of the string.
bool NextToken(std::string* dst, const char* src, size_t* position);

// Skips spaces and copies one word into dst without its double quotes (spaces
// inside quotes belong to the word). Returns the position after the word, or
// null when src held no word. dst receives at most dstSize - 1 bytes.
const char* NextCommandWord(char* dst, size_t dstSize, const char* src);

// Puts a '\\' before every '[' and ']'.
void EscapeBrackets(std::string* s);

// Copies at most n bytes of src (stopping at its NUL) and terminates; a lead
// byte cut off from its trail byte is replaced by the terminator. dst needs
// n + 1 bytes. Returns the number of bytes copied.
size_t CopyBounded(char* dst, const char* src, size_t n);

// The path followed by NULs, at least minBytes long: for calls that take a
// path in a fixed-size buffer and write their answer over it. The whole path
// goes in, never a cut one that could name another file.
std::string PathBuffer(const char* path, size_t minBytes);

// Reads a MIDI variable-length quantity from at most avail bytes. Returns the
// bytes it occupied (0 when avail is 0); *value receives the value.
int ReadVarLen(const uint8_t* bytes, size_t avail, uint32_t* value);

// "file:///" and the path with every '\\' turned into '/'.
std::string FileUrl(const char* path);

// Escapes '"', '&', '<' and '>' for HTML; with widenKana every half-width
// katakana from 0xA4 on becomes its full-width form, merged with a following
// voiced or semi-voiced mark (0xA1-0xA3, ｡｢｣, stay as written).
std::string HtmlEscape(const char* src, bool widenKana);

// The comparison key of text searching: ASCII letters upper-cased and every
// printable single-byte character widened (half-width katakana merged with its
// sound mark), full-width letters upper-cased, hiragana turned into katakana.
// Control bytes stay; the space is widened only with keepSpace.
std::string SearchKey(const char* src, bool keepSpace);

// In place: full-width spaces become two spaces, leading spaces go, inner
// runs of spaces become one.
void CompactSpaces(char* title);

// Trims a title of `length` stored bytes (trailing spaces and NULs, a lead
// byte left without its trail byte, a final CR LF) and terminates it; buffer
// needs length + 1 bytes. True when the title is empty.
bool TrimTitle(size_t length, char* buffer);

// Upper-cases ASCII letters of a CP932 string (double-byte characters stay).
std::string UpperAscii(const char* s);

// Case-insensitive comparison of CP932 strings (ASCII letters folded; a
// double-byte character compares as its two bytes). Negative, 0 or positive.
int CompareNoCase(const char* a, const char* b);

// The upper-case form of a double-byte character code (full-width Latin,
// Greek and Cyrillic letters), or the code itself.
uint16_t UpperWide(uint16_t code);
