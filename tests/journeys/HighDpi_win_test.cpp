// Journeys on screens of two densities: at 96 and at 144 DPI every status bar
// part shows its text uncut and every column its header, and on a first start
// the song list's columns fit the window with the date column wide enough
// for its dates; widths the user left stay as they were.
#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "journeys/JourneyDriver_win.h"

namespace {

constexpr int kColumns = 5;
const char* const kHeaders[kColumns] = {"ファイル名", "タイトル", "コメント", "音源", "更新日時"};

// The screen density Wine gives the processes started while it is set,
// written before a start and put back as it was afterwards, so the other
// journeys of the prefix keep their density.
class ScreenDensity {
   public:
    explicit ScreenDensity(DWORD dpi) {
        DWORD bytes = sizeof previous_;
        hadValue_ = RegGetValueA(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr, &previous_, &bytes) ==
                    ERROR_SUCCESS;
        set_ = RegSetKeyValueA(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &dpi, sizeof dpi) == ERROR_SUCCESS;
    }
    ~ScreenDensity() {
        if (hadValue_) {
            RegSetKeyValueA(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &previous_, sizeof previous_);
        } else {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, kValue);
        }
    }
    ScreenDensity(const ScreenDensity&) = delete;
    ScreenDensity& operator=(const ScreenDensity&) = delete;
    bool Set() const {
        return set_;
    }

   private:
    static constexpr const char* kKey = "Control Panel\\Desktop";
    static constexpr const char* kValue = "LogPixels";
    DWORD previous_ = 0;
    bool hadValue_ = false;
    bool set_ = false;
};

// Which system font a control of the program draws with when it was given
// none of its own: the status bar the status font, the list and its header
// the icon title font.
enum class ControlFont { kStatus, kList };

// Text measured in the font a window of the program draws with. A font the
// program chose is read through the window; a control's own default, which
// belongs to the program's process, is the system's font of that kind at the
// program's density.
class WindowFont {
   public:
    WindowFont(HWND window, ControlFont kind, int dpi) {
        LOGFONTA look = {};
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0));
        if (!font || GetObjectA(font, sizeof look, &look) != sizeof look) {
            if (!SystemFont(kind, dpi, &look)) {
                return;
            }
        }
        font_ = CreateFontIndirectA(&look);
    }
    ~WindowFont() {
        if (font_) {
            DeleteObject(font_);
        }
    }
    WindowFont(const WindowFont&) = delete;
    WindowFont& operator=(const WindowFont&) = delete;

    bool Valid() const {
        return font_ != nullptr;
    }
    int Width(const std::string& text) const {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font_);
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return size.cx;
    }

   private:
    static bool SystemFont(ControlFont kind, int dpi, LOGFONTA* look) {
        using ForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
        const auto forDpi = reinterpret_cast<ForDpi>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SystemParametersInfoForDpi")));
        if (!forDpi) {
            return false;
        }
        LOGFONTW wide = {};
        if (kind == ControlFont::kStatus) {
            NONCLIENTMETRICSW metrics = {};
            metrics.cbSize = sizeof metrics;
            if (!forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, UINT(dpi))) {
                return false;
            }
            wide = metrics.lfStatusFont;
        } else if (!forDpi(SPI_GETICONTITLELOGFONT, sizeof wide, &wide, 0, UINT(dpi))) {
            return false;
        }
        memcpy(look, &wide, offsetof(LOGFONTA, lfFaceName));
        WideCharToMultiByte(CP_ACP, 0, wide.lfFaceName, -1, look->lfFaceName, LF_FACESIZE, nullptr, nullptr);
        return true;
    }

    HFONT font_ = nullptr;
};

class HighDpiJourney : public Journey {
   protected:
    // Room a text needs besides its own width in a status part or a column
    // (the control's margins), 6 pixels at 96 DPI.
    static int Margin(int dpi) {
        return MulDiv(6, dpi, 96);
    }

    int ColumnWidth(int column) const {
        return int(SendMessageA(List(), LVM_GETCOLUMNWIDTH, WPARAM(column), 0));
    }

    // Every status part that has a width shows its whole text, and no part
    // reaches past the bar.
    void ExpectStatusTextsWhole(int dpi) {
        WindowFont font(StatusBar(), ControlFont::kStatus, dpi);
        ASSERT_TRUE(font.Valid());
        RECT bar = {};
        GetClientRect(StatusBar(), &bar);
        for (int part = 0; part < 5; ++part) {
            RECT r = {};
            ASSERT_TRUE(StatusPartRect(part, &r)) << part;
            std::string text = Status(part);
            if (!text.empty() && text[0] == '\t') {
                text.erase(0, 1);
            }
            EXPECT_LE(r.right, bar.right) << "part " << part << " beyond the bar at " << dpi << " DPI";
            if (r.right - r.left <= 0) {
                continue;  // a part the bar's width leaves out
            }
            EXPECT_GE(r.right - r.left, font.Width(text) + Margin(dpi))
                << "part " << part << " \"" << text << "\" is cut at " << dpi << " DPI";
        }
    }

