// Titles, sound modules and related flags of one song for the title cache.
#include "catalogue/FullSongAnalyzer.h"

#include <cstring>

#include "analysis/FileTypes.h"
#include "analysis/SoundModules.h"
#include "catalogue/RelatedFiles.h"
#include "catalogue/archive/ArchiveKind.h"
#include "core/FileFinder.h"
#include "core/Text.h"

FullSongAnalyzer::FullSongAnalyzer(const BagBox* detectors, uint32_t searchStrFlag, const BagBox* resetModules)
    : detectors_(detectors), searchStrFlag_(searchStrFlag), resetModules_(resetModules) {
}

bool FullSongAnalyzer::ReadTexts(const char* fullPath, int32_t fileType, std::string* title, std::string* comment) {
    const bool read = SongAnalyzer::ReadTexts(fullPath, fileType, title, comment);
    lastPath_ = fullPath;
    lastTitle_ = *title;
    return read;
}

std::string FullSongAnalyzer::SoundModule(const char* fullPath, int32_t fileType) {
    if (!detectors_ || IsAudioKind(fileType)) {
        return std::string();
    }
    if (lastPath_ != fullPath) {
        std::string title;
        std::string comment;
        ReadTexts(fullPath, fileType, &title, &comment);
    }
    const char* module =
        DetectSoundModule(*detectors_, searchStrFlag_, ArchiveKindOfName, fullPath, lastTitle_.c_str());
    if (resetModules_ && std::strcmp(module, kOtherSoundModule) == 0) {
        const char* reset = ModuleOfMidiReset(*resetModules_, lastMidiReset_);
        return reset ? reset : module;
    }
    return module;
}

void FullSongAnalyzer::KeepFolderListing(bool on) {
    keepListing_ = on;
    listedFolder_.clear();
    listedFlags_.clear();
}

// Each companion counts for every base its name can be split into at a dot,
// as a search for base + ".*" finds "song.x.wrd" for "song" too. One search
// per companion kind lets the system pass over the songs themselves (a
// folder of many songs holds few companions); a name the search returns
// through its short name alone ("x.wrdx" as "X~1.WRD") fails the extension
// check.
void FullSongAnalyzer::ListFolder(const std::string& folder) {
    static const char* const kCompanions[] = {"wrd", "sry", "nbf"};
    listedFolder_ = folder;
    listedFlags_.clear();
    for (int32_t i = 0; i < 3; i++) {
        const int32_t bit = 1 << i;
        FindRecord record;
        const std::string pattern = folder + "*." + kCompanions[i];
        std::unique_ptr<FileFinder> finder = FinderOpen(&record, pattern.c_str(), nullptr);
        for (bool more = finder->Found(); more; more = finder->Next(&record)) {
            std::string extension;
            SplitExtension(record.name.c_str(), nullptr, &extension);
            if ((record.attributes & (kAttrHidden | kAttrSystem | kAttrDirectory)) != 0 ||
                CompareNoCase(extension.c_str(), kCompanions[i]) != 0) {
                continue;
            }
            const std::string upper = UpperAscii(record.name.c_str());
            for (size_t k = 0; k < upper.size(); k += CharBytes(upper.c_str() + k)) {
                if (upper[k] == '.') {
                    listedFlags_[upper.substr(0, k)] |= bit;
                }
            }
        }
    }
}

int32_t FullSongAnalyzer::RelatedFlags(const char* fullPath, int32_t fileType) {
    int32_t flags = 0;
    if (keepListing_) {
        std::string folder;
        std::string name;
        SplitPath(fullPath, &folder, &name, true);
        if (folder != listedFolder_ || listedFolder_.empty()) {
            ListFolder(folder);
        }
        std::string base;
        SplitExtension(name.c_str(), &base, nullptr);
        const auto found = listedFlags_.find(UpperAscii(base.c_str()));
        flags = found == listedFlags_.end() ? 0 : found->second;
    } else {
        flags = WrdFlags(fullPath);
    }
    return IsAudioKind(fileType) ? (flags & kRelatedSry) : flags;
}
