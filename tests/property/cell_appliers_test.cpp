// Statements on cells, rows and columns, judged in the book's tables.
#include <gtest/gtest.h>

#include <string>

#include "api/call_frame.hpp"
#include "api/messages.hpp"
#include "api/work_area.hpp"
#include "model/cell_store.hpp"
#include "model/styles.hpp"
#include "support/test_support.hpp"
#include "tova_api.h"

namespace tova {
namespace {

using model::Cell;

class CellAppliers : public ::testing::Test {
protected:
    void SetUp() override { open_book(); }

    // A new book with the sheets Second and Data, Data current.
    void open_book() {
        book_ = test::make_zeroed_book();
        ASSERT_EQ(TOVA_open_book(book_.get(), "CHARSET=UTF8"), 0);
        ASSERT_EQ(TOVA_open_sheet(book_.get(), "SHEET_NAME=Second"), 0);
        ASSERT_EQ(TOVA_open_sheet(book_.get(), "SHEET_NAME=Data"), 0);
    }

    int put(const std::string& statements) { return TOVA_put_values(book_.get(), statements.c_str()); }
    std::string message() { return test::utf8_of_sjis(book_->log.error_info); }

    model::Workbook& workbook() { return work_area(*book_)->book; }
    model::Sheet& sheet(int index = 1) { return workbook().sheets[index]; }
    const Cell* cell(int row, int column, int sheet_index = 1) { return model::find_cell(sheet(sheet_index), row, column); }
    const model::XLS_XF& xf(int row, int column, int sheet_index = 1) {
        const Cell* c = cell(row, column, sheet_index);
        const auto& styles = model::styles_of(*book_);
        return c != nullptr && c->style > 0 ? styles.xfs[c->style - 1] : styles.default_xf;
    }
    const model::XLS_FONT& font(int row, int column) { return model::styles_of(*book_).fonts[xf(row, column).font]; }
    const model::XLS_FILL& fill(int row, int column) { return model::styles_of(*book_).fills[xf(row, column).fill]; }
    model::XLS_BORDER border(int row, int column, int sheet_index = 1) {
        int32_t index = xf(row, column, sheet_index).border;
        return index > 0 ? model::styles_of(*book_).borders[index - 1] : model::XLS_BORDER{};
    }
    bool styled(int row, int column) {
        const Cell* c = cell(row, column);
        return c != nullptr && c->style > 0;
    }

