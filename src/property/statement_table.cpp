#include "property/statement_table.hpp"

#include <algorithm>

namespace tova::property {
namespace {

using W = Word;

// Short names for the flag columns of the table.
constexpr uint8_t kT = kNeedsTarget;
constexpr uint8_t kF = kTargetFree;
constexpr uint8_t kFM = kTargetFree | kTemplateMode;

constexpr Statement kStatements[] = {
    // Book
    {stmt::kBook, {W::Book}, kFM},
    {stmt::kBook, {W::Book, W::Name}, kFM},
    {stmt::kBookCompany, {W::Book, W::Company}, kF},
    {stmt::kBookCreator, {W::Book, W::Creator}, kF},
    {stmt::kBookManager, {W::Book, W::Manager}, kF},
    {stmt::kBookTitle, {W::Book, W::Title}, kF},
    {stmt::kBookSubject, {W::Book, W::Subject}, kF},
    {stmt::kBookTag, {W::Book, W::Tag}, kF},
    {stmt::kBookComment, {W::Book, W::Comment}, kF},
    {stmt::kTemplate, {W::Template}, kFM},
    {stmt::kBookWritePassword, {W::Book, W::WritePassword}, kF},
    {stmt::kBookRecalc, {W::Book, W::Recalc}, kF},
    {stmt::kBookBackup, {W::Book, W::Backup}, kF},
    {stmt::kBookThumbnailPath, {W::Book, W::Thumbnail, W::Path}, kF},
    {stmt::kBookFinal, {W::Book, W::Final}, kF},
    {stmt::kBookFontName, {W::Book, W::Font, W::Name}, kF},
    {stmt::kBookFontSize, {W::Book, W::Font, W::Size}, kF},
    {stmt::kBookFontColor, {W::Book, W::Font, W::Color}, kF},
    {stmt::kBookFontStyle, {W::Book, W::Font, W::Style}, kF},
    {stmt::kBookX, {W::Book, W::X}, kF},
    {stmt::kBookY, {W::Book, W::Y}, kF},
    {stmt::kBookWidth, {W::Book, W::Width}, kF},
    {stmt::kBookHeight, {W::Book, W::Height}, kF},
    {stmt::kAutoWidth, {W::AutoWidth}, kF},

    // Sheet
    {stmt::kSheet, {W::Sheet}, kFM},
    {stmt::kSheet, {W::Sheet, W::Name}, kFM},
    {stmt::kSheetDisplay, {W::Sheet, W::Display}, kF},
    {stmt::kZoom, {W::Zoom}, kF},
    {stmt::kZoom, {W::Sheet, W::Zoom}, kF},
    {stmt::kSheetHidden, {W::Sheet, W::Hidden}, kF},
    {stmt::kSheetPassword, {W::Sheet, W::Password}, kF},
    {stmt::kSheetProtect, {W::Sheet, W::Protect}, kF},
    {stmt::kSheetOrder, {W::Sheet, W::Order}, kF},
    {stmt::kSheetHiddenGrid, {W::Sheet, W::HiddenGrid}, kF},
    {stmt::kSheetHiddenHeader, {W::Sheet, W::HiddenHeader}, kF},
    {stmt::kSheetFrozenTop, {W::Sheet, W::FrozenTop}, kF},
    {stmt::kSheetFrozenLeft, {W::Sheet, W::FrozenLeft}, kF},
    {stmt::kSheetFrozenSplit, {W::Sheet, W::FrozenSplit}, kF},
    {stmt::kSheetBackgroundPath, {W::Sheet, W::Background, W::Path}, kF},
    {stmt::kSheetScrollRow, {W::Sheet, W::ScrollRow}, kFM},
    {stmt::kSheetTabColor, {W::Sheet, W::Tab, W::Color}, kF},
    {stmt::kPrintTitleRow, {W::Sheet, W::PrintTitleRow}, kF},
    {stmt::kPrintTitleColumn, {W::Sheet, W::PrintTitleColumn}, kF},

    // Sheet protection options
    {stmt::kProtectFormatCells, {W::Sheet, W::Protect, W::FormatCells}, kF},
    {stmt::kProtectFormatColumns, {W::Sheet, W::Protect, W::FormatColumns}, kF},
    {stmt::kProtectFormatRows, {W::Sheet, W::Protect, W::FormatRows}, kF},
    {stmt::kProtectInsColumns, {W::Sheet, W::Protect, W::InsColumns}, kF},
    {stmt::kProtectInsRows, {W::Sheet, W::Protect, W::InsRows}, kF},
    {stmt::kProtectInsHyperlinks, {W::Sheet, W::Protect, W::InsHyperlinks}, kF},
    {stmt::kProtectDelColumns, {W::Sheet, W::Protect, W::DelColumns}, kF},
    {stmt::kProtectDelRows, {W::Sheet, W::Protect, W::DelRows}, kF},
    {stmt::kProtectSort, {W::Sheet, W::Protect, W::Sort}, kF},
    {stmt::kProtectAutoFilter, {W::Sheet, W::Protect, W::AutoFilter}, kF},
    {stmt::kProtectPivotTables, {W::Sheet, W::Protect, W::PivotTables}, kF},
    {stmt::kProtectObjects, {W::Sheet, W::Protect, W::Objects}, kF},
    {stmt::kProtectScenarios, {W::Sheet, W::Protect, W::Scenarios}, kF},

    // Header and footer texts and fonts
    {stmt::kHeaderLeft, {W::Sheet, W::Header, W::Left}, kF},
    {stmt::kHeaderLeftFontName, {W::Sheet, W::Header, W::Left, W::Font, W::Name}, kF},
    {stmt::kHeaderLeftFontSize, {W::Sheet, W::Header, W::Left, W::Font, W::Size}, kF},
    {stmt::kHeaderLeftFontStyle, {W::Sheet, W::Header, W::Left, W::Font, W::Style}, kF},
    {stmt::kHeaderLeftFontColor, {W::Sheet, W::Header, W::Left, W::Font, W::Color}, kF},
    {stmt::kHeaderRight, {W::Sheet, W::Header, W::Right}, kF},
    {stmt::kHeaderRightFontName, {W::Sheet, W::Header, W::Right, W::Font, W::Name}, kF},
    {stmt::kHeaderRightFontSize, {W::Sheet, W::Header, W::Right, W::Font, W::Size}, kF},
    {stmt::kHeaderRightFontStyle, {W::Sheet, W::Header, W::Right, W::Font, W::Style}, kF},
    {stmt::kHeaderRightFontColor, {W::Sheet, W::Header, W::Right, W::Font, W::Color}, kF},
    {stmt::kHeaderCenter, {W::Sheet, W::Header, W::Center}, kF},
    {stmt::kHeaderCenterFontName, {W::Sheet, W::Header, W::Center, W::Font, W::Name}, kF},
    {stmt::kHeaderCenterFontSize, {W::Sheet, W::Header, W::Center, W::Font, W::Size}, kF},
    {stmt::kHeaderCenterFontStyle, {W::Sheet, W::Header, W::Center, W::Font, W::Style}, kF},
    {stmt::kHeaderCenterFontColor, {W::Sheet, W::Header, W::Center, W::Font, W::Color}, kF},
    {stmt::kFooterLeft, {W::Sheet, W::Footer, W::Left}, kF},
    {stmt::kFooterLeftFontName, {W::Sheet, W::Footer, W::Left, W::Font, W::Name}, kF},
    {stmt::kFooterLeftFontSize, {W::Sheet, W::Footer, W::Left, W::Font, W::Size}, kF},
    {stmt::kFooterLeftFontStyle, {W::Sheet, W::Footer, W::Left, W::Font, W::Style}, kF},
    {stmt::kFooterLeftFontColor, {W::Sheet, W::Footer, W::Left, W::Font, W::Color}, kF},
    {stmt::kFooterRight, {W::Sheet, W::Footer, W::Right}, kF},
    {stmt::kFooterRightFontName, {W::Sheet, W::Footer, W::Right, W::Font, W::Name}, kF},
    {stmt::kFooterRightFontSize, {W::Sheet, W::Footer, W::Right, W::Font, W::Size}, kF},
    {stmt::kFooterRightFontStyle, {W::Sheet, W::Footer, W::Right, W::Font, W::Style}, kF},
    {stmt::kFooterRightFontColor, {W::Sheet, W::Footer, W::Right, W::Font, W::Color}, kF},
    {stmt::kFooterCenter, {W::Sheet, W::Footer, W::Center}, kF},
    {stmt::kFooterCenterFontName, {W::Sheet, W::Footer, W::Center, W::Font, W::Name}, kF},
    {stmt::kFooterCenterFontSize, {W::Sheet, W::Footer, W::Center, W::Font, W::Size}, kF},
    {stmt::kFooterCenterFontStyle, {W::Sheet, W::Footer, W::Center, W::Font, W::Style}, kF},
    {stmt::kFooterCenterFontColor, {W::Sheet, W::Footer, W::Center, W::Font, W::Color}, kF},

    // Paper and printing
    {stmt::kPaperSize, {W::Paper, W::Size}, kF},
    {stmt::kPaperOrientation, {W::Paper, W::Orientation}, kF},
    {stmt::kPaperScale, {W::Paper, W::Scale}, kF},
    {stmt::kPaperDpi, {W::Paper, W::Dpi}, kF},
    {stmt::kMarginTop, {W::Paper, W::Margin, W::Top}, kF},
    {stmt::kMarginBottom, {W::Paper, W::Margin, W::Bottom}, kF},
    {stmt::kMarginLeft, {W::Paper, W::Margin, W::Left}, kF},
    {stmt::kMarginRight, {W::Paper, W::Margin, W::Right}, kF},
    {stmt::kMarginHeader, {W::Paper, W::Margin, W::Header}, kF},
    {stmt::kMarginFooter, {W::Paper, W::Margin, W::Footer}, kF},
    {stmt::kPageFitVertical, {W::PrintPageFit, W::Vertical}, kF},
    {stmt::kPageFitHorizontal, {W::PrintPageFit, W::Horizontal}, kF},

    // Rows and columns
    {stmt::kHeight, {W::Height}, kT | kTemplateMode},
    {stmt::kNewPage, {W::NewPage}, kT},
    {stmt::kWidth, {W::Width}, kT},

    // Cell format; a trailing STYLE after a border line names the same statement
    {stmt::kBorder, {W::Border}, kT},
    {stmt::kBorder, {W::Border, W::Style}, kT},
    {stmt::kBorderLeft, {W::Border, W::Left}, kT},
    {stmt::kBorderLeft, {W::Border, W::Left, W::Style}, kT},
    {stmt::kBorderRight, {W::Border, W::Right}, kT},
    {stmt::kBorderRight, {W::Border, W::Right, W::Style}, kT},
    {stmt::kBorderTop, {W::Border, W::Top}, kT},
    {stmt::kBorderTop, {W::Border, W::Top, W::Style}, kT},
    {stmt::kBorderBottom, {W::Border, W::Bottom}, kT},
    {stmt::kBorderBottom, {W::Border, W::Bottom, W::Style}, kT},
    {stmt::kBorderColor, {W::Border, W::Color}, kT},
    {stmt::kBorderDiagonalUp, {W::Border, W::DiagonalUp}, kT},
    {stmt::kBorderDiagonalUp, {W::Border, W::DiagonalUp, W::Style}, kT},
    {stmt::kBorderDiagonalDown, {W::Border, W::DiagonalDown}, kT},
    {stmt::kBorderDiagonalDown, {W::Border, W::DiagonalDown, W::Style}, kT},
    {stmt::kFontName, {W::Font, W::Name}, kT},
    {stmt::kFontStyle, {W::Font, W::Style}, kT},
    {stmt::kFontSize, {W::Font, W::Size}, kT},
    {stmt::kFontColor, {W::Font, W::Color}, kT},
    {stmt::kFillColor, {W::Fill, W::Color}, kT},
    {stmt::kFillPatternName, {W::Fill, W::Pattern, W::Name}, kT},
    {stmt::kFillPatternColor, {W::Fill, W::Pattern, W::Color}, kT},
    {stmt::kFillGradationColor1, {W::Fill, W::Gradation, W::Color1}, kT},
    {stmt::kFillGradationColor2, {W::Fill, W::Gradation, W::Color2}, kT},
    {stmt::kFillGradationKind, {W::Fill, W::Gradation, W::Kind}, kT},
    {stmt::kFillGradationVariation, {W::Fill, W::Gradation, W::Variation}, kT},
    {stmt::kAlign, {W::Align}, kT},
    {stmt::kWrap, {W::Wrap}, kT},
    {stmt::kRotation, {W::Rotation}, kT},
    {stmt::kShrink, {W::Shrink}, kT},
    {stmt::kMerge, {W::Merge}, kT},
    {stmt::kFormat, {W::Format}, kT},
    {stmt::kUnprotect, {W::Unprotect}, kT},
    {stmt::kDirection, {W::Direction}, kT},
    {stmt::kIndent, {W::Indent}, kT},

    // Comments, links, filters, tables, validation
    {stmt::kComment, {W::Comment}, kT},
    {stmt::kCommentFontSize, {W::Comment, W::Font, W::Size}, kT},
    {stmt::kCommentFontName, {W::Comment, W::Font, W::Name}, kT},
    {stmt::kHyperlink, {W::Hyperlink}, kT},
    {stmt::kFilter, {W::Filter}, kT},
    {stmt::kTableFormat, {W::TableFormat}, kT},
    {stmt::kTableFormatColumnName, {W::TableFormat, W::ColumnName}, kF},
    {stmt::kValidationKind, {W::Validation, W::Kind}, kT},
    {stmt::kValidationOperator, {W::Validation, W::Operator}, kT},
    {stmt::kValidationMin, {W::Validation, W::Min}, kT},
    {stmt::kValidationMax, {W::Validation, W::Max}, kT},
    {stmt::kValidationList, {W::Validation, W::List}, kT},

    // Images
    {stmt::kImagePath, {W::Image, W::Path}, kT},
    {stmt::kImageRatio, {W::Image, W::Ratio}, kT},
    {stmt::kImageOffsetX, {W::Image, W::Offset, W::X}, kT},
    {stmt::kImageOffsetY, {W::Image, W::Offset, W::Y}, kT},

    // Sparklines
    {stmt::kSparkline, {W::Sparkline}, kT},
    {stmt::kSparklineKind, {W::Sparkline, W::Kind}, kT},
    {stmt::kSparklineDisplay, {W::Sparkline, W::Display}, kT},
    {stmt::kSparklineHighColor, {W::Sparkline, W::High, W::Color}, kT},
    {stmt::kSparklineLowColor, {W::Sparkline, W::Low, W::Color}, kT},
    {stmt::kSparklineStartColor, {W::Sparkline, W::Start, W::Color}, kT},
    {stmt::kSparklineEndColor, {W::Sparkline, W::End, W::Color}, kT},
    {stmt::kSparklineNegativeColor, {W::Sparkline, W::Negative, W::Color}, kT},
    {stmt::kSparklineMarkerColor, {W::Sparkline, W::Marker, W::Color}, kT},

    // Form controls
    {stmt::kControl, {W::Control}, kT},
    {stmt::kControlWidth, {W::Control, W::Width}, kF},
    {stmt::kControlHeight, {W::Control, W::Height}, kF},
    {stmt::kControlDegree, {W::Control, W::Degree}, kF},
    {stmt::kControlOffsetX, {W::Control, W::Offset, W::X}, kF},
    {stmt::kControlOffsetY, {W::Control, W::Offset, W::Y}, kF},
    {stmt::kControlText, {W::Control, W::Text}, kF},
    {stmt::kControlChecked, {W::Control, W::Checked}, kT},
    {stmt::kControl3d, {W::Control, W::ThreeD}, kF},
    {stmt::kControlReset, {W::Control, W::Reset}, kF},

    // Charts
    {stmt::kChart, {W::Chart}, kT},
    {stmt::kChartSwitch, {W::Chart, W::Switch}, kT},
    {stmt::kChartTitle, {W::Chart, W::Title}, kF},
    {stmt::kChartLegendPosition, {W::Chart, W::Legend, W::Position}, kF},
    {stmt::kChartLegendFontSize, {W::Chart, W::Legend, W::Font, W::Size}, kF},
    {stmt::kChartSeriesLine, {W::Chart, W::SeriesLine}, kF},
    {stmt::kChartMajorUnit, {W::Chart, W::MajorUnit}, kF},
    {stmt::kChartDataLabel, {W::Chart, W::DataLabel}, kF},
    {stmt::kChartMin, {W::Chart, W::Min}, kF},
    {stmt::kChartMax, {W::Chart, W::Max}, kF},
    {stmt::kChartGapWidth, {W::Chart, W::GapWidth}, kF},
    {stmt::kChartStyle, {W::Chart, W::Style}, kF},
    {stmt::kChartType, {W::Chart, W::Type}, kF},
    {stmt::kChartLocation, {W::Chart, W::Location}, kF},
    {stmt::kChartLegend, {W::Chart, W::Legend}, kF},
    {stmt::kChartBackColor, {W::Chart, W::BackColor}, kF},
    {stmt::kChartGradationColor1, {W::Chart, W::Gradation, W::Color1}, kF},
    {stmt::kChartGradationColor2, {W::Chart, W::Gradation, W::Color2}, kF},
    {stmt::kChartRotateX, {W::Chart, W::Rotate3dX}, kF},
    {stmt::kChartRotateY, {W::Chart, W::Rotate3dY}, kF},
    {stmt::kChartDepth, {W::Chart, W::Depth3d}, kF},
    {stmt::kChartPerspective, {W::Chart, W::Perspective3d}, kF},
    {stmt::kChartAxisXFontSize, {W::Chart, W::AxisX, W::Font, W::Size}, kF},
    {stmt::kChartAxisYFontSize, {W::Chart, W::AxisY, W::Font, W::Size}, kF},
    {stmt::kChartTitleFontSize, {W::Chart, W::Title, W::Font, W::Size}, kF},
    {stmt::kChartReset, {W::Chart, W::Reset}, kF},

    // Autoshapes
    {stmt::kAutoshape, {W::Autoshape}, kT},
    {stmt::kShapeText, {W::Autoshape, W::Text}, kF},
    {stmt::kShapeEnd, {W::Autoshape, W::End}, kF},
    {stmt::kShapeWidth, {W::Autoshape, W::Width}, kF},
    {stmt::kShapeHeight, {W::Autoshape, W::Height}, kF},
    {stmt::kShapeOffsetX, {W::Autoshape, W::Offset, W::X}, kF},
    {stmt::kShapeOffsetY, {W::Autoshape, W::Offset, W::Y}, kF},
    {stmt::kShapeEndOffsetX, {W::Autoshape, W::End, W::Offset, W::X}, kF},
    {stmt::kShapeEndOffsetY, {W::Autoshape, W::End, W::Offset, W::Y}, kF},
    {stmt::kShapeAdjustX, {W::Autoshape, W::Adjust, W::X}, kF},
    {stmt::kShapeAdjustY, {W::Autoshape, W::Adjust, W::Y}, kF},
    {stmt::kShapeRotation, {W::Autoshape, W::Rotation}, kF},
    {stmt::kShapeVersion, {W::Autoshape, W::Version}, kF},
    {stmt::kShapeFontColor, {W::Autoshape, W::Font, W::Color}, kF},
    {stmt::kShapeFontSize, {W::Autoshape, W::Font, W::Size}, kF},
    {stmt::kShapeFontStyle, {W::Autoshape, W::Font, W::Style}, kF},
    {stmt::kShapeFontName, {W::Autoshape, W::Font, W::Name}, kF},
    {stmt::kShapeLineStyle, {W::Autoshape, W::Line, W::Style}, kF},
    {stmt::kShapeLineColor, {W::Autoshape, W::Line, W::Color}, kF},
    {stmt::kShapeLineWidth, {W::Autoshape, W::Line, W::Width}, kF},
    {stmt::kShapeTextAlign, {W::Autoshape, W::Text, W::Align}, kF},
    {stmt::kShapeFillKind, {W::Autoshape, W::Fill, W::Kind}, kF},
    {stmt::kShapeFillColor, {W::Autoshape, W::Fill, W::Color}, kF},
    {stmt::kShapeFillStyle, {W::Autoshape, W::Fill, W::Style}, kF},
    {stmt::kShapeFillTransparent, {W::Autoshape, W::Fill, W::Transparent}, kF},
    {stmt::kShapeGradationKind, {W::Autoshape, W::Fill, W::Gradation, W::Kind}, kF},
    {stmt::kShapeGradationColor1, {W::Autoshape, W::Fill, W::Gradation, W::Color1}, kF},
    {stmt::kShapeGradationColor2, {W::Autoshape, W::Fill, W::Gradation, W::Color2}, kF},
    {stmt::kShapeGradationDegree, {W::Autoshape, W::Fill, W::Gradation, W::Degree}, kF},
    {stmt::kShapeBlur, {W::Autoshape, W::Blur}, kF},
    {stmt::kShapeArrowStyleStart, {W::Autoshape, W::Arrow, W::Style, W::Start}, kF},
    {stmt::kShapeArrowLengthStart, {W::Autoshape, W::Arrow, W::Length, W::Start}, kF},
    {stmt::kShapeArrowWidthStart, {W::Autoshape, W::Arrow, W::Width, W::Start}, kF},
    {stmt::kShapeArrowStyleEnd, {W::Autoshape, W::Arrow, W::Style, W::End}, kF},
    {stmt::kShapeArrowLengthEnd, {W::Autoshape, W::Arrow, W::Length, W::End}, kF},
    {stmt::kShapeArrowWidthEnd, {W::Autoshape, W::Arrow, W::Width, W::End}, kF},
    {stmt::kShapeFillAccent, {W::Autoshape, W::Fill, W::Accent}, kF},
    {stmt::kShapeReset, {W::Autoshape, W::Reset}, kF},
    {stmt::kShapeEffect, {W::Autoshape, W::Effect}, kF},
    {stmt::kShadowKind, {W::Autoshape, W::Shadow, W::Kind}, kF},
    {stmt::kShadowColor, {W::Autoshape, W::Shadow, W::Color}, kF},
    {stmt::kShadowTransparent, {W::Autoshape, W::Shadow, W::Transparent}, kF},
    {stmt::kShadowBlur, {W::Autoshape, W::Shadow, W::Blur}, kF},
    {stmt::kShadowDegree, {W::Autoshape, W::Shadow, W::Degree}, kF},
    {stmt::kShadowDist, {W::Autoshape, W::Shadow, W::Dist}, kF},
    {stmt::kShadowAlign, {W::Autoshape, W::Shadow, W::Align}, kF},

    // Data loads
    {stmt::kCsv, {W::Csv}, kT | kTemplateMode},
    {stmt::kTsv, {W::Tsv}, kT | kTemplateMode},
};

bool takes(const WordChoice& choice, Word word) {
    return std::find(choice.begin(), choice.end(), word) != choice.end();
}

bool ends_with(const Statement& statement, std::span<const WordChoice> suffix) {
    std::span<const Word> words = statement.words();
    if (suffix.size() > words.size()) return false;
    std::span<const Word> tail = words.last(suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i)
        if (!takes(suffix[i], tail[i])) return false;
    return true;
}

bool has_flag(int32_t code, uint8_t flag) {
    const Statement* statement = find_statement(code);
    return statement != nullptr && (statement->flags & flag) != 0;
}

}  // namespace

size_t Statement::length() const {
    return static_cast<size_t>(std::find(path.begin(), path.end(), Word::None) - path.begin());
}

std::span<const Statement> statements() { return kStatements; }

const Statement* find_statement(int32_t code) {
    auto found = std::find_if(std::begin(kStatements), std::end(kStatements),
                              [code](const Statement& statement) { return statement.code == code; });
    return found == std::end(kStatements) ? nullptr : found;
}

bool runs_without_target(int32_t code) { return has_flag(code, kTargetFree); }

bool allowed_in_template_mode(int32_t code) { return has_flag(code, kTemplateMode); }

bool some_path_ends_with(std::span<const WordChoice> suffix) {
    return std::any_of(std::begin(kStatements), std::end(kStatements),
                       [suffix](const Statement& statement) { return ends_with(statement, suffix); });
}

int32_t statement_of(std::span<const WordChoice> path) {
    for (const Statement& statement : kStatements)
        if (statement.length() == path.size() && ends_with(statement, path)) return statement.code;
    return stmt::kNone;
}

}  // namespace tova::property
