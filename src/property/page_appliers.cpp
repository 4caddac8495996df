// Statements on a sheet's printed pages: paper, orientation, scale, print
// quality, margins, fitting to pages and the title rows and columns.
#include <algorithm>
#include <string>

#include "model/cell_ref.hpp"
#include "platform/encoding.hpp"
#include "property/applier_support.hpp"

namespace tova::property {
namespace {

constexpr int32_t kDefaultPaper = 4;  // A4

int apply_paper_size(StatementContext& c, model::Sheet& sheet) {
    sheet.properties.page.paper = vocab::lookup(vocab::Vocab::PaperSize, c.value.sjis()).value_or(kDefaultPaper);
    return 0;
}

int apply_orientation(StatementContext& c, model::Sheet& sheet) {
    sheet.properties.page.landscape = vocab::lookup(vocab::Vocab::Orientation, c.value.sjis()) == 1;
    return 0;
}

// The package allows a scale of 10 to 400 percent and a positive print quality only.
int apply_scale(StatementContext& c, model::Sheet& sheet) {
    auto scale = integer_of(c.value.sjis());
    if (!scale || *scale < 10 || *scale > 400) return refuse(c, kBadArgument, Msg::BadNumber);
    sheet.properties.page.scale = *scale;
    return 0;
}

int apply_print_quality(StatementContext& c, model::Sheet& sheet) {
    auto dpi = integer_of(c.value.sjis());
    if (!dpi || *dpi < 1) return refuse(c, kBadArgument, Msg::BadNumber);
    sheet.properties.page.print_quality = *dpi;
    return 0;
}

// In the order of the statement codes 715-720.
constexpr double model::PageMargins::*kMargins[] = {
    &model::PageMargins::top,   &model::PageMargins::bottom, &model::PageMargins::left,
    &model::PageMargins::right, &model::PageMargins::header, &model::PageMargins::footer,
};

int apply_margin(StatementContext& c, model::Sheet& sheet) {
    double centimetres = 0;
    if (int rc = read_decimal(c, centimetres)) return rc;
    sheet.properties.page.margins.*kMargins[c.code - stmt::kMarginTop] = centimetres;
    return 0;
}

int apply_page_fit(StatementContext& c, model::Sheet& sheet) {
    auto pages = integer_of(c.value.sjis());
    if (!pages || *pages < 1) return refuse(c, kBadArgument, Msg::BadPrintPageFit);
    model::PageSetup& page = sheet.properties.page;
    (c.code == stmt::kPageFitVertical ? page.fit_height : page.fit_width) = *pages;
    page.fit_to_page = true;
    return 0;
}

// 3:5 (either order), or one row number that then stands for first and last alike.
int apply_title_rows(StatementContext& c, model::Sheet& sheet) {
    const std::string& text = c.value.sjis();
    model::PageSetup& page = sheet.properties.page;
    int32_t first = 0, last = 0;
    if (model::parse_row_range(text, first, last) == 0) {
        page.title_first_row = std::min(first, last) + 1;
        page.title_last_row = std::max(first, last) + 1;
        return 0;
    }
    auto row = integer_of(text);
    if (!row || *row < 1 || *row > model::kLastRow + 1) return refuse(c, kBadArgument, Msg::BadPrintTitleRow);
    page.title_first_row = page.title_last_row = *row;
    return 0;
}

// A:C (either order), or one to three column letters that then stand for first and last alike.
int apply_title_columns(StatementContext& c, model::Sheet& sheet) {
    model::PageSetup& page = sheet.properties.page;
    XLS_RANGE_LIST range{};
    if (model::parse_column_range(c.book, c.value.utf8(), range) == 0) {
        const XLS_RECT& r = range.ranges[0];
        page.title_first_column = std::min(r.first_column, r.last_column) + 1;
        page.title_last_column = std::max(r.first_column, r.last_column) + 1;
        return 0;
    }
    std::string letters = c.value.sjis();
    int32_t row = 0, column = 0;
    if (enc::upper_unquoted(enc::kShiftJis, letters) != 0 || letters.empty() || letters.size() > 3 ||
        !std::all_of(letters.begin(), letters.end(), [](char ch) { return ch >= 'A' && ch <= 'Z'; }) ||
        model::parse_cell_simple(letters + "1", row, column) != 0)
        return refuse(c, kBadArgument, Msg::BadPrintTitleColumn);
    page.title_first_column = page.title_last_column = column + 1;
    return 0;
}

constexpr ApplierEntry kPageAppliers[] = {
    {stmt::kPaperSize, stmt::kPaperSize, on_sheet<apply_paper_size>},
    {stmt::kPaperOrientation, stmt::kPaperOrientation, on_sheet<apply_orientation>},
    {stmt::kPaperScale, stmt::kPaperScale, on_sheet<apply_scale>},
    {stmt::kPaperDpi, stmt::kPaperDpi, on_sheet<apply_print_quality>},
    {stmt::kMarginTop, stmt::kMarginFooter, on_sheet<apply_margin>},
    {stmt::kPageFitVertical, stmt::kPageFitHorizontal, on_sheet<apply_page_fit>},
    {stmt::kPrintTitleRow, stmt::kPrintTitleRow, on_sheet<apply_title_rows>},
    {stmt::kPrintTitleColumn, stmt::kPrintTitleColumn, on_sheet<apply_title_columns>},
};

}  // namespace

std::span<const ApplierEntry> page_appliers() { return kPageAppliers; }

}  // namespace tova::property
