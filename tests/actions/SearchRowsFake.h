// A song list held in memory for the search and export tests: the whole
// location's rows, the rows listed after narrowing, a selection and the
// status texts shown.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "actions/Narrowing.h"
#include "actions/SearchActions.h"
#include "ui/rules/MainWindowRules.h"

struct FakeSong {
    std::string path;
    std::array<std::string, kSongColumns> columns;
    int32_t companions = 0;
    std::string wrd;  // bytes of the WRD file, empty when there is none
    std::string txt;  // bytes of the ".txt" document, empty when there is none
};

class FakeSongList : public SongRows, public SearchHost {
   public:
    explicit FakeSongList(std::vector<FakeSong> songs) : all_(std::move(songs)) {
        ReloadList();
    }

    int32_t RowCount() override {
        return int32_t(listed_.size());
    }
    std::string ColumnText(int32_t row, int32_t column) override {
        return listed_[size_t(row)].columns[size_t(column)];
    }
    std::string ObjectPath(int32_t row) override {
        return listed_[size_t(row)].path;
    }
    std::string FullPath(int32_t row) override {
        return "C:\\Music\\" + listed_[size_t(row)].path;
    }
    int32_t CompanionFlags(int32_t row) override {
        return listed_[size_t(row)].companions;
    }
    bool ReadRelatedFile(int32_t row, int32_t which, std::string* bytes) override {
        const FakeSong& song = listed_[size_t(row)];
        *bytes = which == kRelatedWrdText ? song.wrd : which == kRelatedTxt ? song.txt : std::string();
        return !bytes->empty();
    }

    bool EscapePressed() override {
        return escapeAtPoll >= 0 && polls++ == escapeAtPoll;
    }
    void DiscardPendingInput() override {
        discarded++;
    }
    void ShowStatus(const char* text) override {
        status = text;
    }
    void ShowWaitCursor(bool) override {
    }
    void LockCatalogue() override {
        locks++;
    }
    void UnlockCatalogue() override {
        locks--;
    }
    int32_t FocusedRow() override {
        return focused;
    }
    // As the song list does: the focused row becomes the only selected one.
    void FocusRow(int32_t row) override {
        ClearSelection();
        selected[size_t(row)] = true;
        focused = row;
    }
    void MoveFocus(int32_t row) override {
        focused = row;
    }
    bool IsSelected(int32_t row) override {
        return selected[size_t(row)];
    }
    void SelectRow(int32_t row) override {
        selected[size_t(row)] = true;
    }
    void ClearSelection() override {
        selected.assign(listed_.size(), false);
    }
    void RefreshCount() override {
        countText = ObjectCountText(int64_t(listed_.size()), 0, narrow.level);
    }
    void ReloadList() override {
        listed_.clear();
        for (const FakeSong& song : all_) {
            if (NarrowKeepsPath(narrow, song.path.c_str())) {
                listed_.push_back(song);
            }
        }
        selected.assign(listed_.size(), false);
        focused = listed_.empty() ? -1 : 0;
        RefreshCount();
    }

    std::vector<std::string> ListedPaths() const {
        std::vector<std::string> paths;
        for (const FakeSong& song : listed_) {
            paths.push_back(song.path);
        }
        return paths;
    }
    std::vector<int32_t> SelectedRows() const {
        std::vector<int32_t> rows;
        for (size_t i = 0; i < selected.size(); i++) {
            if (selected[i]) {
                rows.push_back(int32_t(i));
            }
        }
        return rows;
    }

    NarrowState narrow;
    std::vector<bool> selected;
    int32_t focused = -1;
    std::string status;
    std::string countText;
    int escapeAtPoll = -1;  // the poll (from 0) at which Escape is down
    int polls = 0;
    int discarded = 0;
    int locks = 0;

   private:
    std::vector<FakeSong> all_;
    std::vector<FakeSong> listed_;
};
