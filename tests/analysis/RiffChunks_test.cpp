// The RIFF chunk walker on hand-built forms: padding, clamped sizes, list
// types and forms that end in the middle of a chunk header.
#include "analysis/RiffChunks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void PutLe32(std::string* s, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        s->push_back(char(v >> (8 * i)));
    }
}

std::string Chunk(const char* id, const std::string& data, uint32_t storedSize) {
    std::string s(id, 4);
    PutLe32(&s, storedSize);
    s += data;
    if (data.size() % 2 == 1 && storedSize == data.size()) {
        s.push_back('\0');
    }
    return s;
}

std::string Chunk(const char* id, const std::string& data) {
    return Chunk(id, data, uint32_t(data.size()));
}

std::string Form(const char* type, const std::string& body) {
    return Chunk("RIFF", std::string(type, 4) + body);
}

constexpr uint32_t kDisp = MakeFourCC('D', 'I', 'S', 'P');
constexpr uint32_t kList = MakeFourCC('L', 'I', 'S', 'T');

std::string ReadChunkText(RiffWalker& walker, const RiffChunk& chunk) {
    char buffer[64];
    const uint32_t n = walker.ReadData(chunk, buffer, sizeof(buffer));
    return std::string(buffer, n);
}

TEST(RiffChunks, OddChunkIsFollowedByItsPaddingByte) {
    const std::string bytes = Form("RMID", Chunk("data", "abc") + Chunk("DISP", "xyz") + Chunk("DISP", "second"));
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    RiffWalker walker(file);
    RiffChunk form, first, second;
    ASSERT_TRUE(walker.OpenForm(MakeFourCC('R', 'M', 'I', 'D'), &form));
    ASSERT_TRUE(walker.FindChunk(form, form.dataOffset, kDisp, 0, &first));
    EXPECT_EQ(first.dataOffset, 12u + 8 + 4 + 8);
    EXPECT_EQ(ReadChunkText(walker, first), "xyz");
    ASSERT_TRUE(walker.FindChunk(form, first.end, kDisp, 0, &second));
    EXPECT_EQ(ReadChunkText(walker, second), "second");
    RiffChunk none;
    EXPECT_FALSE(walker.FindChunk(form, second.end, kDisp, 0, &none));
}

TEST(RiffChunks, ListIsFoundByItsType) {
    const std::string info = Chunk("LIST", "INFO" + Chunk("ICOP", "(c) 1996"));
    const std::string bytes = Form("RMID", Chunk("LIST", "adtl" + Chunk("ICOP", "wrong")) + info);
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    RiffWalker walker(file);
    RiffChunk form, list, icop;
    ASSERT_TRUE(walker.OpenForm(0, &form));
    ASSERT_TRUE(walker.FindChunk(form, form.dataOffset, kList, MakeFourCC('I', 'N', 'F', 'O'), &list));
    EXPECT_EQ(list.formType, MakeFourCC('I', 'N', 'F', 'O'));
    ASSERT_TRUE(walker.FindChunk(list, list.dataOffset, MakeFourCC('I', 'C', 'O', 'P'), 0, &icop));
    EXPECT_EQ(ReadChunkText(walker, icop), "(c) 1996");
}

TEST(RiffChunks, SizesPastTheParentAreClamped) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string expected;
    };
    const Case cases[] = {
        {"chunk claims 4 GiB", Form("RMID", Chunk("DISP", "short", 0xFFFFFFF0)), "short"},
        {"form claims more than the file", Chunk("RIFF", "RMID" + Chunk("DISP", "tail"), 0x10000), "tail"},
        {"file cut inside the chunk", Form("RMID", Chunk("DISP", "cut here")).substr(0, 12 + 8 + 3), "cut"},
    };
    for (const Case& c : cases) {
        MemorySongFile file(c.bytes.data(), uint32_t(c.bytes.size()));
        RiffWalker walker(file);
        RiffChunk form, disp;
        ASSERT_TRUE(walker.OpenForm(0, &form)) << c.name;
        ASSERT_TRUE(walker.FindChunk(form, form.dataOffset, kDisp, 0, &disp)) << c.name;
        EXPECT_LE(disp.end, c.bytes.size()) << c.name;
        EXPECT_EQ(ReadChunkText(walker, disp), c.expected) << c.name;
    }
}

TEST(RiffChunks, BrokenFormsFindNothing) {
    struct Case {
        const char* name;
        std::string bytes;
        uint32_t formType;
        bool opens;
    };
    const Case cases[] = {
        {"not RIFF", "RIFX" + std::string(20, '\0'), 0, false},
        {"wrong form type", Form("WAVE", Chunk("DISP", "x")), MakeFourCC('R', 'M', 'I', 'D'), false},
        {"shorter than a form header", std::string("RIFF\4\0\0\0RM", 10), 0, false},
        {"chunk header cut", Form("RMID", "") + "DISP\2\0", 0, true},
        {"empty form", Form("RMID", ""), 0, true},
    };
    for (const Case& c : cases) {
        MemorySongFile file(c.bytes.data(), uint32_t(c.bytes.size()));
        RiffWalker walker(file);
        RiffChunk form, disp;
        ASSERT_EQ(walker.OpenForm(c.formType, &form), c.opens) << c.name;
        if (c.opens) {
            EXPECT_FALSE(walker.FindChunk(form, form.dataOffset, kDisp, 0, &disp)) << c.name;
        }
    }
}

}  // namespace
