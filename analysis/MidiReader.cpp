// Title and song details of Standard MIDI Files and RIFF MIDI (RMID) files.
//
// The song list asks for nothing but a title, for thousands of files at a
// time, so list mode stops at the first text event, looks at two tracks at the
// most and by default gives up on a track at its first note. The whole head of
// the file comes in with one read; the reader goes back to the file only when
// the events run on beyond it. The properties page asks for everything and
// walks up to 64 tracks.
#include <algorithm>
#include <cstring>

#include "analysis/ByteWindow.h"
#include "analysis/RiffChunks.h"
#include "analysis/SongInfo.h"
#include "analysis/SongReaders.h"
#include "core/BagBox.h"
#include "core/Text.h"

namespace {

constexpr uint32_t kListWindowBytes = 4096;   // one read covers most title events
constexpr uint32_t kFullWindowBytes = 65536;  // the properties page walks whole tracks
constexpr uint32_t kMaxTitleBytes = 255;
constexpr uint32_t kTrackNameBytes = 63;  // a 64-byte name buffer
constexpr uint32_t kCopyrightBytes = 255;
constexpr int kMaxChannelMessages = 150;  // per track, then the track is given up
constexpr int kListModeTracks = 2;
constexpr uint64_t kMacBinaryHeaderBytes = 128;  // some files carry one in front of "MThd"
constexpr uint64_t kRmidHeaderOffset = 20;       // "RIFF" size "RMID" "data" size "MThd"
constexpr uint64_t kTrackHeaderBytes = 8;
constexpr uint32_t kEventPeekBytes = 6;  // status, type and a 4-byte length
constexpr uint32_t kMicrosecondsPerMinute = 60000000;

constexpr uint8_t kMetaEvent = 0xFF;
constexpr uint8_t kSysEx = 0xF0;
constexpr uint8_t kSysExContinuation = 0xF7;
constexpr uint8_t kMetaText = 0x01;
constexpr uint8_t kMetaCopyright = 0x02;
constexpr uint8_t kMetaTrackName = 0x03;
constexpr uint8_t kMetaInstrumentName = 0x04;
constexpr uint8_t kMetaPort = 0x21;
constexpr uint8_t kMetaEndOfTrack = 0x2F;
constexpr uint8_t kMetaTempo = 0x51;
constexpr uint8_t kMetaTimeSignature = 0x58;
constexpr uint8_t kMetaKeySignature = 0x59;

// State of one walk over the tracks of a file.
struct MidiWalk {
    ByteWindow& window;
    SongInfo* info;
    char* title;
    bool titleSearch;
    int format;
    int32_t titleCount = 0;
    bool titleFound = false;
    bool copyrightFound = false;
    bool tempoFound = false;
    bool keyFound = false;
    bool timeSigFound = false;
    bool walkEnded = false;
    int trackOffset = 0;  // 1 once a format 1 conductor track has been dropped
};

struct TrackState {
    int index = 0;
    bool nameFound = false;
    bool portFound = false;
    bool channelFound = false;
    int channelMessages = 0;
    uint8_t runningStatus = 0;
};

enum class MetaOutcome { kGoOn, kEndTrack, kEndWalk };

bool HasMagicAt(ByteWindow& window, uint64_t pos, const char* magic) {
    uint32_t got = 0;
    const uint8_t* bytes = window.Fetch(pos, 4, &got);
    return got == 4 && std::memcmp(bytes, magic, 4) == 0;
}

uint32_t ReadBe(ByteWindow& window, uint64_t pos, uint32_t n) {
    uint32_t value = 0;
    for (uint32_t i = 0; i < n; ++i) {
        value = value << 8 | window.ByteAt(pos + i);
    }
    return value;
}

// Finds the "MThd" chunk: at the start, after an RMID header, or after a
// 128-byte MacBinary header. False when the file is no MIDI file.
bool FindHeader(ByteWindow& window, uint64_t* base, bool* rmid) {
    *rmid = false;
    if (HasMagicAt(window, 0, "MThd")) {
        *base = 0;
        return true;
    }
    if (HasMagicAt(window, 0, "RIFF")) {
        *base = kRmidHeaderOffset;
        *rmid = true;
        return HasMagicAt(window, kRmidHeaderOffset, "MThd");
    }
    *base = kMacBinaryHeaderBytes;
    return HasMagicAt(window, kMacBinaryHeaderBytes, "MThd");
}

void ReadTrackName(MidiWalk& walk, uint64_t data, uint32_t length) {
    char name[kTrackNameBytes + 1];
    const uint32_t count = walk.window.CopyOut(data, std::min(length, kTrackNameBytes), name);
    TrimTitle(count, name);
    walk.info->trackNames.Add({name});
}

// Key signature: sf sharps (negative: flats) and the minor flag, as a key code.
int32_t KeyCode(uint8_t sfByte, uint8_t minor) {
    const int8_t sf = int8_t(sfByte);
    const int32_t key = sf >= 0 ? sf : 136 - (sfByte & 0x7F);
    return minor != 0 ? key + 16 : key;
}

// The song details of one meta event; each is taken from its first event.
void ReadMetaDetails(MidiWalk& walk, TrackState& track, uint8_t type, uint64_t data, uint32_t length) {
    SongInfo& info = *walk.info;
    uint32_t got = 0;
    const uint8_t* bytes = walk.window.Fetch(data, 3, &got);
    const int slot = track.index - walk.trackOffset;
    if (type == kMetaCopyright && !walk.copyrightFound) {
        const uint32_t count = walk.window.CopyOut(data, std::min(length, kCopyrightBytes), info.copyright);
        TrimTitle(count, info.copyright);
        walk.copyrightFound = true;
    } else if (type == kMetaPort && walk.format == 1 && !track.portFound && got >= 1) {
        info.ports[slot] = bytes[0];
        track.portFound = true;
    } else if (type == kMetaTempo && !walk.tempoFound && got >= 3) {
        const uint32_t microseconds = uint32_t(bytes[0]) << 16 | uint32_t(bytes[1]) << 8 | bytes[2];
        // A tempo of 0 is nonsense; the default stays.
        if (microseconds != 0) {
            info.tempo = int32_t(kMicrosecondsPerMinute / microseconds);
        }
        walk.tempoFound = true;
    } else if (type == kMetaTimeSignature && !walk.timeSigFound && got >= 2) {
        info.beatsPerBar = bytes[0];
        info.beatUnit = 1 << std::min<int>(bytes[1], 30);  // the denominator is stored as a power of 2
        walk.timeSigFound = true;
    } else if (type == kMetaKeySignature && !walk.keyFound && got >= 2) {
        info.key = KeyCode(bytes[0], bytes[1]);
        walk.keyFound = true;
    }
}

MetaOutcome HandleMeta(MidiWalk& walk, TrackState& track, uint8_t type, uint64_t data, uint32_t length) {
    const bool isText = type == kMetaText || type == kMetaTrackName || type == kMetaInstrumentName;
    if (isText && !walk.titleFound && type != kMetaInstrumentName) {
        walk.titleCount = int32_t(walk.window.CopyOut(data, std::min(length, kMaxTitleBytes), walk.title));
        walk.titleFound = true;
    }
    if (walk.info == nullptr) {
        return walk.titleFound ? MetaOutcome::kEndWalk : MetaOutcome::kGoOn;
    }
    if (isText && !track.nameFound) {
        ReadTrackName(walk, data, length);
        track.nameFound = true;
    }
    ReadMetaDetails(walk, track, type, data, length);
    const bool songComplete =
        walk.titleFound && walk.copyrightFound && walk.tempoFound && walk.keyFound && walk.timeSigFound;
    const bool trackComplete = track.nameFound && track.portFound && track.channelFound;
    if (songComplete && (walk.format != 1 || trackComplete)) {
        return MetaOutcome::kEndTrack;
    }
    return MetaOutcome::kGoOn;
}

bool IsTwoByteMessage(uint8_t status) {
    return status >= 0xC0 && status <= 0xDF;
}

// Steps over one channel message (or running-status data). False when the
// track is given up: at the first note without title search, or after too many.
bool StepChannelMessage(MidiWalk& walk, TrackState& track, uint8_t status, uint64_t* q) {
    if (!walk.titleSearch || ++track.channelMessages > kMaxChannelMessages) {
        return false;
    }
    if (status < 0x80) {
        *q += IsTwoByteMessage(track.runningStatus) ? 1 : 2;
        return true;
    }
    *q += IsTwoByteMessage(status) ? 2 : 3;
    if (walk.info != nullptr && walk.format == 1 && !track.channelFound) {
        walk.info->channels[track.index - walk.trackOffset] = status & 0x0F;
        track.channelFound = true;
    }
    track.runningStatus = status;
    return true;
}

// Walks the events of the track chunk at pos; returns where the next chunk starts.
uint64_t WalkTrack(MidiWalk& walk, TrackState& track, uint64_t pos) {
    const uint64_t length = ReadBe(walk.window, pos + 4, 4);
    const uint64_t end = pos + kTrackHeaderBytes + length;
    uint64_t q = pos + kTrackHeaderBytes;
    while (q < end) {
        uint32_t got = 0;
        const uint8_t* bytes = walk.window.Fetch(q, kEventPeekBytes, &got);
        uint32_t delta = 0;
        q += ReadVarLen(bytes, got, &delta);
        bytes = walk.window.Fetch(q, kEventPeekBytes, &got);
        if (got == 0) {
            break;  // the file ends inside the track
        }
        const uint8_t status = bytes[0];
        uint32_t eventLength = 0;
        if (status == kMetaEvent) {
            if (got < 2 || bytes[1] == kMetaEndOfTrack) {
                break;
            }
            const uint64_t data = q + 2 + ReadVarLen(bytes + 2, got - 2, &eventLength);
            const MetaOutcome outcome = HandleMeta(walk, track, bytes[1], data, eventLength);
            walk.walkEnded = outcome == MetaOutcome::kEndWalk;
            if (outcome != MetaOutcome::kGoOn) {
                break;
            }
            q = data + eventLength;
        } else if (status == kSysEx || status == kSysExContinuation) {
            // System exclusive data is stepped over unread and unlimited.
            q += 1 + ReadVarLen(bytes + 1, got - 1, &eventLength);
            q += eventLength;
        } else if (!StepChannelMessage(walk, track, status, &q)) {
            break;
        }
    }
    return end;
}

// A format 1 file usually starts with a conductor track of tempo and names
// only; the properties page lists the tracks that play.
void DropConductorTrack(MidiWalk& walk) {
    walk.info->trackNames.Clear();
    walk.info->ports[0] = 0;
    walk.trackOffset = 1;
}

int WalkTracks(MidiWalk& walk, uint64_t base) {
    SongInfo* info = walk.info;
    int tracks = 1;
    if (info != nullptr) {
        info->trackCount = int32_t(ReadBe(walk.window, base + 10, 2));
        tracks = std::min<int>(info->trackCount, kMaxShownTracks);
    } else if (walk.titleSearch) {
        tracks = std::min<int>(int(ReadBe(walk.window, base + 10, 2)), kListModeTracks);
    }
    uint64_t pos = base + 14;
    int conductorMessages = 0;
    for (int i = 0; i < tracks && !walk.walkEnded; ++i) {
        if (i == 1 && info != nullptr && walk.format == 1 && conductorMessages == 0) {
            DropConductorTrack(walk);
        }
        TrackState track;
        track.index = i;
        pos = WalkTrack(walk, track, pos);
        if (i == 0) {
            conductorMessages = track.channelMessages;
        }
        if (info != nullptr && !track.nameFound) {
            info->trackNames.Add({""});
        }
    }
    return tracks;
}

// RMID keeps its title in the second "DISP" chunk (the first one is usually a
// bitmap) and its copyright in "INFO"/"ICOP". Returns the title bytes stored.
int32_t ReadRmidChunks(SongFile& file, SongInfo* info, char* title) {
    RiffWalker walker(file);
    RiffChunk form;
    if (!walker.OpenForm(MakeFourCC('R', 'M', 'I', 'D'), &form)) {
        return 0;
    }
    constexpr uint32_t kDisp = MakeFourCC('D', 'I', 'S', 'P');
    RiffChunk first, second;
    uint32_t next = form.dataOffset;
    int32_t count = 0;
    if (walker.FindChunk(form, next, kDisp, 0, &first)) {
        next = first.end;
        if (walker.FindChunk(form, next, kDisp, 0, &second)) {
            next = second.end;
            // Past the 4-byte clipboard format word.
            RiffChunk text = second;
            text.dataOffset += 4;
            text.size = second.size < 4 ? 0 : second.size - 4;
            count = int32_t(walker.ReadData(text, title, kMaxTitleBytes));
        }
    }
    RiffChunk list, icop;
    if (info != nullptr &&
        walker.FindChunk(form, next, MakeFourCC('L', 'I', 'S', 'T'), MakeFourCC('I', 'N', 'F', 'O'), &list) &&
        walker.FindChunk(list, list.dataOffset, MakeFourCC('I', 'C', 'O', 'P'), 0, &icop)) {
        TrimTitle(walker.ReadData(icop, info->copyright, kCopyrightBytes), info->copyright);
    }
    return count;
}

void FinishSongInfo(SongInfo* info, ByteWindow& window, uint64_t base, int examined, int trackOffset) {
    info->timeBase = int32_t(ReadBe(window, base + 12, 2));
    if (examined > 1) {
        info->shownTracks = examined - trackOffset;
        info->trackCount -= trackOffset;
    } else {
        info->shownTracks = examined;
    }
    info->secondText[0] = '\0';
}

}  // namespace

