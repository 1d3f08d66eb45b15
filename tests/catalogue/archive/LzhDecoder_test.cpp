// Our LZH decoder against archives of every method from the shared corpus,
// and against damaged streams that must fail without writing out of bounds.
#include "catalogue/archive/LzhDecoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/LzhHeader.h"
#include "core/SongFile.h"

namespace {

int64_t Utc(int64_t seconds) {
    return seconds;
}

struct Member {
    LzhEntry entry;
    std::string packed;
};

// The members of an archive with their packed bytes, at most `most` of them.
std::vector<Member> ReadMembers(const std::string& path, size_t most = SIZE_MAX) {
    std::string bytes = ReadWholeFile(path);
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    ArchiveSource source(&file);
    std::vector<Member> members;
    uint32_t offset = 0;
    if (!FindFirstLzhHeader(&source, &offset)) {
        return members;
    }
    Member member;
    for (uint32_t next = 0; members.size() < most && ReadLzhHeader(&source, offset, Utc, &member.entry, &next) == 0;
         offset = next) {
        member.packed = bytes.substr(member.entry.dataOffset, member.entry.packedSize);
        members.push_back(member);
    }
    return members;
}

// The first member of a corpus archive.
Member FirstMember(const std::string& rel) {
    std::vector<Member> members = ReadMembers(CorpusPath("lzh/archives/" + rel), 1);
    EXPECT_EQ(members.size(), 1u) << rel;
    return members.empty() ? Member() : members[0];
}

int Decode(const Member& member, std::string* out) {
    out->assign(member.entry.size, '\0');
    return DecodeLzh(member.entry.method, reinterpret_cast<const uint8_t*>(member.packed.data()), member.packed.size(),
                     reinterpret_cast<uint8_t*>(&(*out)[0]), out->size());
}

uint16_t Crc(const std::string& bytes) {
    return LzhCrc16(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 0);
}

TEST(LzhDecoder, EveryMethodRestoresTheOriginal) {
    const std::string gpl = ReadWholeFile(CorpusPath("lzh/content/gpl-2"));
    ASSERT_EQ(gpl.size(), 18092u);
    const char* archives[] = {
        "lha_amiga_122/lh1.lzh",  "lharc113/lh1.lzh",         "lha_os2_208/lh1.lzh",         "lha_os9_211c/h2_lh1.lzh",
        "lha_amiga_122/lh4.lzh",  "explzh_723/h0_lh5.lzh",    "explzh_723/h1_lh6.lzh",       "explzh_723/h2_lh7.lzh",
        "generated/lzs/lzs.lzs",  "larc333/lz5.lzs",          "lharc_atari_313a/h2_lz5.lzh", "lhmelt_16536/h2_lh5.lzh",
        "lha_osk_201/h2_lh5.lzh", "maclha_224/l0_nm_lh5.lzh",
    };
    for (const char* archive : archives) {
        Member member = FirstMember(archive);
        std::string out;
        EXPECT_EQ(Decode(member, &out), 0) << archive;
        EXPECT_TRUE(out == gpl) << archive;
    }
}

TEST(LzhDecoder, LongAndOddMembersMatchTheirChecksums) {
    const char* archives[] = {
        "lha213/lh5_long.lzh",       "lha_amiga_122/lh4_long.lzh",
        "lha_unix114i/lh6_long.lzh", "lha_unix114i/lh7_long.lzh",
        "lengths/lh1-1m.lzh",        "lengths/lh1-64k.lzh",
        "lengths/lz5-64k.lzs",       "larc333/initial.lzs",
        "larc333/lz4.lzs",           "explzh_723/h2_lh0.lzh",
        "lengths/lh1-0.lzh",         "maclha_224/l2_lh5.lzh",
        "unlha32/lh2.lzh",           "unlha32/lh3.lzh",
    };
    for (const char* archive : archives) {
        Member member = FirstMember(archive);
        std::string out;
        EXPECT_EQ(Decode(member, &out), 0) << archive;
        EXPECT_EQ(Crc(out), member.entry.crc) << archive;
    }
}

// Members made by another encoder, long enough for -lh1- and -lh2- to halve
// and rebuild their trees (see tests/data/lzh/README.md).
TEST(LzhDecoder, AdaptiveMembersPastTheirTreeRebuildsMatchTheirChecksums) {
    std::vector<std::string> methods;
    for (const Member& member : ReadMembers(TestDataPath("lzh/long-members.lzh"))) {
        std::string out;
        EXPECT_EQ(Decode(member, &out), 0) << member.entry.method;
        EXPECT_EQ(Crc(out), member.entry.crc) << member.entry.method;
        methods.push_back(member.entry.method);
    }
    EXPECT_EQ(methods, std::vector<std::string>({"-lh1-", "-lh2-", "-lh3-"}));
}

TEST(LzhDecoder, RejectsWhatCannotBeDecoded) {
    std::string out;
    // Cut at 3000 of 7004 packed bytes.
    Member truncated = FirstMember("regression/truncated.lzh");
    truncated.packed =
        ReadWholeFile(CorpusPath("lzh/archives/regression/truncated.lzh")).substr(truncated.entry.dataOffset);
    EXPECT_EQ(Decode(truncated, &out), kArchiveErrorBroken);
    // LHARK's variant under the -lh7- name decodes to something else.
    Member lhark = FirstMember("lhark04d/lh7.lzh");
    int result = Decode(lhark, &out);
    EXPECT_TRUE(result == kArchiveErrorBroken || Crc(out) != lhark.entry.crc);
    EXPECT_EQ(Decode(FirstMember("unlha32/h2_lhx.lzh"), &out), kArchiveErrorMethod);
    EXPECT_EQ(LzhMethodIndex("-lhd-"), -1);
    EXPECT_EQ(LzhMethodIndex("-lz5-"), 10);
}

TEST(LzhDecoder, StoredMembersAreCopiedUpToTheBuffer) {
    const uint8_t packed[] = {'a', 'b', 'c', 'd'};
    uint8_t out[5] = {0, 0, 0, 0, 0x55};
    EXPECT_EQ(DecodeLzh("-lz4-", packed, 4, out, 3), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 3), "abc");
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(DecodeLzh("-lh0-", packed, 2, out, 3), kArchiveErrorBroken);
}

