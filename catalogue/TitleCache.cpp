// The title cache file: its format, loading and saving, the refresh that
// compares it with a scan, and the song list's lookups.
#include "catalogue/TitleCache.h"

#include <cstring>
#include <vector>

#include "core/AtomicFile.h"
#include "core/FileSystem.h"
#include "core/Location.h"
#include "core/MusicObject.h"
#include "core/SongFile.h"
#include "core/Text.h"

const char kNoText[] = "[なし]";

constexpr size_t kHeaderBytes = sizeof kTitleCacheHeader;        // 24
constexpr size_t kOldHeaderBytes = sizeof kOldTitleCacheHeader;  // 29
constexpr size_t kCountFieldsBytes = 8;                          // record count and a reserved word
constexpr int kStringsPerRecord = 6;
// A cache of 100,000 songs is a few megabytes; anything past this is not a
// cache we wrote and is left alone rather than read into memory.
constexpr uint64_t kMaxCacheFileBytes = 256u * 1024 * 1024;

BagBox MakeTitleCache() {
    return BagBox(nullptr, false, false, TitleCacheColumn::kStrings, TitleCacheColumn::kIntegers, kListInitialRows,
                  kListRowStep, kListInitialTextBytes, kListTextStep);
}

std::string TitleCacheFilePath(const char* location, int32_t kind) {
    if (kind == 1) {
        // A folder inside an archive has no cache: it cannot be written there.
        if (Location(location).HasMark()) {
            return std::string();
        }
        return std::string(location) + "_Kadrel.cac";
    }
    if (kind != 2) {
        return std::string();
    }
    std::string folder;
    std::string name;
    SplitPath(Location(location).WithoutMark().c_str(), &folder, &name, false);
    std::string base;
    SplitExtension(name.c_str(), &base, nullptr);
    return folder + "_" + base + ".cac";
}

static uint32_t ReadLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The flags column is stored as decimal text; out-of-range values saturate.
static int32_t ParseDecimal(const char* s) {
    const bool negative = *s == '-';
    if (*s == '-' || *s == '+') {
        s++;
    }
    int64_t value = 0;
    for (; *s >= '0' && *s <= '9'; s++) {
        value = value * 10 + (*s - '0');
        if (value > INT32_MAX) {
            return negative ? INT32_MIN : INT32_MAX;
        }
    }
    return int32_t(negative ? -value : value);
}

static size_t HeaderLength(const uint8_t* bytes, size_t size) {
    if (size >= kHeaderBytes && std::memcmp(bytes, kTitleCacheHeader, kHeaderBytes) == 0) {
        return kHeaderBytes;
    }
    if (size >= kOldHeaderBytes && std::memcmp(bytes, kOldTitleCacheHeader, kOldHeaderBytes) == 0) {
        return kOldHeaderBytes;
    }
    return 0;
}

bool ParseTitleCache(const uint8_t* bytes, size_t size, BagBox* table) {
    table->Clear();
    const size_t headerLength = HeaderLength(bytes, size);
    if (headerLength == 0 || kCountFieldsBytes > size - headerLength) {
        return false;
    }
    const int32_t declared = int32_t(ReadLe32(bytes + headerLength));
    const char* data = reinterpret_cast<const char*>(bytes) + headerLength + kCountFieldsBytes;
    const size_t dataLength = size - headerLength - kCountFieldsBytes;
    // The declared count only sizes the table; each record needs at least six
    // bytes, so a hostile count cannot make it reserve more than that.
    const size_t possible = dataLength / kStringsPerRecord;
    if (declared > 0) {
        table->Reserve(int32_t(std::min<size_t>(size_t(declared), possible)));
    }
    table->ReserveText(uint32_t(dataLength));
    // Records run to the end of the file whatever the count says; one cut
    // short by the end is dropped.
    size_t pos = 0;
    while (pos < dataLength) {
        const char* s[kStringsPerRecord];
        for (int k = 0; k < kStringsPerRecord; k++) {
            const void* nul = pos < dataLength ? std::memchr(data + pos, 0, dataLength - pos) : nullptr;
            if (!nul) {
                table->MarkSorted(TitleCacheColumn::path, false);
                return true;
            }
            s[k] = data + pos;
            pos = size_t(static_cast<const char*>(nul) - data) + 1;
        }
        table->Add({s[0], s[1], s[3], s[4], s[5]}, {ParseDecimal(s[2])});
    }
    table->MarkSorted(TitleCacheColumn::path, false);
    return true;
}