    test::BookPtr book_;
};

struct Refusal {
    const char* statement;
    int code;
    Msg message;
};

constexpr Refusal kRefusals[] = {
    {"A1.FONT.NAME=\"" "0123456789012345678901234567890123456789012345678901234567890123456789012345678901" "\"",
     -1, Msg::BadFont},
    {"A1.FONT.NAME=\"\"", -1, Msg::BadFont},
    {"A1.FONT.STYLE=heavy", -1, Msg::BadFont},
    {"A1.FONT.SIZE=abc", -3, Msg::BadFont},
    {"A1.FONT.SIZE=0", -3, Msg::BadFont},
    {"A1.FONT.SIZE=410", -3, Msg::BadFont},
    {"A1.FONT.COLOR=NONE", -1, Msg::BadColor},
    {"A1.FONT.COLOR=#12345", -1, Msg::BadColor},
    {"A1.FILL.COLOR=なし", -1, Msg::BadColor},
    {"A1.FILL.GRADATION.COLOR2=NONE", -1, Msg::BadColor},
    {"A1.FILL.GRADATION.KIND=SPIRAL", -1, Msg::BadGradation},
    {"A1.FILL.GRADATION.VARIATION=two", -3, Msg::BadGradation},
    {"A1.BORDER=wavy", -1, Msg::BadBorder},
    {"A1.BORDER.COLOR=NONE", -1, Msg::BadColor},
    {"A1.ALIGN=MIDDLE", -1, Msg::BadAlign},
    {"A1.WRAP=maybe", -3, Msg::UnsupportedKeyword},
    {"A1.DIRECTION=91", -3, Msg::BadDirection},
    {"A1.DIRECTION=-91", -3, Msg::BadDirection},
    {"A1.DIRECTION=abc", -3, Msg::BadDirection},
    {"A1.INDENT=251", -3, Msg::BadIndent},
    {"A1.INDENT=-1", -3, Msg::BadIndent},
    {"A1.FORMAT=通貨", -1, Msg::BadFormat},
    {"A1.FORMAT=小数点以下[31]", -1, Msg::BadFormat},
    {"A1.MERGE=maybe", -3, Msg::RangeRequired},
    {"A1:B2.MERGE=maybe", -3, Msg::UnsupportedKeyword},
    {"A1:B2,D1:E2.MERGE=TRUE", -3, Msg::RangeRequired},
    {"A1.FILTER=TRUE", -3, Msg::RangeRequired},
    {"A1:B2.HYPERLINK=https://example.com", -3, Msg::RangeNotAllowed},
    {"A1:B2.NEWPAGE=TRUE", -3, Msg::RangeNotAllowed},
    {"3.HEIGHT=abc", -3, Msg::BadNumber},
    {"3.HEIGHT=409.01", -3, Msg::BadNumber},
    {"3.HEIGHT=-1", -3, Msg::BadNumber},
    {"C.WIDTH=wide", -3, Msg::BadNumber},
    {"C.WIDTH=256", -3, Msg::BadNumber},
    {"A1.VALIDATION.KIND=RANGE", -3, Msg::BadValidation},
};

TEST_F(CellAppliers, BadValuesAreRefusedWithTheirMessage) {
    for (const Refusal& r : kRefusals) {
        EXPECT_EQ(put(r.statement), r.code) << r.statement;
        std::string code(message_text_utf8(r.message).substr(0, 10));
        EXPECT_EQ(message().substr(0, 10), code) << r.statement << ": " << message();
    }
}

TEST_F(CellAppliers, RangeBorderIsAFullGridAndColourKeepsTheLines) {
    ASSERT_EQ(put("A1:C3.BORDER=thin"), 0) << message();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            model::XLS_BORDER b = border(r, c);
            EXPECT_TRUE(b.left == 1 && b.right == 1 && b.top == 1 && b.bottom == 1) << r << "," << c;
        }
    ASSERT_EQ(put("A1:C3.BORDER.COLOR=RED B2.BORDER.DIAGONAL_DOWN=double"), 0) << message();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            model::XLS_BORDER b = border(r, c);
            EXPECT_EQ(b.color, model::ColorRef{11}) << r << "," << c;
            EXPECT_EQ(b.left, 1) << r << "," << c;
        }
    EXPECT_EQ(border(1, 1).diagonal_down, 6);
    EXPECT_EQ(border(0, 0).diagonal_down, 0);
}

TEST_F(CellAppliers, StatementAimedAtAnotherSheetActsThere) {
    ASSERT_EQ(put("Second!A1:B2.BORDER=thick Second!A1.FONT.SIZE=20"), 0) << message();
    EXPECT_EQ(border(1, 1, 0).bottom, 3);
    EXPECT_EQ(cell(0, 0), nullptr);  // nothing on the current sheet
    EXPECT_EQ(book_->cur_sheet, 1);
}

TEST_F(CellAppliers, CornersInAnyOrderNameTheSameCells) {
    ASSERT_EQ(put("B2:A1.FONT.SIZE=12"), 0) << message();
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) EXPECT_EQ(font(r, c).size, 12) << r << "," << c;
    EXPECT_FALSE(styled(2, 2));
}

TEST_F(CellAppliers, RowAndColumnTargetsReachTheirFirstCell) {
    ASSERT_EQ(put("3.FONT.SIZE=12 C.FONT.SIZE=13"), 0) << message();
    EXPECT_EQ(font(2, 0).size, 12);
    EXPECT_EQ(font(0, 2).size, 13);
    EXPECT_FALSE(styled(2, 1));
    EXPECT_FALSE(styled(1, 2));
}

TEST_F(CellAppliers, FontFieldsAndOwnNamesInTheCallersCharacters) {
    ASSERT_EQ(put("A1.FONT.NAME=\"Crème 😀\" A1.FONT.STYLE=強調斜体 A1.FONT.COLOR=#0A0B0C A2.FONT.NAME=明朝"), 0)
        << message();
    EXPECT_EQ(font(0, 0).code, model::kOwnFontName);
    EXPECT_EQ(font(0, 0).name.view(), "Crème 😀");
    EXPECT_EQ(font(0, 0).style, model::kBold | model::kItalic);
    EXPECT_EQ(font(0, 0).color, model::rgb(10, 11, 12));
    EXPECT_EQ(font(1, 0).code, 20);
}

