// Locations whose paths are too long for the system, asked for in the real
// window from the command line, the change-folder dialog and the folder
// tree: each time the user is told the path is too long, instead of being
// left with an empty song list.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "WindowTestSupport_win.h"
#include "actions/FileOps_win.h"
#include "core/CommandIds.h"

namespace {

const char kScratchRoot[] = "Software\\Brenvik\\KadrelLongPathTest";

struct Shown {
    std::string text;
    std::string caption;
};

// Answers every message box of this process with OK from another thread,
// keeping its caption and text.
class BoxAnswerer {
   public:
    BoxAnswerer() : thread_([this] { Run(); }) {
    }
    ~BoxAnswerer() {
        Stop();
    }
    // Stops answering; the boxes answered so far.
    std::vector<Shown> Stop() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        return shown_;
    }

   private:
    static BOOL CALLBACK AddStaticText(HWND child, LPARAM text) {
        char name[32] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "Static") == 0) {
            char line[2048] = {};
            GetWindowTextA(child, line, sizeof line);
            *reinterpret_cast<std::string*>(text) += line;
        }
        return TRUE;
    }
    void Run() {
        while (!stop_) {
            HWND box = FindWindowA("#32770", nullptr);
            DWORD process = 0;
            GetWindowThreadProcessId(box, &process);
            if (box && process == GetCurrentProcessId() && IsWindowVisible(box)) {
                Shown shown;
                char caption[256] = {};
                GetWindowTextA(box, caption, sizeof caption);
                shown.caption = caption;
                EnumChildWindows(box, AddStaticText, reinterpret_cast<LPARAM>(&shown.text));
                shown_.push_back(shown);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                while (IsWindow(box) && !stop_) {
                    Sleep(10);
                }
            }
            Sleep(10);
        }
    }
    std::atomic<bool> stop_{false};
    std::vector<Shown> shown_;
    std::thread thread_;
};

// Keeps the file operations' messages and enters the folder it is given.
class RecordingFileOps : public FileOpsHost {
   public:
    RecordingFileOps(HWND owner, std::string folder, std::vector<Shown>* shown)
        : FileOpsHost(owner), folder_(std::move(folder)), shown_(shown) {
    }
    int ShowMessage(const std::string& text, const std::string& caption, UINT) override {
        shown_->push_back({text, caption});
        return IDOK;
    }
    bool AskFolder(const char*, std::string* folder) override {
        *folder = folder_;
        return true;
    }

   private:
    std::string folder_;
    std::vector<Shown>* shown_;
};

// The system's text for an error number, as the program's file error box shows it.
std::string SystemErrorText(DWORD error) {
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                   nullptr);
    return text;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ClientLongPath : public ProgramWindowTest {
   protected:
    void SetUp() override {
        // Folders one inside the other until the path is longer than the
        // system takes; made through the wide calls that take longer paths.
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        deep_ = std::string(temp) + "quillory-longpath\\";
        CreateDirectoryA(deep_.c_str(), nullptr);
        for (char letter = 'a'; deep_.size() <= 328; letter++) {
            if (deep_.size() < MAX_PATH - 4) {
                reachable_ = deep_;
            }
            deep_ += std::string(50, letter) + "\\";
            const std::wstring wide(deep_.begin(), deep_.end());
            CreateDirectoryW((L"\\\\?\\" + wide).c_str(), nullptr);
        }
        ASSERT_TRUE(OpenWindow(kScratchRoot));
        Pump();
    }
    void TearDown() override {
        CloseWindow();
    }

    std::string deep_;       // the deepest folder, longer than MAX_PATH
    std::string reachable_;  // the deepest folder whose children can still be listed
};

TEST_F(ClientLongPath, TooLongALocationIsReportedWhereverItComesFrom) {
    const std::string tooLong = SystemErrorText(ERROR_FILENAME_EXCED_RANGE);
    ASSERT_FALSE(tooLong.empty());

    // From the command line (the start location).
    BoxAnswerer answerer;
    client_->settings.lastSelect.path = deep_;
    client_->RunStartAction();
    Pump();
    std::vector<Shown> boxes = answerer.Stop();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Quillory", boxes[0].caption);
    EXPECT_TRUE(Contains(boxes[0].text, tooLong)) << boxes[0].text;
    EXPECT_TRUE(Contains(boxes[0].text, deep_)) << boxes[0].text;
    EXPECT_EQ(0, RowCount());

    // Typed into the change-folder dialog.
    std::vector<Shown> shown;
    client_->Files().SetFileOps(std::make_unique<RecordingFileOps>(main_->Handle(), deep_, &shown));
    Command(kCmdChangeFolder);
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("カレントフォルダを変更 - Quillory", shown[0].caption);
    EXPECT_EQ("ファイル名または拡張子が長すぎます。(206)\n\n" + deep_, shown[0].text);

    // A tree node the tree can still list, whose own path is too long: its
    // scan says so.
    const std::string child = reachable_ + std::string(50, char(reachable_[reachable_.size() - 2] + 1)) + "\\";
    ASSERT_GT(child.size(), size_t(MAX_PATH));
    BoxAnswerer scanAnswerer;
    EXPECT_TRUE(client_->Tree()->SelectTreePath(child));
    Pump();
    boxes = scanAnswerer.Stop();
    EXPECT_EQ(child, client_->Browse().Catalogue().location);
    EXPECT_EQ(0, RowCount());
    ASSERT_EQ(1u, boxes.size());
    EXPECT_TRUE(Contains(boxes[0].text, tooLong)) << boxes[0].text;
    EXPECT_TRUE(Contains(boxes[0].text, child)) << boxes[0].text;
}

}  // namespace
