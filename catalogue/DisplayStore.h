// The song list's display store: what has been fetched for each row of
// ObjectList (image index, title, comment, sound module), so that drawing a
// row again reads no file. Rebuilt with ObjectList; every cached value is 0
// until it is fetched.
#pragma once

#include <cstdint>
#include <vector>

#include "core/BagBox.h"

// Rows beyond this are never cached (ObjectList rows are int32_t, but no
// location comes near it).
constexpr int32_t kDisplayStoreRowLimit = 1 << 24;

// The texts a row can cache.
enum class DisplayText : int { title = 0, comment = 1, soundModule = 2 };

class DisplayStore {
   public:
    DisplayStore();

    // Forgets everything.
    void Clear();

    // The cached text of a row, or null when it has not been fetched.
    const char* Text(int32_t row, DisplayText which) const;
    // Caches a text of a row below kDisplayStoreRowLimit (a null text is
    // ignored); a later call replaces it. The store grows to the row.
    void SetText(int32_t row, DisplayText which, const char* text);

    // The cached image index, or -1 when not computed yet.
    int32_t Image(int32_t row) const;
    void SetImage(int32_t row, int32_t image);

    // The row's play-range mark: set while the row belongs to the range of
    // continuous play; every row is unmarked after Clear.
    bool HasRangeMark(int32_t row) const;
    void SetRangeMark(int32_t row, bool on);

   private:
    static constexpr uint8_t kRangeMark = 0x01;
    struct Row {
        int32_t image = 0;           // index + 1
        uint8_t marks = 0;           // kRangeMark
        int32_t textEntry[3] = {0};  // row of texts_ + 1
    };
    bool Has(int32_t row) const;
    // Grows the store to hold row; false for a row outside the limit.
    bool Reach(int32_t row);

    std::vector<Row> rows_;
    BagBox texts_;  // one string column, rows appended as texts are fetched
};
