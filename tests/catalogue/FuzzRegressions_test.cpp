// Inputs that crashed a fuzz target once, read again by the parser they broke.
#include <gtest/gtest.h>

#include <string>

#include "TestPaths.h"
#include "catalogue/RelatedFiles.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/LzhHeader.h"
#include "core/SongFile.h"

namespace {

int64_t Utc(int64_t seconds) {
    return seconds;
}

TEST(FuzzRegressions, ShortLevel1LzhHeaderIsBrokenNotOverread) {
    const std::string bytes =
        ReadWholeFile(TestDataPath("fuzz-regressions/lzh-level1-header-shorter-than-its-fields.lzh"));
    ASSERT_FALSE(bytes.empty());
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    ArchiveSource source(&file);
    uint32_t offset = 0;
    ASSERT_TRUE(FindFirstLzhHeader(&source, &offset));
    LzhEntry entry;
    uint32_t next = 0;
    EXPECT_NE(0, ReadLzhHeader(&source, offset, Utc, &entry, &next));
}

TEST(FuzzRegressions, WrdFontNamesStayWithinThePathLimit) {
    const std::string bytes = ReadWholeFile(TestDataPath("fuzz-regressions/wrd-font-name-past-511-bytes.wrd"));
    ASSERT_FALSE(bytes.empty());
    const auto names = ScanWrdScript(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    EXPECT_FALSE(names.empty());
    for (const std::string& name : names) {
        EXPECT_LE(name.size(), 511u);
    }
}

}  // namespace
