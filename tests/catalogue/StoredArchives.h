// LZH and ZIP archives of stored members written byte by byte, whose header
// fields may claim what the member does not hold. The tests and the
// benchmarks write their archives with these.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "bench/BenchSongs.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/Inflate.h"
#include "catalogue/archive/LzhDecoder.h"

namespace stored {

inline void Le16(std::string* out, uint32_t v) {
    out->append({char(v & 0xFF), char((v >> 8) & 0xFF)});
}
inline void Le32(std::string* out, uint32_t v) {
    Le16(out, v & 0xFFFF);
    Le16(out, v >> 16);
}

// The header of a stored member: what it claims, not what follows it. A
// level-0 LZH header (-lh0-) or a ZIP local header (method 0), dated
// 2010-01-01 12:34:56.
inline std::string Header(int kind, const std::string& name, uint32_t size, uint32_t packedSize, uint32_t crc) {
    std::string header;
    if (kind == kArchiveLzh) {
        std::string body = "-lh0-";
        Le32(&body, packedSize);
        Le32(&body, size);
        Le16(&body, 0x645C);
        Le16(&body, 0x3C21);
        body += std::string("\x20\x00", 2) + char(name.size()) + name;
        Le16(&body, crc);
        uint8_t sum = 0;
        for (char c : body) {
            sum = uint8_t(sum + uint8_t(c));
        }
        return std::string(1, char(body.size())) + char(sum) + body;
    }
    header = "PK\x03\x04";
    Le16(&header, 10);
    Le16(&header, 0);
    Le16(&header, 0);
    Le16(&header, 0x645C);
    Le16(&header, 0x3C21);
    Le32(&header, crc);
    Le32(&header, packedSize);
    Le32(&header, size);
    Le16(&header, uint32_t(name.size()));
    Le16(&header, 0);
    return header + name;
}

// The checksum of a member's bytes as the kind's headers store it.
inline uint32_t Checksum(int kind, const std::string& data) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(data.data());
    return kind == kArchiveLzh ? LzhCrc16(bytes, data.size(), 0) : ZipCrc32(bytes, data.size());
}

// A stored member that holds what it claims.
inline std::string Member(int kind, const std::string& name, const std::string& data) {
    return Header(kind, name, uint32_t(data.size()), uint32_t(data.size()), Checksum(kind, data)) + data;
}

// What follows the last member.
inline std::string End(int kind) {
    return kind == kArchiveLzh ? std::string(1, '\0') : std::string("PK\x05\x06", 4) + std::string(18, '\0');
}

// The archive's name ending for a kind.
inline const char* Extension(int kind) {
    return kind == kArchiveLzh ? ".lzh" : ".zip";
}

// The name of song i of a generated archive: "song00042.mid".
inline std::string SongName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "song%05d.mid", i);
    return name;
}

// An archive of n stored songs: SongName(i) holds bench::MidiSong(i).
inline std::string ArchiveOfSongs(int kind, int n) {
    std::string bytes;
    for (int i = 0; i < n; i++) {
        bytes += Member(kind, SongName(i), bench::MidiSong(i));
    }
    return bytes + End(kind);
}

// An archive whose member "big.mid" claims size bytes (packedSize of them
// packed) but holds bench::MidiSong(3): "one.mid" (song 1) comes before it
// and, when followed, "two.mid" (song 2) after it.
inline std::string ArchiveWithClaim(int kind, uint32_t size, uint32_t packedSize, bool followed) {
    const std::string held = bench::MidiSong(3);
    std::string bytes = Member(kind, "one.mid", bench::MidiSong(1)) +
                        Header(kind, "big.mid", size, packedSize, Checksum(kind, held)) + held;
    if (followed) {
        bytes += Member(kind, "two.mid", bench::MidiSong(2));
    }
    return bytes + End(kind);
}

}  // namespace stored
