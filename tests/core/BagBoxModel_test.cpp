// BagBox against a plain model: thousands of random operations on rows of
// double-byte text, each followed by a check of every cell.
#include "core/BagBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/InternalError.h"

namespace {

struct ModelRow {
    std::string first;
    std::string second;
    int32_t id;
    int32_t value;
};

struct Config {
    const char* what;
    int initialRows, rowStep;
    uint32_t initialText, textStep;
};

int reports = 0;

void CountReport(const char*, const char*) {
    reports++;
}

class Model {
   public:
    Model(const Config& config, uint32_t seed)
        : table_(nullptr, true, false, 2, 2, config.initialRows, config.rowStep, config.initialText, config.textStep),
          random_(seed) {
        table_.SetSecondaryComparer(false, false);
    }

    void Step() {
        const int count = static_cast<int>(rows_.size());
        const int pick = Below(100);
        if (pick < 25 || count == 0) {
            AddRandomRow();
        } else if (pick < 38) {
            Insert(Below(count + 2) - 1);
        } else if (pick < 46) {
            Replace(Below(count));
        } else if (pick < 62 || count > 300) {
            const int position = Below(count);
            table_.Delete(position);
            rows_.erase(rows_.begin() + position);
        } else if (pick < 70) {
            MoveRow(Below(count), Below(count), false);
        } else if (pick < 78) {
            MoveRow(Below(count + 1) - 1, Below(count), true);
        } else if (pick < 83) {
            SortAndAdopt(false);
        } else if (pick < 86) {
            SortAndAdopt(true);
        } else if (pick < 95) {
            CheckFind();
        } else if (pick < 97) {
            CopyOwnCells(Below(count));
        } else if (pick < 98) {
            table_.Reserve(Below(400));
            table_.ReserveText(static_cast<uint32_t>(Below(20000)));
        } else if (pick == 98 && Below(4) == 0) {
            table_.Clear();
            rows_.clear();
        }
    }

    void CheckEveryCell() const {
        ASSERT_EQ(static_cast<int32_t>(rows_.size()), table_.Count());
        for (size_t i = 0; i < rows_.size(); i++) {
            const int32_t p = static_cast<int32_t>(i);
            ASSERT_EQ(rows_[i].first, table_.Read(p, 0)) << i;
            ASSERT_EQ(rows_[i].second, table_.Read(p, 1)) << i;
            ASSERT_EQ(rows_[i].id, table_.iRead(p, 0)) << i;
            ASSERT_EQ(rows_[i].value, table_.iRead(p, 1)) << i;
        }
    }

   private:
    int Below(int n) {
        return static_cast<int>(random_() % static_cast<uint32_t>(n));
    }

    // Text made of pieces that matter: case pairs, double-byte characters
    // whose trail byte is '\\' ("表", "ソ") or a letter ("ア"), empty cells
    // and now and then a long one.
    std::string RandomText() {
        static const char* const pieces[] = {"a", "A", "b", "B", "表", "ソ", "ア", "\\", "z", "."};
        std::string text;
        const int parts = Below(5);
        for (int i = 0; i < parts; i++) {
            text += pieces[Below(10)];
        }
        if (Below(50) == 0) {
            text += std::string(static_cast<size_t>(Below(5000)), 'x');
        }
        return text;
    }

    ModelRow RandomRow() {
        return ModelRow{RandomText(), RandomText(), nextId_++, static_cast<int32_t>(random_())};
    }

    void AddRandomRow() {
        const ModelRow row = RandomRow();
        table_.Add({row.first.c_str(), row.second.c_str()}, {row.id, row.value});
        rows_.push_back(row);
    }

    void Insert(int position) {
        const ModelRow row = RandomRow();
        const char* strings[] = {row.first.c_str(), row.second.c_str()};
        const int32_t integers[] = {row.id, row.value};
        table_.InsertRow(position, strings, integers);
        rows_.insert(position == -1 ? rows_.end() : rows_.begin() + position, row);
    }

    void Replace(int position) {
        const ModelRow row = RandomRow();
        table_.Replace(position, {row.first.c_str(), row.second.c_str()}, {row.id, row.value});
        rows_[static_cast<size_t>(position)] = row;
    }

    void MoveRow(int destination, int source, bool before) {
        if (before) {
            table_.MoveBefore(destination, source);
            const int count = static_cast<int>(rows_.size());
            destination = destination == -1 ? count - 1 : destination > source ? destination - 1 : destination;
        } else {
            table_.Move(destination, source);
        }
        const ModelRow row = rows_[static_cast<size_t>(source)];
        rows_.erase(rows_.begin() + source);
        rows_.insert(rows_.begin() + destination, row);
    }

