// Changing one text of a title cache entry: the entry is deleted and added
// again with the new value, the table written sorted and loaded again.
#include "catalogue/TitleCacheEdit.h"

#include <string>

bool ChangeTitleCacheText(TitleCacheState& state,
                          TitleCacheHost& host,
                          const char* path,
                          int32_t column,
                          const char* text) {
    if (column != TitleCacheColumn::title && column != TitleCacheColumn::comment &&
        column != TitleCacheColumn::soundModule) {
        return false;
    }
    BagBox& table = state.TitleCache;
    const int32_t row = table.Find(path, TitleCacheColumn::path);
    if (row < 0) {
        return false;
    }
    std::string cells[TitleCacheColumn::kStrings];
    for (int32_t i = 0; i < TitleCacheColumn::kStrings; i++) {
        cells[i] = table.Read(row, i);
    }
    cells[column] = text;
    const int32_t related = table.iRead(row, TitleCacheColumn::relatedFlags);
    table.Delete(row);
    const char* strings[TitleCacheColumn::kStrings];
    for (int32_t i = 0; i < TitleCacheColumn::kStrings; i++) {
        strings[i] = cells[i].c_str();
    }
    table.AddRow(strings, &related);
    SaveTitleCache(state, host, true, true);
    LoadTitleCache(state);
    return true;
}
