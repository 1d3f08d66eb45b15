// Settings pages: their templates in memory and the copying between
// controls and page values.
#include "ui/SettingsPages_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "ui/EmulationDialog_win.h"
#include "ui/framework/DialogTemplate_win.h"

namespace {

constexpr short kPageWidth = 270;
constexpr short kPageHeight = 190;

// Controls of the player page.
constexpr int kExecPathEdit = 100;
constexpr int kExecPathBrowse = 101;
constexpr int kUserPlayerEdit = 120;
constexpr int kUserPlayerBrowse = 121;
constexpr int kEmulationBox = 130;
constexpr int kEmulationButton = 131;
constexpr int kTimeOutEdit = 140;
constexpr int kTimeOutSpin = 141;

// Editor groups: radio pair, action, program, browse, from a base id.
constexpr int kEditorRadio = 0;
constexpr int kEditorAction = 2;
constexpr int kEditorProgram = 3;
constexpr int kEditorBrowse = 4;
constexpr int kUserTextExtEdit = 200;

// The first group and the number of editor groups on tabs 4, 5, 6.
const int kTabFirstGroup[3] = {0, 1, 4};
const int kTabGroupCount[3] = {1, 3, 1};
const char* const kEditorCaptions[kEditorGroupCount] = {
    "シーケンサ(&S)",        "エディタ・MIMPI WRD(&M)", "エディタ・Sherry WRD(&S)",
    "エディタ・Neo WRD(&N)", "テキストエディタ(&E)",
};

int EditorBase(int slot) {
    return 100 + 10 * slot;
}

DialogTemplate* General1Template() {
    auto* t = new DialogTemplate(kPageWidth, kPageHeight);
    t->Group(6, 4, 128, 80, "終了時に保存するもの(&W)");
    const char* const save[] = {"メインウィンドウの位置", "メインウィンドウのサイズ", "プロパティウィンドウの位置",
                                "プロパティウィンドウの表示状態", "演奏状態"};
    for (int i = 0; i < 5; i++) {
        t->Check(100 + i, 12, short(17 + 13 * i), 118, save[i]);
    }
    t->Group(140, 4, 124, 28, "フォルダウィンドウに表示するもの(&F)");
    t->Check(110, 146, 17, 112, "リストファイル");
    t->Group(140, 36, 124, 54, "タイトル(&T)");
    t->Check(130, 146, 49, 112, "簡易的な方法で検索する");
    t->Check(131, 146, 62, 112, "余分なスペースをカットする");
    t->Check(132, 146, 75, 112, "キャッシュを自動的に更新する");
    t->Group(6, 94, 258, 40, "リストウィンドウでのマウス操作(&M)");
    t->Radio(120, true, 12, 107, 240, "シングルクリックで演奏･開く");
    t->Radio(121, false, 12, 120, 240, "ダブルクリックで演奏･開く");
    return t;
}

DialogTemplate* General2Template() {
    auto* t = new DialogTemplate(kPageWidth, kPageHeight);
    const char* const boxes[kGeneralPage2BoxCount] = {
        "最小化時はタスクトレイに格納する(&S)",
        "一覧を書き出すとき、1バイト文字のカナを2バイト文字に変換する(&T)",
        "フォルダアイコンのイメージをシェルから取得する(&F)",
        "キーボードでファイル操作をおこなう(&K)",
        "ごみ箱を使用してファイルを削除する(&D)",
        "連続演奏でループする(&L)",
        "ドラッグ&&ドロップでのコピー・移動で確認メッセージを表示する(&M)",
    };
    for (int i = 0; i < kGeneralPage2BoxCount; i++) {
        t->Check(100 + i, 10, short(8 + 16 * i), 252, boxes[i]);
    }
    return t;
}

DialogTemplate* ListWindowTemplate() {
    auto* t = new DialogTemplate(kPageWidth, kPageHeight);
    t->Group(6, 4, 258, 40, "最初にフォーカスを設定するもの(&F)");
    t->Radio(100, true, 12, 16, 200, "先頭のオブジェクト");
    t->Radio(101, false, 12, 29, 200, "最後尾のオブジェクト");
    t->Group(6, 48, 258, 44, "シェルのプロパティ(&P)");
    t->Label(12, 62, 70, 8, "最初に開くタブ :");
    t->Add(kComboAtom, 110, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 84, 60, 90, 60, "");
    t->Check(111, 12, 76, 200, "mp3infpを使用する");
    const char* const boxes[] = {
        "サブフォルダ内のオブジェクトを検索する(&S)",
        "書庫ファイル内のオブジェクトを検索する(&R)",
        "選択表示を全幅にする(&L)",
        "ファイル名の拡張子を表示しない(&E)",
        "カラムの幅を自動的に調節する(&C)",
    };
    for (int i = 0; i < 5; i++) {
        t->Check(120 + i, 10, short(100 + 14 * i), 250, boxes[i]);
    }
    return t;
}

DialogTemplate* PlayerTemplate() {
    auto* t = new DialogTemplate(kPageWidth, kPageHeight);
    t->Label(6, 6, 100, 8, "フォルダ(&F) :");
    t->Edit(kExecPathEdit, ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL, 6, 16, 210, 34);
    t->Button(kExecPathBrowse, 220, 16, 44, "参照...");
    t->Label(6, 54, 150, 8, "ユーザー定義プレイヤー(&U) :");
    t->Edit(kUserPlayerEdit, ES_AUTOHSCROLL, 6, 64, 210, 13);
    t->Button(kUserPlayerBrowse, 220, 63, 44, "参照...");
    t->Group(6, 82, 124, 42, "音源エミュレーション(&E)");
    t->Check(kEmulationBox, 12, 95, 112, "エミュレーションをする");
    t->Button(kEmulationButton, 12, 107, 50, "設定...");
    t->Group(136, 82, 128, 54, "最小化起動(&I)");
    t->Check(111, 142, 95, 118, "セレクタが最小化表示のとき");
    t->Check(110, 142, 108, 118, "セレクタが通常表示のとき");
    t->Check(112, 142, 121, 118, "セレクタが最大化表示のとき");
    t->Label(6, 144, 178, 8, "演奏開始DDEコマンド発行時のタイムアウト値(&T) :");
    t->Edit(kTimeOutEdit, ES_NUMBER, 186, 142, 36, 13);
    t->Add(UPDOWN_CLASSA, kTimeOutSpin, UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS, 222, 142, 10,
           13, "");
    t->Label(236, 144, 20, 8, "秒");
    t->Check(132, 6, 162, 250, "セレクタが終了するとき、連動して終了する(&X)");
    return t;
}

DialogTemplate* EditorTemplate(int editorTab) {
    auto* t = new DialogTemplate(kPageWidth, kPageHeight);
    const int groups = kTabGroupCount[editorTab];
    for (int g = 0; g < groups; g++) {
        const int base = EditorBase(g);
        const short y = short(4 + 58 * g);
        t->Group(6, y, 258, 54, kEditorCaptions[kTabFirstGroup[editorTab] + g]);
        t->Radio(base + kEditorRadio, true, 12, short(y + 12), 110, "関連付けを使用する");
        t->Radio(base + kEditorRadio + 1, false, 126, short(y + 12), 110, "関連付けを使用しない");
        t->Label(12, short(y + 26), 52, 8, "アクション :");
        t->Edit(base + kEditorAction, ES_AUTOHSCROLL, 66, short(y + 24), 60, 12);
        t->Label(12, short(y + 40), 52, 8, "アプリケーション :");
        t->Edit(base + kEditorProgram, ES_AUTOHSCROLL, 66, short(y + 38), 144, 12);
        t->Button(base + kEditorBrowse, 214, short(y + 37), 44, "参照...");
    }
    if (editorTab == 2) {
        t->Label(6, 66, 90, 8, "ユーザー定義拡張子(&U) :");
        t->Edit(kUserTextExtEdit, ES_AUTOHSCROLL, 98, 64, 40, 12);
    }
    return t;
}

// Page templates, built once for the program's life.
const DLGTEMPLATE* PageTemplate(int tab) {
    static std::unique_ptr<DialogTemplate> templates[kSettingsTabCount];
    if (!templates[tab]) {
        templates[tab].reset(tab == 0   ? General1Template()
                             : tab == 1 ? General2Template()
                             : tab == 2 ? ListWindowTemplate()
                             : tab == 3 ? PlayerTemplate()
                                        : EditorTemplate(tab - 4));
    }
    return templates[tab]->Template();
}

class General1Page : public SettingsPage {
   public:
    using SettingsPage::SettingsPage;
    void Initialise() override {
        const GeneralPage1 page = LoadGeneralPage1(*context_->settings);
        for (int i = 0; i < kRegWriteBoxCount; i++) {
            SetChecked(100 + i, page.save[i]);
        }
        SetChecked(110, page.showListFile);
        SetChecked(130, page.simpleTitleSearch);
        SetChecked(131, page.cutTitleSpace);
        SetChecked(132, page.autoCache);
        SetChecked(page.singleClick ? 120 : 121, true);
        SetChecked(page.singleClick ? 121 : 120, false);
    }
    uint32_t Apply() override {
        GeneralPage1 page;
        for (int i = 0; i < kRegWriteBoxCount; i++) {
            page.save[i] = Checked(100 + i);
        }
        page.showListFile = Checked(110);
        page.simpleTitleSearch = Checked(130);
        page.cutTitleSpace = Checked(131);
        page.autoCache = Checked(132);
        page.singleClick = Checked(120);
        return ApplyGeneralPage1(page, context_->settings);
    }
};

class General2Page : public SettingsPage {
   public:
    using SettingsPage::SettingsPage;
    void Initialise() override {
        const GeneralPage2 page = LoadGeneralPage2(*context_->settings);
        for (int i = 0; i < kGeneralPage2BoxCount; i++) {
            SetChecked(100 + i, page.boxes[i]);
        }
    }
    uint32_t Apply() override {
        GeneralPage2 page;
        for (int i = 0; i < kGeneralPage2BoxCount; i++) {
            page.boxes[i] = Checked(100 + i);
        }
        return ApplyGeneralPage2(page, context_->settings);
    }
};

class ListWindowSettingsPage : public SettingsPage {
   public:
    using SettingsPage::SettingsPage;
    void Initialise() override {
        const ListWindowPage page = LoadListWindowPage(*context_->settings);
        SetChecked(page.focusLast ? 101 : 100, true);
        SetChecked(page.focusLast ? 100 : 101, false);
        const HWND combo = Item(110);
        SendMessageA(combo, CB_RESETCONTENT, 0, 0);
        for (const char* entry : kShellPropertyTabs) {
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        }
        SendMessageA(combo, CB_SETCURSEL, WPARAM(page.shellPropertyTab), 0);
        SetChecked(111, page.useMp3infp);
        SetChecked(120, page.searchSubFolder);
        SetChecked(121, page.searchArchive);
        SetChecked(122, page.fullRowSelect);
        SetChecked(123, page.hideExtensions);
        SetChecked(124, page.columnAutoSize);
    }
    uint32_t Apply() override {
        ListWindowPage page;
        page.focusLast = Checked(101);
        page.shellPropertyTab = int(SendMessageA(Item(110), CB_GETCURSEL, 0, 0));
        page.useMp3infp = Checked(111);
        page.searchSubFolder = Checked(120);
        page.searchArchive = Checked(121);
        page.fullRowSelect = Checked(122);
        page.hideExtensions = Checked(123);
        page.columnAutoSize = Checked(124);
        return ApplyListWindowPage(page, context_->locationOpen, context_->settings);
    }
};

class PlayerSettingsPage : public SettingsPage {
   public:
    using SettingsPage::SettingsPage;
    void Initialise() override {
        const PlayerPage page = LoadPlayerPage(*context_->settings);
        SetText(kExecPathEdit, page.execPath, int(kExecPathBytes - 1));
        SetText(kUserPlayerEdit, page.userPlayerFilename, int(kSettingsPathBytes - 1));
        SetChecked(kEmulationBox, page.moduleEmulation);
        SetChecked(111, page.iconSelectorMin);
        SetChecked(110, page.iconSelectorNormal);
        SetChecked(112, page.iconSelectorMax);
        SendMessageA(Item(kTimeOutSpin), UDM_SETRANGE32, kMinPlayTimeOut, kMaxPlayTimeOut);
        SetText(kTimeOutEdit, page.playTimeOut, int(kPlayTimeOutTextBytes));
        SetChecked(132, page.closePlayer);
    }
    uint32_t Apply() override {
        PlayerPage page;
        page.execPath = Text(kExecPathEdit);
        page.userPlayerFilename = Text(kUserPlayerEdit);
        page.moduleEmulation = Checked(kEmulationBox);
        page.iconSelectorMin = Checked(111);
        page.iconSelectorNormal = Checked(110);
        page.iconSelectorMax = Checked(112);
        page.playTimeOut = Text(kTimeOutEdit);
        page.closePlayer = Checked(132);
        const uint32_t refresh = ApplyPlayerPage(page, context_->settings);
        // The edit shows what was stored (0 became 1, 250 became 100).
        SetText(kTimeOutEdit, std::to_string(context_->settings->player.playTimeOut), int(kPlayTimeOutTextBytes));
        return refresh;
    }

