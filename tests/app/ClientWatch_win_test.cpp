// The change watch inside the real client window: songs arriving in, changing
// in or leaving the folder on show re-read the song list once the changes
// settle, other files never do, and a drive report makes the tree read the
// drive's folders again.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "WindowTestSupport_win.h"
#include "app/MainWindow_win.h"
#include "catalogue/ChangeDebounce.h"
#include "core/CommandIds.h"
#include "player/PlayerKind.h"
#include "ui/framework/ProgramValues_win.h"
#include "ui/rules/BrowseRules.h"

namespace {

const char kScratchRoot[] = "Software\\Brenvik\\KadrelWatchTest";

// Long enough for the debounce delay and a comparison under Wine.
constexpr DWORD kSettle = kDebounceDelay + 2000;  // ms

std::string Fixture(const char* name) {
    return TestDataPath(std::string("midi/") + name);
}

class ClientWatch : public ProgramWindowTest {
   protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileA(Fixture("sjis-5c-title.mid").c_str(), scratch_.File("b_ソ.mid").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(Fixture("long-sjis-title.mid").c_str(), scratch_.File("c_表.mid").c_str(), FALSE));
        ASSERT_TRUE(scratch_.MakeFolder("古い"));
        ASSERT_TRUE(OpenWindow(kScratchRoot));
        client_->settings.mode.playerMode = PlayerKind::Winamp2;
        client_->Browse().Catalogue().playerTypeMask = PlayerTypeMask(PlayerKind::Winamp2);
        PumpFor(0);
        ASSERT_TRUE(client_->Tree()->SelectTreePath(scratch_.Path()));
        PumpFor(0);
        ASSERT_EQ(scratch_.Path(), client_->Browse().Catalogue().location);
        ASSERT_EQ(2, RowCount());
    }
    void TearDown() override {
        CloseWindow();
    }

    // Dispatches messages for ms milliseconds, or until done says so;
    // counts the folder reports reaching the client on the way.
    void PumpFor(DWORD ms, const std::function<bool()>& done = nullptr) {
        const DWORD start = GetTickCount();
        do {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_FOLDER_CHANGED && main_ && msg.hwnd == client_->Handle()) {
                    folderReports_++;
                }
                if (msg.message != WM_QUIT) {
                    TranslateMessage(&msg);
                    DispatchMessageA(&msg);
                }
            }
            if (done && done()) {
                return;
            }
            Sleep(10);
        } while (GetTickCount() - start < ms);
    }
    // Names of the children of the tree's selected node.
    std::vector<std::string> SelectedNodeChildren() {
        std::vector<std::string> names;
        HWND tree = client_->TreeHandle();
        const HTREEITEM selected = TreeView_GetSelection(tree);
        for (HTREEITEM child = TreeView_GetChild(tree, selected); child; child = TreeView_GetNextSibling(tree, child)) {
            char text[MAX_PATH] = {};
            TVITEMA item = {};
            item.mask = TVIF_TEXT | TVIF_HANDLE;
            item.hItem = child;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            names.push_back(text);
        }
        return names;
    }

    ScratchFolder scratch_;
    int folderReports_ = 0;
};

struct FolderChange {
    const char* what;
    std::function<bool(const ScratchFolder&)> change;
    bool reloads;
    int rowsAfter;
};

TEST_F(ClientWatch, SongChangesReloadTheListKeepingTheFocusedSongOtherFilesDoNot) {
    const FolderChange kChanges[] = {
        {"a song copied in",
         [](const ScratchFolder& s) {
             return CopyFileA(Fixture("crlf-title.mid").c_str(), s.File("a_新.mid").c_str(), FALSE) != 0;
         },
         true, 3},
        {"a text file written", [](const ScratchFolder& s) { return WriteWholeFile(s.File("メモ.txt"), "表 ソ\r\n"); },
         false, 3},
        {"the text file rewritten and deleted",
         [](const ScratchFolder& s) {
             return WriteWholeFile(s.File("メモ.txt"), "longer text\r\n") && DeleteFileA(s.File("メモ.txt").c_str());
         },
         false, 3},
        {"a song made longer",
         [](const ScratchFolder& s) {
             return WriteWholeFile(s.File("a_新.mid"), ReadWholeFile(Fixture("crlf-title.mid")) + "tail");
         },
         true, 3},
        {"a song deleted", [](const ScratchFolder& s) { return DeleteFileA(s.File("a_新.mid").c_str()) != 0; }, true,
         2},
    };
    client_->Selection().FocusRow(1);
    const std::string focused = client_->List()->FocusedPath();
    ASSERT_EQ("c_表.mid", focused.substr(focused.size() - 8));
    for (const FolderChange& c : kChanges) {
        SCOPED_TRACE(c.what);
        const int before = folderReports_;
        ASSERT_TRUE(c.change(scratch_));
        if (c.reloads) {
            PumpFor(5000, [&] { return folderReports_ > before && RowCount() == c.rowsAfter; });
            // One report for the whole burst.
            PumpFor(kSettle);
            EXPECT_EQ(before + 1, folderReports_);
        } else {
            PumpFor(kSettle);
            EXPECT_EQ(before, folderReports_);
        }
        EXPECT_EQ(c.rowsAfter, RowCount());
        EXPECT_EQ(focused, client_->List()->FocusedPath());
        EXPECT_EQ(scratch_.Path(), client_->Browse().Catalogue().location);
    }
}

TEST_F(ClientWatch, DriveReportMakesTheTreeReadTheFoldersAgainKeepingTheSelection) {
    EXPECT_EQ((std::vector<std::string>{"古い"}), SelectedNodeChildren());
    ASSERT_TRUE(scratch_.MakeFolder("新しい曲"));
    ASSERT_TRUE(RemoveDirectoryA(scratch_.File("古い").c_str()));
    const int32_t drive = client_->Tree()->DriveList().Find(DriveRootOfPath(scratch_.Path().c_str()).c_str(), 0);
    ASSERT_GE(drive, 0);
    client_->Send(WM_DRIVE_CHANGED, WPARAM(drive), 0);
    PumpFor(0);
    EXPECT_EQ((std::vector<std::string>{"新しい曲"}), SelectedNodeChildren());
    EXPECT_EQ(scratch_.Path(), client_->Browse().Catalogue().location);
    EXPECT_EQ(scratch_.Path(), client_->Tree()->NodePath(TreeView_GetSelection(client_->TreeHandle())));
    EXPECT_EQ(2, RowCount());
}

TEST_F(ClientWatch, ClosingWithReportsUnderWayEndsTheWatchersAtOnce) {
    ASSERT_TRUE(CopyFileA(Fixture("crlf-title.mid").c_str(), scratch_.File("a_新.mid").c_str(), FALSE));
    ASSERT_TRUE(scratch_.MakeFolder("新しい曲"));
    PumpFor(100);
    ASSERT_TRUE(DeleteFileA(scratch_.File("a_新.mid").c_str()));
    ASSERT_TRUE(RemoveDirectoryA(scratch_.File("新しい曲").c_str()));
    const DWORD start = GetTickCount();
    delete main_;
    main_ = nullptr;
    client_ = nullptr;
    // A watcher thread that had to be terminated takes 5 s before it is.
    EXPECT_LT(GetTickCount() - start, 3000u);
}

}  // namespace
