// The check shared by the script scanner fuzz targets: every name a scanner
// returns is non-empty, at most 511 bytes, holds no NUL and never ends in a
// lone lead byte.
#pragma once

#include <string>
#include <vector>

#include "core/Text.h"

inline void CheckScriptNames(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (name.empty() || name.size() > 511) {
            __builtin_trap();
        }
        for (size_t i = 0; i < name.size(); i++) {
            if (name[i] == '\0' || (IsLeadByte(uint8_t(name[i])) && i + 1 >= name.size())) {
                __builtin_trap();
            }
            if (IsLeadByte(uint8_t(name[i]))) {
                i++;
            }
        }
    }
}
