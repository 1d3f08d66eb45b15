// BagBox: the container of every in-memory list. Rows of a fixed number of
// string and 32-bit integer columns; all strings share one heap, rows are
// appended physically and reached through an order index, so sorting,
// inserting and moving only permute 4-byte index entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

// Compares two NUL-terminated strings: negative, zero or positive.
using BagBoxComparer = int (*)(const char* a, const char* b, uint32_t flags);

// Flags of the locale comparison.
constexpr uint32_t kNormIgnoreCase = 0x1;
constexpr uint32_t kNormIgnoreSymbols = 0x4;
constexpr uint32_t kNormIgnoreKanaType = 0x10000;
constexpr uint32_t kNormIgnoreWidth = 0x20000;
constexpr uint32_t kNameCompareFlags = 0x30001;  // song list: names
constexpr uint32_t kTextCompareFlags = 0x30005;  // song list: titles and other texts

// The three comparisons (-1, 0, 1; the locale one may also give -2 when the
// system call fails). Natively the locale comparison folds ASCII case when
// kNormIgnoreCase is set and otherwise compares bytewise.
int CompareBytes(const char* a, const char* b, uint32_t flags);
int CompareIgnoreCase(const char* a, const char* b, uint32_t flags);
int CompareLocale(const char* a, const char* b, uint32_t flags);

// The memory function every table allocates and grows its arrays with:
// realloc semantics (a null block allocates; null result on failure, the old
// block left intact), blocks released with free. Tests install one that fails
// on demand; null restores std::realloc.
using BagBoxReallocator = void* (*)(void* block, size_t bytes);
void SetBagBoxReallocator(BagBoxReallocator reallocator);

class BagBox {
   public:
    // name may be null (every table of the program passes null).
    BagBox(const char* name,
           bool ignoreCase,
           bool useLocale,
           int stringColumns,
           int integerColumns,
           int initialRows,
           int rowStep,
           uint32_t initialTextBytes,
           uint32_t textStep);
    virtual ~BagBox();
    BagBox(const BagBox&) = delete;
    BagBox& operator=(const BagBox&) = delete;

    // Row values: exactly S strings and I integers.
    void Add(std::initializer_list<const char*> strings, std::initializer_list<int32_t> integers = {});
    void Insert(int32_t position,
                std::initializer_list<const char*> strings,
                std::initializer_list<int32_t> integers = {});
    void Replace(int32_t position,
                 std::initializer_list<const char*> strings,
                 std::initializer_list<int32_t> integers = {});
    // Same as above with arrays of S strings and I integers.
    void AddRow(const char* const* strings, const int32_t* integers);
    void InsertRow(int32_t position, const char* const* strings, const int32_t* integers);
    void ReplaceRow(int32_t position, const char* const* strings, const int32_t* integers);

    void Delete(int32_t position);
    void Move(int32_t destination, int32_t source);
    void MoveBefore(int32_t destination, int32_t source);

    // Cell of the row at an order position; null on a bad argument. Valid until
    // the next Add, Insert, Replace, Delete, Clear, Reserve or ReserveText.
    const char* Read(int32_t position, int32_t column) const;
    // Integer cell; 0 on a bad argument.
    int32_t iRead(int32_t position, int32_t column) const;

    // Order position of the first row whose cell equals key, or -1. Binary
    // search when sorted on that column, else a linear scan.
    int32_t Find(const char* key, int32_t column) const;

    void Sort(int32_t column, bool descending, int32_t first = -1, int32_t last = -1);
    void Sort2(int32_t column, int32_t secondColumn, bool descending, int32_t first = -1, int32_t last = -1);
    void MarkSorted(int32_t column, bool descending);

    int32_t Count() const {
        return count_;
    }
    void Clear();
    void Reserve(int32_t rows);
    void ReserveText(uint32_t bytes);

    void SetPrimaryComparer(bool ignoreCase, bool useLocale);
    void SetSecondaryComparer(bool ignoreCase, bool useLocale);
    void SetPrimaryCompareFlags(uint32_t flags);
    void SetSecondaryCompareFlags(uint32_t flags);

    bool IsSorted() const {
        return sorted_;
    }
    int32_t SortColumn() const {
        return sortColumn_;
    }
    int32_t StringColumns() const {
        return stringColumns_;
    }
    int32_t IntegerColumns() const {
        return integerColumns_;
    }
    // Rows the order index holds before it has to grow.
    int32_t RowCapacity() const {
        return indexCapacity_;
    }
    // Bytes the text heap holds before it has to grow.
    uint32_t TextCapacity() const {
        return textCapacity_;
    }
    // Bytes of the text heap in use.
    uint32_t TextUsed() const {
        return textUsed_;
    }

   private:
    // Internal steps; the public operations check their arguments first.
    void ReportError(const char* text, int32_t value) const;
    bool ResizeRows(int32_t** array, int32_t* capacity, int64_t rows, int32_t cellsPerRow);
    bool ResizeText(uint64_t bytes);
    bool MakeRoomForRow();
    bool AppendRow(const char* const* strings, size_t stringCount, const int32_t* integers, size_t integerCount);
    bool InsertRowAt(int32_t position,
                     const char* const* strings,
                     size_t stringCount,
                     const int32_t* integers,
                     size_t integerCount);
    bool ReplaceRowAt(int32_t position,
                      const char* const* strings,
                      size_t stringCount,
                      const int32_t* integers,
                      size_t integerCount);
    void RemoveRow(int32_t position);
    void MoveEntry(int32_t destination, int32_t source);
    const char* Cell(int32_t position, int32_t column) const;
    int CompareRows(int32_t a, int32_t b, bool secondKey) const;
    void QuickSort(int32_t first, int32_t last, bool secondKey);

    BagBoxComparer primary_ = nullptr;
    BagBoxComparer secondary_ = nullptr;
    uint32_t primaryFlags_ = 0;
    uint32_t secondaryFlags_ = 0;
    const char* name_;
    int32_t sortColumn_ = 0;
    int32_t secondSortColumn_ = 0;
    int32_t direction_ = 1;
    bool sorted_ = false;
    int32_t initialRows_;
    uint32_t initialTextBytes_;
    int32_t stringColumns_;
    int32_t integerColumns_;
    int32_t indexCapacity_ = 0;
    int32_t offsetCapacity_ = 0;
    int32_t rowStep_;
    uint32_t textCapacity_ = 0;
    uint32_t textStep_;
    int32_t integerCapacity_ = 0;
    int32_t* order_ = nullptr;
    int32_t* offsets_ = nullptr;
    char* text_ = nullptr;
    int32_t* integers_ = nullptr;
    int32_t count_ = -1;  // -1: not yet cleared
    uint32_t textUsed_ = 0;
};

// Keeps room for one more row of about rowTextBytes bytes of text in a table
// filled one row at a time that may grow to tens of thousands of rows: a
// full index and a full heap are reserved at twice their use, so filling it
// copies each byte a few times rather than once per row step. The integer
// table, which Reserve leaves alone, still grows by the row step.
void KeepRoomForRow(BagBox* table, size_t rowTextBytes);
