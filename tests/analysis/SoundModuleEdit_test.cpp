// The emulation settings dialog's rules: name checks in their order, and how
// edit, add, delete, move and reset come back as tables and stored settings.
#include "analysis/SoundModuleEdit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/SoundModules.h"
#include "core/SettingsStore.h"

namespace {

std::vector<std::string> Names(const BagBox& table, int32_t column) {
    std::vector<std::string> names;
    for (int32_t row = 0; row < table.Count(); ++row) {
        names.push_back(table.Read(row, column));
    }
    return names;
}

SoundModuleEntry Entry(const char* name, const char* searchStr, uint32_t searchOrder) {
    SoundModuleEntry entry;
    entry.name = name;
    entry.comment = "comment";
    entry.searchStr = searchStr;
    entry.searchOrder = searchOrder;
    entry.optWfp = "/D \"X\"";
    return entry;
}

class SoundModuleEditTest : public ::testing::Test {
   protected:
    void SetUp() override {
        SetDefaultSoundModules(&modules, &detectors);
    }

    BagBox modules = MakeSoundModuleTable();
    BagBox detectors = MakeSoundModuleDetectorTable();
};

}  // namespace

TEST_F(SoundModuleEditTest, WorkingListLeavesOutReservedRow) {
    const SoundModuleEditor editor(modules, detectors);
    ASSERT_EQ(17u, editor.Rows().size());
    EXPECT_EQ("GM1", editor.Rows()[0].name);
    EXPECT_EQ("GM;GM1;ＧＭ;ＧＭ１", editor.Rows()[0].searchStr);
    EXPECT_EQ(160u, editor.Rows()[0].searchOrder);
    EXPECT_EQ("-NAMP -NRST -RGS", editor.Rows()[2].optDecop);
    EXPECT_FALSE(editor.Changed());
}

TEST_F(SoundModuleEditTest, NameChecksApplyInOrder) {
    const SoundModuleEditor editor(modules, detectors);
    const struct {
        int32_t editing;  // GS is row 2, XG row 3
        const char* name;
        const char* message;
    } cases[] = {
        {-1, "その他\\", kModuleNameBackslashMessage},  // backslash is tested first
        {-1, "その他", kModuleNameReservedMessage},
        {2, "その他", kModuleNameReservedMessage},
        {-1, "GS", kModuleNameTakenMessage},
        {-1, "gs", kModuleNameTakenMessage},
        {3, "GS", kModuleNameTakenMessage},
        {2, "GS", nullptr},  // an unchanged name
        {2, "gs", nullptr},
        {-1, "表ソ", nullptr},  // trail bytes 0x5C are no backslashes
        {-1, "SC-D70", nullptr},
    };
    for (const auto& c : cases) {
        const char* message = editor.CheckName(c.editing, c.name);
        EXPECT_EQ(c.message ? std::string(c.message) : "(ok)", message ? std::string(message) : "(ok)") << c.name;
    }
}

TEST_F(SoundModuleEditTest, RefusedNameLeavesListUnchanged) {
    SoundModuleEditor editor(modules, detectors);
    EXPECT_STREQ(kModuleNameReservedMessage, editor.Store(-1, Entry("その他", "X", 1)));
    EXPECT_STREQ(kModuleNameTakenMessage, editor.Store(0, Entry("gm2", "X", 1)));
    EXPECT_EQ(17u, editor.Rows().size());
    EXPECT_EQ("GM1", editor.Rows()[0].name);
    EXPECT_FALSE(editor.Commit(&modules, &detectors));
    EXPECT_EQ(18, modules.Count());
}

