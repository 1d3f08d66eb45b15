// BagBox: growth, row surgery through the order index, sort and search, the
// error report and the out-of-memory paths.
#include "core/BagBox.h"

#include <gtest/gtest.h>

#include <cctype>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "core/InternalError.h"

static std::vector<std::string> reportedCaptions;
static std::vector<std::string> reportedMessages;

static void RecordReport(const char* caption, const char* message) {
    reportedCaptions.push_back(caption);
    reportedMessages.push_back(message);
}

// Calls that may still succeed; -1 lets every call through.
static int allowedAllocations = -1;

static void* LimitedRealloc(void* block, size_t bytes) {
    if (allowedAllocations == 0) {
        return nullptr;
    }
    if (allowedAllocations > 0) {
        allowedAllocations--;
    }
    return std::realloc(block, bytes);
}

class BagBoxTest : public ::testing::Test {
   protected:
    void SetUp() override {
        reportedCaptions.clear();
        reportedMessages.clear();
        allowedAllocations = -1;
        SetInternalErrorSink(RecordReport);
        SetBagBoxReallocator(LimitedRealloc);
    }
    void TearDown() override {
        SetInternalErrorSink(nullptr);
        SetBagBoxReallocator(nullptr);
    }
};

// The cells of one string column in order, joined by spaces.
static std::string ColumnText(const BagBox& table, int32_t column) {
    std::string text;
    for (int32_t i = 0; i < table.Count(); i++) {
        text += (i ? " " : "");
        text += table.Read(i, column);
    }
    return text;
}

// Every row as "s0/s1/i0" in order.
static std::string RowsText(const BagBox& table) {
    std::string text;
    for (int32_t i = 0; i < table.Count(); i++) {
        text += (i ? " " : "");
        text += std::string(table.Read(i, 0)) + "/" + table.Read(i, 1) + "/" + std::to_string(table.iRead(i, 0));
    }
    return text;
}

// Rows "a".."d" with second cells of different lengths, so that removing a
// row really moves the heap, and the letter's code as integer.
static void AddLetters(BagBox* table, const char* letters) {
    for (const char* p = letters; *p; p++) {
        const std::string first(1, *p);
        const std::string second(static_cast<size_t>(*p - 'a' + 1), static_cast<char>(*p - 'a' + 'A'));
        table->Add({first.c_str(), second.c_str()}, {*p});
    }
}

