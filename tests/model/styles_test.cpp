#include "model/styles.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "api/messages.hpp"
#include "api/work_area.hpp"
#include "model/cell_store.hpp"
#include "support/test_support.hpp"

namespace tova::model {
namespace {

class Styles : public testing::Test {
protected:
    void SetUp() override { initialise_styles(*book); }

    Cell& cell(int32_t row, int32_t column) { return *ensure_cell(work_area(*book)->book.sheets[0], row, column); }
    const XLS_XF& xf_of(const Cell& c) const { return styles().xfs[c.style - 1]; }
    const StyleRegistry& styles() const { return styles_of(*book); }
    std::string message() const { return test::utf8_of_sjis(book->log.error_info); }
    static std::string overflow_message(long long count, std::string_view what) {
        return test::utf8_of_sjis(format_message(Msg::BufferOverflow, {count, what}));
    }

    test::BookPtr book = test::make_open_book();
};

XLS_FONT font_of_size(uint16_t size) { return {.size = size}; }

struct BuiltinCase {
    BuiltinXf which;
    int32_t numfmt, font, style_id;
    uint8_t alignment;
};
constexpr BuiltinCase kBuiltinCases[] = {
    {kBuiltinDate, 14, 0, 0, 33},     {kBuiltinDateTime, 22, 0, 0, 33}, {kBuiltinTime, 20, 0, 0, 33},
    {kBuiltinElapsedTime, 46, 0, 0, 33}, {kBuiltinCurrency, 5, 0, 0, 33}, {kBuiltinPercent, 9, 0, 0, 33},
    {kBuiltinHyperlink, 0, 2, 1, 31},
};

TEST_F(Styles, InitialContentsAndBuiltinIndexes) {
    ASSERT_EQ(styles().fonts.size(), 3);
    EXPECT_EQ(styles().fonts[0], XLS_FONT{});
    EXPECT_EQ(styles().fonts[0].code, 10);
    EXPECT_EQ(styles().fonts[0].size, 11);
    EXPECT_EQ(styles().fonts[1], (XLS_FONT{.size = 9}));
    EXPECT_EQ(styles().fonts[2], (XLS_FONT{.style = kBold | kHyperlinkLook}));
    EXPECT_EQ(book->builtin_font, 2);

    ASSERT_EQ(styles().fills.size(), 2);
    EXPECT_EQ(styles().fills[0], XLS_FILL{});
    EXPECT_EQ(styles().fills[1], (XLS_FILL{.pattern = kPatternGray125}));
    EXPECT_EQ(styles().borders.size(), 0);
    ASSERT_EQ(styles().numfmts.size(), 1u);
    EXPECT_EQ(styles().numfmts[0], (XLS_NUMFMT{.kind = 302}));

    ASSERT_EQ(styles().xfs.size(), 7);
    for (const auto& c : kBuiltinCases) {
        int32_t index = book->builtin_xf[c.which];
        ASSERT_EQ(index, c.which + 1) << c.which;
        const XLS_XF& xf = styles().xfs[index - 1];
        EXPECT_EQ(xf, (XLS_XF{.numfmt = c.numfmt, .font = c.font, .style_id = c.style_id, .alignment = c.alignment}))
            << c.which;
    }
    EXPECT_EQ(styles().default_xf, (XLS_XF{.alignment = 31}));
}

TEST_F(Styles, InitialisingAgainStartsOver) {
    ASSERT_EQ(set_xf_font(*book, cell(0, 0), font_of_size(20), kFontSize), 0);
    initialise_styles(*book);
    EXPECT_EQ(styles().fonts.size(), 3);
    EXPECT_EQ(styles().xfs.size(), 7);
    EXPECT_EQ(find_font(*book, font_of_size(20)), -1);
}

TEST_F(Styles, ThousandCellsWithOneChangeShareOneFontAndOneFormat) {
    for (int32_t r = 0; r < 1000; ++r) cell(r, 0).style = book->builtin_xf[kBuiltinDate];
    for (int32_t r = 0; r < 1000; ++r) ASSERT_EQ(set_xf_font(*book, cell(r, 0), font_of_size(12), kFontSize), 0);
    EXPECT_EQ(styles().fonts.size(), 4);
    EXPECT_EQ(styles().xfs.size(), 8);
    for (int32_t r = 0; r < 1000; ++r) ASSERT_EQ(cell(r, 0).style, 8);
    EXPECT_EQ(xf_of(cell(0, 0)).numfmt, 14);
    EXPECT_EQ(styles().fonts[xf_of(cell(0, 0)).font].size, 12);
}

struct ToggleCase {
    const char* name;
    std::function<int(XLS_BOOK&, Cell&)> change, restore;
};
const ToggleCase kToggleCases[] = {
    {"font size", [](XLS_BOOK& b, Cell& c) { return set_xf_font(b, c, {.size = 14}, kFontSize); },
     [](XLS_BOOK& b, Cell& c) { return set_xf_font(b, c, {.size = 11}, kFontSize); }},
    {"font style", [](XLS_BOOK& b, Cell& c) { return set_xf_font(b, c, {.style = kItalic}, kFontStyle); },
     [](XLS_BOOK& b, Cell& c) { return set_xf_font(b, c, {}, kFontStyle); }},
    {"font colour", [](XLS_BOOK& b, Cell& c) { return set_xf_font(b, c, {.color = rgb(1, 2, 3)}, kFontColor); },
     [](XLS_BOOK& b, Cell& c) { return set_xf_font(b, c, {}, kFontColor); }},
    {"fill pattern", [](XLS_BOOK& b, Cell& c) { return set_xf_fill(b, c, {.pattern = 3}, kFillPattern); },
     [](XLS_BOOK& b, Cell& c) { return set_xf_fill(b, c, {}, kFillPattern); }},
    {"alignment", [](XLS_BOOK& b, Cell& c) { return set_xf_alignment(b, c, 22); },
     [](XLS_BOOK& b, Cell& c) { return set_xf_alignment(b, c, 33); }},
    {"text control", [](XLS_BOOK& b, Cell& c) { return set_xf_text_control(b, c, kWrapText); },
     [](XLS_BOOK& b, Cell& c) { return set_xf_text_control(b, c, 0); }},
    {"unlocked", [](XLS_BOOK& b, Cell& c) { return set_xf_unlocked(b, c, 1); },
     [](XLS_BOOK& b, Cell& c) { return set_xf_unlocked(b, c, 0); }},
    {"rotation", [](XLS_BOOK& b, Cell& c) { return set_xf_rotation(b, c, 135); },
     [](XLS_BOOK& b, Cell& c) { return set_xf_rotation(b, c, 0); }},
    {"indent", [](XLS_BOOK& b, Cell& c) { return set_xf_indent(b, c, 3); },
     [](XLS_BOOK& b, Cell& c) { return set_xf_indent(b, c, 0); }},
};

TEST_F(Styles, SettingAPropertyBackReturnsTheEarlierFormat) {
    for (const auto& c : kToggleCases) {
        Cell& target = cell(0, 0);
        target.style = book->builtin_xf[kBuiltinCurrency];
        ASSERT_EQ(c.change(*book, target), 0) << c.name;
        EXPECT_NE(target.style, book->builtin_xf[kBuiltinCurrency]) << c.name;
        int32_t changed = target.style;
        ASSERT_EQ(c.restore(*book, target), 0) << c.name;
        EXPECT_EQ(target.style, book->builtin_xf[kBuiltinCurrency]) << c.name;
        ASSERT_EQ(c.change(*book, target), 0) << c.name;
        EXPECT_EQ(target.style, changed) << c.name;
    }
}

TEST_F(Styles, NumberFormatSetterUsesTheTableIndex) {
    Cell& target = cell(0, 0);
    int32_t index = tob_set_num_format(*book, 501);
    ASSERT_EQ(index, 2);
    ASSERT_EQ(set_xf_numfmt(*book, target, index), 0);
    EXPECT_EQ(xf_of(target).numfmt, 2);
    EXPECT_EQ(xf_of(target).numfmt_kind, kNumFmtTableIndex);
    EXPECT_EQ(xf_of(target).alignment, 31);
}

struct FillCase {
    const char* name;
    XLS_FILL start;
    XLS_FILL value;
    uint32_t mask;
    XLS_FILL expected;
};
const FillCase kFillCases[] = {
    {"colour on no pattern gives solid", {}, {.pattern = 7, .color = {12}}, kFillColor,
     {.pattern = kPatternSolid, .color = {12}}},
    {"colour keeps an existing pattern", {.pattern = 7}, {.color = rgb(9, 8, 7)}, kFillColor,
     {.pattern = 7, .color = rgb(9, 8, 7)}},
    {"pattern and colour together", {}, {.pattern = 7, .color = {12}}, kFillPattern | kFillColor,
     {.pattern = 7, .color = {12}}},
    {"pattern colour alone", {.pattern = 3, .color = {11}}, {.pattern_color = 14}, kFillPatternColor,
     {.pattern = 3, .pattern_color = 14, .color = {11}}},
    {"first gradient colour", {}, {.color = rgb(1, 2, 3), .second_color = rgb(4, 5, 6)}, kFillGradientColor1,
     {.pattern = kPatternGradient, .color = rgb(1, 2, 3)}},
    {"second gradient colour", {.color = {11}}, {.second_color = rgb(4, 5, 6)}, kFillGradientColor2,
     {.pattern = kPatternGradient, .color = {11}, .second_color = rgb(4, 5, 6)}},
    {"gradient kind", {}, {.gradient_kind = 4, .gradient_variation = 9}, kFillGradientKind,
     {.pattern = kPatternGradient, .gradient_kind = 4}},
    {"gradient variation", {.gradient_kind = 2}, {.gradient_variation = 3}, kFillGradientVariation,
     {.pattern = kPatternGradient, .gradient_kind = 2, .gradient_variation = 3}},
};

TEST_F(Styles, FillMasksChangeOnlyTheirFields) {
    for (const auto& c : kFillCases) {
        Cell& target = cell(1, 1);
        target.style = 0;
        XLS_XF start = styles().default_xf;
        start.fill = find_fill(*book, c.start);
        if (start.fill < 0) start.fill = add_fill(*book, c.start);
        int32_t xf = find_xf(*book, start);
        target.style = (xf >= 0 ? xf : tob_set_xf(*book, start)) + 1;

        ASSERT_EQ(set_xf_fill(*book, target, c.value, c.mask), 0) << c.name;
        EXPECT_EQ(styles().fills[xf_of(target).fill], c.expected) << c.name;
    }
}

TEST_F(Styles, FontMasksChangeOnlyTheirFields) {
    XLS_FONT value{.code = kOwnFontName, .size = 20, .style = kBold, .color = {11}};
    ASSERT_TRUE(value.name.assign("Own Font"));
    Cell& target = cell(0, 0);
    ASSERT_EQ(set_xf_font(*book, target, value, kFontName), 0);
    XLS_FONT expected{.code = kOwnFontName};
    ASSERT_TRUE(expected.name.assign("Own Font"));
    EXPECT_EQ(styles().fonts[xf_of(target).font], expected);
    ASSERT_EQ(set_xf_font(*book, target, value, kFontColor | kFontStyle), 0);
    expected.style = kBold;
    expected.color = {11};
    EXPECT_EQ(styles().fonts[xf_of(target).font], expected);
}

TEST_F(Styles, The513thFontIsRefusedAndNothingChanges) {
    Cell& target = cell(0, 0);
    uint16_t size = 100;
    while (styles().fonts.size() < MAX_FONT) ASSERT_EQ(set_xf_font(*book, target, font_of_size(size++), kFontSize), 0);
    int32_t style = target.style;
    int32_t formats = styles().xfs.size();

    EXPECT_EQ(set_xf_font(*book, target, font_of_size(size), kFontSize), -9);
    EXPECT_EQ(message(), overflow_message(512, "tob_set_font() MAX_FONT"));
    EXPECT_NE(message().find("tob_set_font() MAX_FONT"), std::string::npos);
    EXPECT_EQ(target.style, style);
    EXPECT_EQ(styles().fonts.size(), MAX_FONT);
    EXPECT_EQ(styles().xfs.size(), formats);
    EXPECT_EQ(set_xf_font(*book, target, font_of_size(100), kFontSize), 0);  // an existing font still works
}

TEST_F(Styles, CellFormatLimitLeavesCellAndTablesUnchanged) {
    Cell& target = cell(0, 0);
    for (int32_t indent = 1; styles().xfs.size() < MAX_XF; ++indent) ASSERT_EQ(set_xf_indent(*book, target, indent), 0);
    int32_t style = target.style;

    EXPECT_EQ(set_xf_indent(*book, target, -1), -9);
    EXPECT_EQ(message(), overflow_message(64000, "tob_set_xf() MAX_XF"));
    EXPECT_EQ(target.style, style);

    // A new font, fill or border whose cell format cannot be added is not kept either.
    EXPECT_EQ(set_xf_font(*book, target, font_of_size(30), kFontSize), -9);
    EXPECT_EQ(set_xf_fill(*book, target, {.color = {11}}, kFillColor), -9);
    EXPECT_EQ(set_border_range(*book, 0, 0, 0, 0, kBorderLeft, {.left = 1}), -9);
    EXPECT_EQ(styles().fonts.size(), 3);
    EXPECT_EQ(styles().fills.size(), 2);
    EXPECT_EQ(styles().borders.size(), 0);
    EXPECT_EQ(target.style, style);

    EXPECT_EQ(set_xf_indent(*book, target, 1), 0);  // an existing format still works
    EXPECT_EQ(tob_set_xf(*book, XLS_XF{}), -9);
}

TEST_F(Styles, BorderAloneKeepsTheDefaultFormat) {
    Cell& target = cell(2, 2);
    ASSERT_EQ(set_border_range(*book, 2, 2, 2, 2, kBorderTop, {.top = 5}), 0);
    const XLS_XF& xf = xf_of(target);
    EXPECT_EQ(xf.alignment, 31);
    EXPECT_EQ(xf.font, 0);
    EXPECT_EQ(xf.fill, 0);
    EXPECT_EQ(xf.numfmt, 0);
    EXPECT_EQ(xf.border, 1);
    EXPECT_EQ(styles().borders[0], (XLS_BORDER{.top = 5}));
}

TEST_F(Styles, BorderMasksOverARange) {
    constexpr uint32_t kBox = kBorderLeft | kBorderRight | kBorderTop | kBorderBottom;
    // A cell without a border takes the record whole, whatever the mask says.
    ASSERT_EQ(set_border_range(*book, 0, 2, 0, 2, kBox, {.left = 1, .right = 1, .top = 1, .bottom = 1, .diagonal_up = 6}), 0);
    ASSERT_EQ(set_border_range(*book, 0, 2, 0, 0, kBorderLeft, {.left = 3, .right = 9}), 0);
    ASSERT_EQ(set_border_range(*book, 0, 0, 0, 2, kBorderColor, {.top = 9, .color = {11}}), 0);
    ASSERT_EQ(set_border_range(*book, 2, 2, 2, 2, kBorderDiagonalUp | kBorderDiagonalDown, {.diagonal_down = 2}), 0);

    constexpr XLS_BORDER kGrid{.left = 1, .right = 1, .top = 1, .bottom = 1, .diagonal_up = 6};
    auto with = [](XLS_BORDER b, const std::function<void(XLS_BORDER&)>& change) { change(b); return b; };
    const XLS_BORDER left3 = with(kGrid, [](XLS_BORDER& b) { b.left = 3; });
    const XLS_BORDER red = with(kGrid, [](XLS_BORDER& b) { b.color = {11}; });
    const XLS_BORDER left3_red = with(left3, [](XLS_BORDER& b) { b.color = {11}; });
    const XLS_BORDER diagonals = with(kGrid, [](XLS_BORDER& b) { b.diagonal_up = 0; b.diagonal_down = 2; });
    const XLS_BORDER expected[3][3] = {
        {left3_red, red, red},
        {left3, kGrid, kGrid},
        {left3, kGrid, diagonals},
    };
    for (int32_t r = 0; r < 3; ++r)
        for (int32_t c = 0; c < 3; ++c) {
            const XLS_XF& xf = xf_of(cell(r, c));
            ASSERT_GE(xf.border, 1);
            EXPECT_EQ(styles().borders[xf.border - 1], expected[r][c]) << r << "," << c;
            EXPECT_EQ(xf.alignment, 31);
        }
    EXPECT_EQ(styles().borders.size(), 5);
    EXPECT_EQ(work_area(*book)->book.sheets[0].rows_in_use(), 3);
}

TEST_F(Styles, BorderRangeFailures) {
    EXPECT_EQ(set_border_range(*book, 0, 0, kMaxCellRecords - 1, kMaxCellRecords, kBorderLeft, {.left = 1}), -1);
    EXPECT_EQ(set_border_range(*book, kMaxRowRecords, kMaxRowRecords, 0, 0, kBorderLeft, {.left = 1}), -1);
    cell(3, 0);
    work_area(*book)->book.sheets[0].rows[3].streamed = true;
    EXPECT_EQ(set_border_range(*book, 2, 4, 0, 0, kBorderLeft, {.left = 1}), -1);
    EXPECT_NE(cell(2, 0).style, 0);  // rows before the failure keep their border
    EXPECT_EQ(set_border_range(*book, 5, 4, 0, 0, kBorderLeft, {.left = 1}), 0);
    book->cur_sheet = 1;
    EXPECT_EQ(set_border_range(*book, 0, 0, 0, 0, kBorderLeft, {.left = 1}), -1);
}

TEST_F(Styles, ManyCellsInternIntoFewEntries) {
    constexpr uint8_t kAlignments[] = {11, 22, 33, 13};
    constexpr int32_t kRows = 50000, kColumns = 4;
    for (int32_t r = 0; r < kRows; ++r)
        for (int32_t c = 0; c < kColumns; ++c) {
            Cell& target = cell(r, c);
            ASSERT_EQ(set_xf_alignment(*book, target, kAlignments[(r + c) % 4]), 0);
            ASSERT_EQ(set_xf_font(*book, target, font_of_size(static_cast<uint16_t>(10 + c)), kFontSize), 0);
        }
    ASSERT_EQ(set_border_range(*book, 0, kRows - 1, 0, kColumns - 1, kBorderBottom, {.bottom = 1}), 0);
    EXPECT_EQ(styles().fonts.size(), 3 + 3);         // sizes 10, 12, 13 (11 is font 0)
    // Alignment × font (size 11 is font 0, so an alignment alone is one of them), then each with the border.
    EXPECT_EQ(styles().xfs.size(), 7 + 16 + 16);
    EXPECT_EQ(styles().borders.size(), 1);
    const XLS_XF& last = xf_of(cell(kRows - 1, 3));
    EXPECT_EQ(last.alignment, kAlignments[(kRows - 1 + 3) % 4]);
    EXPECT_EQ(styles().fonts[last.font].size, 13);
    EXPECT_EQ(last.border, 1);
}

TEST_F(Styles, FindsReturnTheFirstEqualEntry) {
    XLS_XF xf{.numfmt = 99};
    int32_t first = tob_set_xf(*book, xf);
    EXPECT_EQ(first, 7);
    EXPECT_EQ(tob_set_xf(*book, xf), 8);  // appended all the same, as a file's table would be
    EXPECT_EQ(find_xf(*book, xf), first);
    EXPECT_EQ(find_xf(*book, XLS_XF{.numfmt = 98}), -1);

    EXPECT_EQ(find_border(*book, {.left = 1}), -1);
    EXPECT_EQ(add_border(*book, {.left = 1}), 1);
    EXPECT_EQ(find_border(*book, {.left = 1}), 1);
    EXPECT_EQ(find_fill(*book, {.pattern = kPatternGray125}), 1);
    EXPECT_EQ(find_font(*book, {.size = 9}), 1);
}

struct FieldCase {
    const char* name;
    void (*change)(XLS_XF&);
};
constexpr FieldCase kFieldCases[] = {
    {"numfmt", [](XLS_XF& x) { x.numfmt = 1; }},       {"font", [](XLS_XF& x) { x.font = 1; }},
    {"fill", [](XLS_XF& x) { x.fill = 1; }},           {"border", [](XLS_XF& x) { x.border = 1; }},
    {"style id", [](XLS_XF& x) { x.style_id = 1; }},   {"alignment", [](XLS_XF& x) { x.alignment = 1; }},
    {"reserved", [](XLS_XF& x) { x.reserved = 1; }},   {"numfmt kind", [](XLS_XF& x) { x.numfmt_kind = 1; }},
    {"text control", [](XLS_XF& x) { x.text_control = 1; }}, {"unlocked", [](XLS_XF& x) { x.unlocked = 1; }},
    {"rotation", [](XLS_XF& x) { x.rotation = -1; }},  {"indent", [](XLS_XF& x) { x.indent = 1; }},
};

TEST_F(Styles, EveryCellFormatFieldTellsFormatsApart) {
    XLS_XF base{.numfmt = 1000};
    ASSERT_GE(tob_set_xf(*book, base), 0);
    for (const auto& c : kFieldCases) {
        XLS_XF changed = base;
        c.change(changed);
        EXPECT_EQ(find_xf(*book, changed), -1) << c.name;
    }
}

TEST(StyleRecords, FontNamesCompareUpToTheirEnd) {
    XLS_FONT a, b;
    ASSERT_TRUE(a.name.assign("Gothic"));
    ASSERT_TRUE(b.name.assign("Gothic longer"));
    EXPECT_NE(a, b);
    ASSERT_TRUE(b.name.assign("Gothic"));
    EXPECT_EQ(a, b);
    EXPECT_EQ(RecordHash()(a), RecordHash()(b));
    EXPECT_TRUE(a.name.assign(std::string(80, 'n')));
    EXPECT_FALSE(a.name.assign(std::string(81, 'n')));
    EXPECT_EQ(a.name.view(), std::string(80, 'n'));
}

TEST_F(Styles, NumberFormatsByKind) {
    EXPECT_EQ(tob_set_num_format(*book, 302), 1);
    EXPECT_EQ(tob_set_num_format(*book, 404), 2);
    EXPECT_EQ(tob_set_num_format(*book, 404), 2);
    EXPECT_EQ(styles().numfmts[1], (XLS_NUMFMT{.kind = 404}));
    for (uint16_t kind = 1000; styles().numfmts.size() < TOB_MAX_NUMFORMAT; ++kind)
        ASSERT_GT(tob_set_num_format(*book, kind), 0);
    EXPECT_EQ(tob_set_num_format(*book, 302), 1);
    EXPECT_EQ(tob_set_num_format(*book, 9999), -9);
    EXPECT_EQ(message(), overflow_message(500, "tob_set_num_format()"));
    EXPECT_EQ(styles().numfmts.size(), 500u);
}

struct CombineCase {
    int32_t cell_style, column_style, expected;
};
constexpr CombineCase kCombineCases[] = {
    {0, 3, 3}, {2, 3, 2}, {0, 0, 0}, {0, -1, 0}, {0, 8, 0}, {0, 7, 7}, {5, -1, 5},
};

TEST_F(Styles, ColumnFormatAppliesToCellsWithout) {
    for (const auto& c : kCombineCases)
        EXPECT_EQ(combine_xf(*book, c.cell_style, c.column_style), c.expected) << c.cell_style << "," << c.column_style;
}

// Replacing an entry keeps find() answering the first equal entry, for the
// record that left and for the one that came.
TEST(InternTable, ReplaceKeepsTheFirstEqualEntryFindable) {
    InternTable<XLS_FONT> fonts;
    fonts.append(font_of_size(11));  // 0
    fonts.append(font_of_size(12));  // 1
    fonts.append(font_of_size(11));  // 2, equal to 0
    fonts.append(font_of_size(14));  // 3

    fonts.replace(0, font_of_size(14));
    EXPECT_EQ(fonts[0].size, 14);
    EXPECT_EQ(fonts.find(font_of_size(11)), 2);  // the later equal entry takes over
    EXPECT_EQ(fonts.find(font_of_size(14)), 0);  // the earlier position wins
    fonts.replace(2, font_of_size(20));
    EXPECT_EQ(fonts.find(font_of_size(11)), -1);
    EXPECT_EQ(fonts.find(font_of_size(20)), 2);
    fonts.replace(3, font_of_size(12));
    EXPECT_EQ(fonts.find(font_of_size(12)), 1);
    EXPECT_EQ(fonts.find(font_of_size(14)), 0);
    fonts.replace(1, font_of_size(1));
    EXPECT_EQ(fonts.find(font_of_size(12)), 3);
    fonts.replace(1, font_of_size(1));  // unchanged
    EXPECT_EQ(fonts.find(font_of_size(1)), 1);
    EXPECT_EQ(fonts.size(), 4);
}

}  // namespace
}  // namespace tova::model
