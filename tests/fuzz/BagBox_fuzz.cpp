// Reads the input as a program of BagBox operations, with positions that may
// be out of range and allocations that may fail, and checks the table against
// a plain model after every step. Any difference traps.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/BagBox.h"
#include "core/InternalError.h"

static void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

static int reports = 0;

static void CountReport(const char*, const char*) {
    reports++;
}

static bool failAllocations = false;

static void* MaybeRealloc(void* block, size_t bytes) {
    return failAllocations ? nullptr : std::realloc(block, bytes);
}

namespace {

struct Row {
    std::string first;
    std::string second;
    int32_t value;
};

class Program {
   public:
    Program(const uint8_t* data, size_t size) : data_(data), size_(size) {
    }

    bool More() const {
        return position_ < size_;
    }
    uint8_t Byte() {
        return position_ < size_ ? data_[position_++] : 0;
    }
    // Positions mostly in range, now and then just outside or far off.
    int32_t Position(size_t count) {
        const int8_t raw = static_cast<int8_t>(Byte());
        return count > 0 && raw >= 0 ? raw % static_cast<int32_t>(count + 1) : raw;
    }
    std::string Text() {
        const size_t length = Byte() % 24;
        std::string text;
        for (size_t i = 0; i < length && More(); i++) {
            const char c = static_cast<char>(Byte());
            text += c ? c : 'x';
        }
        return text;
    }

   private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

}  // namespace

static void CheckCells(const BagBox& table, const std::vector<Row>& rows) {
    Check(table.Count() == static_cast<int32_t>(rows.size()));
    for (size_t i = 0; i < rows.size(); i++) {
        const int32_t p = static_cast<int32_t>(i);
        Check(rows[i].first == table.Read(p, 0));
        Check(rows[i].second == table.Read(p, 1));
        Check(rows[i].value == table.iRead(p, 0));
    }
}

// Adopts the table's order after a sort, checking it holds the same rows.
static void AdoptOrder(const BagBox& table, std::vector<Row>* rows) {
    std::vector<Row> adopted;
    for (int32_t i = 0; i < table.Count(); i++) {
        const int32_t value = table.iRead(i, 0);
        size_t j = 0;
        while (j < rows->size() && (*rows)[j].value != value) {
            j++;
        }
        Check(j < rows->size());
        adopted.push_back((*rows)[j]);
        rows->erase(rows->begin() + static_cast<std::ptrdiff_t>(j));
    }
    Check(rows->empty());
    *rows = adopted;
}

static bool InRange(int32_t position, size_t count) {
    return position >= 0 && static_cast<size_t>(position) < count;
}

static void RunOperation(Program* program, BagBox* table, std::vector<Row>* rows, int32_t* nextValue) {
    const uint8_t op = program->Byte() % 12;
    const size_t count = rows->size();
    const int32_t a = program->Position(count);
    const int32_t b = program->Position(count);
    if (op < 4) {
        const Row row{program->Text(), program->Text(), (*nextValue)++};
        const int before = reports;
        if (op == 0) {
            table->Add({row.first.c_str(), row.second.c_str()}, {row.value});
        } else if (op == 1) {
            table->Insert(a, {row.first.c_str(), row.second.c_str()}, {row.value});
        } else if (op == 2) {
            table->Replace(a, {row.first.c_str(), row.second.c_str()}, {row.value});
        } else {
            // A row copied from the table's own cells.
            const char* first = InRange(a, count) ? table->Read(a, 1) : "";
            const char* second = InRange(a, count) ? table->Read(a, 0) : "";
            Row copy{first, second, row.value};
            table->Add({first, second}, {row.value});
            if (reports == before) {
                rows->push_back(copy);
            }
            return;
        }
        if (reports != before) {
            return;
        }
        if (op == 0 || (op == 1 && (a == -1 || a == static_cast<int32_t>(count)))) {
            rows->push_back(row);
        } else if (op == 1) {
            rows->insert(rows->begin() + a, row);
        } else {
            (*rows)[static_cast<size_t>(a)] = row;
        }
    } else if (op == 4) {
        table->Delete(a);
        if (InRange(a, count)) {
            rows->erase(rows->begin() + a);
        }
    } else if (op == 5 || op == 6) {
        int32_t destination = a;
        if (op == 5) {
            table->Move(a, b);
        } else {
            table->MoveBefore(a, b);
            destination = a == -1 ? static_cast<int32_t>(count) - 1 : a > b ? a - 1 : a;
        }
        if ((InRange(a, count) || (op == 6 && a == -1)) && InRange(b, count)) {
            const Row row = (*rows)[static_cast<size_t>(b)];
            rows->erase(rows->begin() + b);
            rows->insert(rows->begin() + destination, row);
        }
    } else if (op == 7 || op == 8) {
        table->SetPrimaryComparer(a & 1, false);
        if (op == 7) {
            table->Sort(b & 1, a & 2, -1, -1);
        } else {
            table->Sort2(b & 1, (b >> 1) & 1, a & 2, -1, -1);
        }
        AdoptOrder(*table, rows);
    } else if (op == 9) {
        const std::string key = program->Text();
        const int32_t found = table->Find(key.c_str(), b & 1);
        Check(found == -1 || InRange(found, count));
    } else if (op == 10) {
        failAllocations = !failAllocations;
    } else if (a & 1) {
        table->Clear();
        rows->clear();
    } else {
        table->Reserve(b);
        table->ReserveText(static_cast<uint32_t>(a) & 0xFFF);
    }
}

// Every operation is followed by a check of every cell, so a run is kept to
// some dozens of operations: enough to grow, sort and empty a table.
constexpr int kMaxOperations = 32;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetInternalErrorSink(CountReport);
    SetBagBoxReallocator(MaybeRealloc);
    failAllocations = false;
    Program program(data, size);
    {
        BagBox table(nullptr, false, false, 2, 1, 1, 1, 4, 2);
        table.SetSecondaryComparer(true, false);
        std::vector<Row> rows;
        int32_t nextValue = 0;
        for (int operations = 0; program.More() && operations < kMaxOperations; operations++) {
            RunOperation(&program, &table, &rows, &nextValue);
            CheckCells(table, rows);
        }
    }
    SetBagBoxReallocator(nullptr);
    SetInternalErrorSink(nullptr);
    return 0;
}
