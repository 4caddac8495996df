// Evaluating formula cells. A formula that refers to another formula cell has
// that cell evaluated first; the pending formulas wait on an explicit stack
// (never the machine's), so chains of any length within the nesting bound
// compute, and every formula cell is evaluated once per evaluator.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "calc/formula_cells.hpp"
#include "calc/formula_functions.hpp"
#include "calc/formula_parser.hpp"
#include "tova_api.h"

namespace tova::calc {

// Formulas waiting on one another beyond this depth fail (recalculation off).
constexpr size_t kMaxNesting = size_t{1} << 20;

class Evaluator {
public:
    explicit Evaluator(XLS_BOOK& book);

    // The value of the formula in `cell`: 0; 1403 the formula text is too
    // long; -1 it cannot be computed here (a circular reference leaves
    // TOVA-03200); -2 no memory; -3 an operand cell holds neither a number nor
    // a formula. Results and failures are remembered.
    int evaluate(CellId cell, double& value);

private:
    // Where the cells of an operation's operands are being checked, so that a
    // wait for one formula cell does not start the check again.
    struct Cursor {
        size_t operand = 0;
        bool inside = false;
        CellId at;
    };
    struct Frame {
        CellId cell;
        Program program;
        size_t next_op = 0;  // ops.size(): the final value is due
        size_t base = 0;     // the frame's values start here on the stack
        Cursor cursor;
    };
    struct Step {
        enum class Kind { Done, Wait, Failed };
        Kind kind = Kind::Done;
        int code = 0;
        double value = 0.0;
        CellId wait_for;

        static Step done(double value = 0.0) { return {Kind::Done, 0, value, {}}; }
        static Step failed(int code) { return {Kind::Failed, code, 0.0, {}}; }
        static Step wait(CellId cell) { return {Kind::Wait, 0, 0.0, cell}; }
    };

    int start(CellId cell);
    void finish_top(int code, double value);
    Step run(Frame& frame);
    Step ready_operands(Frame& frame, size_t count, Operands mode);
    int apply(Frame& frame, const Op& op);
    int report_cycle(const Frame& frame, const Value& operand, CellId cell);

    XLS_BOOK& book_;
    FormulaResults results_;
    CellReader cells_;
    std::vector<Frame> frames_;
    std::vector<Value> stack_;
};

// The result text of the formula in the given cell (zero-based), with the
// codes of Evaluator::evaluate; evaluates referenced formulas as needed.
int tob_evaluate_cell(XLS_BOOK& book, int32_t sheet, int32_t row, int32_t column, std::string& result);

}  // namespace tova::calc
