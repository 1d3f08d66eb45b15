// BagBox: rows of string and integer cells behind an order index. The text
// heap keeps the strings of each physical row together and in row order, which
// is what lets Delete close a gap with one move and a renumbering pass.
#include "core/BagBox.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "core/InternalError.h"
#include "core/Text.h"

static const char kCaption[] = "BagBox class (内部エラー)";
static const char kAllocFailed[] = "メモリのAllocに失敗しました。";
static const char kReAllocFailed[] = "メモリのReAllocに失敗しました。";

static void* CallRealloc(void* block, size_t bytes) {
    return std::realloc(block, bytes);
}

static BagBoxReallocator currentReallocator = CallRealloc;

void SetBagBoxReallocator(BagBoxReallocator reallocator) {
    currentReallocator = reallocator ? reallocator : CallRealloc;
}

static int Sign(int value) {
    return (value > 0) - (value < 0);
}

int CompareBytes(const char* a, const char* b, uint32_t) {
    return Sign(std::strcmp(a, b));
}

int CompareIgnoreCase(const char* a, const char* b, uint32_t) {
    return Sign(CompareNoCase(a, b));
}

BagBox::BagBox(const char* name,
               bool ignoreCase,
               bool useLocale,
               int stringColumns,
               int integerColumns,
               int initialRows,
               int rowStep,
               uint32_t initialTextBytes,
               uint32_t textStep)
    : name_(name),
      initialRows_(initialRows > 0 ? initialRows : 0),
      initialTextBytes_(initialTextBytes),
      stringColumns_(stringColumns > 0 ? stringColumns : 0),
      integerColumns_(integerColumns > 0 ? integerColumns : 0),
      rowStep_(rowStep > 0 ? rowStep : 1),
      textStep_(textStep) {
    SetPrimaryComparer(ignoreCase, useLocale);
    Clear();
}

BagBox::~BagBox() {
    std::free(order_);
    std::free(offsets_);
    std::free(text_);
    std::free(integers_);
}

void BagBox::ReportError(const char* text, int32_t value) const {
    std::string message;
    if (name_) {
        message += name_;
        message += '\n';
    }
    message += text;
    message += '(';
    message += std::to_string(value);
    message += ')';
    ReportInternalError(kCaption, message.c_str());
}

// Reallocates a table of rows of cellsPerRow int32 cells to hold `rows` rows.
// False (reported, array and capacity untouched) when the memory is not there
// or the size cannot be represented.
bool BagBox::ResizeRows(int32_t** array, int32_t* capacity, int64_t rows, int32_t cellsPerRow) {
    const char* failure = *array ? kReAllocFailed : kAllocFailed;
    const uint64_t rowBytes = static_cast<uint64_t>(cellsPerRow) * sizeof(int32_t);
    if (rows < 0 || rows > INT32_MAX || (rowBytes != 0 && static_cast<uint64_t>(rows) > SIZE_MAX / rowBytes)) {
        ReportError(failure, 0);
        return false;
    }
    size_t bytes = static_cast<size_t>(static_cast<uint64_t>(rows) * rowBytes);
    // A zero-byte realloc would free the block; keep a block of one byte instead.
    void* grown = currentReallocator(*array, bytes ? bytes : 1);
    if (!grown) {
        ReportError(failure, 0);
        return false;
    }
    *array = static_cast<int32_t*>(grown);
    *capacity = static_cast<int32_t>(rows);
    return true;
}

bool BagBox::ResizeText(uint64_t bytes) {
    const char* failure = text_ ? kReAllocFailed : kAllocFailed;
    if (bytes > UINT32_MAX || bytes > SIZE_MAX) {
        ReportError(failure, 0);
        return false;
    }
    void* grown = currentReallocator(text_, bytes ? static_cast<size_t>(bytes) : 1);
    if (!grown) {
        ReportError(failure, 0);
        return false;
    }
    text_ = static_cast<char*>(grown);
    textCapacity_ = static_cast<uint32_t>(bytes);
    return true;
}

