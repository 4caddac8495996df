// The frame every property statement passes through: the target reduced to
// one rectangle of one sheet, the value prepared, dispatch by statement code.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "property/parser.hpp"
#include "property/vocab.hpp"
#include "tova_api.h"

namespace tova::property {

struct StatementContext {
    XLS_BOOK& book;
    const PropertyKey& key;
    int32_t code;
    int32_t sheet;            // the statement's sheet; also book.cur_sheet while it runs
    XLS_RECT rect;            // zero-based, first <= last; all 0 without a target
    bool column_target;       // the target was column letters (C.FORMAT=...)
    vocab::ValueText value;   // one pair of quotes removed; Shift-JIS for matching, the caller's text kept
    int32_t selected_sheet = -1;  // set by a statement that makes a sheet current for the statements after it
};

// One block of statement codes and the routine that applies them.
using Applier = int (*)(StatementContext&);
struct ApplierEntry {
    int32_t first_code;
    int32_t last_code;
    Applier apply;
};

// Each group of statements keeps its own table.
std::span<const ApplierEntry> cell_appliers();   // fonts, fills, borders, formats, merges, rows, columns, loads
std::span<const ApplierEntry> sheet_appliers();  // book, sheet, page setup, headers and footers
std::span<const ApplierEntry> load_appliers();   // CSV and TSV data files

// Applies one parsed statement: 0 or a negative code with its message.
int apply_property(XLS_BOOK& book, const PropertyKey& key, std::string_view value);

}  // namespace tova::property
