// Listing a list file of 100,000 entries that all name one song, with
// quillory-cli's code, cold (no title cache) and warm, next to a folder scan
// of 20,000 different songs in the same run; the measure is the time per
// listed row.
#include <cstdio>
#include <string>

#include "bench/BenchCli.h"

namespace {

using namespace bench;

constexpr int kFolderSongs = 20000;
constexpr int kListEntries = 100000;

std::string SongName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "song%05d.mid", i);
    return name;
}

// The time per listed row in microseconds, or -1 when the listing failed.
double TimePerRow(const std::string& location, int rows) {
    const double ms = TimeCliList(location, rows);
    return ms < 0 ? -1 : ms * 1000 / rows;
}

}  // namespace

int main() {
    const std::string folder = MakeTempFolder("qbench-listfile");
    if (folder.empty()) {
        return 1;
    }
    for (int i = 0; i < kFolderSongs; i++) {
        if (!WriteFile(folder + SongName(i), MidiSong(i))) {
            std::fprintf(stderr, "cannot write the songs\n");
            return 1;
        }
    }
    // The list lies beside the songs; its entries name one of them.
    std::string list = "[Kadrel File List]\r\n";
    for (int i = 0; i < kListEntries; i++) {
        list += SongName(kFolderSongs / 2) + "\r\n";
    }
    const std::string listPath = folder + "repeated.lst";
    if (!WriteFile(listPath, list)) {
        return 1;
    }
    const double folderCold = TimePerRow(folder, kFolderSongs);
    const double folderWarm = TimePerRow(folder, kFolderSongs);
    const double listCold = TimePerRow(listPath, kListEntries);
    const double listWarm = TimePerRow(listPath, kListEntries);
    if (folderCold < 0 || folderWarm < 0 || listCold < 0 || listWarm < 0) {
        return 1;
    }
    std::printf("time per row: list file of %d entries naming one song vs. folder of %d songs\n", kListEntries,
                kFolderSongs);
    std::printf("  cold (cache written)  list %6.2f us  folder %6.2f us  %.2fx\n", listCold, folderCold,
                listCold / folderCold);
    std::printf("  warm (cache read)     list %6.2f us  folder %6.2f us  %.2fx\n", listWarm, folderWarm,
                listWarm / folderWarm);
    RemoveFolder(folder);
    return 0;
}
