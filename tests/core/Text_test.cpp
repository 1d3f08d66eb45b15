// The Shift_JIS helpers on the texts that break naive loops: trail bytes equal
// to '\\', '[' or ASCII letters ("表" 95 5C, "ソ" 83 5C, "能" 94 5C, "ゼ" 83 5B,
// "ヂ" 83 61), trail bytes in the lead byte range ("モ" 83 82, "メ" 83 81) and
// lead bytes cut off from their trail byte.
#include "core/Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

TEST(Text, ByteClassesFollowCodePage932) {
    const struct {
        uint8_t byte;
        bool lead;
        bool kana;
    } cases[] = {
        {0x40, false, false}, {0x80, false, false}, {0x81, true, false}, {0x9F, true, false}, {0xA0, false, false},
        {0xA1, false, true},  {0xDF, false, true},  {0xE0, true, false}, {0xFC, true, false}, {0xFD, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.lead, IsLeadByte(c.byte)) << std::hex << int(c.byte);
        EXPECT_EQ(c.kana, IsHalfWidthKana(c.byte)) << std::hex << int(c.byte);
    }
}

TEST(Text, SplitPathNeverSplitsAtATrailByte) {
    const struct {
        const char* path;
        bool archiveAware;
        const char* folder;
        const char* name;
        bool found;
    } cases[] = {
        {"C:\\songs\\a.mid", false, "C:\\songs\\", "a.mid", true},
        {"C:\\表\\ソ.mid", false, "C:\\表\\", "ソ.mid", true},
        {"C:\\dir\\能表", false, "C:\\dir\\", "能表", true},
        {"表ソ能", false, "", "表ソ能", false},
        {"a.mid", true, "", "a.mid", false},
        {"C:\\x\\b.lzh>sub\\s.mid", true, "C:\\x\\b.lzh>", "sub\\s.mid", true},
        {"C:\\x\\b.lzh>sub\\s.mid", false, "C:\\x\\b.lzh>sub\\", "s.mid", true},
        {"C:\\表.lzh>ソ\\s.mid", true, "C:\\表.lzh>", "ソ\\s.mid", true},
        {"dir\\\x83", false, "dir\\", "\x83", true},
        {"", false, "", "", false},
    };
    for (const auto& c : cases) {
        std::string folder = "junk";
        std::string name = "junk";
        EXPECT_EQ(c.found, SplitPath(c.path, &folder, &name, c.archiveAware)) << c.path;
        EXPECT_EQ(c.folder, folder) << c.path;
        EXPECT_EQ(c.name, name) << c.path;
    }
}

TEST(Text, SplitExtensionTakesTheDotOfTheLastName) {
    const struct {
        const char* path;
        const char* base;
        const char* ext;
    } cases[] = {
        {"song.mid", "song", "mid"},
        {"a.b.c", "a.b", "c"},
        {"ソ.mid", "ソ", "mid"},
        {"dir.x\\song", "dir.x\\song", ""},
        {"C:\\a.lzh>song", "C:\\a.lzh>song", ""},
        {"表", "表", ""},
        {"d\\表.ソ", "d\\表", "ソ"},
        {".mid", "", "mid"},
        {"x.\x83", "x", "\x83"},
    };
    for (const auto& c : cases) {
        std::string base;
        std::string ext;
        SplitExtension(c.path, &base, &ext);
        EXPECT_EQ(c.base, base) << c.path;
        EXPECT_EQ(c.ext, ext) << c.path;
    }
}

TEST(Text, SeparatorSearchesSkipTrailBytes) {
    EXPECT_EQ(3, LastSeparator("a\\b/c"));
    EXPECT_EQ(1, LastSeparator("a\\表"));
    EXPECT_EQ(-1, LastSeparator("表ソ"));
    EXPECT_EQ(-1, LastSeparator(""));
    EXPECT_EQ(2, FindEitherChar("ソ;x", ';', 0));
    EXPECT_EQ(3, FindEitherChar("表x\\", '\\', 0));
    EXPECT_EQ(2, FindEitherChar("abc", 'z', 'c'));
    EXPECT_EQ(-1, FindEitherChar("abc", 'z', 0));
    EXPECT_EQ(-1, FindEitherChar("ゼゾ", '[', ']'));
    EXPECT_EQ(-1, FindEitherChar("a\x83", '\\', 0));
}

