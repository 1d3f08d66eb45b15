// The member record that UnGCA32.dll's listing entries (UnGCAFindFirst,
// UnGCAFindNext) fill in, shared by the program and the stand-in library its
// tests load. Fixed-width fields, so it lays out alike in every build.
#pragma once

#include <cstdint>

constexpr unsigned kGcaFileNameMax = 512;  // bytes of a name, without its terminator

struct IndividualInfo {
    uint32_t originalSize;
    uint32_t compressedSize;
    uint32_t crc;
    uint32_t flag;
    uint32_t osType;
    uint16_t ratio;
    uint16_t date;  // local MS-DOS date
    uint16_t time;  // local MS-DOS time
    char fileName[kGcaFileNameMax + 1];
    char dummy1[3];
    char attribute[8];
    char mode[8];
};