TEST_F(BagBoxTest, GrowthFollowsRowAndTextSteps) {
    struct Case {
        const char* what;
        int initialRows, rowStep;
        uint32_t initialText, textStep;
        int rows;
        size_t cellChars;
        int32_t expectedRows;
        uint32_t expectedText;
    };
    const Case cases[] = {
        {"10,000-byte cell grows the heap by its own size", 512, 256, 8192, 4096, 1, 9999, 512, 18192},
        {"cell filling the heap exactly still grows it", 4, 2, 16, 16, 1, 15, 4, 32},
        {"cell leaving one byte free fits", 4, 2, 16, 16, 1, 14, 4, 16},
        {"small cells grow the heap by the step", 4, 4, 8, 4, 3, 3, 4, 16},
        {"rows grow by the row step", 2, 3, 64, 64, 3, 0, 5, 64},
        {"rows grow again when full", 2, 3, 64, 64, 6, 0, 8, 64},
        {"empty initial arrays grow from nothing", 0, 4, 0, 8, 1, 0, 4, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BagBox table(nullptr, false, false, 1, 1, c.initialRows, c.rowStep, c.initialText, c.textStep);
        const std::string cell(c.cellChars, 'x');
        for (int i = 0; i < c.rows; i++) {
            table.Add({cell.c_str()}, {i});
        }
        EXPECT_EQ(c.expectedRows, table.RowCapacity());
        EXPECT_EQ(c.expectedText, table.TextCapacity());
        ASSERT_EQ(c.rows, table.Count());
        for (int i = 0; i < c.rows; i++) {
            EXPECT_EQ(cell, table.Read(i, 0));
            EXPECT_EQ(i, table.iRead(i, 0));
        }
    }
    EXPECT_TRUE(reportedMessages.empty());
}

TEST_F(BagBoxTest, DeleteKeepsTheOrderOfTheOtherRows) {
    struct Case {
        int32_t position;
        const char* what;
        const char* expected;
    };
    // Order after the move: e a b c d, where e is the last physical row.
    const Case cases[] = {
        {0, "last physical row", "a/A/97 b/BB/98 c/CCC/99 d/DDDD/100 f/FFFFFF/102"},
        {1, "first physical row", "e/EEEEE/101 b/BB/98 c/CCC/99 d/DDDD/100 f/FFFFFF/102"},
        {3, "middle physical row", "e/EEEEE/101 a/A/97 b/BB/98 d/DDDD/100 f/FFFFFF/102"},
        {4, "row at the end of the order", "e/EEEEE/101 a/A/97 b/BB/98 c/CCC/99 f/FFFFFF/102"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BagBox table(nullptr, false, false, 2, 1, 8, 8, 64, 64);
        AddLetters(&table, "abcde");
        table.Move(0, 4);
        table.Delete(c.position);
        EXPECT_EQ(4, table.Count());
        // A row added after the removal lands behind the compacted heap.
        AddLetters(&table, "f");
        EXPECT_EQ(c.expected, RowsText(table));
        while (table.Count() > 0) {
            table.Delete(table.Count() / 2);
        }
        AddLetters(&table, "g");
        EXPECT_EQ("g/GGGGGGG/103", RowsText(table));
        EXPECT_EQ(64u, table.TextCapacity());
    }
    EXPECT_TRUE(reportedMessages.empty());
}

TEST_F(BagBoxTest, InsertReplaceAndMovePlaceRowsByOrderPosition) {
    struct Case {
        const char* what;
        std::function<void(BagBox*)> run;
        const char* expected;
    };
    const Case cases[] = {
        {"insert at the count appends",
         [](BagBox* t) {
             t->Insert(4, {"x", "X"}, {'x'});
         },
         "a b c d x"},
        {"insert at -1 appends",
         [](BagBox* t) {
             t->Insert(-1, {"x", "X"}, {'x'});
         },
         "a b c d x"},
        {"insert at the front",
         [](BagBox* t) {
             t->Insert(0, {"x", "X"}, {'x'});
         },
         "x a b c d"},
        {"insert in the middle",
         [](BagBox* t) {
             t->Insert(2, {"x", "X"}, {'x'});
         },
         "a b x c d"},
        {"replace keeps the position",
         [](BagBox* t) {
             t->Replace(1, {"x", "X"}, {'x'});
         },
         "a x c d"},
        {"replace the last row",
         [](BagBox* t) {
             t->Replace(3, {"x", "X"}, {'x'});
         },
         "a b c x"},
        {"move forward", [](BagBox* t) { t->Move(3, 0); }, "b c d a"},
        {"move backward", [](BagBox* t) { t->Move(0, 3); }, "d a b c"},
        {"move onto itself", [](BagBox* t) { t->Move(1, 1); }, "a b c d"},
        {"move before -1 goes last", [](BagBox* t) { t->MoveBefore(-1, 0); }, "b c d a"},
        {"move before a later row", [](BagBox* t) { t->MoveBefore(3, 0); }, "b c a d"},
        {"move before an earlier row", [](BagBox* t) { t->MoveBefore(0, 2); }, "c a b d"},
        {"move before the next row", [](BagBox* t) { t->MoveBefore(2, 1); }, "a b c d"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BagBox table(nullptr, false, false, 2, 1, 2, 2, 8, 8);
        AddLetters(&table, "abcd");
        c.run(&table);
        EXPECT_EQ(c.expected, ColumnText(table, 0));
        for (int32_t i = 0; i < table.Count(); i++) {
            const char* cell = table.Read(i, 0);
            EXPECT_EQ(cell[0], table.iRead(i, 0)) << cell;
            EXPECT_EQ(cell[0] - 'a' + 'A', table.Read(i, 1)[0]) << cell;
        }
    }
    EXPECT_TRUE(reportedMessages.empty());
}

TEST_F(BagBoxTest, SortOrdersByTheColumnWithinTheRange) {
    struct Case {
        const char* what;
        bool ignoreCase;
        const char* rows;
        bool descending;
        int32_t first, last;
        const char* expected;
    };
    const Case cases[] = {
        // Not stable: the order among equal keys is left open (compared in lower case below).
        {"equal keys ignoring case", true, "aBbcA", false, -1, -1, "a a b b c"},
        {"mostly equal keys", false, "bababcbaab", false, -1, -1, "a a a a b b b b b c"},
        {"all keys equal", false, "aaaaaa", true, -1, -1, "a a a a a a"},
        {"bytewise puts capitals first", false, "aBbcA", false, -1, -1, "A B a b c"},
        {"descending", false, "bdac", true, -1, -1, "d c b a"},
        {"part of the table", false, "dcbae", false, 1, 3, "d a b c e"},
        {"from a position to the end", false, "dcbae", false, 2, -1, "d c a b e"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BagBox table(nullptr, c.ignoreCase, false, 1, 0, 4, 4, 16, 16);
        for (const char* p = c.rows; *p; p++) {
            const std::string cell(1, *p);
            table.Add({cell.c_str()});
        }
        table.Sort(0, c.descending, c.first, c.last);
        std::string sorted = ColumnText(table, 0);
        if (c.ignoreCase) {
            for (char& ch : sorted) {
                ch = char(std::tolower(static_cast<unsigned char>(ch)));
            }
        }
        EXPECT_EQ(c.expected, sorted);
        EXPECT_TRUE(table.IsSorted());
    }
}

TEST_F(BagBoxTest, FindSearchesBinaryOnlyOnTheSortedColumn) {
    enum Prepare { kNone, kSortAscending, kSortDescending, kMarkSorted, kSortThenAdd };
    struct Case {
        const char* what;
        std::vector<const char*> column0;
        Prepare prepare;
        int32_t column;
        const char* key;
        int32_t expected;
        bool sorted;
    };
    const Case cases[] = {
        {"one-row sort leaves the table unsorted", {"a"}, kSortAscending, 0, "a", 0, false},
        // The data is not in order, so a binary search misses "c" and a scan finds it.
        {"unsorted table scans", {"c", "a", "b"}, kNone, 0, "c", 0, false},
        {"marked table searches binary", {"c", "a", "b"}, kMarkSorted, 0, "c", -1, true},
        {"binary search ascending", {"e", "b", "d", "a", "c"}, kSortAscending, 0, "d", 3, true},
        {"binary search descending", {"e", "b", "d", "a", "c"}, kSortDescending, 0, "d", 1, true},
        {"binary search misses absent key", {"e", "b", "d", "a", "c"}, kSortAscending, 0, "bb", -1, true},
        // Column 1 now reads 2 4 1 3 5, where a binary search misses "2".
        {"other column scans", {"e", "b", "d", "a", "c"}, kSortAscending, 1, "2", 0, true},
        {"add after sort scans again", {"e", "b", "d", "a", "c"}, kSortThenAdd, 0, "f", 5, false},
        {"ignore case finds other case", {"Ab", "aa", "AC"}, kSortAscending, 0, "ac", 2, true},
        {"empty table", {}, kNone, 0, "a", -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BagBox table(nullptr, true, false, 2, 0, 2, 2, 8, 8);
        int n = 0;
        for (const char* cell : c.column0) {
            // Column 1 holds the physical row numbers backwards: not in order.
            const std::string second = std::to_string(static_cast<int>(c.column0.size()) - n++);
            table.Add({cell, second.c_str()});
        }
        if (c.prepare == kSortAscending || c.prepare == kSortThenAdd) {
            table.Sort(0, false);
        } else if (c.prepare == kSortDescending) {
            table.Sort(0, true);
        } else if (c.prepare == kMarkSorted) {
            table.MarkSorted(0, false);
        }
        if (c.prepare == kSortThenAdd) {
            table.Add({"f", "0"});
        }
        EXPECT_EQ(c.sorted, table.IsSorted());
        EXPECT_EQ(c.expected, table.Find(c.key, c.column));
    }
    EXPECT_TRUE(reportedMessages.empty());
}

TEST_F(BagBoxTest, Sort2BreaksTiesWithTheSecondaryComparer) {
    struct Case {
        const char* what;
        bool secondary;
        bool descending;
        const char* expected;
    };
    const Case cases[] = {
        {"ascending", true, false, "x/a y/a Y/b y/c"},
        {"descending applies to both keys", true, true, "y/c Y/b y/a x/a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BagBox table(nullptr, true, false, 2, 1, 4, 4, 32, 32);
        table.Add({"y", "c"}, {0});
        table.Add({"Y", "b"}, {0});
        table.Add({"x", "a"}, {0});
        table.Add({"y", "a"}, {0});
        table.SetSecondaryComparer(false, false);
        table.Sort2(0, 1, c.descending);
        std::string text;
        for (int32_t i = 0; i < table.Count(); i++) {
            text += (i ? " " : "") + std::string(table.Read(i, 0)) + "/" + table.Read(i, 1);
        }
        EXPECT_EQ(c.expected, text);
        EXPECT_EQ(0, table.SortColumn());
        // Find still uses the first key's comparer.
        EXPECT_EQ(c.descending ? 3 : 0, table.Find("X", 0));
    }
}

TEST_F(BagBoxTest, ClearReturnsToInitialCapacityAndKeepsWorking) {
    BagBox table(nullptr, false, false, 2, 1, 4, 4, 32, 32);
    for (int i = 0; i < 100; i++) {
        const std::string cell = "row " + std::to_string(i);
        table.Add({cell.c_str(), "second cell of some length"}, {i});
    }
    table.Sort(0, false);
    table.Clear();
    EXPECT_EQ(0, table.Count());
    EXPECT_FALSE(table.IsSorted());
    EXPECT_EQ(4, table.RowCapacity());
    EXPECT_EQ(32u, table.TextCapacity());
    AddLetters(&table, "abcdef");
    EXPECT_EQ("a/A/97 b/BB/98 c/CCC/99 d/DDDD/100 e/EEEEE/101 f/FFFFFF/102", RowsText(table));
    // Clearing an empty table changes nothing, not even the sorted flag.
    BagBox empty(nullptr, false, false, 1, 0, 4, 4, 32, 32);
    empty.MarkSorted(0, false);
    empty.Clear();
    EXPECT_TRUE(empty.IsSorted());
    EXPECT_TRUE(reportedMessages.empty());
}

TEST_F(BagBoxTest, ReserveGrowsOnlyTheIndexAndOffsets) {
    BagBox table(nullptr, false, false, 1, 2, 4, 4, 16, 16);
    table.Reserve(100);
    table.Reserve(10);
    table.ReserveText(1000);
    EXPECT_EQ(100, table.RowCapacity());
    EXPECT_EQ(1000u, table.TextCapacity());
    // The integer table still grows step by step as rows arrive.
    for (int i = 0; i < 100; i++) {
        const std::string cell = std::to_string(i);
        table.Add({cell.c_str()}, {i, -i});
    }
    EXPECT_EQ(100, table.RowCapacity());
    EXPECT_EQ(1000u, table.TextCapacity());
    for (int i = 0; i < 100; i++) {
        EXPECT_EQ(std::to_string(i), table.Read(i, 0));
        EXPECT_EQ(-i, table.iRead(i, 1));
    }
}

TEST_F(BagBoxTest, BadArgumentsReportTheirMessageAndChangeNothing) {
    struct Case {
        std::function<std::string(BagBox*)> run;
        const char* message;
        const char* result;
    };
    auto pointer = [](const char* p) { return std::string(p ? p : "null"); };
    const Case cases[] = {
        {[&](BagBox* t) { return pointer(t->Read(3, 0)); }, "Readの引数1が大きすぎます。(3)", "null"},
        {[&](BagBox* t) { return pointer(t->Read(-1, 0)); }, "Readの引数1が大きすぎます。(-1)", "null"},
        {[&](BagBox* t) { return pointer(t->Read(0, 2)); }, "Readの引数2が大きすぎます。(2)", "null"},
        {[&](BagBox* t) { return pointer(t->Read(0, -5)); }, "Readの引数2が大きすぎます。(-5)", "null"},
        {[](BagBox* t) { return std::to_string(t->iRead(3, 0)); }, "iReadの引数1が大きすぎます。(3)", "0"},
        {[](BagBox* t) { return std::to_string(t->iRead(0, 1)); }, "iReadの引数2が大きすぎます。(1)", "0"},
        {[](BagBox* t) { return std::to_string(t->Find("a", 2)); }, "Findの引数1が大きすぎます。(2)", "-1"},
        {[](BagBox* t) {
             return (t->Insert(4, {"x", "X"}, {1}), "");
         },
         "Insertの引数が大きすぎます。(4)", ""},
        {[](BagBox* t) {
             return (t->Insert(-2, {"x", "X"}, {1}), "");
         },
         "Insertの引数が大きすぎます。(-2)", ""},
        {[](BagBox* t) {
             return (t->Replace(3, {"x", "X"}, {1}), "");
         },
         "Replaceの引数が大きすぎます。(3)", ""},
        {[](BagBox* t) {
             return (t->Replace(-1, {"x", "X"}, {1}), "");
         },
         "Replaceの引数が大きすぎます。(-1)", ""},
        {[](BagBox* t) { return (t->Delete(3), ""); }, "Deleteの引数が大きすぎます。(3)", ""},
        {[](BagBox* t) { return (t->Delete(-1), ""); }, "Deleteの引数が大きすぎます。(-1)", ""},
        {[](BagBox* t) { return (t->Move(3, 0), ""); }, "Moveの引数1が大きすぎます。(3)", ""},
        {[](BagBox* t) { return (t->Move(-1, 0), ""); }, "Moveの引数1が大きすぎます。(-1)", ""},
        {[](BagBox* t) { return (t->Move(0, 3), ""); }, "Moveの引数2が大きすぎます。(3)", ""},
        {[](BagBox* t) { return (t->MoveBefore(-2, 0), ""); }, "Moveの引数1が大きすぎます。(-2)", ""},
        {[](BagBox* t) { return (t->MoveBefore(0, -1), ""); }, "Moveの引数2が大きすぎます。(-1)", ""},
        {[](BagBox* t) { return (t->Sort(2, false), ""); }, "Sortの引数1が大きすぎます。(2)", ""},
        {[](BagBox* t) { return (t->Sort2(2, 0, false), ""); }, "Sort2の引数1が大きすぎます。(2)", ""},
        {[](BagBox* t) { return (t->Sort2(0, 7, false), ""); }, "Sort2の引数2が大きすぎます。(7)", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        reportedMessages.clear();
        reportedCaptions.clear();
        BagBox table(nullptr, false, false, 2, 1, 2, 2, 8, 8);
        AddLetters(&table, "cab");
        EXPECT_EQ(c.result, c.run(&table));
        ASSERT_EQ(1u, reportedMessages.size());
        EXPECT_EQ(c.message, reportedMessages[0]);
        EXPECT_EQ("BagBox class (内部エラー)", reportedCaptions[0]);
        EXPECT_EQ("c/CCC/99 a/A/97 b/BB/98", RowsText(table));
        EXPECT_FALSE(table.IsSorted());
    }
}

TEST_F(BagBoxTest, ReportIsCodePage932WithTheTableName) {
    BagBox table(nullptr, false, false, 1, 0, 2, 2, 8, 8);
    EXPECT_EQ(nullptr, table.Read(0, 0));
    BagBox named("songs", false, false, 1, 0, 2, 2, 8, 8);
    named.Add({"a"});
    EXPECT_EQ(nullptr, named.Read(1, 0));
    ASSERT_EQ(2u, reportedMessages.size());
    // The bytes themselves: the message box shows code page 932.
    const std::string message =
        "\x52\x65\x61\x64\x82\xCC\x88\xF8\x90\x94"
        "1\x82\xAA\x91\xE5\x82\xAB\x82\xB7\x82\xAC\x82\xDC\x82\xB7\x81\x42";
    EXPECT_EQ(message + "(0)", reportedMessages[0]);
    EXPECT_EQ("songs\n" + message + "(1)", reportedMessages[1]);
    EXPECT_EQ("BagBox class (\x93\xE0\x95\x94\x83\x47\x83\x89\x81\x5B)", reportedCaptions[0]);
}

TEST_F(BagBoxTest, FailedAllocationsLeaveAUsableTable) {
    const std::string allocFailed = "メモリのAllocに失敗しました。(0)";
    const std::string reAllocFailed = "メモリのReAllocに失敗しました。(0)";
    allowedAllocations = 0;
    BagBox table(nullptr, false, false, 2, 1, 2, 2, 8, 8);
    // Index, offsets, integers and text; then the index again on Add.
    table.Add({"a", "b"}, {1});
    EXPECT_EQ(std::vector<std::string>(5, allocFailed), reportedMessages);
    EXPECT_EQ(0, table.Count());
    allowedAllocations = -1;
    AddLetters(&table, "ab");
    EXPECT_EQ("a/A/97 b/BB/98", RowsText(table));
    // The rows are full and the index cannot grow.
    reportedMessages.clear();
    allowedAllocations = 0;
    table.Insert(0, {"c", "C"}, {3});
    EXPECT_EQ(std::vector<std::string>(1, reAllocFailed), reportedMessages);
    EXPECT_EQ("a/A/97 b/BB/98", RowsText(table));
}

TEST_F(BagBoxTest, FailedTextGrowthTakesBackTheRowsFirstCells) {
    BagBox table(nullptr, false, false, 2, 1, 4, 4, 16, 16);
    AddLetters(&table, "ab");
    // 9 of 16 bytes used: "c" fits, the long second cell does not.
    allowedAllocations = 0;
    table.Add({"c", "a long second cell"}, {3});
    table.Replace(0, {"d", "a long second cell"}, {4});
    EXPECT_EQ(std::vector<std::string>(2, "メモリのReAllocに失敗しました。(0)"), reportedMessages);
    EXPECT_EQ("a/A/97 b/BB/98", RowsText(table));
    allowedAllocations = -1;
    // Back at 9 bytes, "cc" and "dd" fit without growing the heap.
    table.Add({"cc", "dd"}, {5});
    EXPECT_EQ(16u, table.TextCapacity());
    table.Delete(0);
    EXPECT_EQ("b/BB/98 cc/dd/5", RowsText(table));
}

TEST_F(BagBoxTest, CellsOfTheSameTableCanBeWrittenBack) {
    // The heap is full, so the copy moves it while reading the source cells.
    BagBox table(nullptr, false, false, 2, 1, 1, 1, 8, 1);
    AddLetters(&table, "abc");
    table.Add({table.Read(2, 0), table.Read(1, 1)}, {7});
    // Replacing a row with its own cells swapped; the heap is compacted under them.
    table.Replace(0, {table.Read(0, 1), table.Read(0, 0)}, {8});
    table.Replace(2, {table.Read(1, 1), table.Read(2, 1)}, {9});
    EXPECT_EQ("A/a/8 b/BB/98 BB/CCC/9 c/BB/7", RowsText(table));
    EXPECT_TRUE(reportedMessages.empty());
}

TEST(BagBoxComparers, FoldOnlySingleByteLetters) {
    struct Case {
        const char* a;
        const char* b;
        int bytes;
        int ignoreCase;
    };
    const Case cases[] = {
        {"abc", "ABC", 1, 0},
        {"abc", "abd", -1, -1},
        {"ab", "abc", -1, -1},
        {"\x80", "a", 1, 1},
        {"Z", "a", -1, 1},
        // "ア" 83 41 and "ヂ" 83 61 differ only by a trail byte that looks like a letter.
        {"ア", "ヂ", -1, -1},
        {"表", "ソ", 1, 1},
        {"", "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " " + c.b);
        EXPECT_EQ(c.bytes, CompareBytes(c.a, c.b, 0));
        EXPECT_EQ(c.ignoreCase, CompareIgnoreCase(c.a, c.b, 0));
#ifndef _WIN32
        EXPECT_EQ(c.bytes, CompareLocale(c.a, c.b, 0));
        EXPECT_EQ(c.ignoreCase, CompareLocale(c.a, c.b, kNameCompareFlags));
#endif
    }
}
