#include "calc/recalc.hpp"

#include "api/call_frame.hpp"
#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "calc/formula_eval.hpp"
#include "calc/formula_value.hpp"

namespace tova::calc {
namespace {

// The book's current position, put back once the pass is over.
class PositionKeeper {
public:
    explicit PositionKeeper(XLS_BOOK& book)
        : book_(book), sheet_(book.cur_sheet), row_(book.cur_row), column_(book.cur_column) {}
    ~PositionKeeper() {
        book_.cur_sheet = sheet_;
        book_.cur_row = row_;
        book_.cur_column = column_;
    }
    PositionKeeper(const PositionKeeper&) = delete;
    PositionKeeper& operator=(const PositionKeeper&) = delete;

private:
    XLS_BOOK& book_;
    int32_t sheet_, row_, column_;
};

}  // namespace

int tob_recalculate(XLS_BOOK& book) {
    if (!flag_on(book, XLS_FLAG_RECALC)) return 0;
    if (flag_on(book, XLS_FLAG_ROWS_STREAMED)) {
        set_flag(book, XLS_FLAG_RECALC, false);
        return 0;
    }
    book.log.error_info[0] = '\0';
    PositionKeeper keeper(book);
    Evaluator evaluator(book);
    std::vector<model::Sheet>& sheets = work_area(book)->book.sheets;
    for (int32_t s = 0; s < static_cast<int32_t>(sheets.size()); ++s) {
        for (int32_t r = 0; r < sheets[s].rows_in_use(); ++r) {
            std::vector<model::Cell>& cells = sheets[s].rows[r].cells;
            for (int32_t c = 0; c < static_cast<int32_t>(cells.size()); ++c) {
                if (cells[c].kind != model::kFormula) continue;
                book.cur_sheet = s;
                book.cur_row = r;
                book.cur_column = c;
                double value = 0.0;
                int rc = evaluator.evaluate(CellId{s, r, c}, value);
                if (rc == 0) {
                    cells[c].kind = model::kFormulaResult;
                    cells[c].formula->result = canonical_text(value);
                    continue;
                }
                set_flag(book, XLS_FLAG_RECALC, false);
                if (rc == kFailed && book.log.error_info[0] != '\0') return kFailed;
            }
        }
    }
    return 0;
}

}  // namespace tova::calc
