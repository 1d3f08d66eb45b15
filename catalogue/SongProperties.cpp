// The song properties texts: one ReadSongInfo with a SongInfo record, the
// file's date and size from the finder, the module, the WRD companion, the
// related files and the documents, all turned into what the pages show.
#include "catalogue/SongProperties.h"

#include <cstdio>
#include <memory>

#include "analysis/FileTypes.h"
#include "analysis/SongInfo.h"
#include "analysis/SongReaders.h"
#include "analysis/SoundModules.h"
#include "catalogue/RelatedFiles.h"
#include "core/FileFinder.h"
#include "core/FileTime.h"
#include "core/MusicObject.h"
#include "core/SongFile.h"
#include "core/Text.h"

const char kPropertyNotFound[] = "見つかりません";

static const char* const kDocumentExtensions[kDocumentChoiceCount - 1] = {"hed", "txt", "doc", "log"};

// A locked song is read again once, after this pause.
constexpr uint32_t kLockedRetryDelay = 1000;  // milliseconds

std::string GroupThousands(uint64_t n) {
    const std::string digits = std::to_string(n);
    std::string out;
    for (size_t i = 0; i < digits.size(); i++) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += ',';
        }
        out += digits[i];
    }
    return out;
}

std::string SizeText(uint64_t n) {
    if (n < 1024) {
        return GroupThousands(n) + " バイト";
    }
    const bool kilo = n < 1048576;
    const uint64_t whole = kilo ? n / 1024 : n / 1048576;
    const uint64_t thousandths = kilo ? n * 1000 / 1024 - whole * 1000 : (n / 1024) * 1000 / 1024 - whole * 1000;
    std::string out = std::to_string(whole);
    if (thousandths > 9) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%03u", unsigned(thousandths % 1000));
        // Two digits, or one when the second is 0.
        out += '.';
        out += digits[0];
        if (digits[1] != '0') {
            out += digits[1];
        }
    }
    out += kilo ? "KB" : "MB";
    return out + " (" + GroupThousands(n) + " バイト)";
}

std::string FormatText(int32_t kind, int32_t format) {
    switch (kind) {
        case kKindMidi:
            return "標準 MIDIファイル (Format" + std::to_string(format) + ")";
        case kKindRmid:
            return "RIFF MIDIファイル (Format" + std::to_string(format) + ")";
        case kKindRecomposer:
            return "レコンポーザ MIDIファイル (Ver." + std::to_string(format) + ")";
        case kKindWave:
            return "WAVEファイル";
        case kKindMpeg:
            return "MPEG Audioファイル";
        case kKindRiffMpeg:
            return "MPEG Audioファイル (RIFF MP3)";
        case kKindWindowsMedia:
            return "Advanced Streaming Formatファイル";
        case kKindMonkey:
            return "Monkey's Audioファイル";
        case kKindOgg:
            return "Ogg Vorbisファイル";
        default:
            return "";
    }
}

std::string ChannelText(uint8_t port, uint8_t channel) {
    if (channel == 0xFF) {
        return "-";
    }
    char text[8];
    std::snprintf(text, sizeof text, "%02u", unsigned(channel) + 1);
    return (port < 26 ? std::string(1, char('A' + port)) : std::string("-")) + text;
}

std::string PropertiesCaption(const char* displayName) {
    std::string caption = displayName;
    if (!caption.empty()) {
        caption += " の";
    }
    return caption + "プロパティ - Quillory";
}

std::string UserDocumentLabel(const char* userExtension) {
    return *userExtension ? std::string(userExtension) + "(&U)" : std::string("未定義");
}

std::string DocumentExtension(int index, const char* userExtension) {
    if (index >= 0 && index < kDocumentChoiceCount - 1) {
        return kDocumentExtensions[index];
    }
    return index == kDocumentChoiceCount - 1 ? userExtension : "";
}

int FirstDocumentChoice(int32_t documentFlags) {
    for (int i = 0; i < kDocumentChoiceCount; i++) {
        if (documentFlags & (1 << i)) {
            return i;
        }
    }
    return -1;
}

// The buffer holds the whole path on entry (a longer path is never cut into
// the name of another file) and the title on return.
static int32_t ReadWithRetry(const SongPropertyRequest& request, SongInfo* info, std::string* title, MidiReset* reset) {
    int32_t result = kReadLocked;
    for (int attempt = 0; attempt < 2 && result == kReadLocked; attempt++) {
        if (attempt > 0 && request.wait) {
            request.wait(kLockedRetryDelay);
        }
        info->Reset();
        *title = PathBuffer(request.path.c_str(), kTitleBufferBytes);
        result = ReadSongInfo(info, &(*title)[0], nullptr, -1, kPropertyNotFound, request.titleSearch, reset);
    }
    return result;
}

static void FillDateAndSize(const char* path, SongPropertyTexts* texts) {
    FindRecord record;
    if (!FindExact(path, &record)) {
        return;
    }
    texts->modified = DateColumnText(TimeTextOfFileTime(record.lastWriteTime).c_str());
    texts->size = SizeText(record.size);
}

