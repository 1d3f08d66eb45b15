// The walks over the song list behind find, select and narrow.
#include "actions/SearchActions.h"

#include <vector>

const char kSearchingText[] = "検索中 (中止=ESC)";
const char kNotFoundText[] = "見つかりません";
const char kAbortedText[] = "中止しました";

namespace {

// Holds the catalogue lock and the hourglass for one walk.
class SearchScope {
   public:
    SearchScope(SearchHost& host, bool showSearching) : host_(host), cursor_(showSearching) {
        host_.LockCatalogue();
        if (cursor_) {
            host_.ShowWaitCursor(true);
            host_.ShowStatus(kSearchingText);
        }
    }
    ~SearchScope() {
        if (cursor_) {
            host_.ShowWaitCursor(false);
        }
        host_.UnlockCatalogue();
    }
    SearchScope(const SearchScope&) = delete;
    SearchScope& operator=(const SearchScope&) = delete;

   private:
    SearchHost& host_;
    bool cursor_;
};

}  // namespace

std::string RowSearchText(SongRows& rows, int32_t row, uint32_t targets, uint32_t flags) {
    std::string text;
    for (int32_t column = 0; column < kSongColumns; column++) {
        if (targets & (1u << column)) {
            text += rows.ColumnText(row, column);
            if (flags & kSearchContains) {
                text += "\r\n";
            }
        }
    }
    return text;
}

static bool MatchRelatedFile(SongRows& rows, int32_t row, int32_t which, const SearchKeyText& key) {
    std::string bytes;
    return rows.ReadRelatedFile(row, which, &bytes) && MatchText(key, RelatedFileText(bytes).c_str());
}

bool MatchRow(SongRows& rows, int32_t row, const SearchKeyText& key, uint32_t targets) {
    if ((targets & kSearchColumnTargets) && MatchText(key, RowSearchText(rows, row, targets, key.flags).c_str())) {
        return true;
    }
    if ((targets & kSearchWrd) && MatchRelatedFile(rows, row, kRelatedWrdText, key)) {
        return true;
    }
    if (targets & kSearchDocuments) {
        for (int32_t which = kRelatedHed; which <= kRelatedUserText; which++) {
            if (MatchRelatedFile(rows, row, which, key)) {
                return true;
            }
        }
    }
    return false;
}

int32_t FindNextMatch(SongRows& rows,
                      SearchHost& host,
                      const SearchKeyText& key,
                      uint32_t targets,
                      int32_t start,
                      bool upward) {
    const int32_t count = rows.RowCount();
    if (count <= 0) {
        return kNoMatch;
    }
    const int32_t step = upward ? -1 : 1;
    for (int32_t row = start; row >= 0 && row < count; row += step) {
        if (host.EscapePressed()) {
            host.DiscardPendingInput();
            return kSearchAborted;
        }
        if (MatchRow(rows, row, key, targets)) {
            return row;
        }
    }
    return kNoMatch;
}

bool FindAgain(const SearchSettings& settings, SongRows& rows, SearchHost& host, bool upward) {
    SearchScope lock(host, false);
    const uint32_t targets = settings.subIndex & kSearchAllTargets;
    const int32_t count = rows.RowCount();
    const int32_t focused = host.FocusedRow();
    const int32_t start = upward ? focused - 1 : focused + 1;
    if (targets == 0 || count < 2 || (upward && focused <= 0) || start >= count) {
        host.ShowStatus(kNotFoundText);
        return false;
    }
    int32_t found = kNoMatch;
    {
        SearchScope searching(host, true);
        found = FindNextMatch(rows, host, PrepareSearchKey(settings), targets, start, upward);
    }
    if (found >= 0) {
        host.FocusRow(found);
        host.RefreshCount();
        return true;
    }
    host.ShowStatus(found == kSearchAborted ? kAbortedText : kNotFoundText);
    return false;
}

bool SelectMatching(const SearchSettings& settings, SongRows& rows, SearchHost& host, bool replace) {
    const SearchKeyText key = PrepareSearchKey(settings);
    const uint32_t targets = settings.subIndex & kSearchAllTargets;
    int32_t first = kNoMatch;
    int32_t found = kNoMatch;
    {
        SearchScope searching(host, true);
        for (int32_t start = 0;; start = found + 1) {
            found = FindNextMatch(rows, host, key, targets, start, false);
            if (found < 0) {
                break;
            }
            if (first < 0) {
                first = found;
                if (replace) {
                    host.ClearSelection();
                }
            }
            host.SelectRow(found);
        }
    }
    if (found == kSearchAborted) {
        host.ShowStatus(kAbortedText);
        return false;
    }
    if (first < 0) {
        if (replace) {
            host.ClearSelection();
        }
        host.ShowStatus(kNotFoundText);
        return false;
    }
    host.MoveFocus(first);
    host.RefreshCount();
    return true;
}

bool NarrowByMatch(const SearchSettings& settings, SongRows& rows, SearchHost& host, NarrowState* narrow) {
    const SearchKeyText key = PrepareSearchKey(settings);
    const uint32_t targets = settings.subIndex & kSearchAllTargets;
    std::vector<std::string> paths;
    int32_t found = kNoMatch;
    {
        SearchScope searching(host, true);
        for (int32_t start = 0;; start = found + 1) {
            found = FindNextMatch(rows, host, key, targets, start, false);
            if (found < 0) {
                break;
            }
            paths.push_back(rows.ObjectPath(found));
        }
        if (found == kSearchAborted) {
            host.ShowStatus(kAbortedText);
            return false;
        }
        if (!ApplyNarrowing(narrow, paths)) {
            host.ShowStatus(kNotFoundText);
            return false;
        }
        host.ReloadList();
    }
    return true;
}

bool NarrowToSelection(SongRows& rows, SearchHost& host, NarrowState* narrow) {
    SearchScope lock(host, false);
    std::vector<std::string> paths;
    const int32_t count = rows.RowCount();
    for (int32_t row = 0; row < count; row++) {
        if (host.IsSelected(row)) {
            paths.push_back(rows.ObjectPath(row));
        }
    }
    if (!ApplyNarrowing(narrow, paths)) {
        return false;
    }
    host.ReloadList();
    return true;
}

void UndoNarrowLevelAndReload(SearchHost& host, NarrowState* narrow) {
    SearchScope lock(host, false);
    UndoNarrowLevel(narrow);
    host.ReloadList();
}

void ClearNarrowingAndReload(SearchHost& host, NarrowState* narrow) {
    SearchScope lock(host, false);
    ClearNarrowing(narrow);
    host.ReloadList();
}
