#include "property/appliers.hpp"

#include <algorithm>

#include "api/arglist.hpp"
#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "model/cell_ref.hpp"
#include "model/cell_store.hpp"

namespace tova::property {
namespace {

struct WorkingTarget {
    XLS_RECT rect{0, 0, 0, 0};
    bool column_target = false;
};

WorkingTarget working_target(const PropertyKey& key) {
    const XLS_RANGE_LIST& t = key.target;
    WorkingTarget w;
    if (t.row >= 0 && t.column >= 0) w.rect = {t.row, t.column, t.row, t.column};
    else if (t.row >= 0) w.rect = {t.row, 0, t.row, 0};
    else if (t.column >= 0) w.rect = {0, t.column, 0, t.column}, w.column_target = true;
    else if (t.count > 0) w.rect = t.ranges[0];
    XLS_RECT& r = w.rect;
    if (r.first_row > r.last_row) std::swap(r.first_row, r.last_row);
    if (r.first_column > r.last_column) std::swap(r.first_column, r.last_column);
    return w;
}

const ApplierEntry* find_applier(int32_t code) {
    for (auto table : {cell_appliers(), sheet_appliers(), load_appliers()})
        for (const ApplierEntry& entry : table)
            if (code >= entry.first_code && code <= entry.last_code) return &entry;
    return nullptr;
}

// Statements that format cells find every cell of their rectangle in place.
int create_cells(XLS_BOOK& book, int32_t sheet, const XLS_RECT& r) {
    model::Sheet& s = work_area(book)->book.sheets[sheet];
    for (int32_t row = r.first_row; row <= r.last_row; ++row)
        for (int32_t column = r.first_column; column <= r.last_column; ++column)
            if (model::ensure_cell(s, row, column) == nullptr) {
                std::string name;
                model::format_cell_name(row, column, name);
                return fail(book, kBadArgument, Msg::BadCell, {std::string_view(name)});
            }
    return 0;
}

// The statement runs with its sheet current, so that whatever it calls acts on that sheet.
class CurrentSheet {
public:
    CurrentSheet(XLS_BOOK& book, int32_t sheet) : book_(book), saved_(book.cur_sheet) { book.cur_sheet = sheet; }
    ~CurrentSheet() { book_.cur_sheet = saved_; }

private:
    XLS_BOOK& book_;
    int32_t saved_;
};

}  // namespace

int apply_property(XLS_BOOK& book, const PropertyKey& key, std::string_view value) {
    const bool has_target = key.target_kind != TargetKind::None;
    if (!has_target && !runs_without_target(key.code)) return 0;
    const ApplierEntry* applier = find_applier(key.code);
    if (applier == nullptr) return 0;

    const int32_t sheet = key.target.sheet >= 0 ? key.target.sheet : book.cur_sheet;
    const int32_t sheets = static_cast<int32_t>(work_area(book)->book.sheets.size());
    const WorkingTarget target = working_target(key);
    if (has_target) {
        if (sheet < 0 || sheet >= sheets)
            return fail(book, kNoCurrentSheet, Msg::BadCell, {std::string_view(quoted(charset_of(book), key.target_text))});
        if (key.code != stmt::kCsv && key.code != stmt::kTsv)
            if (int rc = create_cells(book, sheet, target.rect)) return rc;
    }

    std::string text(value);
    args::remove_quotes(text);
    StatementContext context{book, key, key.code, sheet, target.rect, target.column_target,
                             vocab::ValueText(charset_of(book), text)};
    int rc;
    {
        CurrentSheet current(book, has_target ? sheet : book.cur_sheet);
        rc = applier->apply(context);
    }
    if (rc == 0 && context.selected_sheet >= 0) book.cur_sheet = context.selected_sheet;
    return rc;
}

}  // namespace tova::property
