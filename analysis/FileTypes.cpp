// The music file type table: an open hash of 192 single-entry buckets. The
// built-in extensions land in distinct buckets; the collision report guards
// any change to the list.
#include "analysis/FileTypes.h"

#include <cstring>
#include <new>

#include "core/InternalError.h"
#include "core/Text.h"

static const char kTableCaption[] = "Search_MUSIC_File_Type class (内部エラー)";

static const FileTypeEntry kBuiltInTypes[] = {
    {".mid", kKindMidi, 0x1},
    {".std", kKindMidi, 0x2},
    {".mff", kKindMidi, 0x4},
    {".rmi", kKindRmid, 0x8},
    {".rcp", kKindRecomposer, 0x10},
    {".r36", kKindRecomposer, 0x20},
    {".g18", kKindRecomposer, 0x40},
    {".g36", kKindRecomposer, 0x80},
    // 0x100..0x800 stay free between the sequence and the audio formats.
    {".wav", kKindWave, 0x1000},
    {".mp1", kKindMpeg, 0x2000},
    {".mp2", kKindMpeg, 0x4000},
    {".mp3", kKindMpeg, 0x8000},
    {".rmp", kKindRiffMpeg, 0x10000},
    {".asf", kKindWindowsMedia, 0x20000},
    {".wma", kKindWindowsMedia, 0x40000},
    {".ape", kKindMonkey, 0x80000},
    {".ogg", kKindOgg, 0x100000},
};

static bool windowsMediaAvailable = false;

Search_MUSIC_File_Type::Search_MUSIC_File_Type()
    : buckets(new (std::nothrow) std::unique_ptr<FileTypeEntry>[bucketCount]) {
    if (!buckets) {
        ReportInternalError(kTableCaption, "メモリのAllocに失敗しました。");
        return;
    }
    for (const FileTypeEntry& type : kBuiltInTypes) {
        Add(type.extension, type.kind, type.typeBit);
    }
}

uint32_t Search_MUSIC_File_Type::BucketOf(const char* extension) {
    uint32_t h = 0;
    for (const char* p = extension; *p != '\0'; ++p) {
        // Bytes from 0x80 enter as negative numbers (signed char arithmetic)
        // and are never case-folded.
        int32_t c = static_cast<int8_t>(*p);
        if (c >= 'A' && c <= 'Z') {
            c += 0x20;
        }
        h = h * 37 + static_cast<uint32_t>(c);
    }
    return h % bucketCount;
}

bool Search_MUSIC_File_Type::Add(const char* extension, MusicFileKind kind, uint32_t typeBit) {
    if (!buckets) {
        return false;
    }
    std::unique_ptr<FileTypeEntry>& bucket = buckets[BucketOf(extension)];
    if (bucket) {
        ReportInternalError(kTableCaption, "ハッシュ値が重なりました。");
        return false;
    }
    bucket.reset(new (std::nothrow) FileTypeEntry{extension, kind, typeBit});
    return bucket != nullptr;
}

MusicFileKind Search_MUSIC_File_Type::Find(const char* extension, FileTypeEntry* entry) const {
    if (!buckets) {
        return kKindNotMusic;
    }
    const FileTypeEntry* found = buckets[BucketOf(extension)].get();
    // Another extension may share the bucket: only the stored one matches.
    if (!found || CompareNoCase(found->extension, extension) != 0) {
        return kKindNotMusic;
    }
    if (entry) {
        *entry = *found;
    }
    return found->kind;
}

MusicFileKind Search_MUSIC_File_Type::GetMusicFileKind(const char* path, FileTypeEntry* entry) const {
    // A bare ".mid" is not a song; "a.mid" is. Only the last four bytes
    // count, so archive member paths classify like plain ones.
    const size_t length = std::strlen(path);
    if (length < 5) {
        return kKindNotMusic;
    }
    const MusicFileKind kind = Find(path + length - 4, entry);
    if (kind == kKindWindowsMedia && !windowsMediaAvailable) {
        return kKindNotMusic;
    }
    return kind;
}

const Search_MUSIC_File_Type& MusicFileTypes() {
    static const Search_MUSIC_File_Type table;
    return table;
}

void SetWindowsMediaAvailable(bool available) {
    windowsMediaAvailable = available;
}

bool WindowsMediaAvailable() {
    return windowsMediaAvailable;
}

bool IsAudioKind(MusicFileKind kind) {
    return kind > kKindRecomposer;
}

const char* AudioKindLabel(MusicFileKind kind) {
    switch (kind) {
        case kKindWave:
            return "WAVE";
        case kKindMpeg:
        case kKindRiffMpeg:
            return "MPEG";
        case kKindWindowsMedia:
            return "ASF";
        case kKindMonkey:
            return "Monkey";
        case kKindOgg:
            return "Ogg Vorbis";
        default:
            return "";
    }
}
