// Titles of 10,000 MP3 songs with ID3v2.3 tags (title and artist): our
// reader (ReadSongInfo in list mode, which gives "title / artist") next to
// TagLib reading the same tags (FileRef without audio properties, title and
// artist), in the same run, best of three rounds each.
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <algorithm>
#include <cstring>

#include "analysis/SongReaders.h"
#include "bench/BenchSongs.h"

namespace {

using namespace bench;

constexpr int kSongs = 10000;
constexpr int kRounds = 3;

double OurTitles(const std::vector<std::string>& paths, size_t* titled) {
    const Clock::time_point start = Clock::now();
    *titled = 0;
    char title[kTitleBufferBytes];
    for (const std::string& path : paths) {
        std::strncpy(title, path.c_str(), sizeof title - 1);
        title[sizeof title - 1] = '\0';
        if (ReadSongInfo(nullptr, title, nullptr, -1, "[なし]", true) > 0 && std::strstr(title, "Bench Artist")) {
            ++*titled;
        }
    }
    return MillisecondsSince(start);
}

double TagLibTitles(const std::vector<std::string>& paths, size_t* titled) {
    const Clock::time_point start = Clock::now();
    *titled = 0;
    for (const std::string& path : paths) {
        TagLib::FileRef file(path.c_str(), false);
        if (!file.isNull() && file.tag() && !file.tag()->title().isEmpty() && !file.tag()->artist().isEmpty()) {
            ++*titled;
        }
    }
    return MillisecondsSince(start);
}

}  // namespace

int main() {
    const std::string folder = MakeTempFolder("qbench-mp3");
    if (folder.empty()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    std::vector<std::string> paths;
    for (int i = 0; i < kSongs; i++) {
        const std::string path = folder + "track" + std::to_string(i) + ".mp3";
        if (!WriteFile(path, Mp3Song(i))) {
            std::fprintf(stderr, "cannot write the songs\n");
            RemoveFolder(folder);
            return 1;
        }
        paths.push_back(path);
    }
    double ours = 1e300;
    double taglib = 1e300;
    size_t oursTitled = 0;
    size_t taglibTitled = 0;
    for (int round = 0; round < kRounds; round++) {
        taglib = std::min(taglib, TagLibTitles(paths, &taglibTitled));
        ours = std::min(ours, OurTitles(paths, &oursTitled));
    }
    std::printf("titles and artists of %d MP3 songs, best of %d rounds\n", kSongs, kRounds);
    std::printf("  TagLib FileRef (no audio properties): %8.1f ms  %zu titled\n", taglib, taglibTitled);
    std::printf("  ReadSongInfo, list mode:              %8.1f ms  %zu titled  %.2fx TagLib's speed  (goal >= 2x)\n",
                ours, oursTitled, taglib / ours);
    RemoveFolder(folder);
    return oursTitled == paths.size() && taglibTitled == paths.size() ? 0 : 1;
}
