// Titles, sound modules and related flags of one song for the title cache.
#include "catalogue/FullSongAnalyzer.h"

#include "analysis/FileTypes.h"
#include "analysis/SoundModules.h"
#include "catalogue/ArchiveKind.h"
#include "catalogue/RelatedFiles.h"

FullSongAnalyzer::FullSongAnalyzer(const BagBox* detectors, uint32_t searchStrFlag)
    : detectors_(detectors), searchStrFlag_(searchStrFlag) {
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
    return DetectSoundModule(*detectors_, searchStrFlag_, ArchiveKindOfName, fullPath, lastTitle_.c_str());
}

int32_t FullSongAnalyzer::RelatedFlags(const char* fullPath, int32_t fileType) {
    const int32_t flags = WrdFlags(fullPath);
    return IsAudioKind(fileType) ? (flags & kRelatedSry) : flags;
}
