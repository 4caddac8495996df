// Until formulas are evaluated here, every formula is left to the application:
// saved without a cached value, with the book marked for recalculation on open.
#include "calc/recalc.hpp"

#include "api/flags.hpp"
#include "api/work_area.hpp"

namespace tova::calc {

int tob_recalculate(XLS_BOOK& book) {
    for (const model::Sheet& sheet : work_area(book)->book.sheets)
        for (const model::Row& row : sheet.rows)
            for (const model::Cell& cell : row.cells)
                if (cell.kind == model::kFormula) {
                    set_flag(book, XLS_FLAG_RECALC, false);
                    return 0;
                }
    return 0;
}

}  // namespace tova::calc
