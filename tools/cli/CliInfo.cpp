// The song information text of quillory-cli: the fields of the properties
// window's pages, one "label value" line each.
#include <cstdio>
#include <memory>

#include "analysis/FileTypes.h"
#include "analysis/SongInfo.h"
#include "analysis/SongReaders.h"
#include "analysis/SoundModules.h"
#include "catalogue/RelatedFiles.h"
#include "catalogue/SongProperties.h"
#include "catalogue/archive/ArchiveKind.h"
#include "core/FileFinder.h"
#include "core/FileTime.h"
#include "core/MusicObject.h"
#include "core/Text.h"
#include "tools/cli/CliCommands.h"

static const char kNotFound[] = "見つかりません";

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
    std::string titleBuffer = PathBuffer(path, kTitleBufferBytes);
    const int32_t result = ReadSongInfo(&info, &titleBuffer[0], nullptr, kind, kNotFound, true);
    const char* title = titleBuffer.c_str();
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
    const bool found = FindExact(path, &record);
    AddLine(&text, "更新日時 :", found ? DateColumnText(TimeTextOfFileTime(record.lastWriteTime).c_str()) : "");
    AddLine(&text, "サイズ :", found ? SizeText(record.size) : "");
    FindRecord wrd;
    const bool hasWrd = FindRelatedFiles(path, false, {"wrd"}, nullptr, &wrd) != 0;
    AddLine(&text, "WRDファイル :", hasWrd ? "あり (" + wrd.name + ")" : "なし");
    AddTracksAndRelated(&text, path, info, kind);
    return text;
}
