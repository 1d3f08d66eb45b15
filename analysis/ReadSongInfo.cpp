// The one entry through which every title is read: open the song, pick the
// reader by file kind, and turn the reader's result into the title the song
// list shows.
#include <algorithm>
#include <string>

#include "analysis/FileTypes.h"
#include "analysis/SongReaders.h"
#include "core/Text.h"

namespace {

// Everything a reader may need; each row's adapter picks its part.
struct ReadCall {
    SongFile* file;
    SongInfo* info;
    char* title;
    char* comment;
    bool titleSearch;
    MidiReset* midiReset;
};

using ReaderFn = int32_t (*)(const ReadCall& call);
using AudioReaderFn = int32_t (*)(SongFile& file, SongInfo* info, char* title, char* comment);

struct ReaderRow {
    MusicFileKind kind;
    ReaderFn read;
};

}  // namespace

constexpr size_t kMaxTitleBytes = 255;

static PlatformAsfReader platformAsfReader = nullptr;

static int32_t ReadMidi(const ReadCall& call) {
    return ReadMidiFile(*call.file, call.info, call.title, call.titleSearch, call.midiReset);
}

static int32_t ReadRecomposer(const ReadCall& call) {
    return ReadRecomposerFile(*call.file, call.info, call.title);
}

template <AudioReaderFn reader>
static int32_t ReadAudio(const ReadCall& call) {
    return reader(*call.file, call.info, call.title, call.comment);
}

// The Windows Media runtime reads the file by name, so only songs that exist
// as a file can go through it; a member held in memory, or a file the runtime
// cannot open (as under Wine), goes to our own ASF parser.
static int32_t ReadWindowsMedia(const ReadCall& call) {
    const std::string path = call.file->OpenedPath();
    if (platformAsfReader && !path.empty()) {
        const int32_t result = platformAsfReader(path.c_str(), call.info, call.title, call.comment);
        if (result != kReadUnsupported) {
            return result;
        }
        call.title[0] = '\0';
        if (call.comment) {
            call.comment[0] = '\0';
        }
    }
    return ReadAsfFile(*call.file, call.info, call.title, call.comment);
}

static const ReaderRow kReaders[] = {
    {kKindMidi, ReadMidi},
    {kKindRmid, ReadMidi},
    {kKindRecomposer, ReadRecomposer},
    {kKindWave, ReadAudio<ReadWaveFile>},
    {kKindMpeg, ReadAudio<ReadMpegFile>},
    {kKindRiffMpeg, ReadAudio<ReadMpegFile>},
    {kKindWindowsMedia, ReadWindowsMedia},
    {kKindMonkey, ReadAudio<ReadApeFile>},
    {kKindOgg, ReadAudio<ReadOggFile>},
};

static ReaderFn FindReader(MusicFileKind kind) {
    for (const ReaderRow& row : kReaders) {
        if (row.kind == kind) {
            return row.read;
        }
    }
    return nullptr;
}

// The title shown in place of one that could not be read.
static const char* FailureTitle(int32_t result) {
    switch (result) {
        case kReadDenied:
        case kReadLocked:
            return "[アクセスが拒否されました]";
        case kReadCannotRead:
            return "[ファイルを読めません]";
        default:
            return "[対応していない形式のデータです]";
    }
}

// Opens the song and runs the reader. The path is taken from titleBuffer
// before any reader writes a title over it.
static int32_t OpenAndRead(ReaderFn read,
                           SongInfo* info,
                           char* titleBuffer,
                           char* commentBuffer,
                           bool titleSearch,
                           MidiReset* midiReset) {
    uint32_t lastError = kErrorSuccess;
    const std::unique_ptr<SongFile> file = OpenSongFile(titleBuffer, SongOpenRequest(), &lastError);
    if (!file) {
        return ReaderResultOfOpenError(lastError);
    }
    return read(ReadCall{file.get(), info, titleBuffer, commentBuffer, titleSearch, midiReset});
}

void SetPlatformAsfReader(PlatformAsfReader reader) {
    platformAsfReader = reader;
}

int32_t ReadSongInfo(SongInfo* info,
                     char* titleBuffer,
                     char* commentBuffer,
                     int kind,
                     const char* fallbackTitle,
                     bool titleSearch,
                     MidiReset* midiReset) {
    if (midiReset) {
        *midiReset = MidiReset::kNone;
    }
    if (kind == kKindNotMusic) {
        kind = MusicFileTypes().GetMusicFileKind(titleBuffer, nullptr);
    }
    if (commentBuffer) {
        commentBuffer[0] = '\0';
    }
    const ReaderFn read = FindReader(kind);
    const int32_t result =
        read ? OpenAndRead(read, info, titleBuffer, commentBuffer, titleSearch, midiReset) : kReadUnsupported;
    if (result < 0) {
        CopyBounded(titleBuffer, FailureTitle(result), kMaxTitleBytes);
        if (commentBuffer) {
            commentBuffer[0] = '\0';
        }
        return result;
    }
    bool useFallback = false;
    if (IsAudioKind(kind)) {
        useFallback = result == 0;
    } else {
        // Sequence readers store raw bytes; a misbehaving count is clamped
        // to the title's room.
        const size_t stored = std::min(static_cast<size_t>(result), kMaxTitleBytes);
        useFallback = TrimTitle(stored, titleBuffer);
    }
    if (useFallback) {
        CopyBounded(titleBuffer, fallbackTitle, kMaxTitleBytes);
    }
    return result;
}
