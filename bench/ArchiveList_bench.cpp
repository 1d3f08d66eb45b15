// Listing 20,000 MIDI songs stored in one ZIP and in one LZH archive with
// quillory-cli's code, cold (no title cache: every member is read and the
// cache is written) and warm (cache present), next to the same songs as
// plain files in a folder.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchCli.h"
#include "tests/catalogue/StoredArchives.h"

namespace {

using namespace bench;

constexpr int kSongs = 20000;

using stored::SongName;

double TimeList(const std::string& folder) {
    return TimeCliList(folder, kSongs);
}

bool WriteArchive(int kind, const std::string& folder) {
    return WriteFile(folder + "songs" + stored::Extension(kind), stored::ArchiveOfSongs(kind, kSongs));
}

bool WritePlainSongs(const std::string& folder) {
    for (int i = 0; i < kSongs; i++) {
        if (!WriteFile(folder + SongName(i), MidiSong(i))) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main() {
    const std::string plain = MakeTempFolder("qbench-plain");
    const std::string zip = MakeTempFolder("qbench-zip");
    const std::string lzh = MakeTempFolder("qbench-lzh");
    if (plain.empty() || zip.empty() || lzh.empty() || !WritePlainSongs(plain) || !WriteArchive(kArchiveZip, zip) ||
        !WriteArchive(kArchiveLzh, lzh)) {
        std::fprintf(stderr, "cannot write the songs\n");
        return 1;
    }
    std::printf("list of %d stored MIDI songs, in one archive vs. as plain files in a folder\n", kSongs);
    const struct {
        const char* what;
        const std::string& folder;
    } rows[] = {{"plain files", plain}, {"one ZIP", zip}, {"one LZH", lzh}};
    double baseline[2] = {0, 0};
    for (const auto& row : rows) {
        const double cold = TimeList(row.folder);
        const double warm = TimeList(row.folder);
        if (cold < 0 || warm < 0) {
            return 1;
        }
        if (&row.folder == &plain) {
            baseline[0] = cold;
            baseline[1] = warm;
        }
        std::printf("  %-12s cold (cache written) %8.1f ms  %.2fx plain   warm %8.1f ms  %.2fx plain\n", row.what, cold,
                    cold / baseline[0], warm, warm / baseline[1]);
    }
    RemoveFolder(plain);
    RemoveFolder(zip);
    RemoveFolder(lzh);
    return 0;
}
