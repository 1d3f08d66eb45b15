// Reading titles in list mode: 10,000 MIDI songs and 10,000 MP3 songs with
// ID3 tags, read with ReadSongInfo, next to the I/O floor of opening,
// reading 4 KiB of and closing the same files, in the same run. Each pass
// runs three times and the best time counts, so both see a warm page cache.
#include <algorithm>
#include <cstring>

#include "analysis/SongReaders.h"
#include "bench/BenchSongs.h"

namespace {

using namespace bench;

constexpr int kSongsPerKind = 10000;
constexpr int kRounds = 3;

double ReadTitles(const std::vector<std::string>& paths, size_t* titled) {
    const Clock::time_point start = Clock::now();
    *titled = 0;
    char title[kTitleBufferBytes];
    for (const std::string& path : paths) {
        std::strncpy(title, path.c_str(), sizeof title - 1);
        title[sizeof title - 1] = '\0';
        if (ReadSongInfo(nullptr, title, nullptr, -1, "[なし]", true) > 0) {
            ++*titled;
        }
    }
    return MillisecondsSince(start);
}

}  // namespace

int main() {
    const std::string folder = MakeTempFolder("qbench-titles");
    if (folder.empty()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const std::vector<std::string> paths = WriteSongs(folder, kSongsPerKind);
    if (paths.empty()) {
        RemoveFolder(folder);
        return 1;
    }
    double floor = 1e300;
    double titles = 1e300;
    size_t titled = 0;
    for (int round = 0; round < kRounds; round++) {
        floor = std::min(floor, IoFloor(paths));
        titles = std::min(titles, ReadTitles(paths, &titled));
    }
    const double files = double(paths.size());
    std::printf("titles of %zu songs (%d MIDI, %d MP3), best of %d rounds\n", paths.size(), kSongsPerKind,
                kSongsPerKind, kRounds);
    std::printf("  I/O floor (open, read 4 KiB, close): %8.1f ms  %9.0f files/s\n", floor, files * 1000 / floor);
    std::printf("  ReadSongInfo, list mode:             %8.1f ms  %9.0f files/s  %zu titled  %.2fx floor\n", titles,
                files * 1000 / titles, titled, titles / floor);
    RemoveFolder(folder);
    return titled == paths.size() ? 0 : 1;
}
