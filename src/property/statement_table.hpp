// The statements of the property language: each statement code with the path
// of words that names it, and what the appliers need to know about it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "property/word_table.hpp"

namespace tova::property {

// Statement codes: the interface between the parser and the appliers. Paths are
// given in English; "T." marks statements written after a target.
namespace stmt {
enum Code : int32_t {
    kNone = -1,  // the words name no statement

    // Book
    kBook = 101,                // BOOK, BOOK.NAME
    kBookCompany = 102,         // BOOK.COMPANY
    kBookCreator = 103,         // BOOK.CREATOR
    kBookManager = 104,         // BOOK.MANAGER
    kBookTitle = 105,           // BOOK.TITLE
    kBookSubject = 106,         // BOOK.SUBJECT
    kBookTag = 107,             // BOOK.TAG
    kBookComment = 108,         // BOOK.COMMENT
    kTemplate = 109,            // TEMPLATE
    kBookWritePassword = 110,   // BOOK.WRITE_PASSWORD
    kBookRecalc = 111,          // BOOK.RECALC
    kBookBackup = 112,          // BOOK.BACKUP
    kBookThumbnailPath = 113,   // BOOK.THUMBNAIL.PATH
    kBookFinal = 114,           // BOOK.FINAL
    kBookFontName = 120,        // BOOK.FONT.NAME
    kBookFontSize = 121,        // BOOK.FONT.SIZE
    kBookFontColor = 122,       // BOOK.FONT.COLOR
    kBookFontStyle = 123,       // BOOK.FONT.STYLE
    kBookX = 124,               // BOOK.X
    kBookY = 125,               // BOOK.Y
    kBookWidth = 126,           // BOOK.WIDTH
    kBookHeight = 127,          // BOOK.HEIGHT
    kAutoWidth = 1001,          // AUTO_WIDTH

    // Sheet
    kSheet = 200,               // SHEET, SHEET.NAME
    kSheetDisplay = 201,        // SHEET.DISPLAY
    kZoom = 202,                // ZOOM, SHEET.ZOOM
    kSheetHidden = 203,         // SHEET.HIDDEN
    kSheetPassword = 204,       // SHEET.PASSWORD
    kSheetProtect = 205,        // SHEET.Protect
    kSheetOrder = 206,          // SHEET.ORDER
    kSheetHiddenGrid = 207,     // SHEET.HIDDEN_GRID
    kSheetHiddenHeader = 208,   // SHEET.HIDDEN_HEADER
    kSheetFrozenTop = 209,      // SHEET.FROZEN_TOP
    kSheetFrozenLeft = 210,     // SHEET.FROZEN_LEFT
    kSheetFrozenSplit = 211,    // SHEET.FROZEN_SPLIT
    kSheetBackgroundPath = 212, // SHEET.BACKGROUND.PATH
    kSheetScrollRow = 213,      // SHEET.SCROLL_ROW
    kSheetTabColor = 231,       // SHEET.TAB.COLOR
    kPrintTitleRow = 860,       // SHEET.PRINT_TITLE_ROW
    kPrintTitleColumn = 861,    // SHEET.PRINT_TITLE_COLUMN

    // SHEET.Protect.<option>, in the order of the sheet's protection options
    kProtectFormatCells = 240,
    kProtectFormatColumns = 241,
    kProtectFormatRows = 242,
    kProtectInsColumns = 243,
    kProtectInsRows = 244,
    kProtectInsHyperlinks = 245,
    kProtectDelColumns = 246,
    kProtectDelRows = 247,
    kProtectSort = 248,
    kProtectAutoFilter = 249,
    kProtectPivotTables = 250,
    kProtectObjects = 251,
    kProtectScenarios = 252,

    // SHEET.HEADER|FOOTER.LEFT|RIGHT|CENTER, then .FONT.NAME|SIZE|STYLE|COLOR (+1..+4)
    kHeaderLeft = 801, kHeaderLeftFontName = 802, kHeaderLeftFontSize = 803,
    kHeaderLeftFontStyle = 804, kHeaderLeftFontColor = 805,
    kHeaderRight = 811, kHeaderRightFontName = 812, kHeaderRightFontSize = 813,
    kHeaderRightFontStyle = 814, kHeaderRightFontColor = 815,
    kHeaderCenter = 821, kHeaderCenterFontName = 822, kHeaderCenterFontSize = 823,
    kHeaderCenterFontStyle = 824, kHeaderCenterFontColor = 825,
    kFooterLeft = 831, kFooterLeftFontName = 832, kFooterLeftFontSize = 833,
    kFooterLeftFontStyle = 834, kFooterLeftFontColor = 835,
    kFooterRight = 841, kFooterRightFontName = 842, kFooterRightFontSize = 843,
    kFooterRightFontStyle = 844, kFooterRightFontColor = 845,
    kFooterCenter = 851, kFooterCenterFontName = 852, kFooterCenterFontSize = 853,
    kFooterCenterFontStyle = 854, kFooterCenterFontColor = 855,

