// Listing a large folder with quillory-cli's code: 10,000 MIDI songs and
// 10,000 MP3 songs with ID3 tags, listed cold without writing the cache
// (--no-cache-update), cold writing the cache, and warm (cache present), next
// to the floor any lister pays: walking the folder (readdir and a stat of
// each entry) and opening, reading the first 4 KiB and the last 128 bytes of
// and closing each song. Then 100,000 songs, each list run in a process of
// its own so its peak memory can be told, against the 20,000-song run. Then
// the load of a 100,000-entry title cache next to reading its bytes.
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchCli.h"
#include "bench/BenchSongs.h"
#include "catalogue/TitleCache.h"
#include "core/MusicObject.h"
#include "tools/cli/CliCommands.h"

namespace {

using namespace bench;

constexpr int kSongsPerKind = 10000;
constexpr int kBigSongsPerKind = 50000;
constexpr int kCacheEntries = 100000;
constexpr int kRounds = 3;

// The floor: the walk and the reads every lister of this folder pays.
double WalkFloor(const std::string& folder) {
    const Clock::time_point start = Clock::now();
    std::vector<char> buffer(kFloorReadBytes);
    size_t total = 0;
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        return -1;
    }
    while (struct dirent* entry = readdir(dir)) {
        struct stat st;
        if (entry->d_name[0] == '.' || fstatat(dirfd(dir), entry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) {
            continue;
        }
        const int fd = openat(dirfd(dir), entry->d_name, O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        const ssize_t head = pread(fd, buffer.data(), buffer.size(), 0);
        const ssize_t tail = pread(fd, buffer.data(), 128, std::max<off_t>(0, st.st_size - 128));
        total += size_t(std::max<ssize_t>(head, 0) + std::max<ssize_t>(tail, 0));
        close(fd);
    }
    closedir(dir);
    if (total == 0) {
        std::fprintf(stderr, "the floor read nothing\n");
    }
    return MillisecondsSince(start);
}

void RemoveCache(const std::string& folder) {
    std::remove((folder + "_Kadrel.cac").c_str());
}

// A title cache that knows no song yet: a list refreshes only a cache file
// that is there, so with this one it reads every song and writes them all.
bool WriteEmptyCache(const std::string& folder) {
    return WriteFile(folder + "_Kadrel.cac", TitleCacheBytes(MakeTitleCache()));
}

struct ListTimes {
    double floor = 1e300;
    double coldNoCache = 1e300;
    double cold = 1e300;
    double warm = 1e300;
};

// Best of kRounds for each kind of run of rows songs, the floor measured
// between them. A failed run counts as no time (-1) and shows as such.
ListTimes MeasureList(const std::string& folder, int rows) {
    ListTimes t;
    for (int round = 0; round < kRounds; round++) {
        t.floor = std::min(t.floor, WalkFloor(folder));
        RemoveCache(folder);
        t.coldNoCache = std::min(t.coldNoCache, TimeCliList(folder, rows, "--no-cache-update"));
        if (!WriteEmptyCache(folder)) {
            std::fprintf(stderr, "cannot write an empty cache\n");
            return t;
        }
        t.cold = std::min(t.cold, TimeCliList(folder, rows));
        t.warm = std::min(t.warm, TimeCliList(folder, rows));
    }
    return t;
}

void PrintRatio(const char* what, double ms, double floor, const char* goal) {
    std::printf("  %-38s %9.1f ms  %5.2fx floor   (goal %s)\n", what, ms, ms / floor, goal);
}

// One cold list (writing the cache) in a child process: its time in ms and
// its peak memory in KiB.
bool ListInChild(const std::string& folder, int rows, double* ms, long* peakKib) {
    if (!WriteEmptyCache(folder)) {
        return false;
    }
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        _exit(TimeCliList(folder, rows) < 0 ? 1 : 0);
    }
    int status = 0;
    struct rusage usage = {};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return false;
    }
    *ms = MillisecondsSince(start);
    *peakKib = usage.ru_maxrss;
    return true;
}

void BenchList(const std::string& folder, const std::string& bigFolder) {
    if (WriteSongs(folder, kSongsPerKind).empty()) {
        return;
    }
    const ListTimes t = MeasureList(folder, 2 * kSongsPerKind);
    std::printf("list of %d songs (%d MIDI, %d MP3), best of %d\n", 2 * kSongsPerKind, kSongsPerKind,
                kSongsPerKind, kRounds);
    std::printf("  %-38s %9.1f ms\n", "floor (walk, stat, open, 4 KiB + 128 B):", t.floor);
    PrintRatio("cold list, --no-cache-update:", t.coldNoCache, t.floor, "<= 1.5x");
    PrintRatio("cold list, cache written:", t.cold, t.floor, "<= 2x");
    PrintRatio("warm list (cache present):", t.warm, t.floor, "-");

    if (WriteSongs(bigFolder, kBigSongsPerKind).empty()) {
        return;
    }
    double smallMs = 0;
    double bigMs = 0;
    long smallKib = 0;
    long bigKib = 0;
    if (!ListInChild(folder, 2 * kSongsPerKind, &smallMs, &smallKib) ||
        !ListInChild(bigFolder, 2 * kBigSongsPerKind, &bigMs, &bigKib)) {
        std::fprintf(stderr, "a list in a child process failed\n");
        return;
    }
    const double extraSongs = 2.0 * (kBigSongsPerKind - kSongsPerKind);
    std::printf("cold list of %d songs vs %d songs, each in a process of its own\n", 2 * kBigSongsPerKind,
                2 * kSongsPerKind);
    std::printf("  time: %.1f ms vs %.1f ms  %.2fx   (goal <= 5.5x for 5x the songs)\n", bigMs, smallMs,
                bigMs / smallMs);
    std::printf("  peak memory: %.1f MB vs %.1f MB, %.2f MB per 1,000 more songs\n", bigKib / 1024.0,
                smallKib / 1024.0, (bigKib - smallKib) / 1024.0 / (extraSongs / 1000.0));
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
    const std::string bigSongs = MakeTempFolder("qbench-list-big");
    const std::string cache = MakeTempFolder("qbench-cache");
    if (songs.empty() || bigSongs.empty() || cache.empty()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    BenchList(songs, bigSongs);
    BenchCacheLoad(cache);
    RemoveFolder(songs);
    RemoveFolder(bigSongs);
    RemoveFolder(cache);
    return 0;
}