   protected:
    bool RunButton(int id) override {
        if (id == kExecPathBrowse) {
            AddFolder();
        } else if (id == kUserPlayerBrowse) {
            BrowseProgram(kUserPlayerEdit);
        } else if (id == kEmulationButton && context_->modules && context_->detectors) {
            ShowEmulationDialog(Parent(), context_->modules, context_->detectors, &context_->settings->emulation);
        } else {
            return false;
        }
        return true;
    }

   private:
    void AddFolder() {
        std::string folder;
        if (!BrowseForFolder(Handle(), "プレイヤーのあるフォルダを指定してください。(追加指定可)", &folder)) {
            return;
        }
        std::string paths = Text(kExecPathEdit);
        if (!paths.empty() && paths.back() != '\n') {
            paths += "\r\n";
        }
        SetText(kExecPathEdit, paths + folder, int(kExecPathBytes - 1));
    }
};

class EditorSettingsPage : public SettingsPage {
   public:
    EditorSettingsPage(int editorTab, SWindow* dialog, SettingsDialogContext* context)
        : SettingsPage(PageTemplate(4 + editorTab), dialog, context), editorTab_(editorTab) {
    }
    void Initialise() override {
        const EditorPages pages = LoadEditorPages(*context_->settings);
        for (int g = 0; g < kTabGroupCount[editorTab_]; g++) {
            const EditorGroup& group = pages.groups[kTabFirstGroup[editorTab_] + g];
            const int base = EditorBase(g);
            SetChecked(base + kEditorRadio, group.chain);
            SetChecked(base + kEditorRadio + 1, !group.chain);
            SetText(base + kEditorAction, group.action, int(kEditorVerbBytes - 1));
            SetText(base + kEditorProgram, group.filename, int(kSettingsPathBytes - 1));
        }
        if (editorTab_ == 2) {
            SetText(kUserTextExtEdit, pages.userTextExt, int(kUserTextExtBytes - 1));
        }
    }
    uint32_t Apply() override {
        EditorPages pages = LoadEditorPages(*context_->settings);
        for (int g = 0; g < kTabGroupCount[editorTab_]; g++) {
            EditorGroup& group = pages.groups[kTabFirstGroup[editorTab_] + g];
            const int base = EditorBase(g);
            group.chain = Checked(base + kEditorRadio);
            group.action = Text(base + kEditorAction);
            group.filename = Text(base + kEditorProgram);
        }
        if (editorTab_ == 2) {
            pages.userTextExt = Text(kUserTextExtEdit);
        }
        return ApplyEditorPages(pages, context_->settings);
    }

