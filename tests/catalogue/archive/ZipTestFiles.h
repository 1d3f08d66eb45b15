// Small ZIP archives written by hand, for member names no zip tool would
// store (devices, wildcards, quotes, colons, names leaving the folder).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/archive/Inflate.h"

// A ZIP archive of stored members with the given names, each holding data.
inline std::string StoredZip(const std::vector<std::string>& names, const std::string& data) {
    std::string zip;
    const uint32_t crc = ZipCrc32(reinterpret_cast<const uint8_t*>(data.data()), data.size());
    auto le16 = [&zip](uint32_t v) { zip.append({char(v & 0xFF), char((v >> 8) & 0xFF)}); };
    for (const std::string& name : names) {
        zip += "PK\x03\x04";
        le16(10), le16(0), le16(0), le16(0x645C), le16(0x3C21);
        le16(crc & 0xFFFF), le16(crc >> 16);
        le16(uint32_t(data.size())), le16(0), le16(uint32_t(data.size())), le16(0);
        le16(uint32_t(name.size())), le16(0);
        zip += name + data;
    }
    return zip + "PK\x05\x06";
}