TEST_F(SoundModuleEditTest, ListPositionBecomesStoredOrder) {
    SoundModuleEditor editor(modules, detectors);
    EXPECT_EQ(0, editor.Move(0, -1));   // already first
    EXPECT_EQ(16, editor.Move(16, 1));  // already last
    EXPECT_FALSE(editor.Changed());
    EXPECT_EQ(0, editor.Move(1, -1));   // GM2 above GM1
    EXPECT_EQ(16, editor.Move(15, 1));  // MU1000 below MU2000
    EXPECT_EQ(nullptr, editor.Store(-1, Entry("SC-D70", "D70;ＤＷ", 40000)));
    EXPECT_EQ(nullptr, editor.Store(3, Entry("XG2", "XG;ＸＧ", 5)));
    ASSERT_TRUE(editor.Commit(&modules, &detectors));

    const std::vector<std::string> expected = {"その他",   "GM2",   "GM1",      "GS",      "XG2",   "MT/CM", "SC-55",
                                               "SC-55mk2", "SC-88", "SC-88Pro", "SC-8850", "MU50",  "MU80",  "MU90",
                                               "MU100",    "MU128", "MU2000",   "MU1000",  "SC-D70"};
    EXPECT_EQ(expected, Names(modules, SoundModuleColumn::name));
    EXPECT_EQ("00000004", std::string(modules.Read(4, SoundModuleColumn::order)));
    EXPECT_EQ("00000018", std::string(modules.Read(18, SoundModuleColumn::order)));
    // The edited row moved to the front of the detection order; the added
    // one was held to the highest order the dialog allows.
    EXPECT_EQ("XG2", std::string(detectors.Read(0, SoundModuleDetectorColumn::name)));
    EXPECT_EQ("00032767", std::string(detectors.Read(17, SoundModuleDetectorColumn::searchOrder)));
    EXPECT_EQ("SC-D70", std::string(DetectSoundModule(detectors, 0xF, nullptr, "D:\\d70\\a.mid", "")));
    EXPECT_EQ("XG2", std::string(DetectSoundModule(detectors, 0xF, nullptr, "D:\\midi\\xg55.mid", "")));
}

TEST_F(SoundModuleEditTest, DeletingEveryModuleSurvivesRestart) {
    MemorySettingsStore store;
    SaveSoundModules(&store, modules, detectors);
    SoundModuleEditor editor(modules, detectors);
    EXPECT_FALSE(editor.Delete(17));
    while (!editor.Rows().empty()) {
        ASSERT_TRUE(editor.Delete(0));
    }
    ASSERT_TRUE(editor.Commit(&modules, &detectors));
    EXPECT_EQ(std::vector<std::string>{"その他"}, Names(modules, SoundModuleColumn::name));
    SaveSoundModules(&store, modules, detectors);

    BagBox loadedModules = MakeSoundModuleTable();
    BagBox loadedDetectors = MakeSoundModuleDetectorTable();
    LoadSoundModules(&store, &loadedModules, &loadedDetectors);
    EXPECT_EQ(1, loadedModules.Count());
    EXPECT_STREQ("その他", DetectSoundModule(loadedDetectors, 0xF, nullptr, "D:\\GS\\gm.mid", "XG"));
}

TEST_F(SoundModuleEditTest, ResetRestoresBuiltInModules) {
    BagBox defaultModules = MakeSoundModuleTable();
    BagBox defaultDetectors = MakeSoundModuleDetectorTable();
    SetDefaultSoundModules(&defaultModules, &defaultDetectors);
    SoundModuleEditor editor(modules, detectors);
    editor.Delete(4);
    editor.Store(0, Entry("Mine", "", 0));
    editor.ResetToDefaults();
    ASSERT_TRUE(editor.Commit(&modules, &detectors));
    for (int32_t column = 0; column < SoundModuleColumn::kStrings; ++column) {
        EXPECT_EQ(Names(defaultModules, column), Names(modules, column)) << column;
    }
    for (int32_t column = 0; column < SoundModuleDetectorColumn::kStrings; ++column) {
        EXPECT_EQ(Names(defaultDetectors, column), Names(detectors, column)) << column;
    }
}

TEST(SoundModuleEditTexts, DeleteQuestionNamesModule) {
    EXPECT_EQ("SC-88Pro を削除します。", DeleteSoundModuleQuestion("SC-88Pro"));
    EXPECT_STREQ("音源名に '\\' が含まれています。", kModuleNameBackslashMessage);
}
