// Unicode to and from code page 932.
#include <gtest/gtest.h>

#include <cstring>

#include "core/Cp932.h"

namespace {

TEST(Cp932, EncodesUtf16) {
    const struct {
        std::u16string units;
        const char* expected;
    } cases[] = {
        {u"表示ソフト", "表示ソフト"},                        // trail bytes 0x5C
        {u"\uFF71\uFF9E", "\xB1\xDE"},                        // half-width katakana
        {u"\uFF5E\u2252\uFFE2", "\x81\x60\x81\xE0\x81\xCA"},  // duplicates encode as Windows does
        {u"caf\u00E9", "caf?"},
        {u"a\U0001F600b", "a?b"},  // a surrogate pair is one character
        {u"a\xD800", "a?"},
        {std::u16string(u"ab\0cd", 5), "ab"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, Utf16ToCp932(c.units.data(), c.units.size()));
    }
}

TEST(Cp932, DecodesLenientUtf8) {
    const struct {
        std::string bytes;
        const char* expected;
    } cases[] = {
        {"\xE6\x97\xA5\xE6\x9C\xAC", "日本"},
        {"\xC3\xA9t\xC3\xA9", "?t?"},
        // Four-byte sequences are not decoded: each byte is its own unit,
        // and of U+00F0, U+009F, U+0098 and U+0080 only the last is in CP932.
        {"x\xF0\x9F\x98\x80y", "x???\x80y"},
        // A sequence cut by the end, or a NUL, ends the text.
        {"ok\xE6\x97", "ok"},
        {std::string("ok\0no", 5), "ok"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, Utf8ToCp932(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()));
    }
}

TEST(Cp932, DecodesToUtf16) {
    EXPECT_EQ(u"表示ソフト\uFF71", Cp932ToUtf16("表示ソフト\xB1"));
    EXPECT_EQ(u"a", Cp932ToUtf16("a\x95"));          // lead byte at the end
    EXPECT_EQ(u"\u30FB", Cp932ToUtf16("\x85\x40"));  // unassigned code
}

TEST(Cp932, EveryDoubleByteCharacterRoundTrips) {
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char bytes[3] = {char(lead), char(trail), 0};
            const std::u16string unicode = Cp932ToUtf16(bytes);
            if (unicode.size() != 1 || unicode[0] == kCp932UndefinedUnicode) {
                continue;
            }
            ++characters;
            const std::string back = Utf16ToCp932(unicode.data(), 1);
            EXPECT_EQ(unicode, Cp932ToUtf16(back.c_str())) << std::hex << lead << trail;
        }
    }
    EXPECT_GT(characters, 7000);
}

}  // namespace