   protected:
    bool RunButton(int id) override {
        for (int g = 0; g < kTabGroupCount[editorTab_]; g++) {
            if (id == EditorBase(g) + kEditorBrowse) {
                BrowseProgram(EditorBase(g) + kEditorProgram);
                return true;
            }
        }
        return false;
    }

   private:
    int editorTab_;
};

}  // namespace

SettingsPage::SettingsPage(const DLGTEMPLATE* pageTemplate, SWindow* dialog, SettingsDialogContext* context)
    : SDialog(pageTemplate, dialog), context_(context) {
}

void SettingsPage::OnInitDialog(MessageContext& m) {
    Initialise();
    m.handled = 1;
    m.result = FALSE;  // the focus stays on the tab control
}

void SettingsPage::OnCommand(MessageContext& m) {
    const int id = LOWORD(m.wParam);
    if (HIWORD(m.wParam) == BN_CLICKED && RunButton(id)) {
        m.handled = 1;
    }
}

bool SettingsPage::RunButton(int) {
    return false;
}

bool SettingsPage::Checked(int id) const {
    return IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
}

void SettingsPage::SetChecked(int id, bool checked) {
    CheckDlgButton(Handle(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

std::string SettingsPage::Text(int id) const {
    const HWND item = Item(id);
    std::vector<char> text(size_t(GetWindowTextLengthA(item)) + 1);
    GetWindowTextA(item, text.data(), int(text.size()));
    return text.data();
}

void SettingsPage::SetText(int id, const std::string& text, int limit) {
    SendMessageA(Item(id), EM_LIMITTEXT, WPARAM(limit), 0);
    SetDlgItemTextA(Handle(), id, text.c_str());
}

bool SettingsPage::BrowseProgram(int editId) {
    static const char kFilter[] = "アプリケーション (exe)\0*.exe\0";
    char file[kSettingsPathBytes] = {};
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file - 1;
    dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameA(&dialog)) {
        return false;
    }
    SetText(editId, file, int(kSettingsPathBytes - 1));
    return true;
}

std::unique_ptr<SettingsPage> MakeSettingsPage(int tab, SWindow* dialog, SettingsDialogContext* context) {
    switch (tab) {
        case 0:
            return std::make_unique<General1Page>(PageTemplate(0), dialog, context);
        case 1:
            return std::make_unique<General2Page>(PageTemplate(1), dialog, context);
        case 2:
            return std::make_unique<ListWindowSettingsPage>(PageTemplate(2), dialog, context);
        case 3:
            return std::make_unique<PlayerSettingsPage>(PageTemplate(3), dialog, context);
        default:
            return std::make_unique<EditorSettingsPage>(tab - 4, dialog, context);
    }
}