// Grows each row array by the row step when the next row would not fit.
bool BagBox::MakeRoomForRow() {
    if (count_ >= indexCapacity_ && !ResizeRows(&order_, &indexCapacity_, int64_t{indexCapacity_} + rowStep_, 1)) {
        return false;
    }
    if (count_ >= offsetCapacity_ &&
        !ResizeRows(&offsets_, &offsetCapacity_, int64_t{offsetCapacity_} + rowStep_, stringColumns_)) {
        return false;
    }
    if (integerColumns_ > 0 && count_ >= integerCapacity_ &&
        !ResizeRows(&integers_, &integerCapacity_, int64_t{integerCapacity_} + rowStep_, integerColumns_)) {
        return false;
    }
    return true;
}

// Appends a physical row at the end of the order. Missing strings count as
// empty and missing integers as 0. A source string may lie in this table's
// own heap (a cell just read): it is followed by its offset across growth.
// False after a reported allocation failure, with the table as it was.
bool BagBox::AppendRow(const char* const* strings, size_t stringCount, const int32_t* integers, size_t integerCount) {
    if (!MakeRoomForRow()) {
        return false;
    }
    const uint32_t rowStart = textUsed_;
    // Sources are located against the heap as it was on entry: growing for
    // one cell may already have moved the heap another cell points into.
    const uintptr_t heap = reinterpret_cast<uintptr_t>(text_);
    int32_t* rowOffsets = offsets_ + static_cast<size_t>(count_) * stringColumns_;
    for (int32_t c = 0; c < stringColumns_; c++) {
        const char* s = static_cast<size_t>(c) < stringCount && strings[c] ? strings[c] : "";
        const uintptr_t address = reinterpret_cast<uintptr_t>(s);
        const bool inHeap = heap && address >= heap && address - heap < rowStart;
        const uint32_t heapOffset = inHeap ? static_cast<uint32_t>(address - heap) : 0;
        const size_t length = std::strlen(inHeap ? text_ + heapOffset : s) + 1;
        if (length > UINT32_MAX) {
            textUsed_ = rowStart;
            ReportError(kReAllocFailed, 0);
            return false;
        }
        const uint32_t n = static_cast<uint32_t>(length);
        // Growing while used + n >= capacity keeps at least one byte free.
        while (uint64_t{textUsed_} + n >= textCapacity_) {
            if (!ResizeText(uint64_t{textCapacity_} + (textStep_ > n ? textStep_ : n))) {
                textUsed_ = rowStart;
                return false;
            }
        }
        if (inHeap) {
            s = text_ + heapOffset;
        }
        rowOffsets[c] = static_cast<int32_t>(textUsed_);
        std::memcpy(text_ + textUsed_, s, n);
        textUsed_ += n;
    }
    if (integerColumns_ > 0) {
        int32_t* rowIntegers = integers_ + static_cast<size_t>(count_) * integerColumns_;
        for (int32_t c = 0; c < integerColumns_; c++) {
            rowIntegers[c] = static_cast<size_t>(c) < integerCount && integers ? integers[c] : 0;
        }
    }
    order_[count_] = count_;
    count_++;
    sorted_ = false;
    return true;
}

bool BagBox::InsertRowAt(int32_t position,
                         const char* const* strings,
                         size_t stringCount,
                         const int32_t* integers,
                         size_t integerCount) {
    const int32_t oldCount = count_;
    if (!AppendRow(strings, stringCount, integers, integerCount)) {
        return false;
    }
    if (position != -1 && position != oldCount) {
        MoveEntry(position, oldCount);
    }
    return true;
}

// The new row goes in before the old one leaves, so that a failed allocation
// loses nothing and the new values may be cells of the row being replaced.
// The resulting heap, numbering and order are those of delete, add, move.
bool BagBox::ReplaceRowAt(int32_t position,
                          const char* const* strings,
                          size_t stringCount,
                          const int32_t* integers,
                          size_t integerCount) {
    if (!AppendRow(strings, stringCount, integers, integerCount)) {
        return false;
    }
    RemoveRow(position);
    MoveEntry(position, count_ - 1);
    return true;
}