static std::string WrdFileText(const char* path) {
    FindRecord record;
    if (FindRelatedFiles(path, false, {"wrd", "sry", "nbf"}, nullptr, &record) <= 0) {
        return "なし";
    }
    return "あり (" + record.name + ")";
}

static std::vector<std::string> RelatedFileNames(const char* path, int32_t kind) {
    BagBox set = MakeRelatedSet();
    CollectRelatedSet(path, kind, &set);
    std::vector<std::string> names;
    for (int32_t row = 0; row < set.Count(); row++) {
        const char* related = set.Read(row, 0);
        if (CompareNoCase(related, path) != 0) {
            names.push_back(related);
        }
    }
    return names;
}

static void FillTracks(const SongInfo& info, SongPropertyTexts* texts) {
    const int32_t shown = info.shownTracks < kMaxShownTracks ? info.shownTracks : kMaxShownTracks;
    for (int32_t i = 0; i < shown; i++) {
        TrackRowTexts row;
        row.number = std::to_string(i + 1);
        row.channel = ChannelText(info.ports[i], info.channels[i]);
        row.memo = i < info.trackNames.Count() ? info.trackNames.Read(i, 0) : "";
        texts->tracks.push_back(row);
    }
}

int32_t FillSongProperties(const SongPropertyRequest& request, SongPropertyTexts* texts) {
    *texts = SongPropertyTexts();
    const char* path = request.path.c_str();
    const int32_t kind = MusicFileTypes().GetMusicFileKind(path, nullptr);
    const bool audio = IsAudioKind(kind);
    texts->thirdLabel = audio ? "アーティスト :" : "著作権 :";
    texts->caption = PropertiesCaption(request.displayName.c_str());
    texts->fileName = request.path;

    SongInfo info;
    std::string title;
    MidiReset reset = MidiReset::kNone;
    texts->result = ReadWithRetry(request, &info, &title, &reset);
    texts->title = title.c_str();
    if (texts->result < 0) {
        return texts->result;
    }

    texts->thirdValue = info.copyright;
    if (texts->thirdValue.empty()) {
        texts->thirdValue = kind == kKindRecomposer ? "-" : kPropertyNotFound;
    }
    texts->format = FormatText(kind, info.format);
    if (audio) {
        texts->trackCount = texts->timeBase = texts->tempo = texts->key = texts->timeSignature = "-";
        texts->module = AudioKindLabel(kind);
    } else {
        texts->trackCount = std::to_string(info.trackCount);
        texts->timeBase = std::to_string(info.timeBase);
        texts->tempo = std::to_string(info.tempo);
        texts->key = info.key == -1 ? std::string(kPropertyNotFound) : std::string(KeyName(info.key));
        texts->timeSignature = std::to_string(info.beatsPerBar) + "/" + std::to_string(info.beatUnit);
        texts->module = request.detectors ? DetectSoundModule(*request.detectors, request.searchStrFlag,
                                                              request.archiveKindOfName, path, title.c_str())
                                          : kOtherSoundModule;
        const char* resetModule = request.resetModules ? ModuleOfMidiReset(*request.resetModules, reset) : nullptr;
        if (resetModule && texts->module == kOtherSoundModule) {
            texts->module = resetModule;
        }
    }
    FillDateAndSize(path, texts);
    texts->wrdFile = WrdFileText(path);
    FillTracks(info, texts);
    texts->comment = info.secondText;
    texts->relatedFiles = RelatedFileNames(path, kind);
    texts->documentFlags = DocumentFlags(path, request.userTextExt.c_str());
    return texts->result;
}

// Edit controls break lines only at CR LF; documents come with LF alone too.
static std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            out += '\r';
        }
        out += text[i];
    }
    return out;
}

std::string ReadDocumentText(const char* songPath, int index, const char* userExtension, uint32_t maxBytes) {
    const std::string extension = DocumentExtension(index, userExtension);
    if (extension.empty()) {
        return "";
    }
    std::string base;
    SplitExtension(songPath, &base, nullptr);
    const std::string documentPath = base + "." + extension;
    uint32_t error = 0;
    std::unique_ptr<SongFile> file = OpenSongFile(documentPath.c_str(), SongOpenRequest(), &error);
    if (!file) {
        return "";
    }
    const uint32_t size = file->Size(nullptr);
    std::string bytes(size < maxBytes ? size : maxBytes, '\0');
    uint32_t count = 0;
    if (!file->Read(&bytes[0], uint32_t(bytes.size()), &count)) {
        return "";
    }
    bytes.resize(count);
    // Never end on a lone lead byte where the cut fell inside a character.
    size_t end = 0;
    while (end < bytes.size()) {
        const size_t step = IsLeadByte(uint8_t(bytes[end])) ? 2 : 1;
        if (step > bytes.size() - end) {
            break;
        }
        end += step;
    }
    bytes.resize(end);
    return WithCrLf(std::string(bytes.c_str()));
}