    // Paper and printing
    kPaperSize = 711,           // PAPER.SIZE
    kPaperOrientation = 712,    // PAPER.ORIENTATION (用紙.方向)
    kPaperScale = 713,          // PAPER.SCALE
    kPaperDpi = 714,            // PAPER.DPI
    kMarginTop = 715,           // PAPER.MARGIN.TOP
    kMarginBottom = 716,        // PAPER.MARGIN.BOTTOM
    kMarginLeft = 717,          // PAPER.MARGIN.LEFT
    kMarginRight = 718,         // PAPER.MARGIN.RIGHT
    kMarginHeader = 719,        // PAPER.MARGIN.HEADER
    kMarginFooter = 720,        // PAPER.MARGIN.FOOTER
    kPageFitVertical = 721,     // PRINT_PAGE_FIT.VERTICAL
    kPageFitHorizontal = 722,   // PRINT_PAGE_FIT.HORIZONTAL

    // Rows and columns
    kHeight = 221,              // T.HEIGHT
    kNewPage = 222,             // T.NEWPAGE
    kWidth = 223,               // T.WIDTH

    // Cell format
    kBorder = 310,              // T.BORDER (also BORDER.STYLE; every side path also with .STYLE)
    kBorderLeft = 311,          // T.BORDER.LEFT
    kBorderRight = 312,         // T.BORDER.RIGHT
    kBorderTop = 313,           // T.BORDER.TOP
    kBorderBottom = 314,        // T.BORDER.BOTTOM
    kBorderColor = 315,         // T.BORDER.COLOR
    kBorderDiagonalUp = 316,    // T.BORDER.DIAGONAL_UP
    kBorderDiagonalDown = 317,  // T.BORDER.DIAGONAL_DOWN
    kFontName = 331,            // T.FONT.NAME
    kFontStyle = 332,           // T.FONT.STYLE
    kFontSize = 333,            // T.FONT.SIZE
    kFontColor = 334,           // T.FONT.COLOR
    kFillColor = 341,           // T.FILL.COLOR
    kFillPatternName = 342,     // T.FILL.PATTERN.NAME
    kFillPatternColor = 343,    // T.FILL.PATTERN.COLOR
    kFillGradationColor1 = 351, // T.FILL.GRADATION.COLOR1
    kFillGradationColor2 = 352, // T.FILL.GRADATION.COLOR2
    kFillGradationKind = 353,   // T.FILL.GRADATION.KIND
    kFillGradationVariation = 354,  // T.FILL.GRADATION.VARIATION
    kAlign = 401,               // T.ALIGN
    kWrap = 402,                // T.WRAP
    kRotation = 403,            // T.ROTATION (縦書き)
    kShrink = 404,              // T.SHRINK
    kMerge = 405,               // T.MERGE
    kFormat = 406,              // T.FORMAT
    kUnprotect = 408,           // T.UNPROTECT
    kDirection = 409,           // T.DIRECTION
    kIndent = 410,              // T.INDENT

    // Comments, links, filters, tables, validation
    kComment = 407,             // T.COMMENT
    kCommentFontSize = 420,     // T.COMMENT.FONT.SIZE
    kCommentFontName = 421,     // T.COMMENT.FONT.NAME
    kHyperlink = 511,           // T.HYPERLINK
    kFilter = 512,              // T.FILTER
    kTableFormat = 531,         // T.TABLE_FORMAT
    kTableFormatColumnName = 532,  // TABLE_FORMAT.COLUMN_NAME
    kValidationKind = 541,      // T.VALIDATION.KIND
    kValidationOperator = 542,  // T.VALIDATION.OPERATOR
    kValidationMin = 543,       // T.VALIDATION.MIN
    kValidationMax = 544,       // T.VALIDATION.MAX
    kValidationList = 545,      // T.VALIDATION.LIST

    // Images
    kImagePath = 501,           // T.IMAGE.PATH
    kImageRatio = 502,          // T.IMAGE.RATIO
    kImageOffsetX = 503,        // T.IMAGE.OFFSET.X
    kImageOffsetY = 504,        // T.IMAGE.OFFSET.Y

