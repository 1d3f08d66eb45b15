// Changing the comment of 5,000 songs in a 20,000-song title cache: one
// batch, which writes the cache file once, next to the same change made song
// by song, which writes the whole file once per song. Both start from the
// same file in folders of their own and must end with the same bytes.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchSongs.h"
#include "catalogue/TitleCache.h"
#include "catalogue/TitleCacheEdit.h"

namespace {

using namespace bench;

constexpr int kCacheEntries = 20000;
constexpr int kChangedSongs = 5000;

std::string CacheBytes() {
    BagBox table = MakeTitleCache();
    for (int i = 0; i < kCacheEntries; i++) {
        char path[40];
        std::snprintf(path, sizeof path, "album%03d\\song%05d.mid", i / 100, i);
        const std::string title = "Benchmark Song " + std::to_string(i);
        table.Add({path, title.c_str(), "2024/05/06 07:08:09", "SC-55", kNoText}, {1});
    }
    table.Sort(TitleCacheColumn::path, false);
    return TitleCacheBytes(table);
}

bool Open(const std::string& folder, const std::string& bytes, TitleCacheState* state) {
    if (!WriteFile(folder + "_Kadrel.cac", bytes)) {
        return false;
    }
    state->location = folder;
    state->kind = 1;
    return LoadTitleCache(*state) && state->TitleCache.Count() == kCacheEntries;
}

// Counts the reported write failures.
class Host : public TitleCacheHost {
   public:
    void ShowFileError(uint32_t, const std::string&) override {
        errors++;
    }
    int errors = 0;
};

}  // namespace

int main() {
    const std::string batchFolder = MakeTempFolder("qbench-batch");
    const std::string singleFolder = MakeTempFolder("qbench-single");
    if (batchFolder.empty() || singleFolder.empty()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const std::string bytes = CacheBytes();
    TitleCacheState batch;
    TitleCacheState single;
    int code = 1;
    if (Open(batchFolder, bytes, &batch) && Open(singleFolder, bytes, &single)) {
        // Every fourth song, the way a selection in the list runs.
        std::vector<std::string> paths;
        for (int i = 0; i < kChangedSongs; i++) {
            paths.push_back(batch.TitleCache.Read(i * (kCacheEntries / kChangedSongs), TitleCacheColumn::path));
        }
        const char* comment = "まとめて付けたコメント";
        Host host;

        Clock::time_point start = Clock::now();
        const int32_t changed = ChangeTitleCacheTexts(batch, host, paths, TitleCacheColumn::comment, comment);
        const double batchMs = MillisecondsSince(start);

        start = Clock::now();
        int32_t stored = 0;
        for (const std::string& path : paths) {
            stored += ChangeTitleCacheText(single, host, path.c_str(), TitleCacheColumn::comment, comment) ? 1 : 0;
        }
        const double singleMs = MillisecondsSince(start);

        const bool same = ReadFile(batchFolder + "_Kadrel.cac") == ReadFile(singleFolder + "_Kadrel.cac");
        std::printf("comment of %d songs changed in a %d-song title cache (%zu bytes)\n", kChangedSongs, kCacheEntries,
                    bytes.size());
        std::printf("  song by song (file written %d times): %10.1f ms\n", stored, singleMs);
        std::printf("  one batch (file written once):        %10.1f ms  %d changed\n", batchMs, changed);
        std::printf("  batch is %.1fx faster; files %s; %d write errors\n", singleMs / batchMs,
                    same ? "identical" : "DIFFER", host.errors);
        code = same && changed == kChangedSongs && stored == kChangedSongs && host.errors == 0 ? 0 : 1;
    } else {
        std::fprintf(stderr, "cannot write the cache\n");
    }
    RemoveFolder(batchFolder);
    RemoveFolder(singleFolder);
    return code;
}
