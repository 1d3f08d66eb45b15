// The list editor's entry dialog and its file dialogs.
#include "ui/ListEditorDialogs_win.h"

#include <commdlg.h>

#include "catalogue/ListFile.h"
#include "core/Text.h"
#include "ui/framework/DialogTemplate_win.h"
#include "ui/framework/Dialog_win.h"

namespace {

constexpr int kEntryEdit = 1000;
constexpr int kBrowseButton = 1001;
constexpr size_t kPathBytes = 512;

// Filter pairs, each NUL-terminated, the list ending in a second NUL.
const char kSongFilters[] =
    "MIDI・Audio・書庫・リストファイル "
    "(mid,std,mff,rmi,rcp,r36,g18,g36,wav,mp1,mp2,mp3,rmp,asf,wma,ape,ogg,lzh,zip,neo,gca,lst)\0"
    "*.mid;*.std;*.mff;*.rmi;*.rcp;*.r36;*.g18;*.g36;*.wav;*.mp1;*.mp2;*.mp3;*.rmp;*.asf;*.wma;*.ape;*.ogg;*.lzh;"
    "*.zip;*.neo;*.gca;*.lst\0"
    "MIDIファイル (mid,std,mff,rmi,rcp,r36,g18,g36)\0*.mid;*.std;*.mff;*.rmi;*.rcp;*.r36;*.g18;*.g36\0"
    "Audioファイル (wav,mp1,mp2,mp3,rmp,asf,wma,ape,ogg)\0*.wav;*.mp1;*.mp2;*.mp3;*.rmp;*.asf;*.wma;*.ape;*.ogg\0"
    "書庫ファイル (lzh,zip,neo,gca)\0*.lzh;*.zip;*.neo;*.gca\0"
    "リストファイル (lst)\0*.lst\0"
    "すべてのファイル (*)\0*.*\0";
const char kListFilter[] = "リストファイル (lst)\0*.lst\0";

// The file dialog of "参照(&B)...": the chosen song, archive or list file
// as entry text.
bool BrowseForEntry(HWND owner, std::string* text) {
    char path[kPathBytes] = {};
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kSongFilters;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&dialog)) {
        return false;
    }
    *text = MakeListEntry(path, false);
    return true;
}

}  // namespace

bool AskEntryText(SWindow* owner, bool change, std::string* text) {
    DialogTemplate t(change ? "オブジェクトを変更 - リストファイルの編集" : "オブジェクトを追加 - リストファイルの編集",
                     260, 62);
    t.Label(7, 9, 60, 10, "オブジェクト(&O) :");
    t.Edit(kEntryEdit, ES_AUTOHSCROLL, 68, 7, 185, 13);
    t.Button(kBrowseButton, 7, 40, 60, "参照(&B)...");
    t.Button(IDOK, 136, 40, 55, "OK");
    t.Button(IDCANCEL, 198, 40, 55, "キャンセル");
    std::string edited = change ? *text : std::string();
    BrowseFieldDialog dialog(t.Template(), owner, kEntryEdit, kBrowseButton, int(kPathBytes), BrowseForEntry, &edited);
    if (dialog.DoModal() != IDOK) {
        return false;
    }
    *text = edited;
    return true;
}

bool AskListPath(HWND owner, bool save, const std::string& current, std::string* path) {
    std::string folder;
    std::string name;
    SplitPath(current.c_str(), &folder, &name, false);
    char file[kPathBytes] = {};
    CopyBounded(file, name.c_str(), kPathBytes - 1);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kListFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrDefExt = "lst";
    dialog.Flags = save ? OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST
                        : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (chosen) {
        *path = file;
    }
    return chosen != FALSE;
}
