// Statements on one sheet as a whole: choosing it, its view, visibility,
// protection, frozen panes, scroll row and tab colour.
#include <string>

#include "api/flags.hpp"
#include "api/sheet_names.hpp"
#include "api/work_area.hpp"
#include "model/cell_ref.hpp"
#include "model/cell_store.hpp"
#include "platform/encoding.hpp"
#include "property/applier_support.hpp"

namespace tova::property {
namespace {

constexpr size_t kMaxPassword = 16;

// Selects the sheet of exactly that name, appending it when the book has none.
int apply_sheet(StatementContext& c) {
    model::Workbook& wb = work_area(c.book)->book;
    const std::string name = c.value.utf8();
    const std::string shown = quoted(enc::kUtf8, name);
    int32_t index = find_sheet(wb, name);
    if (index < 0) {
        if (flag_on(c.book, XLS_FLAG_TEMPLATE_MODE))
            return fail(c.book, kBadArgument, Msg::TemplateSheetUnavailable, {std::string_view(shown)});
        if (int rc = check_new_sheet_name(c.book, name)) return rc;
        if (name.size() > model::kSheetNameMax) return fail(c.book, kDoesNotFit, Msg::FileNameTooLong);
        index = static_cast<int32_t>(wb.sheets.size());
        model::ensure_sheet(wb, index).name = name;
    }
    c.selected_sheet = index;
    return 0;
}

int apply_display(StatementContext& c, model::Sheet& sheet) {
    if (auto mode = vocab::lookup(vocab::Vocab::SheetView, c.value.sjis())) sheet.properties.view.mode = *mode;
    return 0;
}

int apply_zoom(StatementContext& c, model::Sheet& sheet) {
    auto zoom = integer_of(c.value.sjis());
    if (!zoom || *zoom < 10 || *zoom > 400) return refuse(c, kBadArgument, Msg::BadZoom);
    sheet.properties.view.zoom = *zoom;
    return 0;
}

// Yes/no statements that set one switch of the sheet.
struct SheetSwitch {
    int32_t code;
    bool& (*field)(model::SheetProperties&);
};
constexpr SheetSwitch kSwitches[] = {
    {stmt::kSheetHidden, [](model::SheetProperties& p) -> bool& { return p.hidden; }},
    {stmt::kSheetProtect, [](model::SheetProperties& p) -> bool& { return p.is_protected; }},
    {stmt::kSheetHiddenGrid, [](model::SheetProperties& p) -> bool& { return p.view.hide_grid; }},
    {stmt::kSheetHiddenHeader, [](model::SheetProperties& p) -> bool& { return p.view.hide_headings; }},
};

int apply_switch(StatementContext& c, model::Sheet& sheet) {
    bool yes = false;
    if (int rc = read_yes_no(c, yes)) return rc;
    for (const SheetSwitch& s : kSwitches)
        if (s.code == c.code) s.field(sheet.properties) = yes;
    return 0;
}

// Kept as the Shift-JIS bytes, which the legacy verifier hashes as the application does.
int apply_password(StatementContext& c, model::Sheet& sheet) {
    const std::string& password = c.value.sjis();
    if (password.size() > kMaxPassword)
        return fail(c.book, kBadArgument, Msg::KeywordTooLong,
                    {std::string_view(password), static_cast<long long>(kMaxPassword)});
    sheet.properties.password = password;
    sheet.properties.is_protected = true;
    return 0;
}

int apply_protection_option(StatementContext& c, model::Sheet& sheet) {
    sheet.properties.protection[c.code - stmt::kProtectFormatCells] = vocab::yes_no(c.value.sjis()) == true ? 1 : 0;
    return 0;
}

int apply_order(StatementContext& c) {
    auto order = vocab::lookup(vocab::Vocab::SheetOrder, c.value.sjis());
    if (!order) return refuse(c, kBadArgument, Msg::UnsupportedKeyword);
    set_flag(c.book, XLS_FLAG_DESCENDING_SHEETS, *order == 1);
    return 0;
}

// The first row and the first column share one member: the later statement wins.
int apply_frozen_edge(StatementContext& c, model::Sheet& sheet) {
    bool yes = false;
    if (int rc = read_yes_no(c, yes)) return rc;
    const uint8_t edge = c.code == stmt::kSheetFrozenTop ? 1 : 2;
    sheet.properties.view.frozen = yes ? edge : 0;
    return 0;
}

int apply_frozen_split(StatementContext& c, model::Sheet& sheet) {
    int32_t row = 0, column = 0;
    if (model::parse_cell_simple(c.value.sjis(), row, column) != 0) return refuse(c, kBadArgument, Msg::BadFrozenSplit);
    sheet.properties.view.split_row = row;
    sheet.properties.view.split_column = column;
    return 0;
}

// One-based here; the data loads compare the stored zero-based row.
int apply_scroll_row(StatementContext& c, model::Sheet& sheet) {
    auto row = integer_of(c.value.sjis());
    if (!row || *row < 1 || *row > model::kLastRow + 1) return refuse(c, kBadArgument, Msg::BadNumber);
    sheet.scroll_row = *row - 1;
    return 0;
}

int apply_tab_color(StatementContext& c, model::Sheet& sheet) {
    vocab::ColorValue color = vocab::color(c.value.sjis());
    if (!color.is_color()) return refuse(c, kFailed, Msg::BadColor);
    model::SheetView& view = sheet.properties.view;
    view.tab_color = color.code;
    view.tab_rgb[0] = color.red;
    view.tab_rgb[1] = color.green;
    view.tab_rgb[2] = color.blue;
    return 0;
}

constexpr ApplierEntry kSheetViewAppliers[] = {
    {stmt::kSheet, stmt::kSheet, apply_sheet},
    {stmt::kSheetDisplay, stmt::kSheetDisplay, on_sheet<apply_display>},
    {stmt::kZoom, stmt::kZoom, on_sheet<apply_zoom>},
    {stmt::kSheetHidden, stmt::kSheetHidden, on_sheet<apply_switch>},
    {stmt::kSheetPassword, stmt::kSheetPassword, on_sheet<apply_password>},
    {stmt::kSheetProtect, stmt::kSheetProtect, on_sheet<apply_switch>},
    {stmt::kSheetOrder, stmt::kSheetOrder, apply_order},
    {stmt::kSheetHiddenGrid, stmt::kSheetHiddenHeader, on_sheet<apply_switch>},
    {stmt::kSheetFrozenTop, stmt::kSheetFrozenLeft, on_sheet<apply_frozen_edge>},
    {stmt::kSheetFrozenSplit, stmt::kSheetFrozenSplit, on_sheet<apply_frozen_split>},
    {stmt::kSheetScrollRow, stmt::kSheetScrollRow, on_sheet<apply_scroll_row>},
    {stmt::kSheetTabColor, stmt::kSheetTabColor, on_sheet<apply_tab_color>},
    {stmt::kProtectFormatCells, stmt::kProtectScenarios, on_sheet<apply_protection_option>},
};

}  // namespace

std::span<const ApplierEntry> sheet_view_appliers() { return kSheetViewAppliers; }

}  // namespace tova::property
