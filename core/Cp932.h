// Conversions between Unicode and code page 932 (Shift_JIS as Windows has
// it), the same natively and on Windows: tags store UTF-16 and UTF-8 text,
// while everything the program shows and stores is CP932. Driven by the
// generated tables of core/Cp932Table.inc.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The byte that stands for a character code page 932 cannot hold.
constexpr char kCp932Unmappable = '?';

// The character that stands for a double-byte code without a character
// (the code page's default Unicode character, KATAKANA MIDDLE DOT).
constexpr char16_t kCp932UndefinedUnicode = 0x30FB;

// Encodes up to count UTF-16 units, stopping at a NUL unit. A surrogate pair
// or a lone surrogate becomes one kCp932Unmappable. Returns the CP932 text.
std::string Utf16ToCp932(const char16_t* units, size_t count);

// Decodes up to size bytes of UTF-8 the lenient way tags need it: one-,
// two- (110xxxxx) and three-byte (1110xxxx) sequences give UTF-16 units,
// any other byte is a unit of its own value, and a NUL byte or a sequence cut
// short by the end ends the text. Returns the CP932 encoding of the units.
std::string Utf8ToCp932(const uint8_t* bytes, size_t size);

// Decodes CP932 text up to its NUL. A lead byte at the end is dropped; an
// undefined double-byte code gives kCp932UndefinedUnicode. Returns UTF-16.
std::u16string Cp932ToUtf16(const char* text);

// CP932 text up to its NUL as UTF-8 (the decoding of Cp932ToUtf16).
std::string Cp932ToUtf8(const char* text);