    // Every column shows its header uncut and ends inside the list.
    void ExpectColumnsFit(int dpi) {
        WindowFont font(reinterpret_cast<HWND>(SendMessageA(List(), LVM_GETHEADER, 0, 0)), ControlFont::kList, dpi);
        ASSERT_TRUE(font.Valid());
        RECT client = {};
        GetClientRect(List(), &client);
        int right = 0;
        for (int column = 0; column < kColumns; ++column) {
            const int width = ColumnWidth(column);
            EXPECT_GE(width, font.Width(kHeaders[column]) + 2 * Margin(dpi))
                << "header " << column << " is cut at " << dpi << " DPI";
            right += width;
        }
        EXPECT_LE(right, client.right) << "the last column ends outside the list at " << dpi << " DPI";
    }

    // The date column holds its widest text: the dates shown and a date of
    // the kind "26/12/07 21:05".
    void ExpectDatesWhole(int dpi) {
        WindowFont font(List(), ControlFont::kList, dpi);
        ASSERT_TRUE(font.Valid());
        ASSERT_GT(RowCount(), 0);
        const std::string shown = Cell(0, 4);
        EXPECT_EQ(14u, shown.size()) << shown;
        for (const std::string& date : {shown, std::string("26/12/07 21:05"), std::string("08/08/08 08:08")}) {
            EXPECT_GE(ColumnWidth(4), font.Width(date) + 2 * Margin(dpi)) << date << " at " << dpi << " DPI";
        }
    }

    bool StartOnSongs() {
        MakeSongsAndPlayerFolder();
        const bool started = Start("\"" + Folder() + "songs\"");
        return started && WaitUntil([&] { return RowCount() == 3; }, 10000);
    }
};

TEST_F(HighDpiJourney, At96DpiStatusTextsAndHeadersAreWhole) {
    ASSERT_TRUE(StartOnSongs());
    ExpectStatusTextsWhole(96);
    ExpectColumnsFit(96);
    ExpectDatesWhole(96);
    ASSERT_TRUE(Close());
}

TEST_F(HighDpiJourney, At144DpiStatusTextsAndHeadersAreWhole) {
    ScreenDensity density(144);
    ASSERT_TRUE(density.Set());
    // A frame as large as the 1024 by 768 desktop allows, as a user of a
    // small high-density screen keeps it.
    ASSERT_TRUE(WriteSetting("Window", "WinX", 0u));
    ASSERT_TRUE(WriteSetting("Window", "WinY", 0u));
    ASSERT_TRUE(WriteSetting("Window", "WinW", 1020u));
    ASSERT_TRUE(WriteSetting("Window", "WinH", 740u));
    ASSERT_TRUE(StartOnSongs());
    ExpectStatusTextsWhole(144);
    ExpectColumnsFit(144);
    ExpectDatesWhole(144);
    ASSERT_TRUE(Close());
}

TEST_F(HighDpiJourney, FirstStartColumnsFitAndStoredWidthsWin) {
    ASSERT_TRUE(StartOnSongs());
    ExpectColumnsFit(96);
    ExpectDatesWhole(96);
    ASSERT_TRUE(Close());

    // What the first start left is what the next start shows.
    const char* const names[kColumns] = {"ListWindFileNameWidth", "ListWindTitleWidth", "ListWindCommentWidth",
                                         "ListWindModuleWidth", "ListWindLastWriteTimeWidth"};
    uint32_t stored[kColumns] = {};
    for (int column = 0; column < kColumns; ++column) {
        ASSERT_TRUE(ReadSetting("Window", names[column], &stored[column])) << names[column];
    }
    ASSERT_TRUE(Start("\"" + Folder() + "songs\""));
    for (int column = 0; column < kColumns; ++column) {
        EXPECT_EQ(int(stored[column]), ColumnWidth(column)) << names[column];
    }
    ASSERT_TRUE(Close());

    // Widths a user chose, even a narrow date column, win over the fitting.
    const uint32_t chosen[kColumns] = {150, 120, 110, 40, 50};
    for (int column = 0; column < kColumns; ++column) {
        ASSERT_TRUE(WriteSetting("Window", names[column], chosen[column]));
    }
    ASSERT_TRUE(Start("\"" + Folder() + "songs\""));
    for (int column = 0; column < kColumns; ++column) {
        EXPECT_EQ(int(chosen[column]), ColumnWidth(column)) << names[column];
    }
    ASSERT_TRUE(Close());
}

}  // namespace