TEST_F(CellAppliers, SameFontOnAThousandCellsAddsOneFontAndOneFormat) {
    const auto& styles = model::styles_of(*book_);
    const int32_t fonts = styles.fonts.size(), xfs = styles.xfs.size();
    ASSERT_EQ(put("A1:J100.FONT.SIZE=12"), 0) << message();
    EXPECT_EQ(styles.fonts.size(), fonts + 1);
    EXPECT_EQ(styles.xfs.size(), xfs + 1);
    // Setting it back finds the formats that were there.
    ASSERT_EQ(put("A1:J100.FONT.SIZE=11"), 0) << message();
    EXPECT_EQ(styles.fonts.size(), fonts + 1);
    EXPECT_EQ(cell(99, 9)->style, find_xf(*book_, model::XLS_XF{.alignment = 31}) + 1);
}

TEST_F(CellAppliers, FullFontTableNamesFontStyle) {
    int rc = 0;
    for (int i = 0; i < model::MAX_FONT && rc == 0; ++i) rc = put("A" + std::to_string(i + 1) + ".FONT.NAME=Face" + std::to_string(i));
    EXPECT_EQ(rc, kDoesNotFit);
    EXPECT_NE(message().find("TOVA-03008 (\"Font Style\")の数が制限(\"512\")"), std::string::npos) << message();
}

TEST_F(CellAppliers, FillColourIsSolidAndPatternColourTakesOnlyWords) {
    ASSERT_EQ(put("A1.FILL.COLOR=BLUE A2.FILL.PATTERN.NAME=lightGrid A2.FILL.COLOR=RED "
                  "A3.FILL.PATTERN.NAME=unknown A4.FILL.PATTERN.COLOR=#FF0000 A5.FILL.PATTERN.COLOR=GREEN"),
              0)
        << message();
    EXPECT_EQ(fill(0, 0).pattern, model::kPatternSolid);
    EXPECT_EQ(fill(0, 0).color, model::ColorRef{15});
    EXPECT_EQ(fill(1, 0).pattern, 17);  // a pattern keeps its kind when a colour comes
    EXPECT_EQ(fill(2, 0).pattern, model::kPatternNone);
    EXPECT_EQ(fill(3, 0).pattern_color, 0u);
    EXPECT_EQ(fill(4, 0).pattern_color, 23u);
}

TEST_F(CellAppliers, GradientStartsFromItsDefaultsAndThenChangesOnePart) {
    ASSERT_EQ(put("A1.FILL.GRADATION.COLOR1=RED"), 0) << message();
    model::XLS_FILL f = fill(0, 0);
    EXPECT_EQ(f.pattern, model::kPatternGradient);
    EXPECT_EQ(f.color, (model::ColorRef{11, 0xFF, 0, 0}));
    EXPECT_EQ(f.second_color, (model::ColorRef{0, 0x4F, 0x81, 0xBD}));
    EXPECT_EQ(f.gradient_variation, 1);
    ASSERT_EQ(put("A1.FILL.GRADATION.COLOR2=#102030 A1.FILL.GRADATION.KIND=CORNER A1.FILL.GRADATION.VARIATION=258"), 0)
        << message();
    f = fill(0, 0);
    EXPECT_EQ(f.color, (model::ColorRef{11, 0xFF, 0, 0}));
    EXPECT_EQ(f.second_color, model::rgb(0x10, 0x20, 0x30));
    EXPECT_EQ(f.gradient_kind, 4);
    EXPECT_EQ(f.gradient_variation, 2);  // kept in eight bits
}

TEST_F(CellAppliers, TextControlKeepsTheLastStatementOnly) {
    ASSERT_EQ(put("A1.WRAP=TRUE A1.SHRINK=TRUE A2.WRAP=TRUE A2.WRAP=FALSE A3.ROTATION=する"), 0) << message();
    EXPECT_EQ(xf(0, 0).text_control, model::kShrinkToFit);
    EXPECT_EQ(xf(1, 0).text_control, model::kWrapText);
    EXPECT_EQ(xf(2, 0).text_control, model::kVerticalText);
}

