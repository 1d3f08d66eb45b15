// Reading whole columns of a BagBox in tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/BagBox.h"

// The cells of one string column, in the table's order.
inline std::vector<std::string> Column(const BagBox& table, int32_t column) {
    std::vector<std::string> rows;
    for (int32_t i = 0; i < table.Count(); i++) {
        rows.push_back(table.Read(i, column));
    }
    return rows;
}
