// Bringing the title cache up to date with a scan, the song list's lookups,
// and the default analyzer and host.
#include <cstring>
#include <memory>

#include "analysis/FileTypes.h"
#include "analysis/SongReaders.h"
#include "catalogue/TitleCache.h"
#include "core/FileFinder.h"
#include "core/MusicObject.h"
#include "core/SongFile.h"
#include "core/Text.h"

bool SongAnalyzer::ReadTexts(const char* fullPath, int32_t fileType, std::string* title, std::string* comment) {
    std::string titleBuffer = PathBuffer(fullPath, kTitleBufferBytes);
    char commentBuffer[kCommentBufferBytes];
    const int32_t result =
        ReadSongInfo(nullptr, &titleBuffer[0], commentBuffer, fileType, kNoText, titleSearch, &lastMidiReset_);
    *title = titleBuffer.c_str();
    *comment = commentBuffer[0] ? commentBuffer : kNoText;
    // Malformed data is still an answer worth keeping; a file that could not
    // be opened is tried again next time.
    return result >= kReadUnsupported;
}

std::string SongAnalyzer::SoundModule(const char*, int32_t) {
    return std::string();
}

int32_t SongAnalyzer::RelatedFlags(const char*, int32_t) {
    return 0;
}

void TitleCacheHost::ShowStatus(const char*) {
}
void TitleCacheHost::RestoreStatus() {
}
void TitleCacheHost::OpenProgress(const char*) {
}
void TitleCacheHost::ShowProgress(const char*, int32_t, int32_t) {
}
void TitleCacheHost::CloseProgress() {
}
void TitleCacheHost::ProcessMessages(TitleCacheState&) {
}
void TitleCacheHost::Redisplay() {
}
void TitleCacheHost::ShowFileError(uint32_t, const std::string&) {
}

// List entries carry absolute paths; folder entries are relative to it.
static std::string FullPathOf(const TitleCacheState& state, const char* path) {
    return state.kind == 2 ? std::string(path) : state.location + path;
}

// Keeps the location open while the cache is refreshed, so that the folder
// or list file cannot be removed underneath.
class LocationHold {
   public:
    explicit LocationHold(const TitleCacheState& state) {
        if (state.kind == 1) {
            FindRecord record;
            finder_ = FinderOpen(&record, (state.location + "*.*").c_str(), nullptr);
        } else if (state.kind == 2) {
            std::string listPath = state.location;
            listPath.pop_back();
            SongOpenRequest request;
            request.flags = 0;
            uint32_t error = 0;
            listFile_ = OpenPlainSongFile(listPath.c_str(), request, &error);
        }
    }

   private:
    std::unique_ptr<FileFinder> finder_;
    std::unique_ptr<SongFile> listFile_;
};

static void AddScanRow(BagBox* table, const BagBox& scanList, int32_t row) {
    table->Add({scanList.Read(row, ScanListColumn::path), scanList.Read(row, ScanListColumn::timeText)},
               {scanList.iRead(row, ScanListColumn::fileType), scanList.iRead(row, ScanListColumn::fileSize)});
}

// Puts into pending the scan rows the cache lacks or holds with another
// stamp, and drops cache rows whose song is gone or changed. True when the
// cache changed.
static bool CollectPending(BagBox* cache, const BagBox& scanList, BagBox* pending) {
    bool changed = false;
    for (int32_t i = 0; i < scanList.Count(); i++) {
        // A list may name one song many times; the scan list is sorted on
        // path, so its repeats follow it, and it is read and cached once.
        const char* path = scanList.Read(i, ScanListColumn::path);
        if (i > 0 && std::strcmp(path, scanList.Read(i - 1, ScanListColumn::path)) == 0) {
            continue;
        }
        if (cache->Find(path, TitleCacheColumn::path) < 0) {
            AddScanRow(pending, scanList, i);
            changed = true;
        }
    }
    for (int32_t i = cache->Count() - 1; i >= 0; i--) {
        const int32_t row = scanList.Find(cache->Read(i, TitleCacheColumn::path), ScanListColumn::path);
        if (row >= 0) {
            if (std::strcmp(cache->Read(i, TitleCacheColumn::stamp), scanList.Read(row, ScanListColumn::timeText)) ==
                0) {
                continue;
            }
            AddScanRow(pending, scanList, row);
        }
        cache->Delete(i);
        changed = true;
    }
    return changed;
}

