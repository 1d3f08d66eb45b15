// The test container that the UnGCA32.dll stand-in (tools/ungca32) serves
// through the GCA library's entry points: the magic "QLGCATST", then per
// member its name length, name, size, MS-DOS time, date and attributes
// (little-endian) and its bytes stored as they are; a zero name length ends it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/catalogue/StoredArchives.h"

struct GcaTestMember {
    std::string name;  // CP932, '/' between folders
    std::string bytes;
    uint16_t attributes = 0;
};

// A container of the members, each dated 2010-01-01 12:34:56 local time.
inline std::string GcaTestContainer(const std::vector<GcaTestMember>& members) {
    std::string out = "QLGCATST";
    for (const GcaTestMember& member : members) {
        stored::Le16(&out, uint32_t(member.name.size()));
        out += member.name;
        stored::Le32(&out, uint32_t(member.bytes.size()));
        stored::Le16(&out, 0x645C);
        stored::Le16(&out, 0x3C21);
        stored::Le16(&out, member.attributes);
        out += member.bytes;
    }
    stored::Le16(&out, 0);
    return out;
}
