// Changing one text of title cache entries. A single change deletes the
// entry, adds it again with the new value, writes the table sorted and loads
// it again. A change of many songs copies the table with the new values into
// a staged table, which is written once before the file is loaded again. When
// the table is in strictly ascending path order (as every file the program
// writes is) the changed entries keep their places; otherwise each change is
// made on the staged table as a delete, an add and a sort, the way a single
// change is made, so the file comes out the same either way.
#include "catalogue/TitleCacheEdit.h"

#include <cstring>

namespace {

bool IsHandSetColumn(int32_t column) {
    return column == TitleCacheColumn::title || column == TitleCacheColumn::comment ||
           column == TitleCacheColumn::soundModule;
}

bool StrictlyAscending(const BagBox& table) {
    for (int32_t row = 1; row < table.Count(); row++) {
        if (CompareBytes(table.Read(row - 1, TitleCacheColumn::path), table.Read(row, TitleCacheColumn::path), 0) >=
            0) {
            return false;
        }
    }
    return true;
}

// Text bytes of the table's strings with their NULs.
uint64_t TextBytes(const BagBox& table) {
    uint64_t bytes = 0;
    for (int32_t row = 0; row < table.Count(); row++) {
        for (int32_t c = 0; c < TitleCacheColumn::kStrings; c++) {
            bytes += std::strlen(table.Read(row, c)) + 1;
        }
    }
    return bytes;
}

// Appends row of from to to, with column set to text when text is not null.
void CopyRow(const BagBox& from, int32_t row, BagBox* to, int32_t column, const char* text) {
    const char* strings[TitleCacheColumn::kStrings];
    for (int32_t c = 0; c < TitleCacheColumn::kStrings; c++) {
        strings[c] = from.Read(row, c);
    }
    if (text) {
        strings[column] = text;
    }
    const int32_t related = from.iRead(row, TitleCacheColumn::relatedFlags);
    to->AddRow(strings, &related);
}

// Ascending order (a loaded cache is marked sorted on path, so the look-ups
// are binary searches): the rows are copied, the changed ones with the new text,
// and stay in their places.
int32_t StageInPlace(const BagBox& table,
                     const std::vector<std::string>& paths,
                     int32_t column,
                     const char* text,
                     BagBox* staged) {
    std::vector<char> changed(size_t(table.Count()), 0);
    int32_t found = 0;
    for (const std::string& path : paths) {
        const int32_t row = table.Find(path.c_str(), TitleCacheColumn::path);
        if (row >= 0) {
            changed[size_t(row)] = 1;
            found++;
        }
    }
    if (found == 0) {
        return 0;
    }
    const uint64_t extra = uint64_t(found) * (std::strlen(text) + 1);
    staged->Reserve(table.Count());
    staged->ReserveText(uint32_t(TextBytes(table) + extra));
    for (int32_t row = 0; row < table.Count(); row++) {
        CopyRow(table, row, staged, column, changed[size_t(row)] ? text : nullptr);
    }
    staged->MarkSorted(TitleCacheColumn::path, false);
    return found;
}

// Any other order: each change deletes the entry, adds it again at the end
// and sorts the table, as a single change does before it writes.
int32_t StageOneByOne(const BagBox& table,
                      const std::vector<std::string>& paths,
                      int32_t column,
                      const char* text,
                      BagBox* staged) {
    staged->Reserve(table.Count() + 1);
    staged->ReserveText(uint32_t(TextBytes(table)));
    for (int32_t row = 0; row < table.Count(); row++) {
        CopyRow(table, row, staged, -1, nullptr);
    }
    if (table.IsSorted()) {
        staged->MarkSorted(table.SortColumn(), false);
    }
    int32_t found = 0;
    std::string cells[TitleCacheColumn::kStrings];
    const char* strings[TitleCacheColumn::kStrings];
    for (const std::string& path : paths) {
        const int32_t row = staged->Find(path.c_str(), TitleCacheColumn::path);
        if (row < 0) {
            continue;
        }
        found++;
        for (int32_t c = 0; c < TitleCacheColumn::kStrings; c++) {
            cells[c] = staged->Read(row, c);
        }
        cells[column] = text;
        const int32_t related = staged->iRead(row, TitleCacheColumn::relatedFlags);
        staged->Delete(row);
        for (int32_t c = 0; c < TitleCacheColumn::kStrings; c++) {
            strings[c] = cells[c].c_str();
        }
        staged->AddRow(strings, &related);
        staged->Sort(TitleCacheColumn::path, false);
    }
    return found;
}

}  // namespace

int32_t ChangeTitleCacheTexts(TitleCacheState& state,
                              TitleCacheHost& host,
                              const std::vector<std::string>& paths,
                              int32_t column,
                              const char* text) {
    if (!IsHandSetColumn(column) || paths.empty() || state.TitleCache.Count() <= 0) {
        return 0;
    }
    TitleCacheState staged;
    staged.location = state.location;
    staged.kind = state.kind;
    const int32_t found = StrictlyAscending(state.TitleCache)
                              ? StageInPlace(state.TitleCache, paths, column, text, &staged.TitleCache)
                              : StageOneByOne(state.TitleCache, paths, column, text, &staged.TitleCache);
    if (found == 0) {
        return 0;
    }
    // The staged rows are in the order the file takes.
    SaveTitleCache(staged, host, false, true);
    LoadTitleCache(state);
    return found;
}

bool ChangeTitleCacheText(TitleCacheState& state,
                          TitleCacheHost& host,
                          const char* path,
                          int32_t column,
                          const char* text) {
    if (!IsHandSetColumn(column)) {
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

bool TitleCacheHasEntries(const TitleCacheState& state, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (state.TitleCache.Find(path.c_str(), TitleCacheColumn::path) < 0) {
            return false;
        }
    }
    return true;
}
