// Decoding a ~50 MB LZH archive of -lh5- and -lh7- members with our decoder
// (each member checked against its CRC-16), next to Debian's lhasa testing
// the same archive ("lha t") in the same run. No LZH compressor is at hand,
// so the archive repeats the compressed members of the shared corpus.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiveSource.h"
#include "catalogue/archive/LzhDecoder.h"
#include "catalogue/archive/LzhHeader.h"
#include "core/SongFile.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kArchiveBytes = 50u << 20;
const char* const kSources[] = {"lzh/archives/lha213/lh5_long.lzh", "lzh/archives/lha_unix114i/lh7_long.lzh"};

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string CorpusFile(const char* rel) {
    const char* root = std::getenv("QUILLORY_CORPUS");
    return std::string(root ? root : "../shared/corpus") + "/" + rel;
}

std::string ReadFile(const std::string& path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            bytes.append(buffer, n);
        }
        std::fclose(file);
    }
    return bytes;
}

int64_t AsUtc(int64_t seconds) {
    return seconds;
}

// Calls member(entry, packed bytes) for each member of an archive in memory;
// returns the offset after the last member, or 0 when the walk failed.
template <typename Member>
uint32_t WalkMembers(const std::string& bytes, Member member) {
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    ArchiveSource source(&file);
    uint32_t offset = 0;
    if (!FindFirstLzhHeader(&source, &offset)) {
        return 0;
    }
    LzhEntry entry;
    uint32_t next = 0;
    int result;
    while ((result = ReadLzhHeader(&source, offset, AsUtc, &entry, &next)) == 0) {
        if (entry.packedSize > bytes.size() - entry.dataOffset ||
            !member(entry, reinterpret_cast<const uint8_t*>(bytes.data()) + entry.dataOffset)) {
            return 0;
        }
        offset = next;
    }
    return result == kArchiveNoMore ? offset : 0;
}

// The members of the corpus archives repeated to about kArchiveBytes, with
// the closing zero byte.
std::string BuildArchive() {
    std::vector<std::string> spans;
    for (const char* rel : kSources) {
        const std::string bytes = ReadFile(CorpusFile(rel));
        uint32_t first = 0;
        const uint32_t end = WalkMembers(bytes, [&first](const LzhEntry&, const uint8_t*) { return true; });
        MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
        ArchiveSource source(&file);
        if (end == 0 || !FindFirstLzhHeader(&source, &first)) {
            std::fprintf(stderr, "cannot read %s\n", rel);
            return std::string();
        }
        spans.push_back(bytes.substr(first, end - first));
    }
    std::string archive;
    while (archive.size() < kArchiveBytes) {
        for (const std::string& span : spans) {
            archive += span;
        }
    }
    return archive + '\0';
}

}  // namespace

int main() {
    const std::string archive = BuildArchive();
    if (archive.empty()) {
        return 1;
    }
    std::vector<uint8_t> out;
    size_t members = 0;
    uint64_t unpacked = 0;
    bool allGood = true;
    const Clock::time_point start = Clock::now();
    const uint32_t end = WalkMembers(archive, [&](const LzhEntry& entry, const uint8_t* packed) {
        out.resize(entry.size);
        const bool good = DecodeLzh(entry.method, packed, entry.packedSize, out.data(), out.size()) == 0 &&
                          LzhCrc16(out.data(), out.size(), 0) == entry.crc;
        allGood = allGood && good;
        members++;
        unpacked += entry.size;
        return good;
    });
    const double ours = SecondsSince(start);
    if (end == 0 || !allGood) {
        std::fprintf(stderr, "decoding failed after %zu members\n", members);
        return 1;
    }
    const double megabytes = double(archive.size()) / (1 << 20);
    std::printf("archive: %.1f MB packed, %.1f MB unpacked, %zu members (-lh5-, -lh7-)\n", megabytes,
                double(unpacked) / (1 << 20), members);
    std::printf("ours:   %7.3f s  %8.1f MB/s packed  %8.1f MB/s unpacked\n", ours, megabytes / ours,
                double(unpacked) / (1 << 20) / ours);
#if defined(__SANITIZE_ADDRESS__)
    std::printf("note: built with sanitizers; compare speeds in a build with -DQUILLORY_SANITIZE=OFF\n");
#endif
    if (std::system("command -v lha >/dev/null 2>&1") != 0) {
        std::printf("lhasa:  skipped, \"lha\" is not installed (Debian package lhasa)\n");
        return 0;
    }
    const char* tmp = std::getenv("TMPDIR");
    const std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/quillory-lzh-bench.lzh";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(archive.data(), 1, archive.size(), file) == archive.size();
    if (file) {
        std::fclose(file);
    }
    if (!written) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    const std::string command = "lha t '" + path + "' >/dev/null 2>&1";
    const Clock::time_point lhaStart = Clock::now();
    const int lhaResult = std::system(command.c_str());
    const double lhasa = SecondsSince(lhaStart);
    std::remove(path.c_str());
    std::printf("lhasa:  %7.3f s  %8.1f MB/s packed  %8.1f MB/s unpacked%s\n", lhasa, megabytes / lhasa,
                double(unpacked) / (1 << 20) / lhasa, lhaResult == 0 ? "" : "  (lha t reported errors)");
    std::printf("ours / lhasa: %.2f\n", lhasa / ours);
    return 0;
}
