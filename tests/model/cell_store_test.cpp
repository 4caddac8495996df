#include "model/cell_store.hpp"

#include <gtest/gtest.h>

#include <cstdio>

#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "model/row_stream.hpp"
#include "support/test_support.hpp"

namespace tova::model {
namespace {

using test::make_open_book;

Sheet& first_sheet(XLS_BOOK& book) { return work_area(book)->book.sheets[0]; }

TEST(CellStore, RowsAndCellsAreMadeOnlyWhenTouched) {
    auto book = make_open_book();
    Sheet& sheet = first_sheet(*book);
    EXPECT_EQ(sheet.rows_in_use(), 0);
    ASSERT_NE(ensure_cell(sheet, 4, 2), nullptr);
    EXPECT_EQ(sheet.rows_in_use(), 5);
    EXPECT_TRUE(sheet.rows[3].cells.empty());
    EXPECT_EQ(sheet.rows[4].cells.size(), 3u);
    EXPECT_EQ(sheet.rows[4].cells[2].kind, kEmpty);
    EXPECT_GE(sheet.column_widths.size(), 3u);

    EXPECT_EQ(ensure_cell(sheet, kMaxRowRecords, 0), nullptr);
    EXPECT_EQ(ensure_cell(sheet, 0, kMaxCellRecords), nullptr);
    EXPECT_EQ(ensure_cell(sheet, -1, 0), nullptr);
    EXPECT_NE(ensure_cell(sheet, 1048575, 16383), nullptr);
}

struct StoreCase {
    const char* name;
    Value value;
    uint8_t kind;
    int32_t number;
    const char* text;
};

const StoreCase kStoreCases[] = {
    {"integer", {.kind = kInteger, .integer = 123}, kInteger, 123, "123"},
    {"wide integer", {.kind = kInteger, .integer = 9000000000LL}, kInteger, static_cast<int32_t>(9000000000LL & 0xFFFFFFFF), "9000000000"},
    {"negative integer", {.kind = kInteger, .integer = -42}, kInteger, -42, "-42"},
    {"decimal keeps its decimals", {.kind = kDecimal, .real = 3.5, .decimals = 2}, kDecimal, 3, "3.50"},
    {"decimal truncates towards zero", {.kind = kDecimal, .real = -0.5, .decimals = 1}, kDecimal, 0, "-0.5"},
    {"percentage", {.kind = kPercent, .real = 0.125}, kPercent, 0, "0.125000"},
    {"date", {.kind = kDate, .date = {2000, 1, 1, 0, 0, 0}}, kDate, 36526, ""},
    {"date and time", {.kind = kDateTime, .date = {2024, 2, 29, 12, 0, 0}}, kDateTime, 45351, "0.500000"},
    {"time", {.kind = kTime, .date = {0, 0, 0, 10, 30, 0}}, kTime, 0, "0.437500"},
    {"duration", {.kind = kTimeSeconds, .date = {1900, 1, 1, 6, 0, 0}}, kTimeSeconds, 1, "0.250000"},
    {"literal text", {.kind = kLiteralText, .text = "abc"}, kLiteralText, 0, "abc"},
    {"shared string", {.kind = kSharedString, .string_index = 7}, kSharedString, 7, ""},
    {"formula", {.kind = kFormula, .text = "A1*2"}, kFormula, 0, "A1*2"},
};

TEST(CellStore, StoresEveryKind) {
    for (const auto& c : kStoreCases) {
        Cell cell;
        cell.style = 9;
        ASSERT_EQ(store_value(cell, c.value), 0) << c.name;
        EXPECT_EQ(cell.kind, c.kind) << c.name;
        EXPECT_EQ(cell.number, c.number) << c.name;
        EXPECT_EQ(cell_value_text(cell), c.text) << c.name;
        EXPECT_EQ(cell.style, 9) << c.name;
    }
}

TEST(CellStore, RefusesDatesThatDoNotExistAndUnknownKinds) {
    Cell cell;
    EXPECT_EQ(store_value(cell, {.kind = kDate, .date = {2023, 2, 29, 0, 0, 0}}), kNoSuchDate);
    EXPECT_EQ(store_value(cell, {.kind = kDateTime, .date = {2024, 13, 1, 0, 0, 0}}), kNoSuchDate);
    EXPECT_EQ(store_value(cell, {.kind = kTime, .date = {0, 0, 0, 10, 61, 0}}), kNoSuchDate);
    EXPECT_EQ(store_value(cell, {.kind = 40}), -1);
    EXPECT_EQ(cell.kind, kEmpty);
}

TEST(SharedStrings, EqualTextsGetTheirOwnIndexes) {
    auto book = make_open_book();
    EXPECT_EQ(tob_add_sst(*book, "same"), 0);
    EXPECT_EQ(tob_add_sst(*book, "same"), 1);
    const SharedStrings& strings = work_area(*book)->book.strings;
    EXPECT_EQ(strings.count(), 2);
    EXPECT_EQ(strings.at(1), "same");
    EXPECT_EQ(strings.at(2), "");
}

TEST(Variables, StoreLimitsAndQuotes) {
    auto book = make_open_book();
    EXPECT_EQ(tob_put_resource(*book, "name", "\"quoted\""), 0);
    EXPECT_EQ(tob_get_resource(*book, "name").value(), "quoted");
    EXPECT_EQ(tob_put_resource(*book, "name", "again"), 0);
    EXPECT_EQ(tob_get_resource(*book, "name").value(), "again");
    EXPECT_FALSE(tob_get_resource(*book, "NAME").has_value());
    EXPECT_EQ(tob_put_resource(*book, std::string(81, 'n'), "v"), -9);
    EXPECT_EQ(test::utf8_of_sjis(book->log.error_info),
              "TOVA-03009 バッファサイズ(\"81\")オーバー(\"tob_put_resource() XLS_KEY_LEN\")。");
    EXPECT_EQ(tob_put_resource(*book, "n", std::string(6001, 'v')), -9);
    EXPECT_EQ(tob_put_resource(*book, std::string(80, 'n'), std::string(6000, 'v')), 0);
}

std::vector<std::vector<StreamedCell>> read_all_blocks(std::FILE* file) {
    std::rewind(file);
    std::vector<std::vector<StreamedCell>> blocks;
    std::vector<StreamedCell> cells;
    while (read_row_block(file, cells)) blocks.push_back(cells);
    return blocks;
}

TEST(RowStreaming, ThresholdZeroDoesNothing) {
    auto book = make_open_book();
    ensure_cell(first_sheet(*book), 0, 0);
    EXPECT_EQ(stream_row(*book, 1), 0);
    EXPECT_FALSE(first_sheet(*book).rows_file.is_open());
    EXPECT_FALSE(flag_on(*book, XLS_FLAG_ROWS_STREAMED));
}

TEST(RowStreaming, WritesBlocksInOrderAndReleasesTheRows) {
    auto book = make_open_book();
    book->streamed_row = 1;
    Sheet& sheet = first_sheet(*book);
    tob_add_sst(*book, "before");
    store_value(*ensure_cell(sheet, 4, 0), {.kind = kInteger, .integer = 5});
    store_value(*ensure_cell(sheet, 4, 2), {.kind = kDecimal, .real = 2.25, .decimals = 2});
    ensure_cell(sheet, 4, 2)->style = 3;

    EXPECT_EQ(stream_row(*book, 1), 0);  // at the threshold: stays in memory
    EXPECT_FALSE(sheet.rows_file.is_open());
    ASSERT_EQ(stream_row(*book, 5), 0);
    EXPECT_TRUE(flag_on(*book, XLS_FLAG_ROWS_STREAMED));
    EXPECT_TRUE(flag_on(*book, XLS_FLAG_STRINGS_STREAMED));
    EXPECT_EQ(book->sst_in_memory, 1);
    EXPECT_TRUE(sheet.rows[4].streamed);
    EXPECT_TRUE(sheet.rows[4].cells.empty());
    EXPECT_EQ(sheet.rows_in_use(), 5);

    ASSERT_EQ(stream_row(*book, 9), 0);  // an untouched row streams as an empty block
    EXPECT_EQ(sheet.rows_in_use(), 9);

    std::fflush(sheet.rows_file.stream());
    auto blocks = read_all_blocks(sheet.rows_file.stream());
    ASSERT_EQ(blocks.size(), 2u);
    ASSERT_EQ(blocks[0].size(), 3u);
    EXPECT_EQ(blocks[0][0].kind, kInteger);
    EXPECT_EQ(blocks[0][0].text, "5");
    EXPECT_EQ(blocks[0][1].kind, kEmpty);
    EXPECT_EQ(blocks[0][2].text, "2.25");
    EXPECT_EQ(blocks[0][2].style, 3);
    EXPECT_TRUE(blocks[1].empty());

    // New strings now go to the strings file and are counted.
    EXPECT_EQ(tob_add_sst(*book, "after"), 1);
    EXPECT_EQ(work_area(*book)->book.strings.in_memory(), 1);
    EXPECT_EQ(work_area(*book)->book.strings.at(1), "");
}

TEST(RowStreaming, RefusesEarlierRowsAndStreamedCells) {
    auto book = make_open_book();
    book->streamed_row = 1;
    Sheet& sheet = first_sheet(*book);
    ASSERT_EQ(stream_row(*book, 6), 0);
    EXPECT_EQ(stream_row(*book, 6), -3);
    EXPECT_EQ(stream_row(*book, 4), -3);
    EXPECT_EQ(ensure_cell(sheet, 5, 0), nullptr);
    EXPECT_NE(ensure_cell(sheet, 3, 0), nullptr);  // an earlier row still in memory stays usable
    EXPECT_EQ(stream_row(*book, 1048577), -3);
}

}  // namespace
}  // namespace tova::model
