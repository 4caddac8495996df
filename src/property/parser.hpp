// The property keyword parser: turns the key of a property statement
// (A1.FONT.SIZE, Sheet2!B2:C3.BORDER, シート.ズーム, 5.HEIGHT, TOTAL) into a
// statement code and the statement's target.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "property/statement_table.hpp"
#include "tova_api.h"

namespace tova::property {

constexpr size_t kMaxSections = 6;
constexpr size_t kMaxSectionBytes = 256;

// What the first section of a key named, when it was not a word.
enum class TargetKind : uint8_t {
    None,         // every section is a word: sheet, book, paper and template statements
    Cell,         // A1, $B$2, A($ROWNUM+1), ($CLMNUM+1)3: target.row and target.column
    Row,          // 5: target.row only
    Column,       // C: target.column only
    Range,        // A1:B2: one rectangle
    ColumnRange,  // A:C: one rectangle, both rows 0
    RowRange,     // 3:5: one rectangle, both columns 0
    RangeList,    // A1:B2,D1:E2: up to XLS_RANGE_LIST_MAX rectangles
    Variable,     // a plain name as the whole key; code is stmt::kVariable
};

// A target that names nothing: no sheet, row or column, no rectangles.
inline constexpr XLS_RANGE_LIST kNoTarget = [] {
    XLS_RANGE_LIST target{};
    target.sheet = target.row = target.column = -1;
    return target;
}();

// A parsed key. Positions are zero-based; the rectangles keep their corners as written.
struct PropertyKey {
    int32_t code = stmt::kNone;
    TargetKind target_kind = TargetKind::None;
    // sheet: the sheet a prefix named (Sheet2!A1, 'My Sheet'!A1), -1 for the current sheet;
    // row, column: -1 unless set; count: the rectangles in use.
    XLS_RANGE_LIST target = kNoTarget;
    // The first section as the caller wrote it when it is a target; for a
    // variable definition the name to store.
    std::string target_text;
};

// Parses `key` (the book's character set): 0 with the code (stmt::kNone when
// the words name no statement; the caller decides what to report), or -3 with
// the message in the book. After a failure `parsed` must not be used. The book
// is left as it was.
int tob_parse_property(XLS_BOOK& book, std::string_view key, PropertyKey& parsed);

}  // namespace tova::property
