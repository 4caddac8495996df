#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "model/cell_ref.hpp"
#include "platform/encoding.hpp"
#include "support/test_support.hpp"

namespace tova {
namespace {

using namespace model;
using test::utf8_of_sjis;

struct NameCase {
    int32_t row, column;
    int rc;
    const char* name;
    const char* absolute;
};

constexpr NameCase kNameCases[] = {
    {0, 0, 0, "A1", "$A$1"},
    {0, 25, 0, "Z1", "$Z$1"},
    {0, 26, 0, "AA1", "$AA$1"},
    {0, 701, 0, "ZZ1", "$ZZ$1"},
    {0, 702, 0, "AAA1", "$AAA$1"},
    {12, 1351, 0, "AYZ13", "$AYZ$13"},
    {12, 1352, 0, "AZA13", "$AZA$13"},
    {1048575, 16383, 0, "XFD1048576", "$XFD$1048576"},
    {-1, 0, -1, "", ""},
    {0, -1, -1, "", ""},
    {1048576, 0, -1, "", ""},
    {0, 16384, -1, "", ""},
};

TEST(CellNames, PrintColumnsInBijectiveBase26) {
    for (const NameCase& c : kNameCases) {
        std::string name = "stale", absolute = "stale";
        EXPECT_EQ(format_cell_name(c.row, c.column, name), c.rc) << c.name;
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(format_cell_name_absolute(c.row, c.column, absolute), c.rc) << c.name;
        EXPECT_EQ(absolute, c.absolute);
    }
}

TEST(CellNames, EveryColumnReadsBack) {
    for (int32_t column = 0; column <= kLastColumn; ++column) {
        std::string name;
        ASSERT_EQ(format_cell_name(7, column, name), 0);
        int32_t row = -1, parsed = -1;
        ASSERT_EQ(parse_cell_simple(name, row, parsed), 0) << name;
        ASSERT_EQ(parsed, column) << name;
        ASSERT_EQ(row, 7);
    }
}

TEST(CellNames, RangeNames) {
    std::string name;
    EXPECT_EQ(format_range_name(1, 1, 0, 0, name), 0);
    EXPECT_EQ(name, "B2:A1");
    EXPECT_EQ(format_range_name(0, 0, 0, 16384, name), -1);
    EXPECT_EQ(name, "");
}

TEST(NumberText, DigitsSignsCommasAndOneDot) {
    struct Case {
        const char* text;
        bool number;
        int32_t value;
    };
    constexpr Case kCases[] = {
        {"12", true, 12},        {"+7", true, 7},      {"-3", true, -3},     {"1,234", true, 1},
        {"1.5", true, 1},        {".5", true, 0},      {"", false, 0},       {"+", false, 0},
        {"1.2.3", false, 1},     {"1-", false, 1},     {"1e3", false, 1},    {" 1", false, 0},
        {"99999999999999999999", true, INT32_MAX},     {"-99999999999999999999", true, INT32_MIN},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(is_number_text(c.text), c.number) << c.text;
        EXPECT_EQ(leading_integer(c.text), c.value) << c.text;
    }
}

struct CellCase {
    const char* text;
    int rc;
    int32_t row, column;
};

constexpr CellCase kSimpleCells[] = {
    {"A1", 0, 0, 0},           {"a1", 0, 0, 0},         {"$A$1", 0, 0, 0},        {"A$1", 0, 0, 0},
    {"$A1", 0, 0, 0},          {"AZA1", 0, 0, 1352},    {"xfd1048576", 0, 1048575, 16383},
    {"XFE1", -1, 0, 0},        {"A1048577", -1, 0, 0},  {"AAAA1", -1, 0, 0},      {"A0", -1, 0, 0},
    {"A", -1, 0, 0},           {"1", -1, 0, 0},         {"A*", -1, 0, 0},         {"**", -1, 0, 0},
    {"@1", -1, 0, 0},          {"[1", -1, 0, 0},        {"`1", -1, 0, 0},         {"{1", -1, 0, 0},
    {"\xC3\x84" "1", -1, 0, 0}, {"A-1", -1, 0, 0},      {"A1B", -1, 0, 0},        {"", -1, 0, 0},
    {"A99999999999999999999", -1, 0, 0},                {"$$A1", -1, 0, 0},
};

TEST(SimpleCells, Parse) {
    for (const CellCase& c : kSimpleCells) {
        int32_t row = 99, column = 99;
        EXPECT_EQ(parse_cell_simple(c.text, row, column), c.rc) << c.text;
        EXPECT_EQ(row, c.row) << c.text;
        EXPECT_EQ(column, c.column) << c.text;
    }
}

TEST(SimpleRanges, CornersStayAsWritten) {
    XLS_RECT rect{};
    EXPECT_EQ(parse_range_simple("B2:A1", rect), 0);
    EXPECT_EQ(rect.first_row, 1);
    EXPECT_EQ(rect.first_column, 1);
    EXPECT_EQ(rect.last_row, 0);
    EXPECT_EQ(rect.last_column, 0);

    EXPECT_EQ(parse_range_simple("C3:XFE1", rect), -1);
    EXPECT_EQ(rect.first_row + rect.first_column + rect.last_row + rect.last_column, 0);
    EXPECT_EQ(parse_range_simple("A1", rect), -1);
    EXPECT_EQ(parse_range_simple(std::string(78, '$') + "A:", rect), -1);
    EXPECT_EQ(parse_range_simple(std::string(79, '$') + "A:", rect), -3);
}

TEST(RowRanges, Parse) {
    struct Case {
        const char* text;
        int rc;
        int32_t first, last;
    };
    constexpr Case kCases[] = {
        {"3:5", 0, 2, 4},   {"5:3", 0, 4, 2},      {"1:1048576", 0, 0, 1048575}, {"0:5", -3, 0, 0},
        {"1:1048577", -3, 0, 0}, {"3", -3, 0, 0}, {"a:b", -3, 0, 0},            {"3:", -3, 0, 0},
    };
    for (const Case& c : kCases) {
        int32_t first = 99, last = 99;
        EXPECT_EQ(parse_row_range(c.text, first, last), c.rc) << c.text;
        EXPECT_EQ(first, c.first) << c.text;
        EXPECT_EQ(last, c.last) << c.text;
    }
}

// A book with three sheets: "Sheet1" (current), "Sheet2" and "シート".
class References : public ::testing::Test {
protected:
    void SetUp() override {
        area_ = &create_work_area(*book_);
        for (const char* name : {"Sheet1", "Sheet2", "シート"}) area_->book.sheets.emplace_back().name = name;
        book_->cur_sheet = 0;
    }

