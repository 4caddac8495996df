#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "api/help_sections.hpp"
#include "api/help_text.hpp"
#include "platform/encoding.hpp"

namespace tova {
namespace {

constexpr size_t kKeywordColumn = 40;
constexpr size_t kLineWidth = 76;

std::string capture(void (*print)(std::FILE*)) {
    std::FILE* file = std::tmpfile();
    if (file == nullptr) return {};
    print(file);
    std::rewind(file);
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    std::fclose(file);
    return text;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the last line lacks its line feed";
    return lines;
}

std::string sjis(std::string_view utf8) { return enc::conv_charset(enc::kUtf8, enc::kShiftJis, utf8); }

const std::string kRule(kLineWidth, '-');

bool is_value_or_note_line(std::string_view line) { return line.starts_with("  "); }
bool is_heading(std::string_view sjis_line) { return sjis_line.starts_with(sjis("■")); }
bool is_keyword_line(std::string_view sjis_line) {
    return !sjis_line.empty() && sjis_line != kRule && !is_heading(sjis_line) && !is_value_or_note_line(sjis_line);
}

class HelpText : public ::testing::Test {
  protected:
    void SetUp() override {
        sjis_text_ = capture(print_help);
        utf8_text_ = capture(print_help_utf8);
        sjis_lines_ = lines_of(sjis_text_);
        utf8_lines_ = lines_of(utf8_text_);
        ASSERT_GT(sjis_lines_.size(), 4u);
    }