    // Sparklines
    kSparkline = 521,              // T.SPARKLINE
    kSparklineKind = 522,          // T.SPARKLINE.KIND
    kSparklineDisplay = 523,       // T.SPARKLINE.DISPLAY
    kSparklineHighColor = 524,     // T.SPARKLINE.HIGH.COLOR
    kSparklineLowColor = 525,      // T.SPARKLINE.LOW.COLOR
    kSparklineStartColor = 526,    // T.SPARKLINE.START.COLOR
    kSparklineEndColor = 527,      // T.SPARKLINE.END.COLOR
    kSparklineNegativeColor = 528, // T.SPARKLINE.NEGATIVE.COLOR
    kSparklineMarkerColor = 529,   // T.SPARKLINE.MARKER.COLOR

    // Form controls
    kControl = 551,             // T.CONTROL
    kControlWidth = 552,        // CONTROL.WIDTH
    kControlHeight = 553,       // CONTROL.HEIGHT
    kControlDegree = 554,       // CONTROL.DEGREE
    kControlOffsetX = 555,      // CONTROL.OFFSET.X
    kControlOffsetY = 556,      // CONTROL.OFFSET.Y
    kControlText = 557,         // CONTROL.TEXT
    kControlChecked = 558,      // T.CONTROL.CHECKED
    kControl3d = 559,           // CONTROL.3D
    kControlReset = 560,        // CONTROL.RESET

    // Charts
    kChart = 601,               // T.CHART
    kChartSwitch = 602,         // T.CHART.SWITCH
    kChartTitle = 603,          // CHART.TITLE
    kChartLegendPosition = 604, // CHART.LEGEND.POSITION
    kChartLegendFontSize = 605, // CHART.LEGEND.FONT.SIZE
    kChartSeriesLine = 606,     // CHART.SERIES_LINE
    kChartMajorUnit = 607,      // CHART.MAJOR_UNIT
    kChartDataLabel = 608,      // CHART.DATA_LABEL
    kChartMin = 609,            // CHART.MIN
    kChartMax = 610,            // CHART.MAX
    kChartGapWidth = 611,       // CHART.GAP_WIDTH
    kChartStyle = 612,          // CHART.STYLE
    kChartType = 613,           // CHART.TYPE
    kChartLocation = 614,       // CHART.LOCATION
    kChartLegend = 615,         // CHART.LEGEND
    kChartBackColor = 616,      // CHART.BACK_COLOR
    kChartGradationColor1 = 617,  // CHART.GRADATION.COLOR1
    kChartGradationColor2 = 618,  // CHART.GRADATION.COLOR2
    kChartRotateX = 619,        // CHART.3D_ROTATE_X
    kChartRotateY = 620,        // CHART.3D_ROTATE_Y
    kChartDepth = 621,          // CHART.3D_DEPTH
    kChartPerspective = 622,    // CHART.3D_PERSPECTIVE
    kChartAxisXFontSize = 623,  // CHART.AXIS_X.FONT.SIZE
    kChartAxisYFontSize = 624,  // CHART.AXIS_Y.FONT.SIZE
    kChartTitleFontSize = 625,  // CHART.TITLE.FONT.SIZE
    kChartReset = 629,          // CHART.RESET