    Sheet& sheet(size_t index) { return area_->book.sheets[index]; }

    // Gives a sheet rows in use, each with the given count of cell slots.
    void fill(size_t index, std::vector<size_t> widths) {
        for (size_t width : widths) {
            Row& row = sheet(index).rows.emplace_back();
            row.cells.resize(width);
            for (Cell& cell : row.cells) cell.kind = kInteger;
        }
    }

    std::string message() const { return utf8_of_sjis(book_->log.error_info); }

    test::BookPtr book_ = test::make_zeroed_book();
    WorkArea* area_ = nullptr;
};

constexpr CellCase kFullCells[] = {
    {"A1", 0, 0, 0},        {"a1", 0, 0, 0},          {"$A$1", 0, 0, 0},    {"A$1", 0, 0, 0},
    {"$A1", 0, 0, 0},       {"A*", 0, 1048575, 0},    {"**", 0, 1048575, 16383},
    {"A(3)", 0, 3, 0},      {"(3)1", 0, 0, 2},        {"$(3)$1", 0, 0, 2},  {"(2+1)(4-1)", 0, 3, 2},
    {"A( 3 + 2 )", 0, 5, 0}, {"A(-1)", -1, 0, 0},     {"(0)1", -1, 0, 0},   {"(16385)1", -1, 0, 0},
    {"XFE1", -1, 0, 0},     {"A1048577", -1, 0, 0},   {"AAAA1", -1, 0, 0},  {"A*5", -1, 0, 0},
    {"(3)B1", -1, 0, 0},    {"A(3", -1, 0, 0},        {"(3", -1, 0, 0},     {"A", -1, 0, 0},
    {"*", -1, 0, 0},        {"", -1, 0, 0},           {"A99999999999999999999", -1, 0, 0},
    {"A(99999999999999999999)", -1, 0, 0},
};

TEST_F(References, FullCellReferences) {
    for (const CellCase& c : kFullCells) {
        int32_t row = 99, column = 99;
        EXPECT_EQ(parse_cell_ref(*book_, -1, c.text, row, column), c.rc) << c.text;
        EXPECT_EQ(row, c.row) << c.text;
        EXPECT_EQ(column, c.column) << c.text;
    }
}

TEST_F(References, RownumIsTheLastLoadedRow) {
    struct Case {
        int32_t last_loaded_row;
        size_t rows_in_use;
        const char* text;
        int32_t row;
    };
    constexpr Case kCases[] = {
        {12, 20, "A($ROWNUM)", 11}, {12, 20, "A($ROWNUM+1)", 12}, {12, 20, "A($ROWNUM - 2 + 1)", 10},
        {0, 5, "A($ROWNUM)", 4},    {0, 0, "A($ROWNUM)", 0},       {0, 0, "A($ROWNUM+1)", 1},
    };
    for (const Case& c : kCases) {
        sheet(1).last_loaded_row = c.last_loaded_row;
        sheet(1).rows.clear();
        fill(1, std::vector<size_t>(c.rows_in_use, 1));
        int32_t row = -1, column = -1;
        EXPECT_EQ(parse_cell_ref(*book_, 1, c.text, row, column), 0) << c.text;
        EXPECT_EQ(row, c.row) << c.text;
    }
    // Without a sheet index the current sheet (no rows, no load) is used.
    int32_t row = -1, column = -1;
    EXPECT_EQ(parse_cell_ref(*book_, -1, "A($ROWNUM+1)", row, column), 0);
    EXPECT_EQ(row, 1);
}

TEST_F(References, ExpressionsReportWhatTheyCannotRead) {
    area_->book.variables.put("N", "4");
    area_->book.variables.put("WORD", "four");
    struct Case {
        const char* text;
        const char* message;
    };
    constexpr Case kCases[] = {
        {"A($ROWNUM*2)", "TOVA-02201 サポート外の演算子です(\"*\")。"},
        {"($CLMNUM/2)1", "TOVA-02201 サポート外の演算子です(\"/\")。"},
        {"A($MISSING)", "TOVA-03001 変数の値が取得できません(\"$MISSING\")。"},
        {"A($WORD)", "TOVA-02302 数値が不正です(\"$WORD\")。"},
        {"A(X)", "TOVA-02200 サポート外のキーワードです(\"X\")。"},
        {"A($CLMNUM)", "TOVA-03001 変数の値が取得できません(\"$CLMNUM\")。"},
    };
    for (const Case& c : kCases) {
        int32_t row = 99, column = 99;
        EXPECT_EQ(parse_cell_ref(*book_, -1, c.text, row, column), -1) << c.text;
        EXPECT_EQ(row + column, 0) << c.text;
        EXPECT_EQ(message(), c.message);
    }
    int32_t row = 0, column = 0;
    EXPECT_EQ(parse_cell_ref(*book_, -1, "A($N+1)", row, column), 0);
    EXPECT_EQ(row, 5);
}

TEST_F(References, ClmnumIsTheLastUsedColumn) {
    fill(0, {3, 7, 2});
    struct Case {
        const char* text;
        int rc;
        int32_t row, column;
    };
    constexpr Case kCases[] = {
        {"($CLMNUM)1", 0, 0, 6}, {"($CLMNUM+1)5", 0, 4, 7}, {"($CLMNUM-6)(1)", 0, 1, 0}, {"($CLMNUM-7)1", -1, 0, 0},
    };
    for (const Case& c : kCases) {
        int32_t row = 99, column = 99;
        EXPECT_EQ(parse_cell_ref(*book_, -1, c.text, row, column), c.rc) << c.text;
        EXPECT_EQ(row, c.row) << c.text;
        EXPECT_EQ(column, c.column) << c.text;
    }
    area_->book.sheets[0].rows.clear();
    int32_t row = 99, column = 99;
    EXPECT_EQ(parse_cell_ref(*book_, -1, "($CLMNUM)1", row, column), -1);  // no letters for column 0
}

TEST_F(References, SheetPrefixesAreExact) {
    size_t after = 99;
    EXPECT_EQ(find_sheet_prefix(*book_, "Sheet2!A1:B2", after), 1);
    EXPECT_EQ(after, 7u);
    EXPECT_EQ(find_sheet_prefix(*book_, "sheet2!A1:B2", after), -1);
    EXPECT_EQ(after, 0u);
    EXPECT_EQ(find_sheet_prefix(*book_, "!A1", after), -1);
    EXPECT_EQ(find_sheet_prefix(*book_, "'Sheet2'!A1", after), -1);  // no quotes are removed here
    EXPECT_EQ(find_sheet_prefix(*book_, "シート!A1", after), 2);

    std::string name90(90, 'n'), name91(91, 'n');
    area_->book.sheets.emplace_back().name = name90;
    area_->book.sheets.emplace_back().name = name91;
    EXPECT_EQ(find_sheet_prefix(*book_, name90 + "!A1", after), 3);
    EXPECT_EQ(find_sheet_prefix(*book_, name91 + "!A1", after), -1);
    EXPECT_EQ(find_sheet_prefix(*book_, name90 + "!A1:" + std::string(79, 'B'), after), 3);  // 173 bytes
    EXPECT_EQ(find_sheet_prefix(*book_, name90 + "!A1:" + std::string(80, 'B'), after), -1);
}

TEST_F(References, StatementPrefixes) {
    area_->book.sheets.emplace_back().name = "My Sheet";
    area_->book.sheets.emplace_back().name = "v1.0";
    struct Case {
        const char* text;
        int32_t sheet;
        const char* rest;
    };
    constexpr Case kCases[] = {
        {"Sheet2!A1", 1, "A1"},           {"'My Sheet'!A1.FONT.SIZE", 3, "A1.FONT.SIZE"},
        {"'v1.0'!B2", 4, "B2"},           {"A1.FONT!x", -1, "A1.FONT!x"},
        {"A1:B2!x", -1, "A1:B2!x"},       {"Nope!A1", -1, "Nope!A1"},
        {"sheet2!A1", -1, "sheet2!A1"},   {"'Sheet2!A1", -1, "'Sheet2!A1"},
        {"A1", -1, "A1"},
    };
    for (const Case& c : kCases) {
        std::string text = c.text;
        EXPECT_EQ(strip_sheet_prefix(*book_, text), c.sheet) << c.text;
        EXPECT_EQ(text, c.rest);
    }
}

std::vector<int32_t> corners(const XLS_RANGE_LIST& list) {
    std::vector<int32_t> all = {list.sheet, list.count};
    for (int32_t i = 0; i < list.count; ++i) {
        const XLS_RECT& r = list.ranges[i];
        all.insert(all.end(), {r.first_row, r.first_column, r.last_row, r.last_column});
    }
    return all;
}

// A list left as a failed parse must leave it: nothing but zeros in its ranges.
bool cleared(const XLS_RANGE_LIST& list) {
    XLS_RECT zero[XLS_RANGE_LIST_MAX] = {};
    return list.sheet == 0 && list.count == 0 && std::memcmp(list.ranges, zero, sizeof zero) == 0;
}

TEST_F(References, Ranges) {
    book_->cur_sheet = 2;
    XLS_RANGE_LIST list{};
    list.row = list.column = -1;
    EXPECT_EQ(parse_range_ref(*book_, "B2:A1", list), 0);
    EXPECT_EQ(corners(list), (std::vector<int32_t>{2, 1, 1, 1, 0, 0}));
    EXPECT_EQ(list.row, -1);  // not the range parser's field
    EXPECT_EQ(parse_range_ref(*book_, "Sheet2!A1:b2", list), 0);
    EXPECT_EQ(corners(list), (std::vector<int32_t>{1, 1, 0, 0, 1, 1}));
    EXPECT_EQ(parse_range_ref(*book_, "A1:**", list), 0);
    EXPECT_EQ(corners(list), (std::vector<int32_t>{2, 1, 0, 0, 1048575, 16383}));

    for (std::string bad : {"sheet2!A1:B2", "A1", "A1:B", "Sheet9!A1:B2"}) {
        EXPECT_EQ(parse_range_ref(*book_, bad, list), -1) << bad;
        EXPECT_TRUE(cleared(list)) << bad;
    }
    std::string longest = "A1:" + std::string(kRangeRefMax - 4, '$') + "B";
    EXPECT_EQ(parse_range_ref(*book_, longest, list), -1);  // long enough to be read, not a cell
    EXPECT_EQ(parse_range_ref(*book_, longest + "1", list), -3);
}

TEST_F(References, ColumnRanges) {
    XLS_RANGE_LIST list{};
    EXPECT_EQ(parse_column_range(*book_, "A:C", list), 0);
    EXPECT_EQ(corners(list), (std::vector<int32_t>{0, 1, 0, 0, 0, 2}));
    EXPECT_EQ(parse_column_range(*book_, "Sheet2!$d:B", list), 0);
    EXPECT_EQ(corners(list), (std::vector<int32_t>{1, 1, 0, 3, 0, 1}));
    EXPECT_EQ(parse_column_range(*book_, "(2):C", list), 0);
    EXPECT_EQ(corners(list), (std::vector<int32_t>{0, 1, 0, 1, 0, 2}));
    for (const char* bad : {"A1:B2", "A:C3", "A0:C", "A", "A:XFE", "1:3", ":"}) {
        EXPECT_EQ(parse_column_range(*book_, bad, list), -1) << bad;
        EXPECT_TRUE(cleared(list)) << bad;
    }
}

std::string list_of(int items) {
    std::string text;
    for (int i = 0; i < items; ++i) text += "A" + std::to_string(i + 1) + ":B" + std::to_string(i + 1) + ",";
    return text;
}

TEST_F(References, RangeLists) {
    XLS_RANGE_LIST list{};
    EXPECT_EQ(parse_range_list(*book_, "A1:B2,D1:E5", list), 0);
    EXPECT_EQ(corners(list), (std::vector<int32_t>{0, 2, 0, 0, 1, 1, 0, 3, 4, 4}));
    EXPECT_EQ(parse_range_list(*book_, ",Sheet2!A1:B2,,Sheet1!C1:D2,", list), 0);
    EXPECT_EQ(corners(list), (std::vector<int32_t>{1, 2, 0, 0, 1, 1, 0, 2, 1, 3}));

    for (const char* bad : {"A1:B2,C3", "A1:B2", ",,", "A1:B2,XFE1:A1"}) {
        EXPECT_EQ(parse_range_list(*book_, bad, list), kNothing) << bad;
        EXPECT_TRUE(cleared(list)) << bad;
    }
    EXPECT_EQ(parse_range_list(*book_, list_of(255), list), 0);
    EXPECT_EQ(list.count, 255);
    EXPECT_EQ(list.ranges[254].last_row, 254);
    EXPECT_EQ(parse_range_list(*book_, list_of(256), list), -1);
    EXPECT_TRUE(cleared(list));
}

TEST_F(References, RownumGroupsAreSplicedIn) {
    sheet(0).last_loaded_row = 12;
    fill(0, {1, 1, 1});
    struct Case {
        const char* text;
        const char* result;
    };
    constexpr Case kCases[] = {
        {"=SUM(B1:B($ROWNUM))", "=SUM(B1:B12)"},
        {"A($ROWNUM+1)", "A13"},
        {"A( $ROWNUM - 2 + 1 )", "A11"},
        {"A($ROWNUM-20)", "A1"},
        {"A($ROWNUM+2000000)", "A1"},
        {"=$A$1+B($ROWNUM)", "=$A$1+B12"},
        {"=\"a\"\"b\"&C($ROWNUM)", "=\"a\"\"b\"&C12"},
        {"=--A1 +  B($ROWNUM) ", "=--A1 +  B12 "},
        {"=\"($ROWNUM)\"&A($ROWNUM)", "=\"($ROWNUM)\"&A12"},
        {"'($ROWNUM)'!A1", "'($ROWNUM)'!A1"},
        {"=$A$1 & \"x  y\"", "=$A$1 & \"x  y\""},
        {"=A1*$ROWNUM", "=A1*$ROWNUM"},
        {"A($ROWNUM*2)", "A($ROWNUM*2)"},
        {"A($ROWNUM+$N)", "A($ROWNUM+$N)"},
        {"A($ROWNUMS)", "A($ROWNUMS)"},
        {"A($ROWNUM+1", "A($ROWNUM+1"},
        {"A1:A($ROWNUM),B($ROWNUM-1)", "A1:A12,B11"},
    };
    for (const Case& c : kCases) {
        std::string text = c.text;
        substitute_rownum(*book_, text);
        EXPECT_EQ(text, c.result) << c.text;
    }
    std::string too_long = "A($ROWNUM)" + std::string(kReferenceTextMax - 9, ' ');
    std::string copy = too_long;
    substitute_rownum(*book_, copy);
    EXPECT_EQ(copy, too_long);

    std::string on_empty_sheet = "A($ROWNUM)";
    book_->cur_sheet = 1;
    substitute_rownum(*book_, on_empty_sheet);
    EXPECT_EQ(on_empty_sheet, "A($ROWNUM)");
}

TEST_F(References, ClmnumGroupOpeningAReference) {
    struct Case {
        const char* text;
        const char* on_empty_sheet;
        const char* on_filled_sheet;  // last used column 7
    };
    constexpr Case kCases[] = {
        {"($CLMNUM+1)3", "(2)3", "(8)3"},
        {"($CLMNUM)3", "(1)3", "(7)3"},
        {"(2)3", "(2)3", "(2)3"},
        {"A($CLMNUM)", "A($CLMNUM)", "A($CLMNUM)"},
        {"($CLMNUM*2)3", "($CLMNUM*2)3", "($CLMNUM*2)3"},
        {"(($CLMNUM))3", "(($CLMNUM))3", "(($CLMNUM))3"},
        {"($CLMNUM", "($CLMNUM", "($CLMNUM"},
    };
    for (const Case& c : kCases) {
        std::string text = c.text;
        substitute_clmnum(*book_, text);
        EXPECT_EQ(text, c.on_empty_sheet) << c.text;
    }
    fill(0, {7, 2});
    for (const Case& c : kCases) {
        std::string text = c.text;
        substitute_clmnum(*book_, text);
        EXPECT_EQ(text, c.on_filled_sheet) << c.text;
    }
}

TEST(CellNameExports, OneBasedNamesAndEmptyTextOnFailure) {
    struct Case {
        int row, column;
        int rc;
        const char* name;
    };
    constexpr Case kCases[] = {
        {1, 1, 0, "A1"},          {1048576, 16384, 0, "XFD1048576"}, {1048577, 1, -3, ""},
        {1, 16385, -3, ""},       {0, 1, -3, ""},                    {INT_MIN, INT_MIN, -3, ""},
    };
    for (const Case& c : kCases) {
        char name[11];
        std::memset(name, 'x', sizeof name);
        EXPECT_EQ(TOVA_cell_name(c.row, c.column, name), c.rc);
        EXPECT_STREQ(name, c.name);
    }
    EXPECT_EQ(TOVA_cell_name(1, 1, nullptr), -3);

    char range[23];
    EXPECT_EQ(TOVA_cell_range(1048576, 16384, 1048576, 16384, range), 0);
    EXPECT_STREQ(range, "XFD1048576:XFD1048576");
    EXPECT_EQ(TOVA_cell_range(2, 2, 1, 1, range), 0);
    EXPECT_STREQ(range, "B2:A1");
    EXPECT_EQ(TOVA_cell_range(1, 1, 1, 16385, range), -3);
    EXPECT_STREQ(range, "");
    EXPECT_EQ(TOVA_cell_range(1, 1, 1, 1, nullptr), -3);
}

TEST_F(References, IsCell) {
    sheet(0).last_loaded_row = 12;
    fill(0, {3, 7});
    struct Case {
        std::string text;
        int rc, row, column;
    };
    const Case cases[] = {
        {"A1", 0, 1, 1},
        {"$c$5", 0, 5, 3},
        {"A($ROWNUM)", 0, 12, 1},
        {"A($ROWNUM+1)", 0, 13, 1},
        {"($CLMNUM+1)3", 0, 3, 8},
        {"**", 0, 1048576, 16384},
        {"A0", -801, 0, 0},
        {"XFE1", -801, 0, 0},
        {std::string(kReferenceTextMax - 1, '$') + "A", -801, 0, 0},
        {std::string(kReferenceTextMax, '$') + "A", -3, 0, 0},
    };
    for (const Case& c : cases) {
        int row = 99, column = 99;
        EXPECT_EQ(TOVA_is_cell(book_.get(), c.text.c_str(), &row, &column), c.rc) << c.text;
        EXPECT_EQ(book_->log.error_code, c.rc);
        EXPECT_EQ(row, c.row) << c.text;
        EXPECT_EQ(column, c.column) << c.text;
    }
    int row = 99;
    EXPECT_EQ(TOVA_is_cell(book_.get(), "A1", &row, nullptr), -3);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(TOVA_is_cell(book_.get(), nullptr, &row, &row), -3);
}

TEST_F(References, IsRange) {
    book_->cur_sheet = 1;
    struct Case {
        std::string text;
        int rc;
        std::vector<int> corners;
    };
    const Case cases[] = {
        {"B2:A1", 0, {2, 2, 1, 1}},
        {"Sheet2!A1:C3", 0, {1, 1, 3, 3}},
        {enc::conv_charset(enc::kUtf8, enc::kShiftJis, "シート!A1:B2"), 0, {1, 1, 2, 2}},
        {"sheet2!A1:B2", -801, {0, 0, 0, 0}},
        {"A1", -801, {0, 0, 0, 0}},
        {std::string(200, '$') + "A1:B2", -801, {0, 0, 0, 0}},
        {std::string(kReferenceTextMax + 1, 'A'), -3, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        std::vector<int> got(4, 99);
        EXPECT_EQ(TOVA_is_range(book_.get(), c.text.c_str(), &got[0], &got[1], &got[2], &got[3]), c.rc)
            << utf8_of_sjis(c.text);
        EXPECT_EQ(book_->log.error_code, c.rc);
        EXPECT_EQ(got, c.corners) << utf8_of_sjis(c.text);
    }
}

TEST_F(References, RowAndColumnCounts) {
    fill(0, {3, 0, 5});
    Row& last = sheet(0).rows[2];
    last.cells[3].kind = kEmpty;
    last.cells[4].kind = kEmpty;
    Row& first = sheet(0).rows[0];
    for (Cell& cell : first.cells) cell.kind = kEmpty;

    EXPECT_EQ(TOVA_row_num(book_.get()), 3);
    struct Case {
        int row, count;
    };
    constexpr Case kCases[] = {{0, 0}, {1, 0}, {2, 3}, {3, 0}, {-1, 0}, {INT_MIN, 0}};
    for (const Case& c : kCases) EXPECT_EQ(TOVA_column_num(book_.get(), c.row), c.count) << c.row;

    book_->cur_sheet = 1;
    EXPECT_EQ(TOVA_row_num(book_.get()), 0);
    book_->cur_sheet = 7;  // no such sheet
    EXPECT_EQ(TOVA_row_num(book_.get()), 0);
    EXPECT_EQ(TOVA_column_num(book_.get(), 0), 0);
}

TEST(ReferenceExports, NeedAnOpenBook) {
    auto book = test::make_zeroed_book();
    int a = 99, b = 99, c = 99, d = 99;
    EXPECT_EQ(TOVA_is_cell(book.get(), "A1", &a, &b), -3);
    EXPECT_EQ(a + b, 0);
    EXPECT_EQ(TOVA_is_range(book.get(), "A1:B2", &a, &b, &c, &d), -3);
    EXPECT_EQ(TOVA_row_num(book.get()), -3);
    EXPECT_EQ(TOVA_column_num(book.get(), 0), -3);
    EXPECT_EQ(book->log.error_code, -3);
    EXPECT_EQ(TOVA_row_num(nullptr), -3);
}

}  // namespace
}  // namespace tova
