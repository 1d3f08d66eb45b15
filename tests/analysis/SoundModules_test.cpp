// Sound module tables: the built-in defaults, detection in texts and songs
// (order rules, SearchStrFlag, double-byte traps), storage in the settings
// store, player options.
#include "analysis/SoundModules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SettingsStore.h"
#include "core/Text.h"

namespace {

// LZH and ZIP available, GCA not: the last four bytes decide, ignoring case.
int TestArchiveKind(const char* name) {
    const std::string upper = UpperAscii(name);
    if (upper.size() < 5) {
        return 0;
    }
    const std::string ext = upper.substr(upper.size() - 4);
    return ext == ".LZH" ? 1 : (ext == ".ZIP" ? 2 : 0);
}

std::vector<std::string> Column(const BagBox& table, int32_t column) {
    std::vector<std::string> cells;
    for (int32_t row = 0; row < table.Count(); ++row) {
        cells.push_back(table.Read(row, column));
    }
    return cells;
}

std::vector<std::string> Rows(const BagBox& table) {
    std::vector<std::string> rows;
    for (int32_t row = 0; row < table.Count(); ++row) {
        std::string line;
        for (int32_t column = 0; column < table.StringColumns(); ++column) {
            line += std::string(table.Read(row, column)) + "|";
        }
        rows.push_back(line);
    }
    return rows;
}

class SoundModulesTest : public ::testing::Test {
   protected:
    void SetUp() override {
        SetDefaultSoundModules(&modules, &detectors);
    }
    std::string Found(const char* text) const {
        const char* name = FindModuleInText(detectors, text);
        return name ? name : "(none)";
    }

    BagBox modules = MakeSoundModuleTable();
    BagBox detectors = MakeSoundModuleDetectorTable();
};

}  // namespace

TEST_F(SoundModulesTest, DefaultsKeepReservedRowFirstAndQuotedOptions) {
    ASSERT_EQ(18, modules.Count());
    EXPECT_EQ("00000000|その他|エミュレーションをしない||||", Rows(modules)[0]);
    EXPECT_EQ("00000001|GM1|GM1音源|/D \"GM\"|GM|-MGM|", Rows(modules)[1]);
    EXPECT_EQ(7u, std::string(modules.Read(1, SoundModuleColumn::optWfp)).size());
    EXPECT_EQ("00000003|GS|GS音源|/D \"GS\"|GS|-NAMP -NRST -RGS|", Rows(modules)[3]);
    EXPECT_EQ("00000009|SC-88Pro|Roland SC-88Pro|/D \"SC-88Pro\"|SC-88PRO|-M8P|", Rows(modules)[9]);
    EXPECT_EQ("00000017|MU2000|YAMAHA MU2000|/D \"XG\"|MU2000|-MXG|", Rows(modules)[17]);
    EXPECT_EQ(-1, detectors.Find(kOtherSoundModule, SoundModuleDetectorColumn::name));
}

TEST_F(SoundModulesTest, DefaultDetectionOrderTriesDevicesBeforeStandards) {
    const std::vector<std::string> expected = {"SC-55mk2", "SC-55", "SC-88Pro", "SC-8850", "SC-88",  "MU50",
                                               "MU80",     "MU90",  "MU100",    "MU128",   "MU1000", "MU2000",
                                               "GS",       "XG",    "GM2",      "GM1",     "MT/CM"};
    EXPECT_EQ(expected, Column(detectors, SoundModuleDetectorColumn::name));
    EXPECT_EQ("00000010", std::string(detectors.Read(0, SoundModuleDetectorColumn::searchOrder)));
    EXPECT_EQ("GM;GM1;ＧＭ;ＧＭ１", std::string(detectors.Read(15, SoundModuleDetectorColumn::searchStr)));
}

