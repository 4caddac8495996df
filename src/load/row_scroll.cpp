// Opening a row in a sheet by pushing the rows below it down.
#include <cstdio>
#include <string>

#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "load/data_source.hpp"
#include "model/cell_ref.hpp"
#include "model/cell_store.hpp"

namespace tova::load {
namespace {

constexpr std::string_view kFormulaScrollLine = "計算式を含んだセルをスクロールさせることはできません。\n";

// The first cell holding a formula in rows `from` onwards, as its name; empty when none does.
std::string first_formula_cell(const model::Sheet& sheet, int32_t from) {
    for (int32_t r = from; r < sheet.rows_in_use(); ++r) {
        const std::vector<model::Cell>& cells = sheet.rows[r].cells;
        for (size_t c = 0; c < cells.size(); ++c) {
            if (!cells[c].has_formula()) continue;
            std::string name;
            model::format_cell_name(r, static_cast<int32_t>(c), name);
            return name;
        }
    }
    return {};
}

// An empty row laid out like `model`: its height, hidden option and cell formats.
model::Row opened_like(const model::Row& model) {
    model::Row row;
    row.height = model.height;
    row.options[0] = model.options[0];
    row.cells.resize(model.cells.size());
    for (size_t c = 0; c < model.cells.size(); ++c) row.cells[c].style = model.cells[c].style;
    return row;
}

}  // namespace

int tob_scroll_rows(XLS_BOOK& book, int32_t sheet_index, int32_t row) {
    WorkArea* area = work_area(book);
    if (area == nullptr || sheet_index < 0 || sheet_index >= static_cast<int32_t>(area->book.sheets.size()) || row < 0)
        return fail_silently(book, kBadArgument);
    model::Sheet& sheet = area->book.sheets[sheet_index];
    if (row >= sheet.rows_in_use()) {  // nothing below to move
        model::ensure_row(sheet, row);
        return 0;
    }
    // Everything is checked before the first row moves, so a refusal leaves the sheet as it was.
    if (row <= sheet.last_streamed_row) {
        std::string name;
        model::format_cell_name(row, 0, name);
        return fail(book, kFailed, Msg::BadCell, {std::string_view(name)});
    }
    const int32_t limit = sheet_row_limit(book);
    if (sheet.rows_in_use() >= limit) {
        std::string what = quoted(enc::kUtf8, sheet.name) + ": rows";
        return fail(book, kFailed, Msg::CountLimit, {std::string_view(what), static_cast<long long>(limit)});
    }
    if (std::string formula = first_formula_cell(sheet, row); !formula.empty()) {
        std::fputs(enc::conv_charset(enc::kUtf8, area->charset, kFormulaScrollLine).c_str(), area->err);
        return fail(book, kFailed, Msg::TemplateFormulaCell, {std::string_view(formula)});
    }
    sheet.rows.insert(sheet.rows.begin() + row, opened_like(sheet.rows[row]));
    return 0;
}

}  // namespace tova::load
