// Where the members of the archives listed last begin: reading a member then
// goes straight to its header instead of walking the archive from its start
// again, so listing an archive and reading all its members costs one walk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The header offsets of one archive's members, gathered during a walk.
// Names are kept as hashes of their case-folded bytes: a reader confirms the
// name in the header it finds, so a shared hash costs only a second look.
class MemberPlaces {
   public:
    // At most this many members of one archive are remembered (16 bytes
    // each, 4 MiB in all); members past them are found by walking.
    static constexpr size_t kMembersMax = 256 * 1024;

    // Notes a member's header offset; the first member of a name wins.
    void Add(const char* name, uint32_t headerOffset);
    // Sorts what was added, for Offsets.
    void Seal();
    // The offsets of members whose names may equal name (case folded), in
    // archive order.
    std::vector<uint32_t> Offsets(const char* name) const;
    bool Empty() const {
        return places_.empty();
    }

   private:
    struct Place {
        uint64_t hash;
        uint32_t offset;
    };
    std::vector<Place> places_;
};

// Keeps the places of a walked archive (its path and size tell it apart),
// replacing what was known of it; the last few archives are kept.
void RememberMemberPlaces(const std::string& archivePath, uint32_t archiveSize, MemberPlaces places);

// The offsets where a member of that name may begin, from the last walk of
// the archive; empty when it was not walked lately or has no such member.
std::vector<uint32_t> RecallMemberPlaces(const std::string& archivePath, uint32_t archiveSize, const char* name);
