// The registry store and the settings through it, under a scratch key of the
// current user that each test removes again.
#include "app/RegistryStore_win.h"

#include <gtest/gtest.h>

#include <string>

#include "core/Settings.h"

namespace {

const char kScratchMaker[] = "Software\\QuilloryTest";
const char kScratchRoot[] = "Software\\QuilloryTest\\Kadrel";

class RegistryStoreTest : public ::testing::Test {
   protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchMaker);
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchMaker);
    }
    static bool RawKeyExists(const std::string& path) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }
    // Type and size of a value as the registry holds it; false when missing.
    static bool RawValue(const std::string& path, const char* name, DWORD* type, DWORD* bytes) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        LONG result = RegQueryValueExA(key, name, nullptr, type, nullptr, bytes);
        RegCloseKey(key);
        return result == ERROR_SUCCESS;
    }

    RegistryStore store{kScratchRoot};
};

TEST_F(RegistryStoreTest, ValuesKeepTheirRegistryTypes) {
    const std::string title = "表示ソフト能";  // trail bytes 0x5C
    ASSERT_TRUE(store.WriteNumber("Mode", "RegWrite", 0x1B));
    ASSERT_TRUE(store.WriteText("LastSelect", "Path", title));
    ASSERT_TRUE(store.WriteBinary("Emulation\\GS", "Data", {0, 1, 0x5C, 0xFF}));
    DWORD type = 0;
    DWORD bytes = 0;
    ASSERT_TRUE(RawValue(std::string(kScratchRoot) + "\\Mode", "RegWrite", &type, &bytes));
    EXPECT_EQ(DWORD(REG_DWORD), type);
    ASSERT_TRUE(RawValue(std::string(kScratchRoot) + "\\LastSelect", "Path", &type, &bytes));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(title.size() + 1, bytes) << "texts are written with their terminator";
    ASSERT_TRUE(RawValue(std::string(kScratchRoot) + "\\Emulation\\GS", "Data", &type, &bytes));
    EXPECT_EQ(DWORD(REG_BINARY), type);

    uint32_t number = 0;
    EXPECT_TRUE(store.ReadNumber("Mode", "RegWrite", &number));
    EXPECT_EQ(0x1Bu, number);
    std::string text;
    EXPECT_TRUE(store.ReadText("LastSelect", "Path", title.size() + 1, &text));
    EXPECT_EQ(title, text);
    EXPECT_FALSE(store.ReadText("LastSelect", "Path", title.size(), &text)) << "one byte short of the terminator";
    std::vector<uint8_t> data;
    EXPECT_TRUE(store.ReadBinary("Emulation\\GS", "Data", &data));
    EXPECT_EQ((std::vector<uint8_t>{0, 1, 0x5C, 0xFF}), data);

    EXPECT_FALSE(store.ReadNumber("LastSelect", "Path", &number)) << "a text is no number";
    EXPECT_FALSE(store.ReadText("Mode", "RegWrite", 64, &text)) << "a number is no text";
    EXPECT_FALSE(store.ReadNumber("Missing", "RegWrite", &number));
}

TEST_F(RegistryStoreTest, DeletingAKeyTakesItsSubkeys) {
    ASSERT_TRUE(store.WriteText("Emulation\\GS\\Deeper", "Comment", "x"));
    ASSERT_TRUE(store.WriteText("Emulation\\SC-55", "Comment", "y"));
    EXPECT_EQ((std::vector<std::string>{"GS", "SC-55"}), store.SubKeys("Emulation"));
    EXPECT_TRUE(store.DeleteKey("Emulation"));
    EXPECT_FALSE(RawKeyExists(std::string(kScratchRoot) + "\\Emulation"));
    EXPECT_TRUE(store.DeleteKey("Emulation")) << "a missing key counts as deleted";
    EXPECT_TRUE(store.DeleteValue("Emulation", "Comment"));
    EXPECT_TRUE(store.KeyExists(""));
}

TEST_F(RegistryStoreTest, FirstRunWritesDefaultsAndReadsThemBack) {
    ClientSettings settings;
    MainPlacement placement;
    LoadMainPlacement(&store, &placement);
    LoadSettings(&store, &settings);
    EXPECT_FALSE(store.KeyExists("")) << "loading creates nothing";
    for (int i = 0; i < 50; i++) {
        settings.search.history.Add({("検索" + std::to_string(i)).c_str()});
    }
    settings.lastSelect.path = "C:\\ソフト\\";
    settings.mode.playMode = 2;
    SaveSettings(&store, settings);
    SaveMainPlacement(&store, placement, settings.mode.regWrite);

    uint32_t number = 0;
    EXPECT_TRUE(store.ReadNumber("", "RegVersion", &number));
    EXPECT_EQ(4u, number);
    EXPECT_TRUE(store.ReadNumber("Mode", "PlayMode", &number));
    EXPECT_EQ(0u, number) << "RegWrite 0x1B does not remember the play mode";
    std::string text;
    EXPECT_TRUE(store.ReadText("Search", "Hist_31", 256, &text));

    ClientSettings loaded;
    LoadSettings(&store, &loaded);
    EXPECT_EQ(48, loaded.search.history.Count());
    EXPECT_EQ("検索0", loaded.search.searchText);
    EXPECT_EQ("C:\\ソフト\\", loaded.lastSelect.path);
    EXPECT_EQ("notepad.exe", loaded.editor.wrdFilename);
}

TEST_F(RegistryStoreTest, DeleteAllLeavesTheMakersKeyOnly) {
    ClientSettings settings;
    MainPlacement placement;
    SaveSettings(&store, settings);
    SaveMainPlacement(&store, placement, settings.mode.regWrite);
    ASSERT_TRUE(store.WriteText("Emulation\\GS", "Comment", "x"));
    ASSERT_TRUE(store.WriteText("Emulation\\MT-32\\Old", "Comment", "y"));
    EXPECT_TRUE(DeleteAllSettings(&store));
    EXPECT_FALSE(RawKeyExists(kScratchRoot));
    EXPECT_TRUE(RawKeyExists(kScratchMaker));
}

}  // namespace