struct NumberCase {
    const char* value;
    int32_t stored;
};

TEST_F(CellAppliers, DirectionDownwardIsStoredPastNinety) {
    constexpr NumberCase kCases[] = {{"-90", 180}, {"-45", 135}, {"0", 0}, {"90", 90}, {"45.9", 45}};
    for (const NumberCase& c : kCases) {
        ASSERT_EQ(put(std::string("A1.DIRECTION=") + c.value), 0) << c.value << ": " << message();
        EXPECT_EQ(xf(0, 0).rotation, c.stored) << c.value;
    }
}

TEST_F(CellAppliers, AlignmentIndentAndProtection) {
    ASSERT_EQ(put("A1.ALIGN=中中 A1.INDENT=250 A1.UNPROTECT=TRUE A2.UNPROTECT=TRUE A2.UNPROTECT=other"), 0) << message();
    EXPECT_EQ(xf(0, 0).alignment, 22);
    EXPECT_EQ(xf(0, 0).indent, 250);
    EXPECT_EQ(xf(0, 0).unlocked, 1);
    EXPECT_EQ(xf(1, 0).unlocked, 0);
}

TEST_F(CellAppliers, NumberFormatsWithDecimalsAreTheirOwnEntries) {
    ASSERT_EQ(put("A1.FORMAT=パーセント小数点以下[2] A2.FORMAT=パーセント A3.FORMAT=小数点以下[2] A4.FORMAT=パーセント"), 0)
        << message();
    const auto& numfmts = model::styles_of(*book_).numfmts;
    auto entry = [&](int row) { return numfmts[xf(row, 0).numfmt - 1]; };
    EXPECT_EQ(entry(0).kind, 501);
    EXPECT_EQ(entry(0).decimals, 2);
    EXPECT_EQ(entry(1).kind, 501);
    EXPECT_EQ(entry(1).decimals, 0);
    EXPECT_EQ(entry(2).kind, 109);
    EXPECT_EQ(xf(3, 0).numfmt, xf(1, 0).numfmt);
    EXPECT_EQ(xf(0, 0).numfmt_kind, model::kNumFmtTableIndex);
}

TEST_F(CellAppliers, FullNumberFormatTableIsReported) {
    auto& numfmts = model::styles_of(*book_).numfmts;
    while (numfmts.size() < static_cast<size_t>(model::TOB_MAX_NUMFORMAT)) numfmts.push_back({.kind = 1});
    EXPECT_EQ(put("A1.FORMAT=漢数字"), kDoesNotFit);
    EXPECT_NE(message().find("TOVA-02319"), std::string::npos) << message();
    EXPECT_NE(message().find("500"), std::string::npos) << message();
}

TEST_F(CellAppliers, TextColumnMakesLaterValuesTextAndKeepsTheHeader) {
    ASSERT_EQ(put("C1=コード C.FORMAT=文字列 C5=00123 C6=2024/02/29 D5=00123"), 0) << message();
    EXPECT_EQ(sheet().column_styles.at(2), -1);
    EXPECT_EQ(cell(0, 2)->kind, model::kLiteralText);
    EXPECT_EQ(cell(0, 2)->text.view(), "コード");
    EXPECT_EQ(cell(4, 2)->kind, model::kSharedString);
    EXPECT_EQ(workbook().strings.at(cell(4, 2)->number), "00123");
    EXPECT_EQ(cell(5, 2)->kind, model::kSharedString);
    EXPECT_EQ(cell(4, 3)->kind, model::kInteger);
}

TEST_F(CellAppliers, TextCellAndColumnRangeChangeOnlyTheirCells) {
    ASSERT_EQ(put("A1=7 A1.FORMAT=文字列 A1=\"=1+1\" E:E.FORMAT=文字列 E2=5"), 0) << message();
    EXPECT_EQ(workbook().strings.at(cell(0, 0)->number), "=1+1");
    EXPECT_TRUE(sheet().column_styles.size() <= 4 || sheet().column_styles[4] == 0);
    EXPECT_EQ(cell(0, 4)->kind, model::kLiteralText);
    EXPECT_EQ(cell(1, 4)->kind, model::kInteger);
}

