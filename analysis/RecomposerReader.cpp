// Title and song details of Recomposer songs. Two header generations exist:
// version 2 (18 and 36 tracks, 16-bit track sizes) and version 3 (32-bit track
// sizes); the identification text decides, never the file name's extension.
#include <algorithm>
#include <cstring>

#include "analysis/ByteWindow.h"
#include "analysis/SongInfo.h"
#include "analysis/SongReaders.h"
#include "core/BagBox.h"
#include "core/Text.h"

namespace {

constexpr uint32_t kHeadBytes = 4096;  // covers the whole version 3 header
constexpr uint32_t kTitleOffset = 32;
constexpr uint32_t kTitleBytes = 64;
constexpr int kMemoLines = 12;
constexpr uint32_t kTrackNameBytes = 36;
constexpr int kDefaultVersion2Tracks = 18;
constexpr size_t kMemoTextLimit = kSecondTextBytes - 1;

const char kVersion2Id[] = "RCM-PC98V2.0(C)COME ON MUSIC";
const char kVersion3Id[] = "COME ON MUSIC RECOMPOSER RCP3.0";

// Where one header generation keeps its fields (offsets from the file start,
// track fields from the track start).
struct RecomposerLayout {
    int version;
    uint32_t memoOffset;
    uint32_t memoLineBytes;
    uint32_t firstTrack;
    uint32_t trackSizeBytes;  // 2 or 4, little-endian
    uint32_t channelOffset;
    uint32_t modeOffset;
    uint32_t nameOffset;
};

const RecomposerLayout kVersion2 = {2, 96, 28, 1414, 2, 4, 7, 8};
const RecomposerLayout kVersion3 = {3, 160, 30, 3224, 4, 6, 9, 10};

uint32_t ReadLe(const uint8_t* bytes, uint32_t n) {
    uint32_t value = 0;
    for (uint32_t i = n; i > 0; --i) {
        value = value << 8 | bytes[i - 1];
    }
    return value;
}

uint32_t ReadLe16(ByteWindow& window, uint64_t pos) {
    return uint32_t(window.ByteAt(pos)) | uint32_t(window.ByteAt(pos + 1)) << 8;
}

const RecomposerLayout* DetectVersion(ByteWindow& window) {
    uint32_t got = 0;
    const uint8_t* id = window.Fetch(0, sizeof(kVersion3Id) - 1, &got);
    if (got >= sizeof(kVersion2Id) - 1 && std::memcmp(id, kVersion2Id, sizeof(kVersion2Id) - 1) == 0) {
        return &kVersion2;
    }
    if (got == sizeof(kVersion3Id) - 1 && std::memcmp(id, kVersion3Id, got) == 0) {
        return &kVersion3;
    }
    return nullptr;
}

// Appends the memo lines to text, each ended by CR LF (version 2 lines start
// with a space). A double-byte character cut by the end of a line moves whole
// to the next one; in version 2 a full-width space cut that way becomes a
// plain space.
void ReadMemo(ByteWindow& window, const RecomposerLayout& layout, char* text) {
    const uint32_t memoBytes = layout.memoLineBytes * kMemoLines;
    uint8_t memo[30 * kMemoLines];
    std::memset(memo, ' ', sizeof(memo));
    window.CopyOut(layout.memoOffset, memoBytes, memo);
    size_t used = 0;
    auto put = [&](uint8_t c) {
        if (used < kMemoTextLimit) {
            text[used++] = char(c);
        }
    };
    uint32_t pos = 0;
    bool spaceFromSplit = false;
    for (int line = 0; line < kMemoLines; ++line) {
        const uint32_t lineEnd = layout.memoLineBytes * uint32_t(line + 1);
        if (layout.version == 2) {
            put(' ');
        }
        if (spaceFromSplit) {
            put(' ');
            ++pos;
            spaceFromSplit = false;
        }
        while (pos < lineEnd) {
            if (!IsLeadByte(memo[pos])) {
                put(memo[pos++]);
            } else if (pos + 1 < lineEnd) {
                put(memo[pos]);
                put(memo[pos + 1]);
                pos += 2;
            } else {
                // The lead byte is read again as the first byte of the next line.
                const bool splitSpace =
                    layout.version == 2 && memo[pos] == 0x81 && pos + 1 < memoBytes && memo[pos + 1] == 0x40;
                if (splitSpace) {
                    ++pos;
                    spaceFromSplit = true;
                }
                break;
            }
        }
        put('\r');
        put('\n');
    }
    text[used] = '\0';
}

void ReadTracks(ByteWindow& window, const RecomposerLayout& layout, SongInfo* info) {
    info->shownTracks = std::min(info->trackCount, int32_t(kMaxShownTracks));
    uint64_t pos = layout.firstTrack;
    for (int i = 0; i < info->shownTracks; ++i) {
        // A track header the file does not hold shows as a track without channel.
        uint32_t got = 0;
        const uint8_t* header = window.Fetch(pos, layout.nameOffset, &got);
        const bool complete = got == layout.nameOffset;
        const uint8_t channel = complete ? header[layout.channelOffset] : 0xFF;
        if (complete && header[layout.modeOffset] == 0 && channel != 0xFF) {
            info->ports[i] = channel >> 4;
            info->channels[i] = channel & 0x0F;
        }
        const uint32_t size = complete ? ReadLe(header, layout.trackSizeBytes) : 0;
        char name[kTrackNameBytes + 1];
        TrimTitle(window.CopyOut(pos + layout.nameOffset, kTrackNameBytes, name), name);
        info->trackNames.Add({name});
        pos += size;
    }
}

void ReadHeaderDetails(ByteWindow& window, const RecomposerLayout& layout, SongInfo* info) {
    info->format = layout.version;
    if (layout.version == 2) {
        info->timeBase = window.ByteAt(448) | window.ByteAt(487) << 8;
        info->tempo = window.ByteAt(449);
        info->beatsPerBar = window.ByteAt(450);
        info->beatUnit = window.ByteAt(451);
        info->key = window.ByteAt(452);
        info->trackCount = window.ByteAt(486);
        if (info->trackCount == 0) {
            info->trackCount = kDefaultVersion2Tracks;
        }
    } else {
        info->trackCount = int32_t(ReadLe16(window, 520));
        info->timeBase = int32_t(ReadLe16(window, 522));
        info->tempo = int32_t(ReadLe16(window, 524));
        info->beatsPerBar = window.ByteAt(526);
        info->beatUnit = window.ByteAt(527);
        info->key = window.ByteAt(528);
    }
}

}  // namespace

int32_t ReadRecomposerFile(SongFile& file, SongInfo* info, char* title) {
    ByteWindow window(file, kHeadBytes);
    const RecomposerLayout* layout = DetectVersion(window);
    if (layout == nullptr) {
        return kReadUnsupported;
    }
    const int32_t titleCount = int32_t(window.CopyOut(kTitleOffset, kTitleBytes, title));
    if (info != nullptr) {
        info->Reset();
        ReadHeaderDetails(window, *layout, info);
        ReadMemo(window, *layout, info->secondText);
        ReadTracks(window, *layout, info);
    }
    return titleCount;
}
