// The atomic writer in a real scratch folder: a complete write replaces the
// target, a failed one leaves the old file and no temporary behind.
#include "core/AtomicFile.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "TestPaths.h"
#include "core/FileFinder.h"

namespace {

std::set<std::string> NamesIn(const ScratchFolder& folder) {
    std::set<std::string> names;
    FindRecord record;
    for (auto finder = FinderOpen(&record, folder.File("*").c_str(), nullptr); finder->Found(); finder->Next(&record)) {
        if (record.name != "." && record.name != "..") {
            names.insert(record.name);
        }
    }
    return names;
}

std::string Pattern(size_t size, char seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; i++) {
        bytes[i] = char(seed + i * 7);
    }
    return bytes;
}

uint32_t failingWrite = 0;
uint32_t FailNthWrite(uint32_t writeIndex) {
    return writeIndex == failingWrite ? 112 : 0;  // disk full
}

class AtomicFileTest : public ::testing::Test {
   protected:
    void TearDown() override {
        SetAtomicWriteFault(nullptr);
    }
    ScratchFolder folder;
};

TEST_F(AtomicFileTest, CompleteWriteReplacesTargetAndLeavesNoTemporary) {
    const std::string target = folder.File("_Kadrel.cac");
    ASSERT_TRUE(WriteWholeFile(target, "old contents"));
    const std::string bytes = Pattern(3 * kAtomicWriteChunk + 17, 'a');

    EXPECT_EQ(0u, WriteFileAtomically(target.c_str(), bytes.data(), bytes.size()));

    EXPECT_EQ(bytes, ReadWholeFile(target));
    EXPECT_EQ(std::set<std::string>{"_Kadrel.cac"}, NamesIn(folder));
}

TEST_F(AtomicFileTest, EmptyWriteCreatesEmptyFile) {
    const std::string target = folder.File("empty.lst");
    EXPECT_EQ(0u, WriteFileAtomically(target.c_str(), "", 0));
    FindRecord record;
    auto finder = FinderOpen(&record, target.c_str(), nullptr);
    ASSERT_TRUE(finder->Found());
    EXPECT_EQ(0u, record.size);
}

TEST_F(AtomicFileTest, InjectedWriteFailureKeepsOldFileIntact) {
    const std::string target = folder.File("_Kadrel.cac");
    const std::string old = Pattern(5000, 'x');
    const std::string bytes = Pattern(4 * kAtomicWriteChunk, 'b');
    SetAtomicWriteFault(FailNthWrite);
    // The first write, and one after earlier chunks already reached the disk.
    for (uint32_t failing : {0u, 2u, 3u}) {
        SCOPED_TRACE(failing);
        failingWrite = failing;
        ASSERT_TRUE(WriteWholeFile(target, old));

        EXPECT_EQ(112u, WriteFileAtomically(target.c_str(), bytes.data(), bytes.size()));

        EXPECT_EQ(old, ReadWholeFile(target));
        EXPECT_EQ(std::set<std::string>{"_Kadrel.cac"}, NamesIn(folder));
    }
}

TEST_F(AtomicFileTest, StaleTemporaryFromACrashIsLeftAlone) {
    const std::string target = folder.File("best.lst");
    ASSERT_TRUE(WriteWholeFile(target + ".~tmp", "half a list"));

    EXPECT_EQ(0u, WriteFileAtomically(target.c_str(), "new", 3));

    EXPECT_EQ("new", ReadWholeFile(target));
    EXPECT_EQ("half a list", ReadWholeFile(target + ".~tmp"));
    EXPECT_EQ((std::set<std::string>{"best.lst", "best.lst.~tmp"}), NamesIn(folder));
}

TEST_F(AtomicFileTest, TemporariesTakingEveryNameAreClearedAway) {
    // Crash after crash left a temporary under every name the writer tries.
    const std::string target = folder.File("_Kadrel.cac");
    ASSERT_TRUE(WriteWholeFile(target, "old cache"));
    ASSERT_TRUE(WriteWholeFile(target + ".~tmp", "half a cache"));
    for (int i = 1; i < 32; i++) {
        ASSERT_TRUE(WriteWholeFile(target + ".~tmp" + std::to_string(i), "half a cache"));
    }

    EXPECT_EQ(0u, WriteFileAtomically(target.c_str(), "new", 3));

    EXPECT_EQ("new", ReadWholeFile(target));
    EXPECT_EQ(std::set<std::string>{"_Kadrel.cac"}, NamesIn(folder));
}

TEST_F(AtomicFileTest, MissingFolderFailsWithoutCreatingAnything) {
    const std::string target = folder.File("missing") + "\\_Kadrel.cac";
    EXPECT_NE(0u, WriteFileAtomically(target.c_str(), "x", 1));
    EXPECT_TRUE(NamesIn(folder).empty());
}

}  // namespace