TEST_F(SoundModulesTest, FindsFirstModuleInDetectionOrder) {
    std::string longText(509, '_');
    const struct {
        std::string text;
        const char* module;
    } cases[] = {
        {"ＳＣ－８８ｐｒｏ", "SC-88Pro"},  // full-width lower case is upper-cased too
        {"sc-88", "SC-88"},
        {"sc8850 demo", "SC-8850"},      // "885" before "88"
        {"Song GM2", "GM2"},             // GM2 before the "GM" of GM1
        {"gm", "GM1"},                   // the text is upper-cased, not the token
        {"sc-55mk2", "SC-55mk2"},        // "5MK" before "55"
        {"mu1000", "MU100"},             // MU100 is tried before MU1000
        {"ＭＵ２０００の曲", "MU2000"},  // full-width digits
        {"MT-32", "MT/CM"},
        {"XG と GS", "GS"},  // GS (130) before XG (140), wherever they stand
        {"ピアノ曲", "(none)"},
        {"", "(none)"},
        // A double-byte character whose trail byte is 'G' or 'X' does not
        // start a match: "エ" is 83 47, "ス" 83 58.
        {"エS", "(none)"},
        {"スG", "(none)"},
        {"エSGS", "GS"},
        // Only the first 511 bytes are searched, and a character cut there
        // is dropped whole.
        {std::string(507, '_') + "ＧＳ", "GS"},
        {std::string(510, '_') + "GS", "(none)"},
        {longText + "ＧＳ", "(none)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.module, Found(c.text.c_str())) << c.text;
    }
}

TEST_F(SoundModulesTest, TokensAreTakenAsWritten) {
    detectors.Clear();
    detectors.Add({"00000001", "Lower", "gs"});
    detectors.Add({"00000002", "Kana", "ゴ"});  // 83 53: "ピ" (83 73) must not upper-case into it
    EXPECT_EQ("(none)", Found("gs"));
    EXPECT_EQ("(none)", Found("ピ"));
    EXPECT_EQ("Kana", Found("ゴ"));
    detectors.Add({"00000003", "Empty", "AAA;;BBB"});
    EXPECT_EQ("Empty", Found("anything"));
    EXPECT_EQ("Empty", Found(""));
}

TEST_F(SoundModulesTest, DetectsByPlacesInSearchOrder) {
    const struct {
        uint32_t flags;
        const char* path;
        const char* title;
        const char* module;
    } cases[] = {
        // The folder is searched completely before the file name.
        {0xF, "D:\\XG\\song55.mid", "", "XG"},
        {0x4, "D:\\XG\\song55.mid", "", "SC-55"},
        {0x0, "D:\\XG\\song55.mid", "GS", "その他"},
        {0x8, "D:\\midi\\song.mid", "ＳＣ－８８ｐｒｏ", "SC-88Pro"},
        {0x8, "D:\\midi\\song.mid", nullptr, "その他"},
        // Archive members: archive folder, archive name, member path, title.
        {0xF, "D:\\midi\\sc88pro.lzh>song.mid", "GS", "SC-88Pro"},
        {0xD, "D:\\midi\\sc88pro.lzh>song.mid", "GS", "GS"},
        {0x5, "D:\\midi\\sc88pro.lzh>song.mid", "GS", "その他"},
        {0xF, "D:\\gs\\sc88pro.LZH>song.mid", "", "GS"},
        {0x4, "D:\\midi\\set.zip>mu80/song.mid", "", "MU80"},
        // Without its archiver the ".gca>" folder is an ordinary folder text,
        // and the archive name bit plays no part.
        {0x2, "D:\\midi\\sc88pro.gca>song.mid", "", "その他"},
        {0x1, "D:\\midi\\sc88pro.gca>song.mid", "", "SC-88Pro"},
        // The trail byte 0x5C of "表" is not a folder separator.
        {0x4, "D:\\midi\\ＧＳ表.mid", "", "GS"},
        {0x4, "D:\\midi\\ＸＧソ.mid", "", "XG"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.module, std::string(DetectSoundModule(detectors, c.flags, TestArchiveKind, c.path, c.title)))
            << c.path << " flags " << c.flags;
    }
    EXPECT_EQ("SC-55", std::string(DetectSoundModule(detectors, 0xF, nullptr, "D:\\a\\sc55.lzh>x.mid", "")));
}

TEST_F(SoundModulesTest, OptionsFollowPlayerKind) {
    EXPECT_EQ("/D \"GS\"", std::string(SoundModuleOption(modules, "GS", 2)));
    EXPECT_EQ("SC-55mk2", std::string(SoundModuleOption(modules, "SC-55mk2", 4)));
    EXPECT_EQ("-NAMP -NRST -RGS", std::string(SoundModuleOption(modules, "gs", 5)));
    EXPECT_EQ("", std::string(SoundModuleOption(modules, "GS", 3)));
    EXPECT_EQ("", std::string(SoundModuleOption(modules, kOtherSoundModule, 2)));
    EXPECT_EQ("", std::string(SoundModuleOption(modules, "SC-9999", 2)));
    EXPECT_EQ("", std::string(SoundModuleOption(modules, nullptr, 2)));
}

TEST_F(SoundModulesTest, StoreRoundTripKeepsBothTables) {
    MemorySettingsStore store;
    store.WriteNumber("Emulation", "SearchStrFlag", 5);
    SaveSoundModules(&store, modules, detectors);
    uint32_t number = 0;
    ASSERT_TRUE(store.ReadNumber("Emulation\\GM1", "Order", &number));
    EXPECT_EQ(1u, number);
    ASSERT_TRUE(store.ReadNumber("Emulation\\GM1", "SearchOrder", &number));
    EXPECT_EQ(160u, number);
    std::string text;
    ASSERT_TRUE(store.ReadText("Emulation\\MT/CM", "OptTMIDI", 512, &text));
    EXPECT_EQ("CM-64", text);
    EXPECT_FALSE(store.KeyExists("Emulation\\その他"));
    EXPECT_EQ(17u, store.SubKeys("Emulation").size());

    BagBox loadedModules = MakeSoundModuleTable();
    BagBox loadedDetectors = MakeSoundModuleDetectorTable();
    LoadSoundModules(&store, &loadedModules, &loadedDetectors);
    EXPECT_EQ(Rows(modules), Rows(loadedModules));
    EXPECT_EQ(Rows(detectors), Rows(loadedDetectors));
    ASSERT_TRUE(store.ReadNumber("Emulation", "SearchStrFlag", &number));
    EXPECT_EQ(5u, number);
}

TEST_F(SoundModulesTest, LoadFillsGapsAndSkipsWhatCannotBeRead) {
    MemorySettingsStore store;
    BagBox loadedModules = MakeSoundModuleTable();
    BagBox loadedDetectors = MakeSoundModuleDetectorTable();
    LoadSoundModules(&store, &loadedModules, &loadedDetectors);  // no key: defaults
    EXPECT_EQ(Rows(modules), Rows(loadedModules));

    store.WriteNumber("Emulation", "SearchStrFlag", 15);
    LoadSoundModules(&store, &loadedModules, &loadedDetectors);  // key without subkeys
    EXPECT_EQ(1, loadedModules.Count());
    EXPECT_EQ(0, loadedDetectors.Count());
    EXPECT_EQ("その他", std::string(DetectSoundModule(loadedDetectors, 0xF, TestArchiveKind, "D:\\GS\\gs.mid", "GS")));

    // A module with nothing but a comment sorts after the reserved row and
    // gets no detection row; a text over 511 bytes reads as empty.
    store.WriteText("Emulation\\Bare", "Comment", "bare");
    store.WriteNumber("Emulation\\Later", "Order", 7);
    store.WriteNumber("Emulation\\Later", "SearchOrder", 3);
    store.WriteText("Emulation\\Later", "SearchStr", "LATE");
    store.WriteText("Emulation\\Later", "OptWFP", std::string(512, 'o'));
    LoadSoundModules(&store, &loadedModules, &loadedDetectors);
    EXPECT_EQ((std::vector<std::string>{"00000000|その他|エミュレーションをしない||||", "00000000|Bare|bare||||",
                                        "00000007|Later|||||"}),
              Rows(loadedModules));
    EXPECT_EQ(std::vector<std::string>{"00000003|Later|LATE|"}, Rows(loadedDetectors));
}

TEST_F(SoundModulesTest, SaveReplacesStaleSubkeys) {
    MemorySettingsStore store;
    store.WriteText("Emulation\\Gone", "Comment", "old");
    modules.Add({"00000018", "NoDetect", "", "", "", ""});
    SaveSoundModules(&store, modules, detectors);
    EXPECT_FALSE(store.KeyExists("Emulation\\Gone"));
    uint32_t number = 99;
    ASSERT_TRUE(store.ReadNumber("Emulation\\NoDetect", "SearchOrder", &number));
    EXPECT_EQ(0u, number);

    ResetSoundModules(&modules, &detectors);
    SaveSoundModules(&store, modules, detectors);
    EXPECT_TRUE(store.KeyExists("Emulation"));
    EXPECT_TRUE(store.SubKeys("Emulation").empty());
}

TEST(SoundModuleOrderTest, FormatsAndParsesEightDigits) {
    EXPECT_EQ("00000000", FormatModuleOrder(0));
    EXPECT_EQ("00032767", FormatModuleOrder(32767));
    EXPECT_EQ("4294967295", FormatModuleOrder(4294967295u));
    EXPECT_EQ(160u, ParseModuleOrder("00000160"));
    EXPECT_EQ(12u, ParseModuleOrder("12abc"));
    EXPECT_EQ(0u, ParseModuleOrder(""));
    EXPECT_EQ(4294967295u, ParseModuleOrder("99999999999"));
}