void BagBox::RemoveRow(int32_t position) {
    const int32_t row = order_[position];
    const size_t rowBase = static_cast<size_t>(row) * stringColumns_;
    uint32_t length = 0;
    for (int32_t c = 0; c < stringColumns_; c++) {
        length += static_cast<uint32_t>(std::strlen(text_ + static_cast<uint32_t>(offsets_[rowBase + c]))) + 1;
    }
    if (row != count_ - 1) {
        const size_t laterRows = static_cast<size_t>(count_ - 1 - row);
        if (stringColumns_ > 0) {
            const uint32_t start = static_cast<uint32_t>(offsets_[rowBase]);
            std::memmove(text_ + start, text_ + start + length, textUsed_ - start - length);
            std::memmove(offsets_ + rowBase, offsets_ + rowBase + stringColumns_,
                         laterRows * stringColumns_ * sizeof(int32_t));
            int32_t* later = offsets_ + rowBase;
            for (size_t i = 0; i < laterRows * stringColumns_; i++) {
                later[i] = static_cast<int32_t>(static_cast<uint32_t>(later[i]) - length);
            }
        }
        if (integerColumns_ > 0) {
            int32_t* rowIntegers = integers_ + static_cast<size_t>(row) * integerColumns_;
            std::memmove(rowIntegers, rowIntegers + integerColumns_, laterRows * integerColumns_ * sizeof(int32_t));
        }
    }
    count_--;
    textUsed_ -= length;
    std::memmove(order_ + position, order_ + position + 1, static_cast<size_t>(count_ - position) * sizeof(int32_t));
    for (int32_t i = 0; i < count_; i++) {
        if (order_[i] > row) {
            order_[i]--;
        }
    }
}

void BagBox::MoveEntry(int32_t destination, int32_t source) {
    if (destination == source) {
        return;
    }
    const int32_t moved = order_[source];
    if (source < destination) {
        std::memmove(order_ + source, order_ + source + 1, static_cast<size_t>(destination - source) * sizeof(int32_t));
    } else {
        std::memmove(order_ + destination + 1, order_ + destination,
                     static_cast<size_t>(source - destination) * sizeof(int32_t));
    }
    order_[destination] = moved;
}

void BagBox::Add(std::initializer_list<const char*> strings, std::initializer_list<int32_t> integers) {
    AppendRow(strings.begin(), strings.size(), integers.begin(), integers.size());
}

void BagBox::AddRow(const char* const* strings, const int32_t* integers) {
    AppendRow(strings, static_cast<size_t>(stringColumns_), integers, static_cast<size_t>(integerColumns_));
}

static const char kInsertTooLarge[] = "Insertの引数が大きすぎます。";
static const char kReplaceTooLarge[] = "Replaceの引数が大きすぎます。";

void BagBox::Insert(int32_t position,
                    std::initializer_list<const char*> strings,
                    std::initializer_list<int32_t> integers) {
    if (position < -1 || position > count_) {
        ReportError(kInsertTooLarge, position);
        return;
    }
    InsertRowAt(position, strings.begin(), strings.size(), integers.begin(), integers.size());
}

void BagBox::InsertRow(int32_t position, const char* const* strings, const int32_t* integers) {
    if (position < -1 || position > count_) {
        ReportError(kInsertTooLarge, position);
        return;
    }
    InsertRowAt(position, strings, static_cast<size_t>(stringColumns_), integers, static_cast<size_t>(integerColumns_));
}

void BagBox::Replace(int32_t position,
                     std::initializer_list<const char*> strings,
                     std::initializer_list<int32_t> integers) {
    if (position < 0 || position >= count_) {
        ReportError(kReplaceTooLarge, position);
        return;
    }
    ReplaceRowAt(position, strings.begin(), strings.size(), integers.begin(), integers.size());
}

void BagBox::ReplaceRow(int32_t position, const char* const* strings, const int32_t* integers) {
    if (position < 0 || position >= count_) {
        ReportError(kReplaceTooLarge, position);
        return;
    }
    ReplaceRowAt(position, strings, static_cast<size_t>(stringColumns_), integers,
                 static_cast<size_t>(integerColumns_));
}

void BagBox::Delete(int32_t position) {
    if (position < 0 || position >= count_) {
        ReportError("Deleteの引数が大きすぎます。", position);
        return;
    }
    RemoveRow(position);
}

void BagBox::Move(int32_t destination, int32_t source) {
    if (destination < 0 || destination >= count_) {
        ReportError("Moveの引数1が大きすぎます。", destination);
        return;
    }
    if (source < 0 || source >= count_) {
        ReportError("Moveの引数2が大きすぎます。", source);
        return;
    }
    MoveEntry(destination, source);
}

