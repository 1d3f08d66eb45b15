// GCA members are read through the library's memory extraction, as LZH and
// ZIP members are read through our own decoders: titles, the related files a
// WRD script inside the archive names, and the failures a library reports.
// The library is imitated in memory here; under Wine the stand-in DLL serves
// the same through its real entry points (GcaArchive_win_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "analysis/FileTypes.h"
#include "analysis/SongReaders.h"
#include "catalogue/RelatedFiles.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiveList.h"
#include "core/SongFile.h"
#include "core/Text.h"
#include "tests/catalogue/archive/GcaTestContainer.h"

namespace {

const char kArchive[] = "songs.gca";

// The imitated library: the members of kArchive, the members its memory
// extraction was asked for, and how many bytes short it delivers them.
std::vector<GcaTestMember> members;
std::vector<std::string> asked;
uint32_t deliveredShortBy = 0;

class FakeGcaList : public ArchiveList {
   public:
    int FindFirst(const char* pattern, ArchiveEntry* entry) override {
        pattern_ = pattern;
        next_ = 0;
        return FindNext(entry);
    }
    int FindNext(ArchiveEntry* entry) override {
        while (next_ < members.size()) {
            const GcaTestMember& member = members[next_++];
            if (MemberMatchesPattern(pattern_.c_str(), member.name.c_str())) {
                entry->name = member.name;
                entry->size = uint32_t(member.bytes.size());
                entry->attributes = member.attributes;
                return 0;
            }
        }
        return kArchiveNoMore;
    }

   private:
    std::string pattern_;
    size_t next_ = 0;
};

std::unique_ptr<ArchiveList> OpenFakeList(const char* archivePath, void*) {
    return std::strcmp(archivePath, kArchive) == 0 ? std::make_unique<FakeGcaList>() : nullptr;
}

int ReadFakeMember(const char* archivePath, const char* memberName, uint8_t* out, uint32_t size, uint32_t* written) {
    asked.push_back(memberName);
    if (std::strcmp(archivePath, kArchive) != 0) {
        return kArchiveErrorCannotOpen;
    }
    for (const GcaTestMember& member : members) {
        if (CompareNoCase(member.name.c_str(), memberName) == 0) {
            const uint32_t listed = uint32_t(member.bytes.size());
            const uint32_t whole = listed - std::min(deliveredShortBy, listed);
            *written = std::min(size, whole);
            std::memcpy(out, member.bytes.data(), *written);
            return 0;
        }
    }
    return kArchiveErrorNotFound;
}

class GcaMembers : public ::testing::Test {
   protected:
    void SetUp() override {
        SetArchiveAvailable(kArchiveGca, true);
        InstallArchiveAccess();
        SetGcaListOpener(OpenFakeList);
        SetGcaMemberReader(ReadFakeMember);
        asked.clear();
        deliveredShortBy = 0;
        members = {
            {"set/song.mid", ReadWholeFile(TestDataPath("midi/sjis-5c-title.mid"))},
            {"set/song.wrd", ReadWholeFile(TestDataPath("related/song.wrd"))},
            {"set/pic1.mag", "mag 1"},
            {"set/PIC2.MAG", "mag 2"},
            {"set/font.fon", "font"},
            {"set/empty.mid", ""},
            {"set/*.mid", ReadWholeFile(TestDataPath("midi/conductor-format1.mid"))},
        };
    }
    void TearDown() override {
        SetGcaListOpener(nullptr);
        SetGcaMemberReader(nullptr);
        SetArchiveAvailable(kArchiveGca, false);
    }

    // The title the song list shows for a member of the archive.
    static std::string Title(const std::string& member) {
        char title[kTitleBufferBytes] = {};
        CopyBounded(title, (std::string(kArchive) + ">" + member).c_str(), sizeof title - 1);
        ReadSongInfo(nullptr, title, nullptr, -1, "[なし]", true);
        return title;
    }
};

TEST_F(GcaMembers, TitlesComeFromTheLibrarysMemoryExtraction) {
    EXPECT_EQ("表示ソフト能力テスト", Title("set/song.mid"));
    EXPECT_EQ("表示ソフト能力テスト", Title("SET/SONG.MID"));
    EXPECT_EQ("[ファイルを読めません]", Title("set/none.mid"));
    // An empty member reads as an empty file does.
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("empty.mid"), ""));
    char title[kTitleBufferBytes] = {};
    CopyBounded(title, folder.File("empty.mid").c_str(), sizeof title - 1);
    ReadSongInfo(nullptr, title, nullptr, -1, "[なし]", true);
    EXPECT_EQ(std::string(title), Title("set/empty.mid"));

    // A caller that knows the size gets that many bytes.
    SongOpenRequest request;
    request.memberSize = 4;
    uint32_t error = 1;
    std::unique_ptr<SongFile> file = OpenSongFile((std::string(kArchive) + ">set/song.mid").c_str(), request, &error);
    ASSERT_TRUE(file) << error;
    char head[4] = {};
    uint32_t count = 0;
    EXPECT_TRUE(file->Read(head, 4, &count));
    EXPECT_EQ(std::string("MThd"), std::string(head, count));
}

TEST_F(GcaMembers, LibraryFailuresAndWildcardNamesGiveNoTitle) {
    // A name the library would take for a wildcard is listed but never asked for.
    EXPECT_EQ("[ファイルを読めません]", Title("set/*.mid"));
    EXPECT_EQ(asked.end(), std::find(asked.begin(), asked.end(), "set/*.mid"));
    // A member the library delivers short of its listed size is damaged.
    deliveredShortBy = 1;
    EXPECT_EQ("[ファイルを読めません]", Title("set/song.mid"));
    MemberBytes bytes;
    EXPECT_EQ(kArchiveErrorBroken, ReadWholeMember(kArchiveGca, kArchive, "set/song.mid", &bytes));
    // Without the library's reader nothing is read.
    deliveredShortBy = 0;
    SetGcaMemberReader(nullptr);
    EXPECT_EQ("[ファイルを読めません]", Title("set/song.mid"));
}

TEST_F(GcaMembers, ScriptsInsideTheArchiveNameRelatedMembersAsOnDisk) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.MakeFolder("set"));
    for (const GcaTestMember& member : members) {
        if (member.name != "set/*.mid") {
            ASSERT_TRUE(WriteWholeFile(folder.File(member.name), member.bytes));
        }
    }
    std::string onDisk = folder.File("set") + "\\";
    std::replace(onDisk.begin(), onDisk.end(), '/', '\\');
    BagBox diskSet = MakeRelatedSet();
    CollectRelatedSet((onDisk + "song.mid").c_str(), kKindMidi, &diskSet);

    const std::string inArchive = std::string(kArchive) + ">set/";
    BagBox memberSet = MakeRelatedSet();
    CollectRelatedSet((inArchive + "song.mid").c_str(), kKindMidi, &memberSet);

    ASSERT_EQ(diskSet.Count(), memberSet.Count());
    for (int32_t i = 0; i < diskSet.Count(); i++) {
        EXPECT_EQ(std::string(diskSet.Read(i, 0)).substr(onDisk.size()),
                  std::string(memberSet.Read(i, 0)).substr(inArchive.size()));
    }
    // The song, its script, and the three files the script names.
    EXPECT_EQ(5, memberSet.Count());
}

}  // namespace
