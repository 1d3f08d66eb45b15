// Extracting a song and its related files for a player.
#include "player/PlayablePath.h"

#include <memory>
#include <vector>

#include "catalogue/RelatedFiles.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/ArchiveFiles.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiverCommand.h"
#include "catalogue/archive/Archivers.h"
#include "core/FileFinder.h"
#include "core/Text.h"

// Deletes the files (not the folders) directly in folder.
static void DeleteFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    FindRecord record;
    std::unique_ptr<FileFinder> finder = FinderOpen(&record, (folder + "\\*").c_str(), nullptr);
    for (bool more = finder->Found(); more; more = finder->Next(&record)) {
        if (!(record.attributes & kAttrDirectory)) {
            names.push_back(record.name);
        }
    }
    finder.reset();
    for (const std::string& name : names) {
        DeleteFilePath((folder + "\\" + name).c_str());
    }
}

// The user is told the member's name and the archive's path.
static PlayableSong ExtractionFailure(const Location& song) {
    return {std::string(), "書庫ファイルから " + song.FileName() +
                               " を取り出せません。\n書庫ファイルが壊れている可能性があります。\n\n書庫ファイル : " +
                               song.ArchivePath()};
}

PlayableSong PrepareSongForPlayer(const Location& song, int32_t fileType, void* ownerWindow) {
    const std::string folder = WorkingFolder();
    EnsureFolder(folder.c_str());
    DeleteFilesIn(folder);
    if (!song.HasMark()) {
        return {song.Stored(), std::string()};
    }
    // A member that may not be extracted is never looked for in the folder
    // either: a device name there would "exist".
    if (!IsExtractableMemberName(song.Member().c_str())) {
        return ExtractionFailure(song);
    }
    // The set lists the song first, then its companions and what the scripts
    // name, all as members of the same archive.
    const std::string& path = song.Stored();
    const std::string archive = song.ArchivePath();
    BagBox set = MakeRelatedSet();
    CollectRelatedSet(path.c_str(), fileType, &set);
    std::vector<std::string> members = {path};
    for (int32_t i = 0; i < set.Count(); ++i) {
        const Location related(set.Read(i, 0));
        if (related.HasMark() && CompareNoCase(related.ArchivePath().c_str(), archive.c_str()) == 0 &&
            CompareNoCase(related.Stored().c_str(), path.c_str()) != 0) {
            members.push_back(related.Stored());
        }
    }
    ExtractRelatedMembers(members, folder.c_str(), ownerWindow, ExtractPurpose::kQuiet);
    const std::string extracted = folder + "\\" + song.FileName();
    return PathExists(extracted.c_str()) ? PlayableSong{extracted, std::string()} : ExtractionFailure(song);
}
