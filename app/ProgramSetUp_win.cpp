// The start-up steps that fill the program values.
#include "app/ProgramSetUp_win.h"
#include "analysis/WindowsMediaReader_win.h"

#include "analysis/FileTypes.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/Archivers.h"
#include "core/Startup.h"
#include "ui/framework/ProgramValues_win.h"

void SetProgramPaths() {
    ProgramValues& program = Program();
    char buffer[512] = {};
    GetModuleFileNameA(nullptr, buffer, sizeof buffer - 1);
    program.programFolder = ProgramFolderOf(buffer);
    char temp[512] = {};
    GetTempPathA(sizeof temp, temp);
    program.workFilePath = WorkFilePathOf(temp);
    SetWorkingFolder(program.workFilePath);
    char found[512];
    program.wmaReadable = SearchPathA(nullptr, "wmvcore.dll", nullptr, sizeof found, found, nullptr) != 0;
    SetWindowsMediaAvailable(program.wmaReadable);
    if (program.wmaReadable) {
        InstallWindowsMediaRuntime();
    }
}

void SetUpArchives() {
    InstallArchiveAccess();
    LoadArchivers();
    // Our own decoders read LZH and ZIP whether or not an archiver library is there.
    SetArchiveAvailable(kArchiveLzh, true);
    SetArchiveAvailable(kArchiveZip, true);
}