    std::string sjis_text_, utf8_text_;
    std::vector<std::string> sjis_lines_, utf8_lines_;
};

TEST_F(HelpText, OpensWithTheBanner) {
    for (const auto* lines : {&sjis_lines_, &utf8_lines_}) {
        EXPECT_EQ((*lines)[0], "");
        EXPECT_EQ((*lines)[1], "PEL K-VANTO: Release 2.1.0.0");
        EXPECT_FALSE((*lines)[2].empty());
        EXPECT_EQ((*lines)[3], "");
    }
}

TEST_F(HelpText, SectionsFollowInOrderEachOpenedByARuleOrAnEmptyLine) {
    constexpr std::string_view kHeadings[] = {
        "■色", "■フォント", "■配置", "■書式", "■罫線", "■塗りつぶし",
        "■その他", "■ブック", "■シート", "■印刷/表示", "■変数",
    };
    std::vector<std::string> headings;
    for (size_t i = 4; i < utf8_lines_.size(); ++i) {
        if (!utf8_lines_[i].starts_with("■")) continue;
        headings.push_back(utf8_lines_[i]);
        const std::string& before = utf8_lines_[i - 1];
        EXPECT_TRUE(before.empty() || before == kRule) << utf8_lines_[i];
    }
    EXPECT_EQ(headings, std::vector<std::string>(std::begin(kHeadings), std::end(kHeadings)));
    EXPECT_TRUE(utf8_lines_[4] == kRule || utf8_lines_[4].empty());
    EXPECT_EQ(utf8_lines_[5], "■色");
}

// The English form fills a 40-column field, any offered values flush with its
// right edge; the Japanese form follows after one space.
TEST_F(HelpText, KeywordLinesPadTheEnglishFormToFortyColumns) {
    constexpr std::string_view kChoices[] = {"", "TRUE|FALSE", "ASC|DESC", "PORTRAIT|LANDSCAPE"};
    constexpr size_t kBannerLines = 4;
    size_t keyword_lines = 0;
    for (size_t i = kBannerLines; i < sjis_lines_.size(); ++i) {
        const std::string& line = sjis_lines_[i];
        if (!is_keyword_line(line)) continue;
        ++keyword_lines;
        ASSERT_GT(line.size(), kKeywordColumn + 1) << line;
        const std::string_view field = std::string_view(line).substr(0, kKeywordColumn);
        EXPECT_TRUE(std::all_of(field.begin(), field.end(), [](char c) {
            return static_cast<unsigned char>(c) >= ' ' && static_cast<unsigned char>(c) < 0x7F;
        })) << line;
        EXPECT_EQ(line[kKeywordColumn], ' ') << line;
        EXPECT_NE(line[kKeywordColumn + 1], ' ') << line;
        const size_t english_end = field.find(' ');
        ASSERT_NE(english_end, std::string_view::npos) << "no space before the Japanese form: " << line;
        const size_t choices_start = field.find_first_not_of(' ', english_end);
        const std::string_view choices =
            choices_start == std::string_view::npos ? std::string_view() : field.substr(choices_start);
        EXPECT_NE(std::find(std::begin(kChoices), std::end(kChoices), choices), std::end(kChoices)) << line;
    }
    size_t keyword_rows = 0;
    for (const auto& section : help::sections())
        keyword_rows += std::count_if(section.rows.begin(), section.rows.end(),
                                      [](const help::Row& row) { return row.kind == help::RowKind::Keyword; });
    EXPECT_EQ(keyword_lines, keyword_rows);
}

TEST_F(HelpText, ShowsKnownKeywordsWithTheirJapaneseForms) {
    struct Case {
        std::string_view english, choices, japanese;
    };
    constexpr Case kCases[] = {
        {"FONT.SIZE", "", "フォント.サイズ"},
        {"BORDER.DIAGONAL_UP", "", "罫線.斜上"},
        {"FILL.GRADATION.COLOR1", "", "塗りつぶし.グラデーション.色1"},
        {"MERGE", "TRUE|FALSE", "結合"},
        {"ROTATION", "TRUE|FALSE", "縦書き"},
        {"CHART.LEGEND.POSITION", "", "グラフ.凡例.表示位置"},
        {"BOOK.WRITE_PASSWORD", "", "ブック.書込パスワード"},
        {"SHEET.ORDER", "ASC|DESC", "シート.順"},
        {"SHEET.Protect.insHyperLinks", "TRUE|FALSE", "シート.保護.ハイパーリンクの挿入"},
        {"PAPER.ORIENTATION", "PORTRAIT|LANDSCAPE", "用紙.方向"},
        {"PAPER.SCALE", "", "用紙.拡大／縮小"},
        {"ZOOM", "", "ズーム"},
        {"$SYSDATE", "", "$SYSDATE"},
    };
    for (const Case& c : kCases) {
        const std::string prefix = std::string(c.english) + ' ';
        auto line = std::find_if(utf8_lines_.begin(), utf8_lines_.end(),
                                 [&](const std::string& l) { return l.starts_with(prefix); });
        ASSERT_NE(line, utf8_lines_.end()) << c.english;
        ASSERT_GT(line->size(), kKeywordColumn + 1) << c.english;
        EXPECT_EQ(line->substr(kKeywordColumn - c.choices.size(), c.choices.size()), c.choices) << c.english;
        EXPECT_EQ(line->substr(kKeywordColumn + 1), c.japanese) << c.english;
    }
}

// Offset of `item` in a value line, where items are separated by "|" and
// padded with spaces; npos when the line does not list it.
size_t item_offset(std::string_view line, std::string_view item) {
    for (size_t at = line.find(item); at != std::string_view::npos; at = line.find(item, at + 1)) {
        const bool starts = at == 2 || (at > 2 && line[at - 1] == '|');
        const size_t end = at + item.size();
        const bool ends = end == line.size() || line[end] == '|' || line[end] == ' ';
        if (starts && ends) return at;
    }
    return std::string_view::npos;
}

TEST_F(HelpText, ValueLinesSetEachJapaneseValueUnderItsEnglishOne) {
    struct Case {
        std::string_view english, japanese;
    };
    constexpr Case kCases[] = {
        {"RED", "赤"},
        {"FUCHSIA", "赤紫"},
        {"NONE", "なし"},
        {"LIGHT_MAGENTA", "桜"},
        {"bold_italic_underline", "強調斜体下線"},
        {"slantDashDot", "斜二点鎖線"},
        {"gray0625", "6.25%灰色"},
        {"BAR_PYRAMLID_HORIZONTAL", "ピラミッド横棒"},
        {"GRADATIONCOLOR2=", "グラデーション色2="},
        {"pageBreakPreview", "改ページプレビュー"},
        {"&[PAGE_NO]", "&[ページ番号]"},
    };
    for (const Case& c : kCases) {
        const std::string japanese = sjis(c.japanese);
        bool found = false;
        for (size_t i = 0; i + 1 < sjis_lines_.size() && !found; ++i) {
            if (!is_value_or_note_line(sjis_lines_[i])) continue;
            const size_t at = item_offset(sjis_lines_[i], c.english);
            if (at == std::string::npos) continue;
            found = true;
            EXPECT_EQ(item_offset(sjis_lines_[i + 1], japanese), at) << c.english;
        }
        EXPECT_TRUE(found) << c.english;
    }
}

TEST_F(HelpText, ShiftJisOutputHoldsEveryCharacterOfTheUtf8One) {
    EXPECT_EQ(sjis_text_.find('?'), std::string::npos);
    EXPECT_EQ(enc::conv_charset(enc::kShiftJis, enc::kUtf8, sjis_text_), utf8_text_);
    EXPECT_NE(utf8_text_.find("RGB16進値指定:#rrggbb"), std::string::npos);
}

TEST_F(HelpText, ValueAndNoteLinesFitTheRule) {
    for (const std::string& line : sjis_lines_)
        if (is_value_or_note_line(line)) EXPECT_LE(line.size(), kLineWidth) << enc::conv_charset(enc::kShiftJis, enc::kUtf8, line);
}

TEST(HelpSections, EveryEnglishValueHasAJapaneseCounterpart) {
    for (const auto& section : help::sections()) {
        EXPECT_FALSE(section.rows.empty()) << section.heading;
        for (const help::Row& row : section.rows) {
            EXPECT_FALSE(row.japanese.empty()) << row.english;
            if (row.kind != help::RowKind::Values) continue;
            EXPECT_EQ(std::count(row.english.begin(), row.english.end(), '|'),
                      std::count(row.japanese.begin(), row.japanese.end(), '|'))
                << row.english;
        }
    }
}

}  // namespace
}  // namespace tova
