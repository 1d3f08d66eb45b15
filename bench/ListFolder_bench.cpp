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

#include "catalogue/CliCommands.h"
#include "catalogue/TitleCache.h"
#include "core/MusicObject.h"

namespace {

constexpr int kSongsPerKind = 10000;
constexpr int kCacheEntries = 100000;
constexpr size_t kFloorReadBytes = 4096;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::string BigEndian32(uint32_t v) {
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

// A format-0 MIDI file with a track name and one note.
std::string MidiSong(int n) {
    const std::string title = "Benchmark Song " + std::to_string(n);
    std::string track = std::string("\x00\xFF\x03", 3) + char(title.size()) + title;
    track += std::string("\x00\x90\x3C\x40\x60\x80\x3C\x00\x00\xFF\x2F\x00", 12);
    return std::string("MThd\0\0\0\6\0\0\0\1\0\x60", 14) + "MTrk" + BigEndian32(uint32_t(track.size())) + track;
}

std::string Id3Frame(const char* id, const std::string& text) {
    return std::string(id) + BigEndian32(uint32_t(text.size() + 1)) + std::string(2, '\0') + '\0' + text;
}

// An ID3v2.3 tag with title and artist before a few silent MPEG frames.
std::string Mp3Song(int n) {
    const std::string frames =
        Id3Frame("TIT2", "Benchmark Track " + std::to_string(n)) + Id3Frame("TPE1", "Bench Artist");
    const uint32_t size = uint32_t(frames.size());
    std::string tag = "ID3\x03";
    tag += '\0';
    tag += '\0';
    tag += char((size >> 21) & 0x7F);
    tag += char((size >> 14) & 0x7F);
    tag += char((size >> 7) & 0x7F);
    tag += char(size & 0x7F);
    std::string frame("\xFF\xFB\x90\x00", 4);
    frame.resize(417, '\0');
    return tag + frames + frame + frame + frame;
}

// Opens, reads 4 KiB of and closes every file: what any lister pays.
double IoFloor(const std::vector<std::string>& paths) {
    std::vector<char> buffer(kFloorReadBytes);
    const Clock::time_point start = Clock::now();
    size_t total = 0;
    for (const std::string& path : paths) {
        if (FILE* f = std::fopen(path.c_str(), "rb")) {
            total += std::fread(buffer.data(), 1, buffer.size(), f);
            std::fclose(f);
        }
    }
    const double ms = MillisecondsSince(start);
    if (total == 0) {
        std::fprintf(stderr, "the I/O floor read nothing\n");
    }
    return ms;
}

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
    std::vector<std::string> paths;
    for (int i = 0; i < kSongsPerKind; i++) {
        const std::string midi = folder + "song" + std::to_string(i) + ".mid";
        const std::string mp3 = folder + "track" + std::to_string(i) + ".mp3";
        if (!WriteFile(midi, MidiSong(i)) || !WriteFile(mp3, Mp3Song(i))) {
            std::fprintf(stderr, "cannot write the songs in %s\n", folder.c_str());
            return;
        }
        paths.push_back(midi);
        paths.push_back(mp3);
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
    std::string read;
    if (FILE* f = std::fopen(cachePath.c_str(), "rb")) {
        std::vector<char> buffer(1 << 20);
        for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), f)) > 0;) {
            read.append(buffer.data(), n);
        }
        std::fclose(f);
    }
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

std::string MakeTempFolder(const char* name) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base ? base : "/tmp") + "/" + name + "XXXXXX";
    if (!mkdtemp(&pattern[0])) {
        return std::string();
    }
    return pattern + "/";
}

void RemoveFolder(const std::string& folder) {
    const std::string command = "rm -rf '" + folder + "'";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "could not remove %s\n", folder.c_str());
    }
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