int32_t ReadMidiFile(SongFile& file, SongInfo* info, char* title, bool titleSearch, MidiReset* reset) {
    ByteWindow window(file, info != nullptr ? kFullWindowBytes : kListWindowBytes);
    uint64_t base = 0;
    bool rmid = false;
    if (!FindHeader(window, &base, &rmid)) {
        return kReadUnsupported;
    }
    if (reset != nullptr) {
        // The head is in the window already: looking at it costs no read.
        uint32_t got = 0;
        const uint8_t* head = window.Fetch(0, kListWindowBytes, &got);
        *reset = FindMidiReset(head, got);
    }
    uint32_t got = 0;
    const uint8_t* formatBytes = window.Fetch(base + 8, 2, &got);
    if (got < 2) {
        return kReadUnsupported;
    }
    const int format = formatBytes[0] << 8 | formatBytes[1];
    if (format > 2) {
        return kReadUnsupported;
    }
    MidiWalk walk{window, info, title, titleSearch && !rmid, format};
    // RMID titles come from the RIFF chunks, never from the events.
    walk.titleFound = rmid;
    walk.copyrightFound = rmid;
    if (info != nullptr) {
        info->Reset();
        info->format = format;
        walk.titleSearch = true;
    }
    // In list mode an RMID walk could find nothing the chunks do not give.
    if (info != nullptr || !rmid) {
        const int examined = WalkTracks(walk, base);
        if (info != nullptr) {
            FinishSongInfo(info, window, base, examined, walk.trackOffset);
        }
    }
    if (rmid) {
        const int32_t chunkTitle = ReadRmidChunks(file, info, title);
        if (chunkTitle > 0) {
            return chunkTitle;
        }
    }
    return walk.titleCount;
}
