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

std::string MemberFileName(const std::string& path) {
    const size_t mark = path.find('>');
    size_t start = mark == std::string::npos ? 0 : mark + 1;
    for (size_t i = start; i < path.size(); ++i) {
        if (IsLeadByte(uint8_t(path[i])) && i + 1 < path.size()) {
            ++i;
        } else if (path[i] == '/' || path[i] == '\\') {
            start = i + 1;
        }
    }
    return path.substr(start);
}

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

std::string PrepareSongForPlayer(const std::string& path, int32_t fileType, void* ownerWindow) {
    const std::string folder = WorkingFolder();
    EnsureFolder(folder.c_str());
    DeleteFilesIn(folder);
    std::string archive;
    std::string member;
    // A member that may not be extracted is never looked for in the folder
    // either: a device name there would "exist".
    if (!SplitMemberPath(path.c_str(), &archive, &member)) {
        return path;
    }
    if (!IsExtractableMemberName(member.c_str())) {
        return std::string();
    }
    // The set lists the song first, then its companions and what the scripts
    // name, all as members of the same archive.
    BagBox set = MakeRelatedSet();
    CollectRelatedSet(path.c_str(), fileType, &set);
    std::vector<std::string> members = {path};
    for (int32_t i = 0; i < set.Count(); ++i) {
        const std::string related = set.Read(i, 0);
        std::string relatedArchive;
        std::string relatedMember;
        if (SplitMemberPath(related.c_str(), &relatedArchive, &relatedMember) &&
            CompareNoCase(relatedArchive.c_str(), archive.c_str()) == 0 &&
            CompareNoCase(related.c_str(), path.c_str()) != 0) {
            members.push_back(related);
        }
    }
    ExtractRelatedMembers(members, folder.c_str(), ownerWindow, ExtractPurpose::kQuiet);
    const std::string extracted = folder + "\\" + MemberFileName(path);
    return PathExists(extracted.c_str()) ? extracted : std::string();
}

std::string ExtractionFailureMessage(const std::string& memberPath) {
    std::string archive;
    std::string member;
    SplitMemberPath(memberPath.c_str(), &archive, &member);
    return "書庫ファイルから " + MemberFileName(memberPath) +
           " を取り出せません。\n書庫ファイルが壊れている可能性があります。\n\n書庫ファイル : " + archive;
}
