// Files without an extension that a WRD script names are related files
// inside an archive as they are on disk: a member is matched the way the
// file system's search matches a file (tests/data/related/extensionless.zip).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestPaths.h"
#include "analysis/FileTypes.h"
#include "catalogue/RelatedFiles.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/ArchiveKind.h"

namespace {

using Names = std::vector<std::string>;

// The set's paths after prefix, which every one of them starts with.
Names NamesAfter(const BagBox& set, const std::string& prefix) {
    Names names;
    for (int32_t i = 0; i < set.Count(); i++) {
        const std::string path = set.Read(i, 0);
        EXPECT_EQ(0u, path.find(prefix)) << path;
        names.push_back(path.substr(prefix.size()));
    }
    return names;
}

TEST(RelatedExtensionless, ScriptNamesWithoutExtensionAreFoundInArchivesAsOnDisk) {
    SetArchiveAvailable(kArchiveZip, true);
    InstallArchiveAccess();
    ScratchFolder folder;
    const std::string archive = TestDataPath("related/extensionless.zip");
    ASSERT_TRUE(folder.MakeFolder("set"));
    for (const char* name : {"song.mid", "song.wrd", "TITLE", "tone", "TITLEX"}) {
        MemberBytes bytes;
        ASSERT_EQ(0, ReadWholeMember(kArchiveZip, archive.c_str(), (std::string("set/") + name).c_str(), &bytes));
        ASSERT_TRUE(WriteWholeFile(folder.File(std::string("set/") + name),
                                   std::string(reinterpret_cast<const char*>(bytes.bytes.get()), bytes.size)));
    }
    // TITLEX is not TITLE, and "missing" is nowhere.
    const Names expected = {"song.mid", "song.wrd", "TITLE", "tone"};

    std::string onDisk = folder.File("set") + "\\";
    for (char& c : onDisk) {
        c = c == '/' ? '\\' : c;
    }
    BagBox diskSet = MakeRelatedSet();
    CollectRelatedSet((onDisk + "song.mid").c_str(), kKindMidi, &diskSet);
    EXPECT_EQ(NamesAfter(diskSet, onDisk), expected);

    const std::string inArchive = archive + ">set/";
    BagBox memberSet = MakeRelatedSet();
    CollectRelatedSet((inArchive + "song.mid").c_str(), kKindMidi, &memberSet);
    EXPECT_EQ(NamesAfter(memberSet, inArchive), expected);

    // One companion by name, with no extension given.
    BagBox one = MakeRelatedSet();
    EXPECT_TRUE(AddIfExists(&one, (inArchive + "title").c_str(), nullptr));
    EXPECT_EQ(NamesAfter(one, inArchive), Names{"TITLE"});
    EXPECT_FALSE(AddIfExists(&one, (inArchive + "TITL").c_str(), nullptr));
}

}  // namespace
