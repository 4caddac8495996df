#include "calc/formula_cells.hpp"

#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "model/cell_store.hpp"

namespace tova::calc {
namespace {

// The code for an operand cell that holds neither a number nor a formula.
constexpr int kNotANumber = -3;

CellContent number_content(double number) { return {CellContent::Kind::Number, number, 0, false}; }
CellContent unreadable(int code) { return {CellContent::Kind::Unreadable, 0.0, code, false}; }

CellContent decimal_content(std::string_view text) {
    double number = 0.0;
    return read_decimal(text, true, number) ? number_content(number) : unreadable(kNotANumber);
}

}  // namespace

uint64_t FormulaResults::key(CellId cell) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(cell.sheet)) << 40) |
           (static_cast<uint64_t>(static_cast<uint32_t>(cell.row)) << 16) | static_cast<uint32_t>(cell.column);
}

FormulaResults::Entry FormulaResults::find(CellId cell) const {
    auto it = entries_.find(key(cell));
    return it == entries_.end() ? Entry{} : it->second;
}

void FormulaResults::start(CellId cell) { entries_[key(cell)] = {State::InProgress, 0, 0.0}; }
void FormulaResults::finish(CellId cell, double value) { entries_[key(cell)] = {State::Done, 0, value}; }
void FormulaResults::fail(CellId cell, int code) { entries_[key(cell)] = {State::Failed, code, 0.0}; }

CellReader::CellReader(XLS_BOOK& book, const FormulaResults& results)
    : book_(book), workbook_(work_area(book)->book), results_(results) {}

CellContent CellReader::content(CellId id) const {
    const model::Cell* cell = model::find_cell(workbook_.sheets[static_cast<size_t>(id.sheet)], id.row, id.column);
    if (cell == nullptr) return {};
    switch (cell->kind) {
        case model::kEmpty: return {};
        case model::kInteger: return number_content(static_cast<double>(cell->integer()));
        case model::kDecimal:
        case model::kPercent: return decimal_content(cell->text.view());
        case model::kFormula:
        case model::kFormulaResult: {
            const FormulaResults::Entry entry = results_.find(id);
            switch (entry.state) {
                case FormulaResults::State::Done: return number_content(entry.value);
                case FormulaResults::State::Failed: return unreadable(entry.code);
                case FormulaResults::State::InProgress: return {CellContent::Kind::Pending, 0.0, 0, true};
                case FormulaResults::State::Unknown: break;
            }
            // A result kept from a package stands as it is; a formula of this book is still to do.
            if (cell->kind == model::kFormulaResult)
                return cell->formula ? decimal_content(cell->formula->result) : unreadable(kNotANumber);
            return {CellContent::Kind::Pending, 0.0, 0, false};
        }
        default: return unreadable(kNotANumber);  // texts, shared strings, dates and times
    }
}

int CellReader::scalar(const Value& operand, double& number) const {
    switch (operand.kind) {
        case Value::Kind::Number: number = operand.number; return 0;
        case Value::Kind::Range: return kFailed;
        case Value::Kind::Cell: break;
    }
    const CellId id{operand.area.sheet, operand.area.first_row, operand.area.first_column};
    const CellContent c = content(id);
    switch (c.kind) {
        case CellContent::Kind::Blank: number = 0.0; return 0;
        case CellContent::Kind::Number: number = c.number; return 0;
        case CellContent::Kind::Unreadable: return c.code;
        case CellContent::Kind::Pending: break;
    }
    return kFailed;
}

}  // namespace tova::calc