// The row lands just before the row now at destination; -1 means after the
// last row.
void BagBox::MoveBefore(int32_t destination, int32_t source) {
    if (destination < -1 || destination >= count_) {
        ReportError("Moveの引数1が大きすぎます。", destination);
        return;
    }
    if (source < 0 || source >= count_) {
        ReportError("Moveの引数2が大きすぎます。", source);
        return;
    }
    if (destination == -1) {
        MoveEntry(count_ - 1, source);
    } else if (destination > source) {
        MoveEntry(destination - 1, source);
    } else {
        MoveEntry(destination, source);
    }
}

const char* BagBox::Cell(int32_t position, int32_t column) const {
    const size_t row = static_cast<size_t>(order_[position]);
    return text_ + static_cast<uint32_t>(offsets_[row * stringColumns_ + column]);
}

const char* BagBox::Read(int32_t position, int32_t column) const {
    if (position < 0 || position >= count_) {
        ReportError("Readの引数1が大きすぎます。", position);
        return nullptr;
    }
    if (column < 0 || column >= stringColumns_) {
        ReportError("Readの引数2が大きすぎます。", column);
        return nullptr;
    }
    return Cell(position, column);
}

int32_t BagBox::iRead(int32_t position, int32_t column) const {
    if (position < 0 || position >= count_) {
        ReportError("iReadの引数1が大きすぎます。", position);
        return 0;
    }
    if (column < 0 || column >= integerColumns_) {
        ReportError("iReadの引数2が大きすぎます。", column);
        return 0;
    }
    return integers_[static_cast<size_t>(order_[position]) * integerColumns_ + column];
}

// Both searches use the primary comparer, whichever column is searched.
int32_t BagBox::Find(const char* key, int32_t column) const {
    if (count_ <= 0) {
        return -1;
    }
    if (column < 0 || column >= stringColumns_) {
        ReportError("Findの引数1が大きすぎます。", column);
        return -1;
    }
    if (!key) {
        return -1;
    }
    if (sorted_ && column == sortColumn_) {
        int32_t low = 0;
        int32_t high = count_ - 1;
        while (low <= high) {
            const int32_t mid = low + (high - low) / 2;
            const int result = primary_(Cell(mid, column), key, primaryFlags_) * direction_;
            if (result == 0) {
                return mid;
            }
            if (result < 0) {
                low = mid + 1;
            } else {
                high = mid - 1;
            }
        }
        return -1;
    }
    for (int32_t i = 0; i < count_; i++) {
        if (primary_(Cell(i, column), key, primaryFlags_) * direction_ == 0) {
            return i;
        }
    }
    return -1;
}

// Without a secondary comparer rows equal on the first key stay equal.
int BagBox::CompareRows(int32_t a, int32_t b, bool secondKey) const {
    int result = primary_(Cell(a, sortColumn_), Cell(b, sortColumn_), primaryFlags_) * direction_;
    if (result == 0 && secondKey && secondary_) {
        result = secondary_(Cell(a, secondSortColumn_), Cell(b, secondSortColumn_), secondaryFlags_) * direction_;
    }
    return result;
}

// Quicksort with the middle entry as pivot and a three-way partition: rows
// below the pivot, rows equal to it, rows above it. Equal rows are settled
// in one pass, so a column where most keys are the same (empty comments, a
// few sound modules) sorts in n log n instead of n squared. The smaller part
// is sorted by recursion and the larger one by the loop, which keeps the
// stack shallow. Like any quicksort it is not stable.
void BagBox::QuickSort(int32_t first, int32_t last, bool secondKey) {
    while (first < last) {
        std::swap(order_[first], order_[first + (last - first) / 2]);
        // [first, lower) below the pivot, [lower, i) equal, (upper, last] above;
        // order_[lower] is always a row equal to the pivot.
        int32_t lower = first;
        int32_t upper = last;
        int32_t i = first + 1;
        while (i <= upper) {
            const int result = CompareRows(i, lower, secondKey);
            if (result < 0) {
                std::swap(order_[lower], order_[i]);
                lower++;
                i++;
            } else if (result > 0) {
                std::swap(order_[i], order_[upper]);
                upper--;
            } else {
                i++;
            }
        }
        if (lower - first < last - upper) {
            QuickSort(first, lower - 1, secondKey);
            first = upper + 1;
        } else {
            QuickSort(upper + 1, last, secondKey);
            last = lower - 1;
        }
    }
}

