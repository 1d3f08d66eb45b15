// The song list's per-row cache of fetched texts and images.
#include "catalogue/DisplayStore.h"

DisplayStore::DisplayStore() : texts_(nullptr, false, false, 1, 0, 512, 256, 8192, 4096) {
}

void DisplayStore::Clear() {
    texts_.Clear();
    rows_.clear();
}

bool DisplayStore::Reach(int32_t row) {
    if (row < 0 || row >= kDisplayStoreRowLimit) {
        return false;
    }
    if (size_t(row) >= rows_.size()) {
        rows_.resize(size_t(row) + 1);
    }
    return true;
}

bool DisplayStore::Has(int32_t row) const {
    return row >= 0 && size_t(row) < rows_.size();
}

const char* DisplayStore::Text(int32_t row, DisplayText which) const {
    if (!Has(row)) {
        return nullptr;
    }
    const int32_t entry = rows_[size_t(row)].textEntry[int(which)];
    return entry == 0 ? nullptr : texts_.Read(entry - 1, 0);
}

void DisplayStore::SetText(int32_t row, DisplayText which, const char* text) {
    if (text == nullptr || !Reach(row)) {
        return;
    }
    const int32_t before = texts_.Count();
    texts_.Add({text});
    if (texts_.Count() == before) {
        return;  // out of memory: the text is fetched again next time
    }
    rows_[size_t(row)].textEntry[int(which)] = texts_.Count();
}

int32_t DisplayStore::Image(int32_t row) const {
    return Has(row) ? rows_[size_t(row)].image - 1 : -1;
}

void DisplayStore::SetImage(int32_t row, int32_t image) {
    if (image >= 0 && Reach(row)) {
        rows_[size_t(row)].image = image + 1;
    }
}

bool DisplayStore::HasRangeMark(int32_t row) const {
    return Has(row) && (rows_[size_t(row)].marks & kRangeMark) != 0;
}

void DisplayStore::SetRangeMark(int32_t row, bool on) {
    if (!on && !Has(row)) {
        return;
    }
    if (Reach(row)) {
        uint8_t& marks = rows_[size_t(row)].marks;
        marks = uint8_t(on ? marks | kRangeMark : marks & ~kRangeMark);
    }
}
