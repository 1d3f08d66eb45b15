// The song information text of quillory-cli: the fields of the properties
// window's pages, one "label value" line each.
#include <cstdio>
#include <memory>

#include "analysis/FileTypes.h"
#include "analysis/SongInfo.h"
#include "analysis/SongReaders.h"
#include "analysis/SoundModules.h"
#include "catalogue/ArchiveKind.h"
#include "catalogue/CliCommands.h"
#include "catalogue/FileTime.h"
#include "catalogue/RelatedFiles.h"
#include "core/FileFinder.h"
#include "core/MusicObject.h"
#include "core/Text.h"

static const char kNotFound[] = "見つかりません";

// n with its thousands separated by ','.
static std::string GroupedNumber(uint64_t n) {
    std::string digits = std::to_string(n);
    for (int i = int(digits.size()) - 3; i > 0; i -= 3) {
        digits.insert(size_t(i), ",");
    }
    return digits;
}

// "512 バイト", "1KB (1,024 バイト)", "1.5KB (1,536 バイト)", "1.25MB (...)".
static std::string SizeText(uint64_t n) {
    constexpr uint64_t kKilo = 1024;
    constexpr uint64_t kMega = 1024 * 1024;
    if (n < kKilo) {
        return GroupedNumber(n) + " バイト";
    }
    const bool mega = n >= kMega;
    const uint64_t whole = mega ? n / kMega : n / kKilo;
    const uint64_t thousandths = mega ? (n / kKilo) * 1000 / kKilo - whole * 1000 : n * 1000 / kKilo - whole * 1000;
    std::string text = std::to_string(whole);
    if (thousandths > 9) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%03u", unsigned(thousandths % 1000));
        text += '.';
        text += digits[0];
        if (digits[1] != '0') {
            text += digits[1];
        }
    }
    return text + (mega ? "MB" : "KB") + " (" + GroupedNumber(n) + " バイト)";
}

static std::string FormatText(MusicFileKind kind, int32_t format) {
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
            return std::string();
    }
}

// "A01" for port 0, channel 0; "-" without a channel or past port Z.
static std::string ChannelText(uint8_t port, uint8_t channel) {
    if (channel == 0xFF || port > 25) {
        return "-";
    }
    char text[8];
    std::snprintf(text, sizeof text, "%c%02u", 'A' + port, unsigned(channel & 0x0F) + 1);
    return text;
}

static std::string SoundModuleText(const char* path, const char* title, MusicFileKind kind) {
    if (IsAudioKind(kind)) {
        return AudioKindLabel(kind);
    }
    BagBox modules = MakeSoundModuleTable();
    BagBox detectors = MakeSoundModuleDetectorTable();
    SetDefaultSoundModules(&modules, &detectors);
    return DetectSoundModule(detectors, kDefaultSearchStrFlag, ArchiveKindOfName, path, title);
}

static void AddLine(std::string* text, const char* label, const std::string& value) {
    *text += label;
    *text += ' ';
    *text += value;
    *text += '\n';
}

// The numeric fields; audio songs have none of them.
static void AddSequenceFields(std::string* text, const SongInfo& info, bool audio) {
    auto number = [audio](int32_t value) { return audio ? std::string("-") : std::to_string(value); };
    AddLine(text, "トラック数 :", number(info.trackCount));
    AddLine(text, "タイムベース :", number(info.timeBase));
    AddLine(text, "テンポ :", number(info.tempo));
    AddLine(text, "調号 :", audio ? "-" : info.key == -1 ? kNotFound : KeyName(info.key));
    AddLine(text, "拍子 :", audio ? "-" : std::to_string(info.beatsPerBar) + "/" + std::to_string(info.beatUnit));
}

static void AddTracksAndRelated(std::string* text, const char* path, const SongInfo& info, MusicFileKind kind) {
    *text += "\nトラック\tチャンネル\tメモ\n";
    for (int32_t i = 0; i < info.shownTracks && i < kMaxShownTracks; i++) {
        const char* name = info.trackNames.Read(i, 0);
        *text += std::to_string(i + 1) + "\t" + ChannelText(info.ports[i], info.channels[i]) + "\t" +
                 (name ? name : "") + "\n";
    }
    *text += "\n関連ファイル\n";
    BagBox related = MakeRelatedSet();
    CollectRelatedSet(path, kind, &related);
    for (int32_t i = 0; i < related.Count(); i++) {
        *text += std::string(related.Read(i, 0)) + "\n";
    }
    *text += "\nコメント\n";
    *text += info.secondText;
    *text += '\n';
}

std::string SongInformationText(const char* path) {
    const MusicFileKind kind = MusicFileTypes().GetMusicFileKind(path, nullptr);
    SongInfo info;
    char title[kTitleBufferBytes];
    CopyBounded(title, path, kTitleBufferBytes - 1);
    const int32_t result = ReadSongInfo(&info, title, nullptr, kind, kNotFound, true);
    std::string text;
    AddLine(&text, "ファイル名 :", path);
    AddLine(&text, "タイトル :", title);
    if (result < 0) {
        return text;
    }
    const bool audio = IsAudioKind(kind);
    const char* creator = info.copyright[0] ? info.copyright : kind == kKindRecomposer ? "-" : kNotFound;
    AddLine(&text, audio ? "アーティスト :" : "著作権 :", creator);
    AddLine(&text, "形式 :", FormatText(kind, info.format));
    AddSequenceFields(&text, info, audio);
    AddLine(&text, "音源 :", SoundModuleText(path, title, kind));
    FindRecord record;
    const bool found = FinderOpen(&record, path, nullptr)->Found();
    AddLine(&text, "更新日時 :", found ? DateColumnText(TimeTextOfFileTime(record.lastWriteTime).c_str()) : "");
    AddLine(&text, "サイズ :", found ? SizeText(record.size) : "");
    FindRecord wrd;
    const bool hasWrd = FindRelatedFiles(path, false, {"wrd"}, nullptr, &wrd) != 0;
    AddLine(&text, "WRDファイル :", hasWrd ? "あり (" + wrd.name + ")" : "なし");
    AddTracksAndRelated(&text, path, info, kind);
    return text;
}