// A first or last of -1 (or any other value outside the table) stands for
// the table's own end.
void BagBox::Sort(int32_t column, bool descending, int32_t first, int32_t last) {
    if (count_ < 2) {
        return;
    }
    if (column < 0 || column >= stringColumns_) {
        ReportError("Sortの引数1が大きすぎます。", column);
        return;
    }
    sortColumn_ = column;
    direction_ = descending ? -1 : 1;
    QuickSort(first < 0 || first >= count_ ? 0 : first, last < 0 || last >= count_ ? count_ - 1 : last, false);
    sorted_ = true;
}

void BagBox::Sort2(int32_t column, int32_t secondColumn, bool descending, int32_t first, int32_t last) {
    if (count_ < 2) {
        return;
    }
    if (column < 0 || column >= stringColumns_) {
        ReportError("Sort2の引数1が大きすぎます。", column);
        return;
    }
    if (secondColumn < 0 || secondColumn >= stringColumns_) {
        ReportError("Sort2の引数2が大きすぎます。", secondColumn);
        return;
    }
    sortColumn_ = column;
    secondSortColumn_ = secondColumn;
    direction_ = descending ? -1 : 1;
    QuickSort(first < 0 || first >= count_ ? 0 : first, last < 0 || last >= count_ ? count_ - 1 : last, true);
    sorted_ = true;
}

void BagBox::MarkSorted(int32_t column, bool descending) {
    sortColumn_ = column;
    direction_ = descending ? -1 : 1;
    sorted_ = true;
}

// Returns every array to its initial size. A failed resize keeps the larger
// array, which is still valid.
void BagBox::Clear() {
    if (count_ == 0) {
        return;
    }
    if (indexCapacity_ != initialRows_ || !order_) {
        ResizeRows(&order_, &indexCapacity_, initialRows_, 1);
    }
    if (offsetCapacity_ != initialRows_ || !offsets_) {
        ResizeRows(&offsets_, &offsetCapacity_, initialRows_, stringColumns_);
    }
    if (integerColumns_ > 0 && (integerCapacity_ != initialRows_ || !integers_)) {
        ResizeRows(&integers_, &integerCapacity_, initialRows_, integerColumns_);
    }
    if (textCapacity_ != initialTextBytes_ || !text_) {
        ResizeText(initialTextBytes_);
    }
    count_ = 0;
    textUsed_ = 0;
    sorted_ = false;
}

void BagBox::Reserve(int32_t rows) {
    if (rows > indexCapacity_ && !ResizeRows(&order_, &indexCapacity_, rows, 1)) {
        return;
    }
    if (rows > offsetCapacity_) {
        ResizeRows(&offsets_, &offsetCapacity_, rows, stringColumns_);
    }
}

void BagBox::ReserveText(uint32_t bytes) {
    if (bytes > textCapacity_) {
        ResizeText(bytes);
    }
}

static BagBoxComparer ChooseComparer(bool ignoreCase, bool useLocale, uint32_t* flags) {
    if (useLocale) {
        *flags = ignoreCase ? kNormIgnoreCase : 0;
        return CompareLocale;
    }
    return ignoreCase ? CompareIgnoreCase : CompareBytes;
}

void BagBox::SetPrimaryComparer(bool ignoreCase, bool useLocale) {
    primary_ = ChooseComparer(ignoreCase, useLocale, &primaryFlags_);
}

void BagBox::SetSecondaryComparer(bool ignoreCase, bool useLocale) {
    secondary_ = ChooseComparer(ignoreCase, useLocale, &secondaryFlags_);
}

void BagBox::SetPrimaryCompareFlags(uint32_t flags) {
    primaryFlags_ = flags;
}

void BagBox::SetSecondaryCompareFlags(uint32_t flags) {
    secondaryFlags_ = flags;
}

void KeepRoomForRow(BagBox* table, size_t rowTextBytes) {
    const int32_t count = table->Count();
    if (count >= table->RowCapacity() && count < INT32_MAX / 2) {
        table->Reserve(2 * count);
    }
    const uint64_t needed = uint64_t{table->TextUsed()} + rowTextBytes;
    if (needed >= table->TextCapacity() && needed < UINT32_MAX / 2) {
        table->ReserveText(uint32_t(2 * needed));
    }
}
