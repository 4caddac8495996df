// The statements on cells, rows and columns, in groups of related codes, and
// what the groups share: the cell loop, number values and the limit message.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "api/call_frame.hpp"
#include "model/cell_store.hpp"
#include "property/applier_support.hpp"

namespace tova::property {

// Cell formats: fonts, fills, borders, alignment, text control, number formats.
int apply_font(StatementContext& ctx);          // 331-334
int apply_fill(StatementContext& ctx);          // 341-343
int apply_gradient(StatementContext& ctx);      // 351-354
int apply_border(StatementContext& ctx);        // 310-317
int apply_alignment(StatementContext& ctx);     // 401
int apply_text_control(StatementContext& ctx);  // 402-404
int apply_unprotect(StatementContext& ctx);     // 408
int apply_direction(StatementContext& ctx);     // 409
int apply_indent(StatementContext& ctx);        // 410
int apply_format(StatementContext& ctx);        // 406

// Ranges, rows and columns.
int apply_merge(StatementContext& ctx);         // 405
int apply_hyperlink(StatementContext& ctx);     // 511
int apply_filter(StatementContext& ctx);        // 512
int apply_height(StatementContext& ctx);        // 221
int apply_new_page(StatementContext& ctx);      // 222
int apply_width(StatementContext& ctx);         // 223

// Data validation.
int apply_validation(StatementContext& ctx);    // 541-545

// The result of a slot setter at a table's limit.
constexpr int kTableFull = -9;

// Reports a full table for a cell-format statement: TOVA-03008 naming the
// table and its limit, and the setter's code.
int format_limit(StatementContext& ctx, int rc, std::string_view table, int32_t limit);

// Runs `change` (Cell& -> 0 or a setter failure) on every cell of the
// rectangle, row by row, stopping at the first failure. Each change depends
// only on the cell's format before it, so a cell that starts where the
// previous change started takes that change's result without a look-up.
template <class Change>
int for_each_cell(StatementContext& ctx, Change&& change) {
    model::Sheet& sheet = *statement_sheet(ctx);  // a statement with a target always has its sheet
    const XLS_RECT& r = ctx.rect;
    bool remembered = false;
    int32_t from = 0, to = 0;
    for (int32_t row = r.first_row; row <= r.last_row; ++row) {
        for (int32_t column = r.first_column; column <= r.last_column; ++column) {
            model::Cell* cell = model::find_cell(sheet, row, column);
            if (cell == nullptr) return internal_error(ctx.book, "for_each_cell() streamed row");
            if (remembered && cell->style == from) {
                cell->style = to;
                continue;
            }
            const int32_t before = cell->style;
            if (int rc = change(*cell)) return rc;
            remembered = true;
            from = before;
            to = cell->style;
        }
    }
    return 0;
}

}  // namespace tova::property
