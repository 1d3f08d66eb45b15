// Listing a large folder with quillory-cli's code: 10,000 MIDI songs and
// 10,000 MP3 songs with ID3 tags, listed cold (no title cache: every song is
// read and the cache is written) and warm (cache present), next to the I/O
// floor of opening, reading 4 KiB of and closing the same files. Then the
// load of a 100,000-entry title cache next to reading its bytes.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BenchSongs.h"
#include "catalogue/CliCommands.h"
#include "catalogue/TitleCache.h"
#include "core/MusicObject.h"

namespace {

using namespace bench;

constexpr int kSongsPerKind = 10000;
constexpr int kCacheEntries = 100000;

// Runs "quillory-cli list folder"; the time in ms, or -1 when it failed.
double TimeList(const std::string& folder, size_t* rows) {
    std::ostringstream out;
    std::ostringstream err;
    const Clock::time_point start = Clock::now();
    const int code = RunCli({"list", folder}, out, err);
    const double ms = MillisecondsSince(start);
    if (code != kCliSuccess) {
        std::fprintf(stderr, "list failed: %s\n", err.str().c_str());
        return -1;
    }
    const std::string text = out.str();
    *rows = 0;
    for (char c : text) {
        *rows += c == '\n';
    }
    return ms;
}

void BenchList(const std::string& folder) {
    const std::vector<std::string> paths = WriteSongs(folder, kSongsPerKind);
    if (paths.empty()) {
        return;
    }
    const double floor = IoFloor(paths);
    size_t coldRows = 0;
    size_t warmRows = 0;
    const double cold = TimeList(folder, &coldRows);
    const double warm = TimeList(folder, &warmRows);
    const double floorAgain = IoFloor(paths);
    const double best = floor < floorAgain ? floor : floorAgain;
    std::printf("list of %d songs (%d MIDI, %d MP3)\n", 2 * kSongsPerKind, kSongsPerKind, kSongsPerKind);
    std::printf("  I/O floor (open, read 4 KiB, close): %9.1f ms (first %.1f, again %.1f)\n", best, floor, floorAgain);
    std::printf("  cold list (no cache, cache written): %9.1f ms  %zu rows  %.2fx floor\n", cold, coldRows,
                cold / best);
    std::printf("  warm list (cache present):           %9.1f ms  %zu rows  %.2fx floor\n", warm, warmRows,
                warm / best);
}

void BenchCacheLoad(const std::string& folder) {
    BagBox table = MakeTitleCache();
    for (int i = 0; i < kCacheEntries; i++) {
        char path[32];
        std::snprintf(path, sizeof path, "song%06d.mid", i);
        const std::string title = "Benchmark Song " + std::to_string(i);
        table.Add({path, title.c_str(), "2024/05/06 07:08:09", "SC-55", "[なし]"}, {1});
    }
    const std::string bytes = TitleCacheBytes(table);
    if (!WriteFile(folder + "_Kadrel.cac", bytes)) {
        std::fprintf(stderr, "cannot write the cache\n");
        return;
    }
    const std::string cachePath = folder + "_Kadrel.cac";
    Clock::time_point start = Clock::now();
    const std::string read = ReadFile(cachePath);
    const double readMs = MillisecondsSince(start);
    TitleCacheState state;
    state.location = folder;
    state.kind = 1;
    start = Clock::now();
    const bool loaded = LoadTitleCache(state);
    const double loadMs = MillisecondsSince(start);
    std::printf("title cache of %d entries (%zu bytes)\n", kCacheEntries, bytes.size());
    std::printf("  reading its bytes:                   %9.1f ms\n", readMs);
    std::printf("  LoadTitleCache:                      %9.1f ms  %d rows%s  %.2fx reading\n", loadMs,
                state.TitleCache.Count(), loaded ? "" : " (failed)", loadMs / readMs);
}

}  // namespace

int main() {
    const std::string songs = MakeTempFolder("qbench-list");
    const std::string cache = MakeTempFolder("qbench-cache");
    if (songs.empty() || cache.empty()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    BenchList(songs);
    BenchCacheLoad(cache);
    RemoveFolder(songs);
    RemoveFolder(cache);
    return 0;
}
