// Song generators and measuring helpers shared by the benchmarks.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

constexpr size_t kFloorReadBytes = 4096;

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline bool WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// The whole file, or "" when it cannot be opened.
inline std::string ReadFile(const std::string& path) {
    std::string bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::vector<char> buffer(1 << 20);
        for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), f)) > 0;) {
            bytes.append(buffer.data(), n);
        }
        std::fclose(f);
    }
    return bytes;
}

inline std::string BigEndian32(uint32_t v) {
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

// A format-0 MIDI file with a track name and one note.
inline std::string MidiSong(int n) {
    const std::string title = "Benchmark Song " + std::to_string(n);
    std::string track = std::string("\x00\xFF\x03", 3) + char(title.size()) + title;
    track += std::string("\x00\x90\x3C\x40\x60\x80\x3C\x00\x00\xFF\x2F\x00", 12);
    return std::string("MThd\0\0\0\6\0\0\0\1\0\x60", 14) + "MTrk" + BigEndian32(uint32_t(track.size())) + track;
}

inline std::string Id3Frame(const char* id, const std::string& text) {
    return std::string(id) + BigEndian32(uint32_t(text.size() + 1)) + std::string(2, '\0') + '\0' + text;
}

// An ID3v2.3 tag with title and artist before a few silent MPEG frames.
inline std::string Mp3Song(int n) {
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
inline double IoFloor(const std::vector<std::string>& paths) {
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

#ifndef _WIN32
inline std::string MakeTempFolder(const char* name) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base ? base : "/tmp") + "/" + name + "XXXXXX";
    if (!mkdtemp(&pattern[0])) {
        return std::string();
    }
    return pattern + "/";
}

inline void RemoveFolder(const std::string& folder) {
    const std::string command = "rm -rf '" + folder + "'";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "could not remove %s\n", folder.c_str());
    }
}
#else
inline void RemoveFolder(const std::string& folder) {
    const std::string command = "cmd /c rmdir /s /q \"" + folder + "\" >nul 2>nul";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "could not remove %s\n", folder.c_str());
    }
}
#endif

// Writes n MIDI and n MP3 songs into folder; their paths, or none on failure.
inline std::vector<std::string> WriteSongs(const std::string& folder, int n) {
    std::vector<std::string> paths;
    for (int i = 0; i < n; i++) {
        const std::string midi = folder + "song" + std::to_string(i) + ".mid";
        const std::string mp3 = folder + "track" + std::to_string(i) + ".mp3";
        if (!WriteFile(midi, MidiSong(i)) || !WriteFile(mp3, Mp3Song(i))) {
            std::fprintf(stderr, "cannot write the songs in %s\n", folder.c_str());
            return {};
        }
        paths.push_back(midi);
        paths.push_back(mp3);
    }
    return paths;
}

}  // namespace bench
