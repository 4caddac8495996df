// What a formula sees of the cells it refers to, and the results of the
// formula cells already evaluated in this pass.
#pragma once

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "calc/formula_value.hpp"
#include "model/workbook.hpp"
#include "tova_api.h"

namespace tova::calc {

struct CellId {
    int32_t sheet = 0, row = 0, column = 0;
};

// The state of each formula cell met in one pass; a cell is evaluated once.
class FormulaResults {
public:
    enum class State : uint8_t { Unknown, InProgress, Done, Failed };
    struct Entry {
        State state = State::Unknown;
        int code = 0;        // Failed: the evaluation's result code
        double value = 0.0;  // Done
    };

    Entry find(CellId cell) const;
    void start(CellId cell);
    void finish(CellId cell, double value);
    void fail(CellId cell, int code);

private:
    static uint64_t key(CellId cell);
    std::unordered_map<uint64_t, Entry> entries_;
};

// The value of a cell as an operand: nothing (empty or beyond the cells in
// use), a number, a formula cell still to evaluate, or a value formulas here
// do not read (text, dates, a failed formula: the code of the failure).
struct CellContent {
    enum class Kind : uint8_t { Blank, Number, Pending, Unreadable };
    Kind kind = Kind::Blank;
    double number = 0.0;
    int code = 0;  // Unreadable
    bool in_progress = false;  // Pending: the cell is being evaluated (a cycle)
};

class CellReader {
public:
    CellReader(XLS_BOOK& book, const FormulaResults& results);

    CellContent content(CellId cell) const;

    // The number an operand stands for where one number is expected: itself,
    // or a cell's value (0 when blank); a range is not one number. 0 or the
    // failure code.
    int scalar(const Value& operand, double& number) const;

    // Calls `visit(CellId)` for each cell of the area that exists in memory,
    // row by row, from `from` on (a resumption point inside the area);
    // stops early and returns false when `visit` does.
    template <class Visit>
    bool for_each_cell(const CellArea& area, CellId from, Visit&& visit) const;

    XLS_BOOK& book() const { return book_; }

private:
    XLS_BOOK& book_;
    const model::Workbook& workbook_;
    const FormulaResults& results_;
};

template <class Visit>
bool CellReader::for_each_cell(const CellArea& area, CellId from, Visit&& visit) const {
    const model::Sheet& sheet = workbook_.sheets[static_cast<size_t>(area.sheet)];
    const int32_t last_row = std::min(area.last_row, sheet.rows_in_use() - 1);
    for (int32_t r = std::max(area.first_row, from.row); r <= last_row; ++r) {
        const model::Row& row = sheet.rows[static_cast<size_t>(r)];
        if (row.streamed) continue;
        const int32_t last_column = std::min(area.last_column, static_cast<int32_t>(row.cells.size()) - 1);
        const int32_t first_column = r == from.row ? std::max(area.first_column, from.column) : area.first_column;
        for (int32_t c = first_column; c <= last_column; ++c)
            if (!visit(CellId{area.sheet, r, c})) return false;
    }
    return true;
}

}  // namespace tova::calc