TEST(Text, NextTokenSplitsAtSemicolons) {
    const struct {
        const char* list;
        std::vector<std::string> tokens;
    } cases[] = {
        {"ROLAND;ソ;;GS", {"ROLAND", "ソ", "", "GS"}}, {"表;", {"表"}}, {"", {}}, {";", {""}}, {"ab\x83", {"ab\x83"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> tokens;
        std::string token;
        size_t position = 0;
        while (NextToken(&token, c.list, &position)) {
            tokens.push_back(token);
            ASSERT_LE(position, std::strlen(c.list));
        }
        EXPECT_EQ(c.tokens, tokens) << c.list;
        EXPECT_EQ("", token);
    }
}

TEST(Text, NextCommandWordHandlesQuotesAndCuts) {
    const struct {
        const char* line;
        size_t dstSize;
        const char* word;
        int restOffset;  // -1: no word
    } cases[] = {
        {"  prog.exe /play", 512, "prog.exe", 10},
        {"\"C:\\My Songs\\a.mid\" x", 512, "C:\\My Songs\\a.mid", 19},
        {"C:\\\"a b\"c d", 512, "C:\\a bc", 9},
        {"表\\ソ x", 512, "表\\ソ", 5},
        {"\"\"", 512, "", 2},
        {"   ", 512, "", -1},
        {"", 512, "", -1},
        {"abcdef g", 4, "abc", 6},
        {"ab表 c", 4, "ab", 4},
        {"ab表c", 5, "ab表", 5},
        {"a\x83", 8, "a\x83", 2},
    };
    for (const auto& c : cases) {
        std::vector<char> dst(c.dstSize + 1, 'X');
        const char* rest = NextCommandWord(dst.data(), c.dstSize, c.line);
        EXPECT_STREQ(c.word, dst.data()) << c.line;
        EXPECT_EQ('X', dst[c.dstSize]) << c.line;
        if (c.restOffset < 0) {
            EXPECT_EQ(nullptr, rest) << c.line;
        } else {
            EXPECT_EQ(c.line + c.restOffset, rest) << c.line;
        }
    }
}

TEST(Text, EscapeBracketsLeavesTrailBytesAlone) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {{"[a]", "\\[a\\]"}, {"ゼゾ", "ゼゾ"}, {"ゼ[ー]", "ゼ\\[ー\\]"}, {"", ""}};
    for (const auto& c : cases) {
        std::string s = c.in;
        EscapeBrackets(&s);
        EXPECT_EQ(c.out, s) << c.in;
    }
}

TEST(Text, CopyBoundedNeverLeavesALoneLeadByte) {
    const struct {
        const char* src;
        size_t n;
        const char* out;
    } cases[] = {
        {"abcdef", 3, "abc"}, {"ab表", 3, "ab"}, {"ab表", 4, "ab表"}, {"ab\x83", 8, "ab"},
        {"モ", 2, "モ"},      {"モモ", 3, "モ"}, {"", 5, ""},         {"abc", 0, ""},
    };
    for (const auto& c : cases) {
        std::vector<char> dst(c.n + 2, 'X');
        EXPECT_EQ(std::strlen(c.out), CopyBounded(dst.data(), c.src, c.n)) << c.src;
        EXPECT_STREQ(c.out, dst.data()) << c.src;
        EXPECT_EQ('X', dst[c.n + 1]) << c.src;
    }
}

TEST(Text, CopyBoundedReadsNoFurtherThanN) {
    // Fixed fields in files carry no terminator; ASan reports any read past them.
    const char field[] = {'a', 'b', 'c', '\x83'};
    std::unique_ptr<char[]> src(new char[sizeof field]);
    std::memcpy(src.get(), field, sizeof field);
    char dst[8];
    EXPECT_EQ(3u, CopyBounded(dst, src.get(), sizeof field));
    EXPECT_STREQ("abc", dst);
}

TEST(Text, ReadVarLenDecodesAndStaysInBounds) {
    const struct {
        std::vector<uint8_t> bytes;
        uint32_t value;
        int used;
    } cases[] = {
        {{0x00}, 0, 1},
        {{0x7F, 0x7F}, 127, 1},
        {{0x81, 0x00}, 128, 2},
        {{0xFF, 0x7F}, 16383, 2},
        {{0x81, 0x80, 0x80, 0x00}, 0x200000, 4},
        {{0xFF, 0xFF, 0xFF, 0x7F}, 0x0FFFFFFF, 4},
        {{0x81, 0x81, 0x81, 0x81, 0x01}, 0x00204081, 4},
        {{0x81}, 1, 1},
        {{}, 0, 0},
    };
    for (const auto& c : cases) {
        std::unique_ptr<uint8_t[]> bytes(new uint8_t[c.bytes.size() + 1]);
        std::copy(c.bytes.begin(), c.bytes.end(), bytes.get());
        uint32_t value = 0xDEADBEEF;
        EXPECT_EQ(c.used, ReadVarLen(bytes.get(), c.bytes.size(), &value)) << c.bytes.size();
        EXPECT_EQ(c.value, value) << c.bytes.size();
    }
}

TEST(Text, FileUrlTurnsOnlyRealBackslashes) {
    EXPECT_EQ("file:///C:/表/ソ/a.mid", FileUrl("C:\\表\\ソ\\a.mid"));
    EXPECT_EQ("file:///", FileUrl(""));
}

TEST(Text, HtmlEscapeGoldenCases) {
    const struct {
        const char* in;
        bool widen;
        const char* out;
    } cases[] = {
        {"<a href=\"x\">&</a>", false, "&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;"},
        {"表>ソ&", true, "表&gt;ソ&amp;"},
        {"ｶﾞｷﾞﾄﾞﾂﾞ", true, "ガギドヅ"},
        {"ｳﾞｧ", true, "ヴァ"},
        {"ﾊﾟﾋﾟﾌﾞﾍﾞﾎﾟ", true, "パピブベポ"},
        {"ｱﾞﾅﾞｶﾟ", true, "ア゛ナ゛カ゜"},
        {"ﾞﾟ", true, "゛゜"},
        {"ｿﾌﾄｳｪｱ ｰ ﾜﾝ", true, "ソフトウェア ー ワン"},
        {"｡｢｣､･", true, "｡｢｣、・"},
        {"ｶﾞ", false, "ｶﾞ"},
        {"文萎", true, "文萎"},
        {"ｶ", true, "カ"},
        {"a\x83", true, "a\x83"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.out, HtmlEscape(c.in, c.widen)) << c.in;
    }
}

TEST(Text, SearchKeyFoldsCaseWidthAndKana) {
    const std::vector<std::vector<const char*>> sameKey = {
        {"ａｂｃ", "ABC", "abc", "Ａｂc"},
        {"ｿﾌﾄ", "ソフト", "そふと"},
        {"ｶﾞ", "ガ", "が"},
        {"ﾊﾟﾋﾞ", "パビ", "ぱび"},
        {"ｳﾞ", "ヴ"},
        {"ﾐﾑﾝ", "ミムン", "みむん"},
        {"ヂ", "ぢ"},
        {"1!~", "１！～"},
        {"ゞ", "ヾ"},
        {"αя", "ΑЯ"},
    };
    for (const auto& group : sameKey) {
        for (const char* text : group) {
            EXPECT_EQ(SearchKey(group[0], false), SearchKey(text, false)) << group[0] << " / " << text;
        }
    }
    const std::vector<std::pair<const char*, const char*>> differentKey = {
        {"ア", "イ"}, {"カ", "ガ"}, {"ヂ", "ア"}, {"ハ", "パ"}, {"a", "b"},
    };
    for (const auto& pair : differentKey) {
        EXPECT_NE(SearchKey(pair.first, false), SearchKey(pair.second, false)) << pair.first;
    }
}

TEST(Text, SearchKeySpaceAndControlBytes) {
    EXPECT_EQ("\x01\t", SearchKey("\x01\t", true));
    EXPECT_EQ("Ａ Ｂ", SearchKey("a b", false));
    EXPECT_EQ("Ａ　Ｂ", SearchKey("a b", true));
    EXPECT_EQ(SearchKey("a　b", true), SearchKey("a b", true));
    EXPECT_EQ("Ａ\x83", SearchKey("a\x83", false));
}

TEST(Text, CompactSpacesKeepsCharactersWhole) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"  a   b  ", "a b "}, {"　a　　b", "a b"}, {"メ@", "メ@"}, {"ソ  ソ", "ソ ソ"}, {"", ""},
        {"   ", ""},           {"a\x83", "a\x83"},  {"a　", "a "},
    };
    for (const auto& c : cases) {
        std::string buffer = c.in;
        CompactSpaces(&buffer[0]);
        EXPECT_STREQ(c.out, buffer.c_str()) << c.in;
    }
}

