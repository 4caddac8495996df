#include "property/parser.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "api/help_sections.hpp"
#include "api/messages.hpp"
#include "api/work_area.hpp"
#include "api/call_frame.hpp"
#include "model/cell_store.hpp"
#include "platform/encoding.hpp"
#include "property/cell_statements.hpp"
#include "support/test_support.hpp"

namespace tova {
namespace {

using property::PropertyKey;
using property::TargetKind;
using property::Word;
namespace stmt = property::stmt;

constexpr int kCharsets[] = {enc::kUtf8, enc::kShiftJis, enc::kEucJp};

std::string in_charset(int charset, const std::string& utf8) { return enc::conv_charset(enc::kUtf8, charset, utf8); }

// The catalogue message as the book holds it, with the values quoted from UTF-8.
std::string expected_message(Msg id, std::initializer_list<std::string> utf8_values) {
    std::vector<std::string> sjis;
    for (const std::string& value : utf8_values) sjis.push_back(enc::conv_charset(enc::kUtf8, enc::kShiftJis, value));
    switch (sjis.size()) {
        case 0: return format_message(id, {});
        case 1: return format_message(id, {std::string_view(sjis[0])});
        default: return format_message(id, {std::string_view(sjis[0]), std::string_view(sjis[1])});
    }
}

class ParserTest : public ::testing::Test {
protected:
    test::BookPtr book_ = test::make_open_book(2, enc::kUtf8);

    void use_charset(int charset) { work_area(*book_)->charset = charset; }

    // Parses a key written in UTF-8, converted to the book's character set first.
    int parse(const std::string& utf8_key, PropertyKey& parsed) {
        book_->log.error_info[0] = '\0';
        return property::tob_parse_property(*book_, in_charset(charset_of(*book_), utf8_key), parsed);
    }