static void AppendLe32(std::string* out, uint32_t v) {
    for (int i = 0; i < 4; i++) {
        out->push_back(char(v >> (8 * i)));
    }
}

static void AppendCell(std::string* out, const char* text) {
    out->append(text, std::strlen(text) + 1);
}

std::string TitleCacheBytes(const BagBox& table) {
    std::string out(kTitleCacheHeader, kHeaderBytes);
    AppendLe32(&out, uint32_t(table.Count()));
    AppendLe32(&out, 0);
    for (int32_t i = 0; i < table.Count(); i++) {
        AppendCell(&out, table.Read(i, TitleCacheColumn::path));
        AppendCell(&out, table.Read(i, TitleCacheColumn::title));
        AppendCell(&out, std::to_string(table.iRead(i, TitleCacheColumn::relatedFlags)).c_str());
        AppendCell(&out, table.Read(i, TitleCacheColumn::stamp));
        AppendCell(&out, table.Read(i, TitleCacheColumn::soundModule));
        AppendCell(&out, table.Read(i, TitleCacheColumn::comment));
    }
    return out;
}

bool LoadTitleCache(TitleCacheState& state) {
    state.TitleCache.Clear();
    state.cacheLoaded = false;
    const std::string path = TitleCacheFilePath(state.location.c_str(), state.kind);
    if (path.empty()) {
        return false;
    }
    SongOpenRequest request;
    request.flags = 0;
    uint32_t error = 0;
    std::unique_ptr<SongFile> file = OpenPlainSongFile(path.c_str(), request, &error);
    if (!file) {
        return false;
    }
    uint32_t high = 0;
    const uint64_t size = uint64_t(file->Size(&high)) | uint64_t(high) << 32;
    if (size > kMaxCacheFileBytes) {
        return true;
    }
    std::vector<uint8_t> bytes(size_t(size) + 1);
    uint32_t got = 0;
    if (!file->Read(bytes.data(), uint32_t(size), &got)) {
        return true;
    }
    file.reset();
    state.cacheLoaded = ParseTitleCache(bytes.data(), got, &state.TitleCache);
    return true;
}

bool SaveTitleCache(TitleCacheState& state, TitleCacheHost& host, bool sortFirst, bool redisplay) {
    host.ShowStatus("タイトルキャッシュを書き込み中");
    if (sortFirst) {
        state.TitleCache.Sort(TitleCacheColumn::path, false);
    }
    const std::string path = TitleCacheFilePath(state.location.c_str(), state.kind);
    const std::string bytes = TitleCacheBytes(state.TitleCache);
    const uint32_t error =
        path.empty() ? kErrorPathNotFound : WriteFileAtomically(path.c_str(), bytes.data(), bytes.size());
    if (redisplay) {
        host.Redisplay();
    }
    if (error == 0) {
        state.cacheLoaded = true;
        return false;
    }
    host.ShowFileError(error, path + "\n\nタイトルキャッシュを書き込めません。");
    return true;
}

bool DeleteTitleCache(TitleCacheState& state, TitleCacheHost& host, const char* cachePath) {
    const uint32_t error = RemoveFile(cachePath);
    if (error != 0) {
        host.ShowFileError(error, std::string(cachePath) + "\n\nタイトルキャッシュを削除できません。");
        return false;
    }
    state.TitleCache.Clear();
    state.cacheLoaded = false;
    return true;
}
