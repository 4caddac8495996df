// Cell references in A1 notation: printing positions, parsing references,
// ranges and lists of ranges, sheet prefixes, and the $ROWNUM and $CLMNUM
// variables that may stand inside a reference.
//
// Positions are zero-based here: rows 0..1048575, columns 0..16383. Parsers
// never report partial results: a failure leaves every output at 0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/sheet.hpp"
#include "tova_api.h"

namespace tova::model {

constexpr int32_t kLastRow = 1048575;     // also what a "*" row stands for
constexpr int32_t kLastColumn = 16383;
constexpr size_t kSimpleRangeMax = 80;    // parse_range_simple, parse_row_range
constexpr size_t kRangeRefMax = 125;      // parse_range_ref, parse_column_range, list items
constexpr size_t kReferenceTextMax = 4000;  // the exported functions; substitute_rownum

// "A1", "$A$1" and "A1:B2"; -1 with an empty text when a position is out of bounds.
int format_cell_name(int32_t row, int32_t column, std::string& name);
int format_cell_name_absolute(int32_t row, int32_t column, std::string& name);
int format_range_name(int32_t first_row, int32_t first_column, int32_t last_row, int32_t last_column,
                      std::string& name);

// One to three letters A-Z (either case) as a zero-based column; -1 otherwise.
int32_t column_from_letters(std::string_view letters);

// Not empty, only digits, "," anywhere, at most one ".", "+" or "-" only first,
// and at least one digit.
bool is_number_text(std::string_view text);

// The integer that the leading sign and digits of a text give (reading stops at
// the first other byte), saturated to the int32_t range.
int32_t leading_integer(std::string_view text);

// A1 or $A$1 without a book: 0 or -1.
int parse_cell_simple(std::string_view text, int32_t& row, int32_t& column);

// A1:B2, corners as written: 0, -1, or -3 when longer than kSimpleRangeMax.
int parse_range_simple(std::string_view text, XLS_RECT& range);

// 3:5 as zero-based rows: 0 or -3.
int parse_row_range(std::string_view text, int32_t& first_row, int32_t& last_row);

// A full reference: "**", "$" anywhere, a "*" row, a parenthesised column
// expression before the row ((3)1, ($CLMNUM+1)5) or row expression after the
// letters (A(3), A($ROWNUM+1)), evaluated on the sheet `sheet` (-1: current).
// 0 or -1; the expression evaluators may leave a message.
int parse_cell_ref(XLS_BOOK& book, int32_t sheet, std::string_view text, int32_t& row, int32_t& column);

// A1:B2 with an optional exact sheet prefix: one rectangle of `list`. 0, -1, or
// -3 when longer than kRangeRefMax. Only the sheet, rectangles and count are set.
int parse_range_ref(XLS_BOOK& book, std::string_view text, XLS_RANGE_LIST& list);

// A:C, whole columns: one rectangle whose rows are both 0. 0, -1 or -3.
int parse_column_range(XLS_BOOK& book, std::string_view text, XLS_RANGE_LIST& list);

// A1:B2,D1:E5: 0; 1403 when the text holds no "," or a bad item; -1 for more
// than XLS_RANGE_LIST_MAX items. The list's sheet is that of its first item.
int parse_range_list(XLS_BOOK& book, std::string_view text, XLS_RANGE_LIST& list);

// The sheet a reference names by index: a sheet of the book, or the current
// sheet when the index is negative; null when there is no such sheet.
const Sheet* referenced_sheet(const XLS_BOOK& book, int32_t sheet);

// Index of the sheet named exactly (byte for byte) before "!", with the offset
// just past it in `after_prefix`; -1 without such a prefix.
int32_t find_sheet_prefix(const XLS_BOOK& book, std::string_view text, size_t& after_prefix);

// For statement keys: removes a prefix naming a sheet ('Sheet 1'!A1 or Sheet1!A1,
// not after a "." or ":") and returns the sheet's index; -1 leaves the text as it was.
int32_t strip_sheet_prefix(const XLS_BOOK& book, std::string& text);

// Replaces each ($ROWNUM), ($ROWNUM+n-m...) group by the current sheet's last
// loaded row with its offsets (kept within 1..1048576); every other byte stays
// as it was. Texts longer than kReferenceTextMax, texts outside quoted sections
// holding no such group and books whose current sheet has no rows are left alone.
void substitute_rownum(const XLS_BOOK& book, std::string& text);

// A reference that opens with a parenthesised group holding $CLMNUM gets the
// group's value in its place: ($CLMNUM+1)3 becomes (8)3 when the last used
// column is 7; $CLMNUM counts at least 1 here. Other texts are left alone.
void substitute_clmnum(const XLS_BOOK& book, std::string& text);

// The contents of a row expression (A(...)): "+"/"-" sums of numbers, $name
// variables and $ROWNUM (the zero-based last loaded row of the sheet). 0 with
// the zero-based row index, or -1 with a message.
int eval_row_expression(XLS_BOOK& book, int32_t sheet, std::string_view expression, int32_t& row);

// The contents of a column expression ((...)5), with $CLMNUM for the last used
// column of the current sheet: 0 with the one-based column number, or -1 with
// a message.
int eval_column_expression(XLS_BOOK& book, std::string_view expression, int32_t& column_number);

}  // namespace tova::model
