// The client's location: the catalogue with its lock, its analyzer and the
// settings it keeps a copy of, and the rows, paths and folder of the
// location the other parts read.
#include "app/BrowseSession_win.h"

#include <windows.h>

#include "core/Text.h"
#include "ui/rules/BrowseRules.h"

BrowseSession::BrowseSession(MainWindow* main,
                             SWindow& client,
                             AppState& app,
                             ClientPanes& panes,
                             ListSelection& selection)
    : main_(main), client_(client), app_(app), panes_(panes), selection_(selection) {
    InitializeCriticalSection(&catalogueLock);
    MakeAnalyzer();
    catalogue_.host = this;
    catalogue_.playerTypeMask = PlayerTypeMask(int32_t(app_.settings.mode.playerMode));
    TakeScanSettings();
    ScanSettings& scan = catalogue_.settings;
    scan.sortKind = SortKind(app_.settings.listWindow.sort);
    scan.sortDescending = app_.settings.listWindow.sortFlag;
    catalogue_.includeSubFolders = app_.settings.lastSelect.searchSubFolder;
}

BrowseSession::~BrowseSession() {
    DeleteCriticalSection(&catalogueLock);
}

void BrowseSession::Link(NarrowState* narrow, PlayRun* play, FileCommands* files) {
    narrow_ = narrow;
    play_ = play;
    files_ = files;
}

void BrowseSession::MakeAnalyzer() {
    const ClientSettings& settings = app_.settings;
    analyzer_ = std::make_unique<FullSongAnalyzer>(&app_.detectors, settings.emulation.searchStrFlag,
                                                   settings.emulation.searchResetMessage ? &app_.modules : nullptr);
    analyzer_->titleSearch = settings.mode.titleSearch;
    catalogue_.analyzer = analyzer_.get();
}

// The settings the catalogue keeps a copy of, which the settings dialog changes.
void BrowseSession::TakeScanSettings() {
    const ClientSettings& settings = app_.settings;
    ScanSettings& scan = catalogue_.settings;
    scan.searchArchive = settings.listWindow.searchArchive;
    scan.showFileNameExt = settings.listWindow.showFileNameExt;
    scan.autoCache = settings.mode.autoCache;
    scan.focusLastRow = settings.listWindow.tvnSelChangedLastSel;
}

// A running scan keeps the analyzer it started with.
void BrowseSession::TakeChangedSettings() {
    TakeScanSettings();
    if (!catalogue_.busy) {
        MakeAnalyzer();
    }
}

CatalogueRows BrowseSession::Rows() {
    return CatalogueRows(catalogue_, *analyzer_, app_.settings.mode.cutTitleSpace,
                         app_.settings.mode.userTextExt.c_str());
}

int32_t BrowseSession::ObjectCount() {
    return catalogue_.objectList.Count();
}

std::string BrowseSession::SongPath(int32_t row) {
    const char* path = catalogue_.objectList.Read(row, ObjectListColumn::path);
    return path ? ObjectFullPath(catalogue_, path) : std::string();
}

int32_t BrowseSession::SongFileType(int32_t row) {
    return catalogue_.objectList.iRead(row, ObjectListColumn::fileType);
}

std::string BrowseSession::CurrentFolder() const {
    if (catalogue_.kind == kLocationFolder) {
        return catalogue_.location;
    }
    if (catalogue_.kind != kLocationListFile) {
        return std::string();
    }
    const int separator = LastSeparator(catalogue_.location.c_str());
    return separator < 0 ? std::string() : catalogue_.location.substr(0, size_t(separator) + 1);
}