TEST_F(CellAppliers, ColumnNumberFormatGoesThroughTheCellFormats) {
    ASSERT_EQ(put("C:D.FORMAT=パーセント"), 0) << message();  // a column range is one rectangle: C1 and D1 only
    EXPECT_TRUE(sheet().column_styles.empty());
    ASSERT_EQ(put("C.FORMAT=パーセント C7=0.5"), 0) << message();
    const int32_t column_style = sheet().column_styles.at(2);
    ASSERT_GT(column_style, 0);
    const model::XLS_XF& column_xf = model::styles_of(*book_).xfs[column_style - 1];
    EXPECT_EQ(column_xf.numfmt_kind, model::kNumFmtTableIndex);
    EXPECT_EQ(model::styles_of(*book_).numfmts[column_xf.numfmt - 1].kind, 501);
    EXPECT_EQ(cell(6, 2)->style, column_style);
    EXPECT_EQ(xf(0, 2).numfmt, column_xf.numfmt);
}

TEST_F(CellAppliers, MergesRefuseOverlapsEvenForNo) {
    ASSERT_EQ(put("A1:B2.MERGE=TRUE D1:E2.MERGE=FALSE"), 0) << message();
    ASSERT_EQ(workbook().merges.size(), 1u);
    EXPECT_EQ(workbook().merges[0].area.last_column, 1);
    EXPECT_EQ(put("B2:C3.MERGE=TRUE"), -3);
    EXPECT_EQ(message().substr(0, 10), "TOVA-02410");
    EXPECT_EQ(put("A2:A3.MERGE=FALSE"), -3);
    ASSERT_EQ(put("Second!B2:C3.MERGE=TRUE"), 0) << message();
    EXPECT_EQ(workbook().merges.back().sheet, 0);
}

TEST_F(CellAppliers, FilterTakesTheRectangleOnYesOnly) {
    ASSERT_EQ(put("D20:A1.FILTER=TRUE B1:B5.FILTER=other"), 0) << message();
    const int32_t* f = sheet().properties.filter;
    EXPECT_EQ(f[0], 0);
    EXPECT_EQ(f[1], 0);
    EXPECT_EQ(f[2], 19);
    EXPECT_EQ(f[3], 3);
}

TEST_F(CellAppliers, HyperlinksPutMailtoBeforeMailAddresses) {
    ASSERT_EQ(put("A1.HYPERLINK=someone@example.com A2.HYPERLINK=\"https://例え.jp/😀\" A3.HYPERLINK=user@localhost"), 0)
        << message();
    const auto& links = sheet().hyperlinks;
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[0].address, "mailto:someone@example.com");
    EXPECT_EQ(links[1].address, "https://例え.jp/😀");
    EXPECT_EQ(links[2].address, "user@localhost");
    EXPECT_EQ(links[1].row, 1);
    EXPECT_EQ(cell(1, 0)->style, book_->builtin_xf[model::kBuiltinHyperlink]);
}

TEST_F(CellAppliers, RowHeightsAndColumnWidths) {
    ASSERT_EQ(put("3.HEIGHT=20 5:6.HEIGHT=409 8.HEIGHT=12.345 C.WIDTH=10 E:F.WIDTH=0"), 0) << message();
    EXPECT_EQ(sheet().rows[2].height, 2000);
    EXPECT_EQ(sheet().rows[4].height, 40900);
    EXPECT_EQ(sheet().rows[5].height, 40900);
    EXPECT_EQ(sheet().rows[7].height, 1234);
    EXPECT_EQ(sheet().rows[3].height, 0xFFFF);
    EXPECT_DOUBLE_EQ(sheet().column_widths[2], 10.625);
    EXPECT_DOUBLE_EQ(sheet().column_widths[4], 0.625);
    EXPECT_DOUBLE_EQ(sheet().column_widths[5], 0.625);
    EXPECT_DOUBLE_EQ(sheet().column_widths[3], 0.0);
    EXPECT_TRUE(sheet().properties.columns_sized());
}

struct BreakCase {
    const char* target;
    int row_break;     // zero-based row that breaks, or -1
    int column_break;  // zero-based column that breaks, or -1
};