    std::string message() const { return book_->log.error_info; }
};

// ---------------------------------------------------------------------------
// Every statement of the table, in every spelling.

// All the spellings of a word: English, upper and lower case, then each Japanese form.
struct Spellings {
    std::vector<std::string> english;
    std::vector<std::string> japanese;  // the English spelling for a word that has no Japanese one
};

Spellings spellings_of(Word word) {
    Spellings out;
    std::string english(property::english_of(word));
    std::string lower = english;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    out.english = {english, lower};
    for (const property::WordEntry& entry : property::word_entries())
        if (entry.word == word)
            for (std::string_view form : entry.japanese)
                if (!form.empty()) out.japanese.emplace_back(form);
    if (out.japanese.empty()) out.japanese.push_back(english);
    return out;
}

// Every way of joining one spelling per word with dots.
void join_all(const std::vector<std::vector<std::string>>& choices, size_t at, std::string prefix,
              std::vector<std::string>& out) {
    if (at == choices.size()) {
        out.push_back(prefix);
        return;
    }
    for (const std::string& choice : choices[at])
        join_all(choices, at + 1, prefix.empty() ? choice : prefix + "." + choice, out);
}

// English in both cases, Japanese in every combination of forms, and the two
// mixed forms that alternate the languages word by word.
std::vector<std::string> spelled_paths(const property::Statement& statement) {
    std::vector<Spellings> words;
    for (Word word : statement.words()) words.push_back(spellings_of(word));
    std::vector<std::vector<std::string>> english, japanese, mixed_a, mixed_b;
    for (size_t i = 0; i < words.size(); ++i) {
        english.push_back(words[i].english);
        japanese.push_back(words[i].japanese);
        mixed_a.push_back(i % 2 == 0 ? words[i].english : words[i].japanese);
        mixed_b.push_back(i % 2 == 0 ? words[i].japanese : words[i].english);
    }
    std::vector<std::string> paths;
    for (const auto& choices : {english, japanese, mixed_a, mixed_b}) join_all(choices, 0, "", paths);
    return paths;
}

TEST_F(ParserTest, EveryStatementInEverySpellingAndCharacterSet) {
    for (int charset : kCharsets) {
        use_charset(charset);
        for (const property::Statement& statement : property::statements()) {
            for (const std::string& path : spelled_paths(statement)) {
                SCOPED_TRACE("charset " + std::to_string(charset) + ": " + path);
                PropertyKey parsed;
                ASSERT_EQ(parse(path, parsed), 0) << message();
                EXPECT_EQ(parsed.code, statement.code);
                EXPECT_EQ(parsed.target_kind, TargetKind::None);

                ASSERT_EQ(parse("B3." + path, parsed), 0) << message();
                EXPECT_EQ(parsed.code, statement.code);
                EXPECT_EQ(parsed.target_kind, TargetKind::Cell);
                EXPECT_EQ(parsed.target.row, 2);
                EXPECT_EQ(parsed.target.column, 1);
                EXPECT_EQ(parsed.target.sheet, -1);

                ASSERT_EQ(parse("Sheet2!C3:D4." + path, parsed), 0) << message();
                EXPECT_EQ(parsed.code, statement.code);
                EXPECT_EQ(parsed.target.sheet, 1);
                EXPECT_EQ(parsed.target.count, 1);
            }
        }
    }
}

// The codes the appliers are written against, each named by some path.
TEST(StatementTable, HoldsEveryStatementCode) {
    struct Span {
        int32_t first, last;
    };
    constexpr Span kCodes[] = {
        {101, 114}, {120, 127}, {200, 213}, {221, 223}, {231, 231}, {240, 252}, {310, 317}, {331, 334},
        {341, 343}, {351, 354}, {401, 410}, {420, 421}, {501, 504}, {511, 512}, {521, 529}, {531, 532},
        {541, 545}, {551, 560}, {601, 625}, {629, 629}, {631, 643}, {661, 667}, {671, 671}, {681, 689},
        {691, 696}, {698, 707}, {711, 722}, {801, 805}, {811, 815}, {821, 825}, {831, 835}, {841, 845},
        {851, 855}, {860, 861}, {1001, 1001}, {2002, 2003},
    };
    std::set<int32_t> expected, in_table;
    for (const Span& span : kCodes)
        for (int32_t code = span.first; code <= span.last; ++code) expected.insert(code);
    for (const property::Statement& statement : property::statements()) in_table.insert(statement.code);
    EXPECT_EQ(in_table, expected);
}

TEST(StatementTable, PathsAreUniqueAndFitAKey) {
    std::set<std::vector<Word>> seen;
    for (const property::Statement& statement : property::statements()) {
        std::vector<Word> words(statement.words().begin(), statement.words().end());
        EXPECT_TRUE(seen.insert(words).second) << "path of " << statement.code << " appears twice";
        EXPECT_GE(words.size(), 1u);
        EXPECT_LE(words.size(), property::kMaxSections - 1) << statement.code << " leaves no room for a target";
    }
}

TEST(StatementTable, TargetFreeAndTemplateStatements) {
    // Objects created last and the shape template are reached without a target, RESET and EFFECT included.
    for (int32_t code : {stmt::kBook, stmt::kZoom, stmt::kFooterCenterFontColor, stmt::kAutoWidth,
                         stmt::kTableFormatColumnName, stmt::kChartTitleFontSize, stmt::kShapeReset,
                         stmt::kShapeEffect, stmt::kShadowAlign, stmt::kControlReset})
        EXPECT_TRUE(property::runs_without_target(code)) << code;
    for (int32_t code : {stmt::kFontSize, stmt::kHeight, stmt::kChart, stmt::kChartSwitch, stmt::kControlChecked,
                         stmt::kAutoshape, stmt::kCsv, stmt::kValidationMin, stmt::kSparklineKind, stmt::kVariable})
        EXPECT_FALSE(property::runs_without_target(code)) << code;

    std::set<int32_t> in_template;
    for (const property::Statement& statement : property::statements())
        if (property::allowed_in_template_mode(statement.code)) in_template.insert(statement.code);
    EXPECT_EQ(in_template, (std::set<int32_t>{stmt::kBook, stmt::kTemplate, stmt::kSheet, stmt::kSheetScrollRow,
                                              stmt::kHeight, stmt::kCsv, stmt::kTsv}));
}

TEST(WordTable, HasEveryEntryAndEachSpellingFindsItsWord) {
    EXPECT_EQ(property::word_entries().size(), 151u);
    for (const property::WordEntry& entry : property::word_entries()) {
        auto english = property::words_spelled(entry.english);
        EXPECT_NE(std::find(english.begin(), english.end(), entry.word), english.end()) << entry.english;
        for (std::string_view form : entry.japanese) {
            if (form.empty()) continue;
            auto japanese = property::words_spelled(enc::conv_charset(enc::kUtf8, enc::kShiftJis, form));
            EXPECT_NE(std::find(japanese.begin(), japanese.end(), entry.word), japanese.end()) << form;
        }
    }
}

// ---------------------------------------------------------------------------
// Keys and targets.

struct KeyCase {
    const char* key;  // UTF-8
    int32_t code;
    TargetKind kind;
    int32_t sheet, row, column;
    XLS_RECT first;  // the first rectangle, when there is one
    int32_t count;
};

constexpr XLS_RECT kNoRect{};

constexpr KeyCase kKeys[] = {
    {"A1.FONT.SIZE", stmt::kFontSize, TargetKind::Cell, -1, 0, 0, kNoRect, 0},
    {"a1.font.size", stmt::kFontSize, TargetKind::Cell, -1, 0, 0, kNoRect, 0},
    {"A1.Font.Size", stmt::kFontSize, TargetKind::Cell, -1, 0, 0, kNoRect, 0},
    {"A1.フォント.サイズ", stmt::kFontSize, TargetKind::Cell, -1, 0, 0, kNoRect, 0},
    {"A1.FONT", stmt::kNone, TargetKind::Cell, -1, 0, 0, kNoRect, 0},
    {"$B$7.ALIGN", stmt::kAlign, TargetKind::Cell, -1, 6, 1, kNoRect, 0},
    {"(2)3.FONT.SIZE", stmt::kFontSize, TargetKind::Cell, -1, 2, 1, kNoRect, 0},
    {"5.HEIGHT", stmt::kHeight, TargetKind::Row, -1, 4, -1, kNoRect, 0},
    {"1048576.HEIGHT", stmt::kHeight, TargetKind::Row, -1, 1048575, -1, kNoRect, 0},
    {"C.WIDTH", stmt::kWidth, TargetKind::Column, -1, -1, 2, kNoRect, 0},
    {"xfd.WIDTH", stmt::kWidth, TargetKind::Column, -1, -1, 16383, kNoRect, 0},
    {"C:E.WIDTH", stmt::kWidth, TargetKind::ColumnRange, -1, -1, -1, {0, 2, 0, 4}, 1},
    {"X:X.WIDTH", stmt::kWidth, TargetKind::ColumnRange, -1, -1, -1, {0, 23, 0, 23}, 1},
    {"3:5.HEIGHT", stmt::kHeight, TargetKind::RowRange, -1, -1, -1, {2, 0, 4, 0}, 1},
    {"B2:A1.FONT.SIZE", stmt::kFontSize, TargetKind::Range, -1, -1, -1, {1, 1, 0, 0}, 1},
    {"A1:B2,D1:E2.MERGE", stmt::kMerge, TargetKind::RangeList, -1, -1, -1, {0, 0, 1, 1}, 2},
    {"Sheet2!A1:B2.BORDER", stmt::kBorder, TargetKind::Range, 1, -1, -1, {0, 0, 1, 1}, 1},
    {"'Sheet2'!A1:B2.BORDER", stmt::kBorder, TargetKind::Range, 1, -1, -1, {0, 0, 1, 1}, 1},
    {"Sheet2!A1.CSV", stmt::kCsv, TargetKind::Cell, 1, 0, 0, kNoRect, 0},
    {"Sheet2!5.HEIGHT", stmt::kHeight, TargetKind::Row, 1, 4, -1, kNoRect, 0},
    {"Sheet1!A1:B2,Sheet2!D1:E2.BORDER", stmt::kBorder, TargetKind::RangeList, 0, -1, -1, {0, 0, 1, 1}, 2},
    {"(A1:C3).FONT.SIZE", stmt::kFontSize, TargetKind::Range, -1, -1, -1, {0, 0, 2, 2}, 1},
    {"(Sheet2!A1:C3).FONT.SIZE", stmt::kFontSize, TargetKind::Range, 1, -1, -1, {0, 0, 2, 2}, 1},
    {"Sheet2!(C:D).WIDTH", stmt::kWidth, TargetKind::ColumnRange, 1, -1, -1, {0, 2, 0, 3}, 1},
    {"(5).HEIGHT", stmt::kHeight, TargetKind::Row, -1, 4, -1, kNoRect, 0},
    {"TOT:AL", stmt::kNone, TargetKind::ColumnRange, -1, -1, -1, {0, 13929, 0, 37}, 1},  // TOT is a column
    {"TOTAL", stmt::kVariable, TargetKind::Variable, -1, -1, -1, kNoRect, 0},
    {"合計", stmt::kVariable, TargetKind::Variable, -1, -1, -1, kNoRect, 0},
    {"A1:B2", stmt::kNone, TargetKind::Range, -1, -1, -1, {0, 0, 1, 1}, 1},
    {"X.WIDTH", stmt::kNone, TargetKind::None, -1, -1, -1, kNoRect, 0},
    {"ZOOM", stmt::kZoom, TargetKind::None, -1, -1, -1, kNoRect, 0},
    {"SHEET.ZOOM", stmt::kZoom, TargetKind::None, -1, -1, -1, kNoRect, 0},
    {"シート.ズーム", stmt::kZoom, TargetKind::None, -1, -1, -1, kNoRect, 0},
    {"SHEET", stmt::kSheet, TargetKind::None, -1, -1, -1, kNoRect, 0},
    {"SHEET.NAME", stmt::kSheet, TargetKind::None, -1, -1, -1, kNoRect, 0},
    {"BOOK.NAME", stmt::kBook, TargetKind::None, -1, -1, -1, kNoRect, 0},
    {"A1.BORDER.STYLE", stmt::kBorder, TargetKind::Cell, -1, 0, 0, kNoRect, 0},
    {"A1.BORDER.TOP.STYLE", stmt::kBorderTop, TargetKind::Cell, -1, 0, 0, kNoRect, 0},
    {"用紙.方向", stmt::kPaperOrientation, TargetKind::None, -1, -1, -1, kNoRect, 0},
    {"PAPER.ORIENTATION", stmt::kPaperOrientation, TargetKind::None, -1, -1, -1, kNoRect, 0},
    {"A1.方向", stmt::kDirection, TargetKind::Cell, -1, 0, 0, kNoRect, 0},
    {"A1.縦書き", stmt::kRotation, TargetKind::Cell, -1, 0, 0, kNoRect, 0},
    {"A1.ROTATION", stmt::kRotation, TargetKind::Cell, -1, 0, 0, kNoRect, 0},
    {"AUTOSHAPE.縦書き", stmt::kShapeRotation, TargetKind::None, -1, -1, -1, kNoRect, 0},
    {"CHART.AXIS_X", stmt::kNone, TargetKind::None, -1, -1, -1, kNoRect, 0},
    {"A1.GRADATION", stmt::kNone, TargetKind::Cell, -1, 0, 0, kNoRect, 0},
    {"A1.FILL.GRADATION", stmt::kNone, TargetKind::Cell, -1, 0, 0, kNoRect, 0},
    {"SHEET.TAB.FONT", stmt::kNone, TargetKind::None, -1, -1, -1, kNoRect, 0},
    {"A1.FONT.PATH", stmt::kNone, TargetKind::Cell, -1, 0, 0, kNoRect, 0},
    {"SHEET.HEADER.LEFT", stmt::kHeaderLeft, TargetKind::None, -1, -1, -1, kNoRect, 0},
    {"SHEET.TAB.COLOR", stmt::kSheetTabColor, TargetKind::None, -1, -1, -1, kNoRect, 0},
    {"A1.TAB.COLOR", stmt::kNone, TargetKind::Cell, -1, 0, 0, kNoRect, 0},
    {"BOOK.DATASOURCE", stmt::kNone, TargetKind::None, -1, -1, -1, kNoRect, 0},
};

TEST_F(ParserTest, KeysGiveTheirCodesAndTargets) {
    for (int charset : kCharsets) {
        use_charset(charset);
        for (const KeyCase& c : kKeys) {
            SCOPED_TRACE(c.key);
            PropertyKey parsed;
            ASSERT_EQ(parse(c.key, parsed), 0) << message();
            EXPECT_EQ(message(), "");
            EXPECT_EQ(parsed.code, c.code);
            EXPECT_EQ(parsed.target_kind, c.kind);
            EXPECT_EQ(parsed.target.sheet, c.sheet);
            EXPECT_EQ(parsed.target.row, c.row);
            EXPECT_EQ(parsed.target.column, c.column);
            EXPECT_EQ(parsed.target.count, c.count);
            if (c.count > 0) {
                const XLS_RECT& got = parsed.target.ranges[0];
                EXPECT_EQ(got.first_row, c.first.first_row);
                EXPECT_EQ(got.first_column, c.first.first_column);
                EXPECT_EQ(got.last_row, c.first.last_row);
                EXPECT_EQ(got.last_column, c.first.last_column);
            }
        }
    }
}

TEST_F(ParserTest, TargetTextIsTheSectionAsWritten) {
    use_charset(enc::kShiftJis);
    PropertyKey parsed;
    ASSERT_EQ(parse("合計", parsed), 0);
    EXPECT_EQ(parsed.target_text, in_charset(enc::kShiftJis, "合計"));
    ASSERT_EQ(parse("Sheet2!A1:B2.BORDER", parsed), 0);
    EXPECT_EQ(parsed.target_text, "Sheet2!A1:B2");
    ASSERT_EQ(parse("SHEET.ZOOM", parsed), 0);
    EXPECT_EQ(parsed.target_text, "");
}

TEST_F(ParserTest, SheetNamesWithDotsAndNonAsciiCharacters) {
    model::ensure_sheet(work_area(*book_)->book, 2).name = "売上.2024";
    for (int charset : kCharsets) {
        use_charset(charset);
        PropertyKey parsed;
        ASSERT_EQ(parse("'売上.2024'!B2:C3.FILL.COLOR", parsed), 0) << message();
        EXPECT_EQ(parsed.code, stmt::kFillColor);
        EXPECT_EQ(parsed.target.sheet, 2);
        EXPECT_EQ(parsed.target_kind, TargetKind::Range);
    }
}

TEST_F(ParserTest, ColumnExpressionsAreEvaluatedOnTheTargetSheet) {
    // Sheet2 uses three columns, the current sheet none: ($CLMNUM+1) is column D there.
    book_->cur_sheet = 1;
    ASSERT_EQ(property::put_cell(*book_, "C1", "x"), 0);
    book_->cur_sheet = 0;
    PropertyKey parsed;
    ASSERT_EQ(parse("Sheet2!($CLMNUM+1)3.FONT.SIZE", parsed), 0) << message();
    EXPECT_EQ(parsed.target_kind, TargetKind::Cell);
    EXPECT_EQ(parsed.target.sheet, 1);
    EXPECT_EQ(parsed.target.row, 2);
    EXPECT_EQ(parsed.target.column, 3);
    EXPECT_EQ(book_->cur_sheet, 0);  // the book is left as it was
}

struct FailureCase {
    const char* key;
    Msg message;
    const char* quoted;  // UTF-8; nullptr: the message quotes the whole key
};

constexpr FailureCase kFailures[] = {
    {"A1.ﾌｫﾝﾄ.サイズ", Msg::UnsupportedKeyword, "ﾌｫﾝﾄ"},
    {"A1.フォント.ｻｲｽﾞ", Msg::UnsupportedKeyword, "ｻｲｽﾞ"},
    {"ｼｰﾄ.ｽﾞｰﾑ", Msg::UnsupportedKeyword, "ｽﾞｰﾑ"},
    {"A1.B.C.D.E.F", Msg::UnsupportedKeyword, "F"},
    {"A1.B.C.D.E.F.G", Msg::TooManyDots, nullptr},
    {"FOO.BAR", Msg::UnsupportedKeyword, "BAR"},
    {"A1..FONT", Msg::UnsupportedKeyword, ""},
    {"A1.IMAGE", Msg::BadImage, nullptr},
    {"A1.IMAGE.SIZE", Msg::BadImage, nullptr},
    {"A1.IMAGE.FONT.SIZE", Msg::BadImage, nullptr},
    {"A1.IMAGE.OFFSET", Msg::BadOffset, nullptr},
    {"AUTOSHAPE.ADJUST", Msg::BadAdjust, nullptr},
    {"A1.FILL", Msg::BadFill, nullptr},
    {"A1.FILL.X", Msg::BadFill, nullptr},
    {"A1.FILL.PATTERN", Msg::BadPattern, nullptr},
    {"SHEET.TAB", Msg::BadTab, nullptr},
    {"PAPER", Msg::BadPaper, nullptr},
    {"PAPER.COLOR", Msg::BadPaper, nullptr},
    {"PAPER.MARGIN.SIZE", Msg::BadMargin, nullptr},
    {"PRINT_PAGE_FIT.SIZE", Msg::BadPrintPageFit, nullptr},
    {"AUTOSHAPE.LINE", Msg::BadAutoshapeLine, nullptr},
    {"AUTOSHAPE.LINE.FONT.SIZE", Msg::BadAutoshapeLine, nullptr},
    {"FOO.FONT.BAR.SIZE", Msg::UnsupportedKeyword, "BAR"},
    {"A1.BAR.FONT", Msg::UnsupportedKeyword, "BAR"},
    {"AUTOSHAPE.ARROW.STYLE", Msg::BadAutoshapeArrow, nullptr},
    {"AUTOSHAPE.SHADOW", Msg::BadAutoshapeShadow, nullptr},
    {"SHEET.BACKGROUND", Msg::BadBackground, nullptr},
    {"BOOK.THUMBNAIL", Msg::BadThumbnail, nullptr},
    {"TOTAL:1", Msg::BadVariableName, "TOTAL:1"},
    {"$TOTAL", Msg::BadVariableName, "$TOTAL"},
    {"Sheet2!TOTAL", Msg::BadVariableName, "Sheet2!TOTAL"},
    {"TOTAL.FONT.SIZE", Msg::BadCell, "TOTAL"},
    {"Sheet9!A1.FONT.SIZE", Msg::BadCell, "Sheet9!A1"},
    {"0.HEIGHT", Msg::BadCell, "0"},
    {"1048577.HEIGHT", Msg::BadCell, "1048577"},
    {"ZZZ.WIDTH", Msg::BadCell, "ZZZ"},
    {"XFE.WIDTH", Msg::BadCell, "XFE"},
    {"", Msg::BadCell, ""},
    {".FONT.SIZE", Msg::BadCell, ""},
    {"\"A.1\".FONT.SIZE", Msg::BadCell, "\"A.1\""},
    // Dots between double quotes do not split: the quoted section is one unknown word.
    {"A1.FONT.\"a.b.c.d.e.f.g\"", Msg::UnsupportedKeyword, "\"a.b.c.d.e.f.g\""},
};

TEST_F(ParserTest, FailuresReportTheirMessage) {
    for (int charset : kCharsets) {
        use_charset(charset);
        for (const FailureCase& c : kFailures) {
            SCOPED_TRACE(c.key);
            PropertyKey parsed;
            EXPECT_EQ(parse(c.key, parsed), kBadArgument);
            EXPECT_EQ(message(), expected_message(c.message, {c.quoted ? c.quoted : c.key}));
        }
    }
}

TEST_F(ParserTest, SectionsAreAtMost256Bytes) {
    PropertyKey parsed;
    std::string section(256, 'A');
    EXPECT_EQ(parse(section + ".FONT.SIZE", parsed), kBadArgument);
    EXPECT_EQ(message(), expected_message(Msg::BadCell, {section}));  // long but well within the limit
    section += 'A';
    EXPECT_EQ(parse("A1.FONT." + section, parsed), kBadArgument);
    EXPECT_EQ(message(), format_message(Msg::BufferOverflow, {257LL, std::string_view("tob_parse_property() section")}));
}

TEST_F(ParserTest, ManyDotsStopAtTheLimit) {
    PropertyKey parsed;
    std::string key = "A1" + std::string(100000, '.');
    EXPECT_EQ(parse(key, parsed), kBadArgument);
    EXPECT_EQ(message().substr(0, 10), "TOVA-02211");
}

// ---------------------------------------------------------------------------
// The export.

TEST_F(ParserTest, IsPropertyExport) {
    int code = 0;
    EXPECT_EQ(TOVA_is_property(book_.get(), "A1.FONT.SIZE", &code), 0);
    EXPECT_EQ(code, stmt::kFontSize);
    EXPECT_EQ(TOVA_is_property(book_.get(), "A1.FONT", &code), 0);
    EXPECT_EQ(code, stmt::kNone);
    code = 0;
    EXPECT_EQ(TOVA_is_property(book_.get(), "A1.IMAGE", &code), kBadArgument);
    EXPECT_EQ(code, stmt::kNone);
    EXPECT_EQ(book_->log.error_code, kBadArgument);
    EXPECT_EQ(message(), expected_message(Msg::BadImage, {}));
    EXPECT_EQ(TOVA_is_property(book_.get(), "ZOOM", &code), 0);
    EXPECT_EQ(book_->log.error_code, 0);
    EXPECT_EQ(TOVA_is_property(book_.get(), "ZOOM", nullptr), kBadArgument);
    EXPECT_EQ(TOVA_is_property(book_.get(), nullptr, &code), kBadArgument);
    EXPECT_EQ(TOVA_is_property(nullptr, "ZOOM", &code), kBadArgument);
    test::BookPtr closed = test::make_zeroed_book();
    EXPECT_EQ(TOVA_is_property(closed.get(), "ZOOM", &code), kBadArgument);
    EXPECT_EQ(code, stmt::kNone);
}

// ---------------------------------------------------------------------------
// The keyword overview of TOVA_help names statements the parser knows.

TEST_F(ParserTest, HelpKeywordsAreStatements) {
    for (const help::Section& section : help::sections()) {
        for (const help::Row& row : section.rows) {
            if (row.kind != help::RowKind::Keyword || row.english.front() == '$') continue;
            for (std::string_view key : {row.english, row.japanese}) {
                SCOPED_TRACE(std::string(key));
                PropertyKey parsed;
                ASSERT_EQ(parse("A1." + std::string(key), parsed), 0) << message();
                EXPECT_NE(parsed.code, stmt::kNone);
            }
        }
    }
}

}  // namespace
}  // namespace tova
