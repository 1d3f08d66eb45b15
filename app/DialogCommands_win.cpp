// The dialog commands of the client window: the title, comment and sound
// module the user sets by hand for the selected songs, the song properties
// window that follows the focused song, the settings dialog with the
// refreshes its changes need, and the version dialog.
#include "app/DialogCommands_win.h"

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/BrowseSession_win.h"
#include "app/MainWindow_win.h"
#include "catalogue/FolderScan.h"
#include "catalogue/TitleCacheEdit.h"
#include "catalogue/archive/ArchiveKind.h"
#include "core/CommandIds.h"
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

DialogCommands::DialogCommands(MainWindow* main,
                               SWindow& owner,
                               AppState& app,
                               ClientPanes& panes,
                               ListSelection& selection,
                               BrowseSession& browse)
    : main_(main), owner_(owner), app_(app), panes_(panes), selection_(selection), browse_(browse) {
}

using D = DialogCommands;

const CommandRoute<DialogCommands> DialogCommands::kCommands[] = {
    {kCmdChangeTitle, &D::ChangeTitle},   {kCmdChangeComment, &D::ChangeComment}, {kCmdChangeModule, &D::ChangeModule},
    {kCmdProperties, &D::ShowProperties}, {kCmdSettings, &D::OpenSettings},       {kCmdVersion, &D::ShowVersion},
};

bool DialogCommands::RunCommand(MessageContext& m) {
    return RouteCommand(this, kCommands, m);
}

void DialogCommands::ChangeTitle() {
    ChangeSelectionText(TitleCacheColumn::title);
}

void DialogCommands::ChangeComment() {
    ChangeSelectionText(TitleCacheColumn::comment);
}

void DialogCommands::ChangeModule() {
    ChangeSelectionText(TitleCacheColumn::soundModule);
}

// Asks one text for every selected song, starting from the focused song's.
void DialogCommands::ChangeSelectionText(int32_t column) {
    if (browse_.Catalogue().busy) {
        return;
    }
    const std::vector<int32_t> rows = selection_.SelectedRows();
    if (rows.empty()) {
        return;
    }
    const int32_t focused = selection_.FocusedRow();
    const int32_t first = selection_.IsSelected(focused) ? focused : rows.front();
    const int32_t shownColumn = column == TitleCacheColumn::title     ? kColumnTitle
                                : column == TitleCacheColumn::comment ? kColumnComment
                                                                      : kColumnModule;
    std::string text = browse_.Rows().ColumnText(first, shownColumn);
    bool chosen = false;
    if (column == TitleCacheColumn::title) {
        chosen = AskTitle(&owner_, &text);
    } else if (column == TitleCacheColumn::comment) {
        chosen = AskComment(&owner_, &text);
    } else {
        chosen = ChooseSoundModule(&owner_, app_.modules, &text);
    }
    if (chosen) {
        StoreHandSetText(rows, column, text);
    }
}

// A song the cache has no entry for yet gets one by bringing the cache up to
// date first (once); then every song's entry changes and the cache file is
// written once. The shown text changes in any case.
void DialogCommands::StoreHandSetText(const std::vector<int32_t>& rows, int32_t column, const std::string& text) {
    CatalogueState& catalogue = browse_.Catalogue();
    std::vector<int32_t> shown;
    std::vector<std::string> paths;
    shown.reserve(rows.size());
    paths.reserve(rows.size());
    for (int32_t row : rows) {
        if (row < 0 || row >= catalogue.objectList.Count()) {
            continue;
        }
        shown.push_back(row);
        paths.push_back(catalogue.objectList.Read(row, ObjectListColumn::path));
    }
    bool complete = false;
    {
        CatalogueLockScope lock(browse_);
        complete = TitleCacheHasEntries(catalogue.cache, paths);
    }
    if (!complete && catalogue.kind != kLocationNone) {
        browse_.RefreshCache(true);
    }
    {
        CatalogueLockScope lock(browse_);
        ChangeTitleCacheTexts(catalogue.cache, browse_, paths, column, text.c_str());
    }
    for (int32_t row : shown) {
        panes_.list->UpdateText(row, DisplayTextOfColumn(column), text.c_str());
    }
    main_->UpdateTitle();
}

void DialogCommands::ShowProperties() {
    ShowPropertiesOfFocus(true);
}

// Fills the properties window for the focused song; without activate only an
// open window follows.
void DialogCommands::ShowPropertiesOfFocus(bool activate) {
    if (!activate && !PropertyWindowHandle()) {
        return;
    }
    const CatalogueState& catalogue = browse_.Catalogue();
    const int32_t row = selection_.FocusedRow();
    if (row < 0 || row >= catalogue.objectList.Count()) {
        return;
    }
    SongPropertyRequest request;
    request.path = browse_.SongPath(row);
    request.displayName = catalogue.objectList.Read(row, ObjectListColumn::displayName);
    request.titleSearch = app_.settings.mode.titleSearch;
    request.userTextExt = app_.settings.mode.userTextExt;
    request.detectors = &app_.detectors;
    request.resetModules = app_.settings.emulation.searchResetMessage ? &app_.modules : nullptr;
    request.searchStrFlag = app_.settings.emulation.searchStrFlag;
    request.archiveKindOfName = ArchiveKindOfName;
    request.wait = WaitMilliseconds;
    ShowSongProperties(&owner_, &app_.settings.property, request, activate);
}

// An open properties window follows the list's focus.
void DialogCommands::FollowFocus(const MessageContext& m) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (!panes_.list || header->hwndFrom != panes_.list->Handle() || header->code != LVN_ITEMCHANGED) {
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

void DialogCommands::OpenSettings() {
    bool subFolders = app_.settings.listWindow.searchSubFolder;
    SettingsDialogContext context;
    context.settings = &app_.settings;
    context.modules = &app_.modules;
    context.detectors = &app_.detectors;
    context.rememberedTab = &settingsTab_;
    context.locationOpen = browse_.Catalogue().kind != kLocationNone;
    context.programFolder = Program().programFolder;
    context.refresh = [this, &subFolders](uint32_t refresh) {
        if (app_.settings.listWindow.searchSubFolder != subFolders) {
            subFolders = app_.settings.listWindow.searchSubFolder;
            browse_.Catalogue().includeSubFolders = subFolders;
        }
        ApplyChangedSettings(refresh);
    };
    ShowSettingsDialog(&owner_, context);
}

// What the catalogue, the analyzer and the panes keep of the settings is
// taken again; views whose contents changed are filled again now, the others
// show the new values the next time they are filled.
void DialogCommands::ApplyChangedSettings(uint32_t refresh) {
    const ClientSettings& settings = app_.settings;
    const CatalogueState& catalogue = browse_.Catalogue();
    browse_.TakeChangedSettings();
    const DWORD clicks = LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT;
    panes_.list->SetExtendedStyle(LVS_EX_FULLROWSELECT | clicks,
                                  (settings.listWindow.fullRowSelect ? LVS_EX_FULLROWSELECT : 0) |
                                      (settings.mode.playMouseSingleClk ? clicks : 0));
    if (refresh & kRefreshSearchPath) {
        ApplySearchPath(app_);
    }
    if (refresh & kRefreshTree) {
        panes_.tree->BuildTree();
    }
    if ((refresh & (kRefreshLocation | kRefreshDisplayNames | kRefreshColumnSizes)) &&
        catalogue.kind != kLocationNone && !catalogue.busy) {
        browse_.Refresh();
    } else {
        panes_.list->Invalidate(false);
    }
}

void DialogCommands::ShowVersion() {
    ShowVersionDialog(&owner_);
}
