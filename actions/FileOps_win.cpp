// Copy, move and delete on the file system, the tree's folder and list file
// operations, eject and the shell's properties window.
#include "actions/FileOps_win.h"

#include <shellapi.h>
#include <winioctl.h>

#include "catalogue/Drives.h"
#include "catalogue/TitleCache.h"
#include "core/Text.h"

namespace {

constexpr uint32_t kErrorCancelled = 1235;
constexpr char kEjectCaption[] = "取り出し - Quillory";

std::string WithSeparator(const std::string& folder) {
    const int last = LastSeparator(folder.c_str());
    if (!folder.empty() && (last < 0 || static_cast<size_t>(last) + 1 != folder.size())) {
        return folder + "\\";
    }
    return folder;
}

std::string DriveRoot(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') {
        return path.substr(0, 2) + "\\";
    }
    return std::string();
}

uint64_t LastWriteTime(const WIN32_FILE_ATTRIBUTE_DATA& data) {
    return (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// One file of a copy or move: false when the user stopped the operation.
// *done is set when the file was transferred.
bool TransferOne(FileOpsHost& host,
                 OverwritePolicy& policy,
                 const std::string& source,
                 const std::string& destination,
                 bool move,
                 bool* done) {
    if (CompareNoCase(source.c_str(), destination.c_str()) == 0) {
        return ShowFileError(host, kErrorCancelled, true, SameFileText(move), MB_OKCANCEL, nullptr) == IDOK;
    }
    WIN32_FILE_ATTRIBUTE_DATA target;
    if (GetFileAttributesExA(destination.c_str(), GetFileExInfoStandard, &target)) {
        if (policy.NeedsQuestion(true)) {
            int32_t mode = policy.mode;
            const OverwriteAnswer answer = host.AskOverwrite(move, destination, &mode);
            if (!policy.Answer(answer, mode)) {
                return false;
            }
        }
        WIN32_FILE_ATTRIBUTE_DATA origin = {};
        GetFileAttributesExA(source.c_str(), GetFileExInfoStandard, &origin);
        if (!policy.Replaces(LastWriteTime(origin), LastWriteTime(target))) {
            return true;
        }
    }
    const BOOL ok =
        move ? MoveFileExA(source.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)
             : CopyFileA(source.c_str(), destination.c_str(), FALSE);
    if (ok) {
        *done = true;
        return true;
    }
    const DWORD error = GetLastError();
    if (!move && IsFolder(source)) {
        return host.ShowMessage("フォルダはコピーできません。", "Quillory", MB_OKCANCEL | MB_ICONERROR) == IDOK;
    }
    return ShowFileError(host, error, true, "", MB_OKCANCEL, nullptr) == IDOK;
}

}  // namespace

int ShowFileError(FileOpsHost& host,
                  uint32_t code,
                  bool writing,
                  const std::string& extra,
                  UINT buttons,
                  const char* captionPrefix) {
    if (code == 0) {
        return IDOK;
    }
    return host.ShowMessage(FileErrorText(code, writing, extra), FileErrorCaption(captionPrefix),
                            buttons | MB_ICONERROR);
}

bool CopyOrMoveFiles(FileOpsHost& host, const std::vector<std::string>& files, const std::string& folder, bool move) {
    if (files.empty()) {
        return false;
    }
    const std::string root = DriveRoot(folder);
    if (!root.empty() && !CheckDriveReady(root.c_str(), false, host.Owner())) {
        return false;
    }
    const std::string target = WithSeparator(folder);
    OverwritePolicy policy;
    policy.mode = host.lastOverwriteMode;
    bool anyDone = false;
    host.OpenProgress(TransferCaption(move));
    for (size_t i = 0; i < files.size(); ++i) {
        if (host.ProgressCancelled()) {
            break;
        }
        std::string name;
        SplitPath(files[i].c_str(), nullptr, &name, false);
        host.ShowProgress(name, TransferPercent(i, files.size()));
        bool done = false;
        const bool goOn = TransferOne(host, policy, files[i], target + name, move, &done);
        anyDone = anyDone || done;
        if (!goOn) {
            break;
        }
    }
    host.CloseProgress();
    host.lastOverwriteMode = policy.mode;
    return anyDone;
}

uint32_t RecycleItem(const std::string& path) {
    std::string from = path;
    from.push_back('\0');  // the list ends with a second NUL
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;
    if (SHFileOperationA(&operation) != 0 || operation.fAnyOperationsAborted) {
        return kErrorCancelled;
    }
    return 0;
}

bool DeleteFiles(FileOpsHost& host, const std::vector<FileGroup>& groups, bool useRecycler) {
    bool anyDone = false;
    std::vector<std::string> tried;
    std::vector<std::string> kept;
    for (const FileGroup& group : groups) {
        for (size_t i = 0; i < group.size(); ++i) {
            const std::string& file = group[i];
            if (ContainsNoCase(tried, file)) {
                // Tried with an earlier object; if that failed, what belongs
                // to this object stays as well.
                if (i == 0 && ContainsNoCase(kept, file)) {
                    break;
                }
                continue;
            }
            tried.push_back(file);
            uint32_t error = 0;
            if (useRecycler) {
                error = RecycleItem(file);
            } else if (!DeleteFileA(file.c_str())) {
                error = GetLastError();
            }
            if (error == 0) {
                anyDone = true;
                continue;
            }
            kept.push_back(file);
            if (ShowFileError(host, error, true, "", MB_OKCANCEL, nullptr) != IDOK) {
                return anyDone;
            }
            if (i == 0) {
                break;  // the object's own file stays, so do its related files
            }
        }
    }
    return anyDone;
}

uint32_t CreateFolderIn(const std::string& parent, const std::string& name) {
    if (!IsSingleName(name)) {
        return kErrorInvalidName;
    }
    const std::string path = WithSeparator(parent) + name;
    return CreateDirectoryA(path.c_str(), nullptr) ? 0 : GetLastError();
}

uint32_t RenameItem(const std::string& path, const std::string& newName, bool isListFile) {
    if (!IsSingleName(newName)) {
        return kErrorInvalidName;
    }
    std::string folder;
    SplitPath(path.c_str(), &folder, nullptr, false);
    const std::string target = folder + newName;
    if (!MoveFileA(path.c_str(), target.c_str())) {
        return GetLastError();
    }
    if (isListFile) {
        const std::string oldCache = TitleCacheFilePath(path.c_str(), 2);
        if (Exists(oldCache)) {
            MoveFileA(oldCache.c_str(), TitleCacheFilePath(target.c_str(), 2).c_str());
        }
    }
    return 0;
}

bool DeleteTreeItem(FileOpsHost& host, const std::string& path, bool isListFile, bool useRecycler) {
    std::string item = path;
    if (item.size() > 3 && LastSeparator(item.c_str()) == static_cast<int>(item.size()) - 1) {
        item.pop_back();
    }
    std::string name;
    SplitPath(item.c_str(), nullptr, &name, false);
    const char* caption = isListFile ? "リストファイルを削除 - Quillory" : "フォルダを削除 - Quillory";
    if (host.ShowMessage(name + " を削除します。", caption, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
        return false;
    }
    uint32_t error = 0;
    if (useRecycler) {
        error = RecycleItem(item);
    } else if (!(isListFile ? DeleteFileA(item.c_str()) : RemoveDirectoryA(item.c_str()))) {
        error = GetLastError();
    }
    if (error != 0) {
        ShowFileError(host, error, true, "", MB_OK, nullptr);
        return false;
    }
    if (isListFile) {
        DeleteFileA(TitleCacheFilePath(item.c_str(), 2).c_str());
    }
    return true;
}

namespace {

int EjectError(FileOpsHost& host, const char* text, DWORD error) {
    return host.ShowMessage(std::string(text) + "(" + std::to_string(error) + ")", kEjectCaption, MB_OK | MB_ICONERROR);
}

// Locks the volume, asking the user while it is in use. False when the user gave up.
bool LockVolume(FileOpsHost& host, HANDLE device, const std::string& drive) {
    DWORD bytes = 0;
    for (;;) {
        if (DeviceIoControl(device, FSCTL_LOCK_VOLUME, nullptr, 0, nullptr, 0, &bytes, nullptr)) {
            if (!DeviceIoControl(device, FSCTL_UNLOCK_VOLUME, nullptr, 0, nullptr, 0, &bytes, nullptr)) {
                EjectError(host, "ドライブをアンロックできません。", GetLastError());
            }
            return true;
        }
        const std::string text = "'リムーバブル ディスク (" + drive +
                                 ")' をアンマウントしようとしてエラーが発生しました。\n"
                                 "そのボリュームからファイルやウィンドウが開かれていないか確認してください。"
                                 "\n続行する場合、ファイルは閉じられ、データが失われる可能性があります。";
        const int answer = host.ShowMessage(text, kEjectCaption, MB_CANCELTRYCONTINUE | MB_ICONEXCLAMATION);
        if (answer == IDCONTINUE) {
            return true;
        }
        if (answer != IDTRYAGAIN) {
            return false;
        }
    }
}

}  // namespace

bool EjectDisk(FileOpsHost& host, const std::string& drive) {
    const std::string root = drive.substr(0, 2) + "\\";
    const bool cdRom = GetDriveTypeA(root.c_str()) == DRIVE_CDROM;
    const std::string device = "\\\\.\\" + drive.substr(0, 2);
    const DWORD access = cdRom ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    HANDLE handle =
        CreateFileA(device.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        host.ShowMessage(drive.substr(0, 2) + " にアクセスできません。(" + std::to_string(GetLastError()) + ")",
                         kEjectCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    bool ejected = false;
    DWORD bytes = 0;
    if (LockVolume(host, handle, drive.substr(0, 2))) {
        if (!cdRom && !FlushFileBuffers(handle)) {
            EjectError(host, "ファイルバッファをフラッシュできません。", GetLastError());
        } else if (!DeviceIoControl(handle, IOCTL_STORAGE_EJECT_MEDIA, nullptr, 0, nullptr, 0, &bytes, nullptr)) {
            EjectError(host, "リムーバブルディスクをイジェクトできません。", GetLastError());
        } else {
            ejected = true;
        }
    }
    CloseHandle(handle);
    return ejected;
}

// The shell's properties window is owned by a hidden helper window of its
// own class, made for the request and destroyed after it.
void ShowShellProperties(HWND owner, const std::string& path, const std::string& page) {
    static const char kHelperClass[] = "Kadrel ShellProperty";
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA helperClass = {};
    if (!GetClassInfoA(instance, kHelperClass, &helperClass)) {
        helperClass.lpfnWndProc = DefWindowProcA;
        helperClass.hInstance = instance;
        helperClass.lpszClassName = kHelperClass;
        RegisterClassA(&helperClass);
    }
    HWND helper = CreateWindowExA(0, kHelperClass, "", WS_POPUP, 0, 0, 0, 0, owner, nullptr, instance, nullptr);
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = helper ? helper : owner;
    info.lpVerb = "properties";
    info.lpFile = path.c_str();
    info.lpParameters = page.empty() ? nullptr : page.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);
    if (helper) {
        DestroyWindow(helper);
    }
}

uint32_t FileOpsHost::OpenWithShell(const std::string& verb, const std::string& file) {
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner_;
    info.lpVerb = verb.empty() ? nullptr : verb.c_str();
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExA(&info)) {
        return 0;
    }
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_NO_ASSOCIATION;
}

uint32_t FileOpsHost::StartProgram(const std::string& commandLine) {
    std::string line = commandLine;  // CreateProcessA may write into its command line
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return GetLastError();
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
