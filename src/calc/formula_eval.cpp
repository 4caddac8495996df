#include "calc/formula_eval.hpp"

#include <new>
#include <span>

#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "calc/formula_functions.hpp"
#include "model/cell_ref.hpp"
#include "platform/encoding.hpp"

namespace tova::calc {
namespace {

int arithmetic(OpKind kind, double a, double b, double& result) {
    switch (kind) {
        case OpKind::Add:
        case OpKind::Subtract: {
            Summation sum;
            sum.add(a);
            sum.add(kind == OpKind::Add ? b : -b);
            return sum.settled(result) ? 0 : kFailed;
        }
        case OpKind::Multiply: result = a * b; break;
        case OpKind::Divide:
            if (b == 0.0) return kFailed;
            result = a / b;
            break;
        default: return kFailed;
    }
    return is_representable(result) ? 0 : kFailed;
}

}  // namespace

Evaluator::Evaluator(XLS_BOOK& book) : book_(book), cells_(book, results_) {}

int Evaluator::evaluate(CellId cell, double& value) {
    const FormulaResults::Entry known = results_.find(cell);
    if (known.state == FormulaResults::State::Done) {
        value = known.value;
        return 0;
    }
    if (known.state == FormulaResults::State::Failed) return known.code;
    try {
        if (int rc = start(cell)) return rc;
        for (;;) {
            const Step step = run(frames_.back());
            if (step.kind == Step::Kind::Wait) {
                // A cell that fails to start is remembered as failed; the waiting formula then fails on it.
                if (frames_.size() >= kMaxNesting) finish_top(kFailed, 0.0);
                else start(step.wait_for);
                continue;
            }
            const int code = step.kind == Step::Kind::Done ? 0 : step.code;
            finish_top(code, step.value);
            if (frames_.empty()) {
                if (code == 0) value = step.value;
                return code;
            }
        }
    } catch (const std::bad_alloc&) {
        for (const Frame& frame : frames_) results_.fail(frame.cell, kNoMemory);
        frames_.clear();
        stack_.clear();
        return kNoMemory;
    }
}

int Evaluator::start(CellId cell) {
    results_.start(cell);
    Frame frame;
    frame.cell = cell;
    frame.base = stack_.size();
    if (int rc = compile_formula(book_, cell, frame.program)) {
        results_.fail(cell, rc);
        return rc;
    }
    frames_.push_back(std::move(frame));
    return 0;
}

void Evaluator::finish_top(int code, double value) {
    const Frame& frame = frames_.back();
    if (code == 0) results_.finish(frame.cell, value);
    else results_.fail(frame.cell, code);
    stack_.resize(frame.base);
    frames_.pop_back();
}

Evaluator::Step Evaluator::run(Frame& frame) {
    const std::vector<Op>& ops = frame.program.ops;
    for (; frame.next_op < ops.size(); ++frame.next_op, frame.cursor = Cursor{}) {
        const Op& op = ops[frame.next_op];
        size_t count = 0;
        Operands mode = Operands::Scalars;
        switch (op.kind) {
            case OpKind::Push: break;
            case OpKind::Plus: count = 1; mode = Operands::Positions; break;
            case OpKind::Negate: count = 1; break;
            case OpKind::Call: count = op.count; mode = function_at(op.function).operands; break;
            default: count = 2; break;
        }
        if (const Step step = ready_operands(frame, count, mode); step.kind != Step::Kind::Done) return step;
        if (int rc = apply(frame, op)) return Step::failed(rc);
    }
    if (stack_.size() != frame.base + 1) return Step::failed(kFailed);
    if (const Step step = ready_operands(frame, 1, Operands::Scalars); step.kind != Step::Kind::Done) return step;
    double value = 0.0;
    if (int rc = cells_.scalar(stack_.back(), value)) return Step::failed(rc);
    return Step::done(value);
}

// Makes sure every cell the operation will read holds a value: 0 (Done) when
// all do, else the formula cell to evaluate first or the failure.
Evaluator::Step Evaluator::ready_operands(Frame& frame, size_t count, Operands mode) {
    if (mode == Operands::Positions) return Step::done();
    const std::span<const Value> operands(stack_.data() + stack_.size() - count, count);
    for (size_t k = frame.cursor.operand; k < count; ++k) {
        const Value& operand = operands[k];
        if (!operand.is_reference()) continue;
        if (mode == Operands::Scalars && operand.kind == Value::Kind::Range) return Step::failed(kFailed);
        const CellArea& area = operand.area;
        const CellId from = frame.cursor.inside ? frame.cursor.at : CellId{area.sheet, area.first_row, area.first_column};
        Step step = Step::done();
        cells_.for_each_cell(area, from, [&](CellId id) {
            const CellContent c = cells_.content(id);
            if (c.kind == CellContent::Kind::Unreadable) {
                step = Step::failed(c.code);
            } else if (c.kind == CellContent::Kind::Pending) {
                if (c.in_progress) {
                    step = Step::failed(report_cycle(frame, operand, id));
                } else {
                    frame.cursor = Cursor{k, true, id};
                    step = Step::wait(id);
                }
            }
            return step.kind == Step::Kind::Done;
        });
        if (step.kind != Step::Kind::Done) return step;
        frame.cursor = Cursor{k + 1, false, {}};
    }
    return Step::done();
}

int Evaluator::apply(Frame& frame, const Op& op) {
    switch (op.kind) {
        case OpKind::Push:
            stack_.push_back(op.value);
            return 0;
        case OpKind::Plus:
            stack_.back().behind_plus = stack_.back().is_reference();
            return 0;
        case OpKind::Negate: {
            double x = 0.0;
            if (int rc = cells_.scalar(stack_.back(), x)) return rc;
            stack_.back() = Value::of(-x);
            return 0;
        }
        case OpKind::Call: {
            const FunctionSpec& spec = function_at(op.function);
            const size_t first = stack_.size() - op.count;
            double result = 0.0;
            const FunctionCall call{cells_, frame.cell, std::span<const Value>(stack_.data() + first, op.count)};
            if (int rc = spec.routine(call, result)) return rc;
            if (!is_representable(result)) return kFailed;
            stack_.resize(first);
            stack_.push_back(Value::of(result));
            return 0;
        }
        default: {
            double a = 0.0, b = 0.0, result = 0.0;
            if (int rc = cells_.scalar(stack_[stack_.size() - 2], a)) return rc;
            if (int rc = cells_.scalar(stack_.back(), b)) return rc;
            if (int rc = arithmetic(op.kind, a, b, result)) return rc;
            stack_.pop_back();
            stack_.back() = Value::of(result);
            return 0;
        }
    }
}

int Evaluator::report_cycle(const Frame& frame, const Value& operand, CellId cell) {
    std::string text;
    if (operand.kind == Value::Kind::Cell) text = frame.program.texts.substr(operand.text_begin, operand.text_length);
    else model::format_cell_name(cell.row, cell.column, text);
    return fail(book_, kFailed, Msg::CircularReference, {std::string_view(quoted(enc::kUtf8, text))});
}

int tob_evaluate_cell(XLS_BOOK& book, int32_t sheet, int32_t row, int32_t column, std::string& result) {
    result.clear();
    const WorkArea* area = work_area(book);
    if (area == nullptr || sheet < 0 || static_cast<size_t>(sheet) >= area->book.sheets.size()) return kFailed;
    Evaluator evaluator(book);
    double value = 0.0;
    int rc = evaluator.evaluate(CellId{sheet, row, column}, value);
    if (rc == 0) result = canonical_text(value);
    return rc;
}

}  // namespace tova::calc
