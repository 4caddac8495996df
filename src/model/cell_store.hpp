// Operations of the cell store: making room for sheets, rows and cells,
// storing typed values, the shared string table, variables and row streaming.
// Running out of memory throws std::bad_alloc, which the export frame turns
// into -2 with its message.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calc/serial_date.hpp"
#include "model/workbook.hpp"
#include "tova_api.h"

namespace tova::model {

// The sheet of that index, created (with its defaults) when missing.
Sheet& ensure_sheet(Workbook& book, int32_t index);

// The row, created when missing; null when the row is beyond the sheet's limit.
Row* ensure_row(Sheet& sheet, int32_t row);

// The cell slot, created when missing; null beyond the limits or when the row
// has been streamed out (its cells can no longer change).
Cell* ensure_cell(Sheet& sheet, int32_t row, int32_t column);

// The cell if it exists (and its row is still in memory), else null.
const Cell* find_cell(const Sheet& sheet, int32_t row, int32_t column);
Cell* find_cell(Sheet& sheet, int32_t row, int32_t column);

// A typed value on its way into a cell; each kind reads the fields it needs.
struct Value {
    uint8_t kind = kEmpty;
    std::string_view text;   // literal text (kind 0), formula text (50, 51)
    std::string_view result; // stored result (51)
    int64_t integer = 0;     // kind 11
    double real = 0.0;       // kinds 12, 13 (13 already divided by 100)
    int decimals = 0;        // kind 12; 13 always prints six
    calc::DateTime date;     // kinds 20, 21, 23, 24 (a year below 1900: no date part)
    int32_t string_index = 0;// kind 41
};

constexpr int kNoSuchDate = -4;

// Stores the value into the cell: 0; -1 unknown kind; -4 the date or time does not exist.
int store_value(Cell& cell, const Value& value);

// The text a cell's value prints as (integers, decimals, percentages, time
// fractions, literal texts, formula texts); empty for the other kinds.
std::string cell_value_text(const Cell& cell);

// Adds a string to the book's shared string table (to its streaming file once
// strings stream) and returns its index; -1 when the file write fails.
int32_t tob_add_sst(XLS_BOOK& book, std::string_view text);

// Variables. tob_put_resource: 0, or -9 with TOVA-03009 for an overlong name or value.
int tob_put_resource(XLS_BOOK& book, std::string_view name, std::string_view value);
std::optional<std::string_view> tob_get_resource(const XLS_BOOK& book, std::string_view name);

// Streams row `row_one_based` of the current sheet to its rows file when the
// book's threshold says so: 0; -3 bad or out-of-order row; -1 no temporary
// path; -101 a file cannot be created; -103 a write failed.
int stream_row(XLS_BOOK& book, int32_t row_one_based);

// Frees a row's cells (the row keeps its place and properties).
void release_row(Row& row);

}  // namespace tova::model