// Decodes into a buffer with guard bytes on both sides; the guards must stay.
int DecodeGuarded(const char* method, const std::string& packed, size_t size) {
    const size_t kGuard = 64;
    std::vector<uint8_t> buffer(size + 2 * kGuard, 0xA5);
    int result =
        DecodeLzh(method, reinterpret_cast<const uint8_t*>(packed.data()), packed.size(), buffer.data() + kGuard, size);
    for (size_t i = 0; i < kGuard; i++) {
        EXPECT_EQ(buffer[i], 0xA5) << method;
        EXPECT_EQ(buffer[kGuard + size + i], 0xA5) << method;
    }
    return result;
}

TEST(LzhDecoder, DamagedStreamsFailInsideTheirBuffer) {
    const char* archives[] = {"lha_amiga_122/lh1.lzh", "lha_amiga_122/lh4.lzh", "explzh_723/h0_lh5.lzh",
                              "explzh_723/h0_lh6.lzh", "explzh_723/h0_lh7.lzh", "generated/lzs/lzs.lzs",
                              "larc333/lz5.lzs",       "unlha32/lh2.lzh",       "unlha32/lh3.lzh"};
    for (const char* archive : archives) {
        Member member = FirstMember(archive);
        const char* method = member.entry.method;
        // Every cut ends in an error: the output cannot be complete.
        for (size_t cut : {size_t(0), size_t(1), size_t(7), member.packed.size() / 2}) {
            EXPECT_EQ(DecodeGuarded(method, member.packed.substr(0, cut), member.entry.size), kArchiveErrorBroken)
                << archive << " cut at " << cut;
        }
        // Flipped bytes: any result, but no write outside the buffer.
        for (size_t at = 0; at < member.packed.size(); at += 97) {
            std::string damaged = member.packed;
            damaged[at] = char(damaged[at] ^ 0x5A);
            int result = DecodeGuarded(method, damaged, member.entry.size);
            EXPECT_TRUE(result == 0 || result == kArchiveErrorBroken) << archive;
        }
        // Output buffers smaller than the member.
        EXPECT_EQ(DecodeGuarded(method, member.packed, 1000), 0) << archive;
    }
    for (const char* method : {"-lh1-", "-lh2-", "-lh3-", "-lh5-", "-lh7-", "-lzs-", "-lz5-"}) {
        DecodeGuarded(method, std::string(5000, '\xff'), 100000);
        DecodeGuarded(method, std::string(5000, '\0'), 100000);
    }
}

// Any bits are a valid message to the adaptive methods, so a long stream of
// noise drives their trees through many halvings and rebuilds (one per 32K
// codes); the trees must stay whole until the bits run out.
TEST(LzhDecoder, AdaptiveTreesSurviveManyRebuilds) {
    std::string noise(300000, '\0');
    uint32_t state = 12345;
    for (char& byte : noise) {
        state = state * 1103515245u + 12345u;
        byte = char(state >> 24);
    }
    for (const char* method : {"-lh1-", "-lh2-"}) {
        EXPECT_EQ(DecodeGuarded(method, noise, 4u << 20), kArchiveErrorBroken) << method;
    }
}

}  // namespace