    // Autoshapes: T.AUTOSHAPE creates one; the others set the shape template or the last object
    kAutoshape = 631,           // T.AUTOSHAPE
    kShapeText = 632,           // AUTOSHAPE.TEXT
    kShapeEnd = 633,            // AUTOSHAPE.END
    kShapeWidth = 634,          // AUTOSHAPE.WIDTH
    kShapeHeight = 635,         // AUTOSHAPE.HEIGHT
    kShapeOffsetX = 636,        // AUTOSHAPE.OFFSET.X
    kShapeOffsetY = 637,        // AUTOSHAPE.OFFSET.Y
    kShapeEndOffsetX = 638,     // AUTOSHAPE.END.OFFSET.X
    kShapeEndOffsetY = 639,     // AUTOSHAPE.END.OFFSET.Y
    kShapeAdjustX = 640,        // AUTOSHAPE.ADJUST.X
    kShapeAdjustY = 641,        // AUTOSHAPE.ADJUST.Y
    kShapeRotation = 642,       // AUTOSHAPE.ROTATION
    kShapeVersion = 643,        // AUTOSHAPE.VERSION
    kShapeFontColor = 661,      // AUTOSHAPE.FONT.COLOR
    kShapeFontSize = 662,       // AUTOSHAPE.FONT.SIZE
    kShapeFontStyle = 663,      // AUTOSHAPE.FONT.STYLE
    kShapeFontName = 664,       // AUTOSHAPE.FONT.NAME
    kShapeLineStyle = 665,      // AUTOSHAPE.LINE.STYLE
    kShapeLineColor = 666,      // AUTOSHAPE.LINE.COLOR
    kShapeLineWidth = 667,      // AUTOSHAPE.LINE.WIDTH
    kShapeTextAlign = 671,      // AUTOSHAPE.TEXT.ALIGN
    kShapeFillKind = 681,       // AUTOSHAPE.FILL.KIND
    kShapeFillColor = 682,      // AUTOSHAPE.FILL.COLOR
    kShapeFillStyle = 683,      // AUTOSHAPE.FILL.STYLE
    kShapeFillTransparent = 684,  // AUTOSHAPE.FILL.TRANSPARENT
    kShapeGradationKind = 685,  // AUTOSHAPE.FILL.GRADATION.KIND
    kShapeGradationColor1 = 686,  // AUTOSHAPE.FILL.GRADATION.COLOR1
    kShapeGradationColor2 = 687,  // AUTOSHAPE.FILL.GRADATION.COLOR2
    kShapeGradationDegree = 688,  // AUTOSHAPE.FILL.GRADATION.DEGREE
    kShapeBlur = 689,           // AUTOSHAPE.BLUR
    kShapeArrowStyleStart = 691,   // AUTOSHAPE.ARROW.STYLE.START
    kShapeArrowLengthStart = 692,  // AUTOSHAPE.ARROW.LENGTH.START
    kShapeArrowWidthStart = 693,   // AUTOSHAPE.ARROW.WIDTH.START
    kShapeArrowStyleEnd = 694,     // AUTOSHAPE.ARROW.STYLE.END
    kShapeArrowLengthEnd = 695,    // AUTOSHAPE.ARROW.LENGTH.END
    kShapeArrowWidthEnd = 696,     // AUTOSHAPE.ARROW.WIDTH.END
    kShapeFillAccent = 698,     // AUTOSHAPE.FILL.ACCENT
    kShapeReset = 699,          // AUTOSHAPE.RESET
    kShapeEffect = 700,         // AUTOSHAPE.EFFECT
    kShadowKind = 701,          // AUTOSHAPE.SHADOW.KIND
    kShadowColor = 702,         // AUTOSHAPE.SHADOW.COLOR
    kShadowTransparent = 703,   // AUTOSHAPE.SHADOW.TRANSPARENT
    kShadowBlur = 704,          // AUTOSHAPE.SHADOW.BLUR
    kShadowDegree = 705,        // AUTOSHAPE.SHADOW.DEGREE
    kShadowDist = 706,          // AUTOSHAPE.SHADOW.DIST
    kShadowAlign = 707,         // AUTOSHAPE.SHADOW.ALIGN

    // Data
    kVariable = 2001,           // a plain name as the whole key
    kCsv = 2002,                // T.CSV
    kTsv = 2003,                // T.TSV
};
}  // namespace stmt

constexpr size_t kMaxPathWords = 6;

// What a statement asks of its surroundings.
enum StatementFlags : uint8_t {
    kNeedsTarget = 0,    // without a target the statement does nothing
    kTargetFree = 1,     // runs without a target (book, sheet and page settings, templates, the last object)
    kTemplateMode = 2,   // also accepted in a book opened on a template or for update
};

struct Statement {
    int32_t code;
    std::array<Word, kMaxPathWords> path;  // ends at the first Word::None
    uint8_t flags;

    size_t length() const;
    std::span<const Word> words() const { return {path.data(), length()}; }
};

// Every statement path, one row each; a code with several paths (BOOK and
// BOOK.NAME) has several rows, its main path first.
std::span<const Statement> statements();

// The first row of a statement code, or null.
const Statement* find_statement(int32_t code);

// Whether the statement runs without a target, and whether a book in template
// mode accepts it; false for a code that has no path (the variable definition).
bool runs_without_target(int32_t code);
bool allowed_in_template_mode(int32_t code);

// The words of one section of a key: more than one where a spelling is shared.
using WordChoice = std::vector<Word>;

// True when some statement path ends with these words, each position taking
// any of its choices: the context the right-to-left reading carries.
bool some_path_ends_with(std::span<const WordChoice> suffix);

// The code of the first statement whose whole path these words are, or stmt::kNone.
int32_t statement_of(std::span<const WordChoice> path);

}  // namespace tova::property
