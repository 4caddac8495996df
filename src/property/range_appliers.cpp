// Statements on ranges, rows and columns: merges, hyperlinks, the auto
// filter, row heights, column widths and page breaks.
#include <algorithm>
#include <vector>

#include "api/work_area.hpp"
#include "platform/encoding.hpp"
#include "property/cell_appliers.hpp"
#include "property/hyperlinks.hpp"

namespace tova::property {
namespace {

constexpr double kMaxRowHeight = 409;    // points
constexpr double kMaxColumnWidth = 255;  // characters
constexpr double kColumnPadding = 0.625;

bool one_rectangle(const StatementContext& ctx) { return ctx.key.target.count == 1; }

bool single_cell(const XLS_RECT& r) { return r.first_row == r.last_row && r.first_column == r.last_column; }

bool overlaps(const XLS_RECT& a, const XLS_RECT& b) {
    return a.first_row <= b.last_row && b.first_row <= a.last_row && a.first_column <= b.last_column &&
           b.first_column <= a.last_column;
}

int needs_one_rectangle(StatementContext& ctx, std::string_view what_utf8) {
    return fail(ctx.book, kBadArgument, Msg::RangeRequired, {std::string_view(quoted(enc::kUtf8, what_utf8))});
}

int refuses_range(StatementContext& ctx, std::string_view what_utf8) {
    return fail(ctx.book, kBadArgument, Msg::RangeNotAllowed, {std::string_view(quoted(enc::kUtf8, what_utf8))});
}

// A row height in points or a column width in characters: a number within 0..limit.
std::optional<double> size_value(StatementContext& ctx, double limit) {
    auto value = number_of(ctx.value.sjis());
    if (!value || *value < 0 || *value > limit) return std::nullopt;
    return value;
}

}  // namespace

int apply_merge(StatementContext& ctx) {
    if (!one_rectangle(ctx)) return needs_one_rectangle(ctx, "MERGE");
    auto yes = vocab::yes_no(ctx.value.sjis());
    if (!yes) return refuse(ctx, kBadArgument, Msg::UnsupportedKeyword);
    std::vector<model::MergedRange>& merges = work_area(ctx.book)->book.merges;
    for (const model::MergedRange& merge : merges)
        if (merge.sheet == ctx.sheet && overlaps(merge.area, ctx.rect))
            return fail(ctx.book, kBadArgument, Msg::AlreadyMerged);
    if (*yes) merges.push_back({ctx.sheet, ctx.rect});
    return 0;
}

int apply_hyperlink(StatementContext& ctx) {
    if (!single_cell(ctx.rect)) return refuses_range(ctx, "ハイパーリンク(HYPERLINK)");
    if (add_external_hyperlink(ctx.book, ctx.sheet, ctx.rect.first_row, ctx.rect.first_column, ctx.value.utf8()) != 0)
        return internal_error(ctx.book, "tob_set_hyperlink()");
    return 0;
}

int apply_filter(StatementContext& ctx) {
    if (!one_rectangle(ctx)) return needs_one_rectangle(ctx, "フィルター(FILTER)");
    if (!vocab::yes_no(ctx.value.sjis()).value_or(false)) return 0;
    int32_t* filter = statement_sheet(ctx)->properties.filter;
    filter[0] = ctx.rect.first_row;
    filter[1] = ctx.rect.first_column;
    filter[2] = ctx.rect.last_row;
    filter[3] = ctx.rect.last_column;
    return 0;
}

// The frame made the cells of the rectangle, so its rows and columns exist and every row has a slot to be written with.

int apply_height(StatementContext& ctx) {
    auto points = size_value(ctx, kMaxRowHeight);
    if (!points) return refuse(ctx, kBadArgument, Msg::BadNumber);
    model::Sheet& sheet = *statement_sheet(ctx);
    const auto hundredths = static_cast<uint16_t>(*points * 100);
    for (int32_t row = ctx.rect.first_row; row <= ctx.rect.last_row; ++row) sheet.rows[row].height = hundredths;
    return 0;
}

int apply_width(StatementContext& ctx) {
    auto characters = size_value(ctx, kMaxColumnWidth);
    if (!characters) return refuse(ctx, kBadArgument, Msg::BadNumber);
    model::Sheet& sheet = *statement_sheet(ctx);
    std::fill(sheet.column_widths.begin() + ctx.rect.first_column, sheet.column_widths.begin() + ctx.rect.last_column + 1,
              *characters + kColumnPadding);
    sheet.properties.options[0] = 0;
    return 0;
}

// A break before the row or column of the cell; the first row and column have none.
int apply_new_page(StatementContext& ctx) {
    if (ctx.key.target.count > 0) return refuses_range(ctx, "NEWPAGE/改ページ");
    model::Sheet& sheet = *statement_sheet(ctx);
    const int32_t row = ctx.rect.first_row, column = ctx.rect.first_column;
    if (row > 0) sheet.rows[row].options[1] = 0;
    if (column > 0) sheet.column_options[column] |= model::kColumnPageBreak;
    return 0;
}

}  // namespace tova::property