TEST(Text, TrimTitleSteps) {
    const struct {
        std::string stored;
        const char* out;
        bool empty;
    } cases[] = {
        {"abc  ", "abc", false},
        {"     ", "", true},
        {std::string("ab\0\0", 4), "ab", false},
        {"abc\r\n", "abc", false},
        {"abc  \r\n", "abc  ", false},
        {"\r\n", "", true},
        {"\r\n  ", "", true},
        {"a\r\nb", "a\r\nb", false},
        {"a\x81 ", "a\x81 ", false},
        {"ab\x83", "ab", false},
        {"\x83", "", true},
        {"モ  ", "モ", false},
        {"表", "表", false},
        {"\x83\r\n", "\x83\r\n", false},
        {"", "", true},
    };
    for (const auto& c : cases) {
        std::vector<char> buffer(c.stored.begin(), c.stored.end());
        buffer.push_back('X');
        EXPECT_EQ(c.empty, TrimTitle(c.stored.size(), buffer.data())) << c.stored;
        EXPECT_STREQ(c.out, buffer.data()) << c.stored;
    }
}

TEST(Text, CaseFoldingIgnoresTrailBytes) {
    EXPECT_EQ("ABCヂ", UpperAscii("abcヂ"));
    EXPECT_EQ(0, CompareNoCase("SONG.MID", "song.mid"));
    EXPECT_EQ(0, CompareNoCase("表.Mid", "表.mID"));
    EXPECT_NE(0, CompareNoCase("ヂ", "ア"));
    EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
    EXPECT_LT(CompareNoCase("ab", "abc"), 0);
    EXPECT_GT(CompareNoCase("abc", "ab"), 0);
    EXPECT_EQ(0, CompareNoCase("", ""));
}
