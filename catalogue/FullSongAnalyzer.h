// The analyzer the catalogue gives the title cache: titles and comments from
// the readers, sound modules from the detection table, related-file flags
// from the companions beside the song.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "catalogue/TitleCache.h"
#include "core/BagBox.h"

class FullSongAnalyzer : public SongAnalyzer {
   public:
    // detectors: the sound module detection table (may be null: no modules);
    // searchStrFlag: the texts the detection searches; resetModules: the
    // module table, when a song whose texts name no module takes the module
    // of its reset message (null: it keeps the reserved module).
    FullSongAnalyzer(const BagBox* detectors, uint32_t searchStrFlag, const BagBox* resetModules = nullptr);

    bool ReadTexts(const char* fullPath, int32_t fileType, std::string* title, std::string* comment) override;
    // The detected module of a sequence song, or the module of its reset
    // message when no detection string matched; "" for audio songs.
    std::string SoundModule(const char* fullPath, int32_t fileType) override;
    // WrdFlags; audio songs keep only the "sry" bit.
    int32_t RelatedFlags(const char* fullPath, int32_t fileType) override;

    // While on, the related flags of a folder's songs come from one listing
    // of the folder, taken when its first song is asked for, instead of one
    // search per song. For a run over a folder that does not change meanwhile
    // (a cache refresh); turning it off forgets the listing.
    void KeepFolderListing(bool on);

   private:
    void ListFolder(const std::string& folder);

    const BagBox* detectors_;
    uint32_t searchStrFlag_;
    const BagBox* resetModules_;
    // The last title read: the module detection right after reading a song
    // needs its title, and the song is not read twice for it.
    std::string lastPath_;
    std::string lastTitle_;
    bool keepListing_ = false;
    std::string listedFolder_;
    std::map<std::string, int32_t> listedFlags_;  // upper-cased base name -> flags
};
