// Loading comma- and tab-separated data files into a sheet, and opening rows
// for the data in template mode.
#pragma once

#include <cstdint>
#include <string>

#include "platform/encoding.hpp"
#include "tova_api.h"

namespace tova::load {

enum Separator : int32_t { kComma = 0, kTab = 1 };

struct DataSourceRequest {
    std::string path;                   // UTF-8, the file system's name of the file
    int32_t separator = kComma;         // kComma (CSV) or kTab (TSV)
    int32_t charset = enc::kShiftJis;   // of the file; a UTF-8 byte order mark makes it UTF-8
    char statement_marker = '!';        // a line that begins with it is a statement
};

// Where the data go, zero-based.
struct DataTarget {
    int32_t first_row = 0;
    int32_t first_column = 0;
    int32_t last_row = -1;     // -1: no limit
    int32_t last_column = -1;  // -1: no limit
};

// The target of a load statement aimed at `range`: data start at its top left
// corner; a range of several rows limits the rows to its last, one of several
// columns the columns to its last, and a single row or column sets no limit.
DataTarget datasource_target(const XLS_RECT& range);

// Loads the data file into sheet `sheet`, one line a row from the target's
// first row, field i of a line into the target's first column + i. Lines past
// the target's last row and fields past its last column are passed over.
// Empty fields leave their cells as they are; other fields are stored as the
// value of a cell statement. A line that begins with the statement marker is
// converted to the book's character set and run through TOVA_put_values, with
// `sheet` as the current sheet while it runs; it loads no row.
//
// In template mode a field never replaces a formula, and a row at or below the
// sheet's scroll row (when that is at least 1) is first opened with
// tob_scroll_rows, pushing the rows below it down.
//
// The sheet's last_loaded_row becomes the one-based number of the last row the
// load filled (the row above the target while none is filled), so $ROWNUM
// names the end of the data; it is kept up to date as rows are loaded, also
// for the statement lines of the file.
//
// 0; -1 with a message naming the file and line for a line that does not split
// (an unclosed quote, a field over 4000 bytes, over 1000 fields), a row or
// column beyond the sheet's bounds, a row already streamed out, a load nested
// too deeply, a failing statement line (its own message) or a row that cannot
// be opened; -2; -3 for a separator other than kComma and kTab, a negative
// corner or no such sheet; -101 when the file does not open. The rows loaded
// before a failure stay.
int tob_load_datasource(XLS_BOOK& book, int32_t sheet, const DataSourceRequest& request, const DataTarget& target);

// Makes room for one row at zero-based `row` of sheet `sheet` by moving the
// rows from there on down by one, their cells with them. The opened row keeps
// the height, the hidden option and the cell formats of the row that moved
// down from it, and no values. Nothing moves when one of the rows to move
// holds a formula (a line on the book's error stream and TOVA-03203 naming the
// cell) or has been streamed out (TOVA-02300), or when the sheet is full
// (TOVA-03008): -1. 0; -3 for no such sheet or a negative row.
int tob_scroll_rows(XLS_BOOK& book, int32_t sheet, int32_t row);

// The rows and columns a sheet of the book may hold (the book's limits within
// those of the file format).
int32_t sheet_row_limit(const XLS_BOOK& book);
int32_t sheet_column_limit(const XLS_BOOK& book);

}  // namespace tova::load