    // Appends a copy of a row made from the table's own cells, swapped.
    void CopyOwnCells(int position) {
        const ModelRow& source = rows_[static_cast<size_t>(position)];
        ModelRow row{source.second, source.first, nextId_++, source.value};
        table_.Add({table_.Read(position, 1), table_.Read(position, 0)}, {row.id, row.value});
        rows_.push_back(row);
    }

    // The sort is not stable, so the model takes the table's order after
    // checking that it is sorted and holds the same rows.
    void SortAndAdopt(bool twoKeys) {
        const bool descending = Below(2) == 1;
        const int32_t column = Below(2);
        if (twoKeys) {
            table_.Sort2(column, 1 - column, descending);
        } else {
            table_.Sort(column, descending);
        }
        // Fewer than two rows are left alone, and so is the sort state.
        if (rows_.size() < 2) {
            return;
        }
        descending_ = descending;
        sortColumn_ = column;
        const int32_t direction = descending_ ? -1 : 1;
        std::vector<ModelRow> adopted;
        for (int32_t i = 0; i < table_.Count(); i++) {
            const int32_t id = table_.iRead(i, 0);
            auto found = std::find_if(rows_.begin(), rows_.end(), [id](const ModelRow& r) { return r.id == id; });
            ASSERT_NE(rows_.end(), found) << id;
            adopted.push_back(*found);
            rows_.erase(found);
        }
        ASSERT_TRUE(rows_.empty());
        rows_ = adopted;
        for (size_t i = 1; i < rows_.size(); i++) {
            int order = CompareIgnoreCase(Key(i - 1), Key(i), 0) * direction;
            if (order == 0 && twoKeys) {
                order = CompareBytes(SecondKey(i - 1), SecondKey(i), 0) * direction;
            }
            ASSERT_LE(order, 0) << i;
        }
    }

    const char* Key(size_t i) const {
        return sortColumn_ == 0 ? rows_[i].first.c_str() : rows_[i].second.c_str();
    }
    const char* SecondKey(size_t i) const {
        return sortColumn_ == 0 ? rows_[i].second.c_str() : rows_[i].first.c_str();
    }

    bool ModelIsInOrder() const {
        const int32_t direction = descending_ ? -1 : 1;
        for (size_t i = 1; i < rows_.size(); i++) {
            if (CompareIgnoreCase(Key(i - 1), Key(i), 0) * direction > 0) {
                return false;
            }
        }
        return true;
    }

    // A binary search may only find a matching row, and must find one when
    // the rows really are in order; a scan finds the first match.
    void CheckFind() {
        const int32_t column = Below(2);
        const std::string key = Below(2) ? RandomText() : (column == 0 ? rows_[0].first : rows_[0].second);
        const int32_t found = table_.Find(key.c_str(), column);
        int32_t first = -1;
        for (size_t i = 0; i < rows_.size() && first < 0; i++) {
            const std::string& cell = column == 0 ? rows_[i].first : rows_[i].second;
            if (CompareIgnoreCase(cell.c_str(), key.c_str(), 0) == 0) {
                first = static_cast<int32_t>(i);
            }
        }
        if (table_.IsSorted() && column == table_.SortColumn()) {
            if (found >= 0) {
                ASSERT_EQ(0, CompareIgnoreCase(table_.Read(found, column), key.c_str(), 0));
            } else if (ModelIsInOrder()) {
                ASSERT_EQ(-1, first);
            }
        } else {
            ASSERT_EQ(first, found);
        }
    }

    BagBox table_;
    std::mt19937 random_;
    std::vector<ModelRow> rows_;
    int32_t nextId_ = 0;
    int32_t sortColumn_ = 0;
    bool descending_ = false;
};

}  // namespace

TEST(BagBoxModel, RandomOperationsKeepEveryCell) {
    const Config configs[] = {
        {"one row and one byte at a time", 1, 1, 1, 1},
        {"song list sizes", 512, 256, 8192, 4096},
        {"small table sizes", 8, 4, 32, 16},
    };
    reports = 0;
    SetInternalErrorSink(CountReport);
    for (const Config& config : configs) {
        for (uint32_t seed = 1; seed <= 3; seed++) {
            SCOPED_TRACE(std::string(config.what) + " seed " + std::to_string(seed));
            Model model(config, seed);
            for (int step = 0; step < 3000; step++) {
                ASSERT_NO_FATAL_FAILURE(model.Step()) << "step " << step;
                ASSERT_NO_FATAL_FAILURE(model.CheckEveryCell()) << "step " << step;
            }
        }
    }
    SetInternalErrorSink(nullptr);
    EXPECT_EQ(0, reports);
}
