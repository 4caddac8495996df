// Statements on cells, rows and columns: the dispatch table and what the groups share.
#include "property/cell_appliers.hpp"

#include "api/work_area.hpp"
#include "model/cell_ref.hpp"

namespace tova::property {
namespace {

constexpr ApplierEntry kCellAppliers[] = {
    {stmt::kHeight, stmt::kHeight, apply_height},
    {stmt::kNewPage, stmt::kNewPage, apply_new_page},
    {stmt::kWidth, stmt::kWidth, apply_width},
    {stmt::kBorder, stmt::kBorderDiagonalDown, apply_border},
    {stmt::kFontName, stmt::kFontColor, apply_font},
    {stmt::kFillColor, stmt::kFillPatternColor, apply_fill},
    {stmt::kFillGradationColor1, stmt::kFillGradationVariation, apply_gradient},
    {stmt::kAlign, stmt::kAlign, apply_alignment},
    {stmt::kWrap, stmt::kShrink, apply_text_control},
    {stmt::kMerge, stmt::kMerge, apply_merge},
    {stmt::kFormat, stmt::kFormat, apply_format},
    {stmt::kUnprotect, stmt::kUnprotect, apply_unprotect},
    {stmt::kDirection, stmt::kDirection, apply_direction},
    {stmt::kIndent, stmt::kIndent, apply_indent},
    {stmt::kHyperlink, stmt::kHyperlink, apply_hyperlink},
    {stmt::kFilter, stmt::kFilter, apply_filter},
    {stmt::kValidationKind, stmt::kValidationList, apply_validation},
};

}  // namespace

std::span<const ApplierEntry> cell_appliers() { return kCellAppliers; }

int format_limit(StatementContext& ctx, int rc, std::string_view table, int32_t limit) {
    if (rc != kTableFull) return rc;
    return fail(ctx.book, rc, Msg::CountLimit, {table, static_cast<long long>(limit)});
}

}  // namespace tova::property