TEST_F(CellAppliers, PageBreaksByTarget) {
    constexpr BreakCase kCases[] = {
        {"A5", 4, -1}, {"5", 4, -1}, {"A1", -1, -1}, {"1", -1, -1}, {"C1", -1, 2}, {"C", -1, 2}, {"C5", 4, 2},
    };
    for (const BreakCase& c : kCases) {
        open_book();
        ASSERT_EQ(put(std::string(c.target) + ".NEWPAGE=TRUE"), 0) << c.target << ": " << message();
        for (int r = 0; r < sheet().rows_in_use(); ++r)
            EXPECT_EQ(sheet().rows[r].page_break(), r == c.row_break) << c.target << " row " << r;
        for (size_t col = 0; col < sheet().column_options.size(); ++col)
            EXPECT_EQ((sheet().column_options[col] & model::kColumnPageBreak) != 0, static_cast<int>(col) == c.column_break)
                << c.target << " column " << col;
    }
}

TEST_F(CellAppliers, ValidationRulesAndTheirFollowUps) {
    ASSERT_EQ(put("A1.VALIDATION.MIN=5 A1.VALIDATION.LIST=a,b"), 0) << message();  // no rule yet: nothing
    EXPECT_TRUE(workbook().validations.empty());
    ASSERT_EQ(put("A2:A9.VALIDATION.KIND=TIME Z99.VALIDATION.MIN=12:00 B1.VALIDATION.MAX=30:00 "
                  "B1.VALIDATION.OPERATOR=NOTBETWEEN B1.VALIDATION.LIST=ignored"),
              0)
        << message();
    ASSERT_EQ(workbook().validations.size(), 1u);
    const model::Validation& time = workbook().validations[0];
    EXPECT_EQ(time.kind, model::kValidTime);
    EXPECT_EQ(time.area.first_row, 1);
    EXPECT_EQ(time.area.last_row, 8);
    EXPECT_DOUBLE_EQ(time.minimum, 0.5);
    EXPECT_DOUBLE_EQ(time.maximum, 1.25);
    EXPECT_EQ(time.op, 1);
    EXPECT_TRUE(time.list.empty());

    ASSERT_EQ(put("Second!C1.VALIDATION.KIND=日付 C1.VALIDATION.MIN=2024-2-29 C1.VALIDATION.MAX=2024/12/31"), 0)
        << message();
    EXPECT_EQ(workbook().validations[1].sheet, 0);
    EXPECT_DOUBLE_EQ(workbook().validations[1].minimum, 45351);
    EXPECT_DOUBLE_EQ(workbook().validations[1].maximum, 45657);
    EXPECT_EQ(put("C1.VALIDATION.MIN=2023/02/29"), -3);
    EXPECT_EQ(put("C1.VALIDATION.MIN=2024/01/01x"), -3);
    EXPECT_EQ(put("C1.VALIDATION.OPERATOR=ABOVE"), -3);

    ASSERT_EQ(put("D1.VALIDATION.KIND=WHOLE D1.VALIDATION.MIN=1,000"), 0) << message();
    EXPECT_DOUBLE_EQ(workbook().validations.back().minimum, 1000);
    EXPECT_EQ(put("D1.VALIDATION.MAX=ten"), -3);
    EXPECT_EQ(message().substr(0, 10), "TOVA-02312");
}

TEST_F(CellAppliers, ValidationListKeepsTheCallersTextUpToItsLimit) {
    ASSERT_EQ(put("A1:A3.VALIDATION.KIND=LIST A1.VALIDATION.MIN=5 A1.VALIDATION.LIST=\"é,😀,𠀋\""), 0) << message();
    EXPECT_EQ(workbook().validations[0].list, "é,😀,𠀋");
    const std::string longest(255, 'x');
    ASSERT_EQ(put("A1.VALIDATION.LIST=" + longest), 0) << message();
    EXPECT_EQ(workbook().validations[0].list, longest);
    EXPECT_EQ(put("A1.VALIDATION.LIST=" + longest + "y"), -3);
    EXPECT_EQ(message().substr(0, 10), "TOVA-02312");
    EXPECT_EQ(workbook().validations[0].list, longest);
}

}  // namespace
}  // namespace tova
