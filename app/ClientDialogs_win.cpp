// The dialog commands of the client window: the title, comment and sound
// module the user sets by hand for the selected songs, the song properties
// window that follows the focused song, the settings dialog with the
// refreshes its changes need, and the version dialog.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/ClientWindow_win.h"
#include "app/MainWindow_win.h"
#include "catalogue/FolderScan.h"
#include "catalogue/TitleCacheEdit.h"
#include "catalogue/archive/ArchiveKind.h"
#include "ui/PropertyWindow_win.h"
#include "ui/SettingsDialog_win.h"
#include "ui/SmallDialogs_win.h"
#include "ui/framework/ProgramValues_win.h"

static void WaitMilliseconds(uint32_t milliseconds) {
    Sleep(milliseconds);
}

static DisplayText DisplayTextOfColumn(int32_t column) {
    if (column == TitleCacheColumn::title) {
        return DisplayText::title;
    }
    return column == TitleCacheColumn::comment ? DisplayText::comment : DisplayText::soundModule;
}

void ClientWindow::ChangeTitle() {
    ChangeSelectionText(TitleCacheColumn::title);
}

void ClientWindow::ChangeComment() {
    ChangeSelectionText(TitleCacheColumn::comment);
}

void ClientWindow::ChangeModule() {
    ChangeSelectionText(TitleCacheColumn::soundModule);
}

// Asks one text for every selected song, starting from the focused song's.
void ClientWindow::ChangeSelectionText(int32_t column) {
    if (catalogue_.busy) {
        return;
    }
    const std::vector<int32_t> rows = SelectedRows();
    if (rows.empty()) {
        return;
    }
    const int32_t focused = FocusedRow();
    const int32_t first = IsSelected(focused) ? focused : rows.front();
    const int32_t shownColumn = column == TitleCacheColumn::title     ? kColumnTitle
                                : column == TitleCacheColumn::comment ? kColumnComment
                                                                      : kColumnModule;
    std::string text = Rows().ColumnText(first, shownColumn);
    bool chosen = false;
    if (column == TitleCacheColumn::title) {
        chosen = AskTitle(this, &text);
    } else if (column == TitleCacheColumn::comment) {
        chosen = AskComment(this, &text);
    } else {
        chosen = ChooseSoundModule(this, modules_, &text);
    }
    if (chosen) {
        StoreHandSetText(rows, column, text);
    }
}

// A song the cache has no entry for yet gets one by bringing the cache up to
// date first (once); then every song's entry changes and the cache file is
// written once. The shown text changes in any case.
void ClientWindow::StoreHandSetText(const std::vector<int32_t>& rows, int32_t column, const std::string& text) {
    std::vector<int32_t> shown;
    std::vector<std::string> paths;
    shown.reserve(rows.size());
    paths.reserve(rows.size());
    for (int32_t row : rows) {
        if (row < 0 || row >= catalogue_.objectList.Count()) {
            continue;
        }
        shown.push_back(row);
        paths.push_back(catalogue_.objectList.Read(row, ObjectListColumn::path));
    }
    bool complete = false;
    {
        CatalogueLockScope lock(*this);
        complete = TitleCacheHasEntries(catalogue_.cache, paths);
    }
    if (!complete && catalogue_.kind != kLocationNone) {
        RefreshCache(true);
    }
    {
        CatalogueLockScope lock(*this);
        ChangeTitleCacheTexts(catalogue_.cache, *this, paths, column, text.c_str());
    }
    for (int32_t row : shown) {
        list_->UpdateText(row, DisplayTextOfColumn(column), text.c_str());
    }
    main_->UpdateTitle();
}

void ClientWindow::ShowProperties() {
    ShowPropertiesOfFocus(true);
}

// Fills the properties window for the focused song; without activate only an
// open window follows.
void ClientWindow::ShowPropertiesOfFocus(bool activate) {
    if (!activate && !PropertyWindowHandle()) {
        return;
    }
    const int32_t row = FocusedRow();
    if (row < 0 || row >= catalogue_.objectList.Count()) {
        return;
    }
    SongPropertyRequest request;
    request.path = SongPath(row);
    request.displayName = catalogue_.objectList.Read(row, ObjectListColumn::displayName);
    request.titleSearch = settings.mode.titleSearch;
    request.userTextExt = settings.mode.userTextExt;
    request.detectors = &detectors_;
    request.resetModules = settings.emulation.searchResetMessage ? &modules_ : nullptr;
    request.searchStrFlag = settings.emulation.searchStrFlag;
    request.archiveKindOfName = ArchiveKindOfName;
    request.wait = WaitMilliseconds;
    ShowSongProperties(this, &settings.property, request, activate);
}

// An open properties window follows the list's focus.
void ClientWindow::FollowFocus(const MessageContext& m) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (!list_ || header->hwndFrom != list_->Handle() || header->code != LVN_ITEMCHANGED) {
        return;
    }
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(m.lParam);
    if ((change->uNewState & LVIS_FOCUSED) && !(change->uOldState & LVIS_FOCUSED)) {
        ShowPropertiesOfFocus(false);
    }
    if ((change->uNewState ^ change->uOldState) & LVIS_FOCUSED) {
        main_->UpdateButtonStates();
    }
}

void ClientWindow::OpenSettings() {
    bool subFolders = settings.listWindow.searchSubFolder;
    SettingsDialogContext context;
    context.settings = &settings;
    context.modules = &modules_;
    context.detectors = &detectors_;
    context.rememberedTab = &settingsTab_;
    context.locationOpen = catalogue_.kind != kLocationNone;
    context.programFolder = Program().programFolder;
    context.refresh = [this, &subFolders](uint32_t refresh) {
        if (settings.listWindow.searchSubFolder != subFolders) {
            subFolders = settings.listWindow.searchSubFolder;
            catalogue_.includeSubFolders = subFolders;
        }
        ApplyChangedSettings(refresh);
    };
    ShowSettingsDialog(this, context);
}

// What the catalogue, the analyzer and the panes keep of the settings is
// taken again; views whose contents changed are filled again now, the others
// show the new values the next time they are filled.
void ClientWindow::ApplyChangedSettings(uint32_t refresh) {
    TakeScanSettings();
    if (!catalogue_.busy) {
        analyzer_ = std::make_unique<FullSongAnalyzer>(&detectors_, settings.emulation.searchStrFlag,
                                                       settings.emulation.searchResetMessage ? &modules_ : nullptr);
        analyzer_->titleSearch = settings.mode.titleSearch;
        catalogue_.analyzer = analyzer_.get();
    }
    const DWORD clicks = LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT;
    list_->SetExtendedStyle(LVS_EX_FULLROWSELECT | clicks,
                            (settings.listWindow.fullRowSelect ? LVS_EX_FULLROWSELECT : 0) |
                                (settings.mode.playMouseSingleClk ? clicks : 0));
    if (refresh & kRefreshSearchPath) {
        ApplySearchPath();
    }
    if (refresh & kRefreshTree) {
        tree_->BuildTree();
    }
    if ((refresh & (kRefreshLocation | kRefreshDisplayNames | kRefreshColumnSizes)) &&
        catalogue_.kind != kLocationNone && !catalogue_.busy) {
        catalogue_.lastSelectedName = list_->FocusedPath();
        OpenLocation(catalogue_, false, true, false);
    } else {
        list_->Invalidate(false);
    }
}

void ClientWindow::ShowVersion() {
    ShowVersionDialog(this);
}
