// The remembered member places of recently walked archives.
#include "catalogue/archive/MemberIndex.h"

#include <algorithm>
#include <mutex>

#include "core/Text.h"

// A scan lists every archive of a folder before it reads their songs, so a
// few archives' places are kept; an archive whose places were dropped is
// walked once more.
static constexpr size_t kArchivesRemembered = 4;

// FNV-1a over the name with ASCII letters folded the way CompareNoCase does.
static uint64_t NameHash(const char* name) {
    const std::string folded = UpperAscii(name);
    uint64_t hash = 14695981039346656037ULL;
    for (unsigned char c : folded) {
        hash = (hash ^ c) * 1099511628211ULL;
    }
    return hash;
}

void MemberPlaces::Add(const char* name, uint32_t headerOffset) {
    if (places_.size() < kMembersMax) {
        places_.push_back({NameHash(name), headerOffset});
    }
}

void MemberPlaces::Seal() {
    // Stable, so equal hashes keep archive order and the first member wins.
    std::stable_sort(places_.begin(), places_.end(), [](const Place& a, const Place& b) { return a.hash < b.hash; });
}

std::vector<uint32_t> MemberPlaces::Offsets(const char* name) const {
    const uint64_t hash = NameHash(name);
    auto first = std::lower_bound(places_.begin(), places_.end(), hash,
                                  [](const Place& place, uint64_t value) { return place.hash < value; });
    std::vector<uint32_t> offsets;
    for (auto it = first; it != places_.end() && it->hash == hash; ++it) {
        offsets.push_back(it->offset);
    }
    return offsets;
}

namespace {

struct RememberedArchive {
    std::string key;  // the path, case folded
    uint32_t size;
    MemberPlaces places;
};

std::mutex rememberedLock;
std::vector<RememberedArchive> remembered;  // the latest first

}  // namespace

void RememberMemberPlaces(const std::string& archivePath, uint32_t archiveSize, MemberPlaces places) {
    places.Seal();
    const std::string key = UpperAscii(archivePath.c_str());
    std::lock_guard<std::mutex> hold(rememberedLock);
    remembered.erase(std::remove_if(remembered.begin(), remembered.end(),
                                    [&key](const RememberedArchive& archive) { return archive.key == key; }),
                     remembered.end());
    remembered.insert(remembered.begin(), RememberedArchive{key, archiveSize, std::move(places)});
    if (remembered.size() > kArchivesRemembered) {
        remembered.pop_back();
    }
}

std::vector<uint32_t> RecallMemberPlaces(const std::string& archivePath, uint32_t archiveSize, const char* name) {
    const std::string key = UpperAscii(archivePath.c_str());
    std::lock_guard<std::mutex> hold(rememberedLock);
    for (const RememberedArchive& archive : remembered) {
        if (archive.key == key && archive.size == archiveSize) {
            return archive.places.Offsets(name);
        }
    }
    return {};
}