// Reads every pending song into the cache. False when the user cancelled.
static bool ReadPending(TitleCacheState& state,
                        const BagBox& pending,
                        TitleCacheHost& host,
                        SongAnalyzer& analyzer,
                        bool update) {
    host.OpenProgress(update ? "タイトルキャッシュを更新 - Quillory" : "タイトルキャッシュを新規作成 - Quillory");
    state.refreshRunning = true;
    host.ShowStatus("タイトルを検索中");
    const int64_t n = pending.Count();
    int32_t unreadable = 0;
    for (int32_t i = 0; i < n; i++) {
        host.ProcessMessages(state);
        if (!state.refreshRunning) {
            break;
        }
        const std::string path = pending.Read(i, ScanListColumn::path);
        const std::string timeText = pending.Read(i, ScanListColumn::timeText);
        const int32_t fileType = pending.iRead(i, ScanListColumn::fileType);
        host.ShowProgress(path.c_str(), int32_t((i + 1) * 100 / n), unreadable);
        const std::string fullPath = FullPathOf(state, path.c_str());
        int32_t flags = analyzer.RelatedFlags(fullPath.c_str(), fileType);
        if (IsAudioKind(fileType)) {
            flags &= 2;
        }
        std::string title;
        std::string comment;
        if (!analyzer.ReadTexts(fullPath.c_str(), fileType, &title, &comment)) {
            unreadable++;
            continue;
        }
        const std::string module =
            IsAudioKind(fileType) ? std::string() : analyzer.SoundModule(fullPath.c_str(), fileType);
        state.TitleCache.Add({path.c_str(), title.c_str(), timeText.c_str(), module.c_str(), comment.c_str()}, {flags});
    }
    const bool cancelled = !state.refreshRunning;
    state.refreshRunning = false;
    return !cancelled;
}

bool RefreshTitleCache(TitleCacheState& state,
                       BagBox& scanList,
                       TitleCacheHost& host,
                       SongAnalyzer& analyzer,
                       bool update,
                       bool redisplay) {
    if (TitleCacheFilePath(state.location.c_str(), state.kind).empty()) {
        return false;
    }
    if (!scanList.IsSorted() || scanList.SortColumn() != ScanListColumn::path) {
        scanList.Sort(ScanListColumn::path, false);
    }
    const LocationHold hold(state);
    if (!update) {
        state.TitleCache.Clear();
    }
    host.ShowStatus("タイトルキャッシュを調査中");
    BagBox pending = MakeScanList();
    const bool changed = CollectPending(&state.TitleCache, scanList, &pending);
    enum { kWriteNothing, kWrite, kCancelled } result = (!update || changed) ? kWrite : kWriteNothing;
    if (pending.Count() > 0) {
        if (!ReadPending(state, pending, host, analyzer, update)) {
            result = kCancelled;
        }
        // Made anew, the rows came in scan order, which is sorted on path.
        if (!update && state.TitleCache.Count() > 0) {
            state.TitleCache.MarkSorted(TitleCacheColumn::path, false);
        }
        host.CloseProgress();
    }
    if (result == kWrite) {
        if (!SaveTitleCache(state, host, update, redisplay)) {
            LoadTitleCache(state);
        }
    } else if (result == kCancelled) {
        LoadTitleCache(state);
    }
    host.RestoreStatus();
    return result == kCancelled;
}

// The cache row of a path whose stamp matches timeText (any stamp when
// timeText is null), or -1.
static int32_t FindValidEntry(const TitleCacheState& state, const char* path, const char* timeText) {
    const BagBox& cache = state.TitleCache;
    if (cache.Count() == 0) {
        return -1;
    }
    const int32_t row = cache.Find(path, TitleCacheColumn::path);
    if (row < 0 || (timeText && std::strcmp(cache.Read(row, TitleCacheColumn::stamp), timeText) != 0)) {
        return -1;
    }
    return row;
}

bool LookUpTitleAndComment(const TitleCacheState& state,
                           SongAnalyzer& analyzer,
                           const char* path,
                           const char* timeText,
                           int32_t fileType,
                           std::string* title,
                           std::string* comment) {
    const int32_t row = FindValidEntry(state, path, timeText);
    if (row >= 0) {
        *title = state.TitleCache.Read(row, TitleCacheColumn::title);
        *comment = state.TitleCache.Read(row, TitleCacheColumn::comment);
        return true;
    }
    analyzer.ReadTexts(FullPathOf(state, path).c_str(), fileType, title, comment);
    return false;
}

bool LookUpSoundModule(const TitleCacheState& state,
                       SongAnalyzer& analyzer,
                       const char* path,
                       const char* timeText,
                       int32_t fileType,
                       std::string* soundModule) {
    if (IsAudioKind(fileType)) {
        *soundModule = AudioKindLabel(fileType);
        return false;
    }
    const int32_t row = FindValidEntry(state, path, timeText);
    if (row >= 0) {
        *soundModule = state.TitleCache.Read(row, TitleCacheColumn::soundModule);
        return true;
    }
    *soundModule = analyzer.SoundModule(FullPathOf(state, path).c_str(), fileType);
    return false;
}

bool LookUpRelatedFlags(const TitleCacheState& state,
                        SongAnalyzer& analyzer,
                        const char* path,
                        int32_t fileType,
                        int32_t* relatedFlags) {
    const int32_t row = FindValidEntry(state, path, nullptr);
    if (row >= 0) {
        *relatedFlags = state.TitleCache.iRead(row, TitleCacheColumn::relatedFlags);
        return true;
    }
    *relatedFlags = analyzer.RelatedFlags(FullPathOf(state, path).c_str(), fileType);
    return false;
}
