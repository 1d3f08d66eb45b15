// The song list's rows read from the catalogue: the column texts through the
// title cache lookups, related files beside the song (or in its archive).
#include "actions/SongRows.h"

#include <memory>
#include <vector>

#include "catalogue/RelatedFiles.h"
#include "catalogue/TitleCache.h"
#include "core/MusicObject.h"
#include "core/SongFile.h"
#include "core/Text.h"

// Related files larger than this are not searched: no script or document
// comes near it, and it keeps a stray disc image from filling the memory.
constexpr uint32_t kMaxRelatedFileBytes = 64u << 20;  // 64 MiB

// Extensions of the related texts, by kRelatedWrdText ... kRelatedLog.
static const char* const kRelatedExtensions[] = {"wrd", "hed", "txt", "doc", "log"};

// The DocumentFlags bit of each document text.
static const int32_t kDocumentBits[] = {0, kDocumentHed, kDocumentTxt, kDocumentDoc, kDocumentLog, kDocumentUser};

CatalogueRows::CatalogueRows(CatalogueState& state,
                             SongAnalyzer& analyzer,
                             bool cutTitleSpace,
                             const char* userTextExtension)
    : state_(state), analyzer_(analyzer), cutTitleSpace_(cutTitleSpace), userTextExtension_(userTextExtension) {
}

int32_t CatalogueRows::RowCount() {
    return state_.objectList.Count() < 0 ? 0 : state_.objectList.Count();
}

std::string CatalogueRows::ColumnText(int32_t row, int32_t column) {
    const BagBox& objects = state_.objectList;
    const char* path = objects.Read(row, ObjectListColumn::path);
    const char* timeText = objects.Read(row, ObjectListColumn::timeText);
    if (!path || !timeText) {
        return std::string();
    }
    const int32_t fileType = objects.iRead(row, ObjectListColumn::fileType);
    std::string title;
    std::string comment;
    std::string module;
    switch (column) {
        case kColumnName:
            return objects.Read(row, ObjectListColumn::displayName);
        case kColumnTitle:
        case kColumnComment:
            LookUpTitleAndComment(state_.cache, analyzer_, path, timeText, fileType, &title, &comment);
            if (column == kColumnComment) {
                return comment;
            }
            if (cutTitleSpace_) {
                std::vector<char> buffer(title.begin(), title.end());
                buffer.push_back('\0');
                CompactSpaces(buffer.data());
                return buffer.data();
            }
            return title;
        case kColumnModule:
            LookUpSoundModule(state_.cache, analyzer_, path, timeText, fileType, &module);
            return module;
        case kColumnDate:
            return DateColumnText(timeText);
        default:
            return std::string();
    }
}

std::string CatalogueRows::ObjectPath(int32_t row) {
    const char* path = state_.objectList.Read(row, ObjectListColumn::path);
    return path ? path : "";
}

std::string CatalogueRows::FullPath(int32_t row) {
    return ObjectFullPath(state_, ObjectPath(row).c_str());
}

int32_t CatalogueRows::CompanionFlags(int32_t row) {
    int32_t flags = 0;
    const int32_t fileType = state_.objectList.iRead(row, ObjectListColumn::fileType);
    LookUpRelatedFlags(state_.cache, analyzer_, ObjectPath(row).c_str(), fileType, &flags);
    return flags;
}

bool CatalogueRows::ReadRelatedFile(int32_t row, int32_t which, std::string* bytes) {
    if (which < 0 || which >= kRelatedTexts) {
        return false;
    }
    const std::string fullPath = FullPath(row);
    if (which == kRelatedWrdText) {
        if (!(CompanionFlags(row) & kRelatedWrd)) {
            return false;
        }
    } else if (!(DocumentFlags(fullPath.c_str(), userTextExtension_.c_str()) & kDocumentBits[which])) {
        return false;
    }
    const char* extension = which == kRelatedUserText ? userTextExtension_.c_str() : kRelatedExtensions[which];
    std::string base;
    std::string oldExtension;
    SplitExtension(fullPath.c_str(), &base, &oldExtension);
    return ReadWholeSongFile((base + "." + extension).c_str(), bytes);
}

bool ReadWholeSongFile(const char* path, std::string* bytes) {
    uint32_t error = kErrorSuccess;
    std::unique_ptr<SongFile> file = OpenSongFile(path, SongOpenRequest(), &error);
    if (!file) {
        return false;
    }
    uint32_t high = 0;
    const uint32_t size = file->Size(&high);
    if (high != 0 || size > kMaxRelatedFileBytes) {
        return false;
    }
    bytes->assign(size, '\0');
    uint32_t count = 0;
    if (size > 0 && !file->Read(&(*bytes)[0], size, &count)) {
        return false;
    }
    bytes->resize(count);
    return true;
}
