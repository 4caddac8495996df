#include "property/vocab.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "platform/encoding.hpp"
#include "writer/style_codes.hpp"

namespace tova {
namespace {

using vocab::Vocab;

std::string sjis(std::string_view utf8) { return enc::conv_charset(enc::kUtf8, enc::kShiftJis, utf8); }

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

TEST(Vocabularies, EveryIdHasOneVocabulary) {
    std::set<Vocab> ids;
    for (const vocab::Vocabulary& v : vocab::vocabularies()) {
        EXPECT_TRUE(ids.insert(v.id).second) << v.name;
        EXPECT_FALSE(v.words.empty()) << v.name;
    }
    EXPECT_EQ(ids.size(), static_cast<size_t>(Vocab::SheetOrder) + 1);
}

TEST(Vocabularies, EveryWordGivesItsCodeInEverySpelling) {
    for (const vocab::Vocabulary& v : vocab::vocabularies()) {
        for (const vocab::VocabWord& word : v.words) {
            SCOPED_TRACE(std::string(v.name) + ": " + std::string(word.english));
            if (!word.english.empty()) {
                EXPECT_EQ(vocab::lookup(v.id, word.english), word.code);
                EXPECT_EQ(vocab::lookup(v.id, lower(word.english)), word.code);
            }
            for (std::string_view form : word.japanese) {
                if (!form.empty()) {
                    EXPECT_EQ(vocab::lookup(v.id, sjis(form)), word.code) << form;
                }
            }
        }
    }
}

TEST(Vocabularies, UnknownWordsAreNotFound) {
    for (const vocab::Vocabulary& v : vocab::vocabularies()) {
        SCOPED_TRACE(v.name);
        for (std::string_view unknown : {"HUGE", "", "ｸﾞﾚｰ", "赤 "}) EXPECT_EQ(vocab::lookup(v.id, sjis(unknown)), std::nullopt);
    }
}

// Half-width katakana are other characters than their full-width forms.
TEST(Vocabularies, HalfWidthKatakanaDoNotMatch) {
    EXPECT_EQ(vocab::lookup(Vocab::ShapeFillKind, sjis("グラデーション")), 1);
    EXPECT_EQ(vocab::lookup(Vocab::ShapeFillKind, sjis("ｸﾞﾗﾃﾞｰｼｮﾝ")), std::nullopt);
    EXPECT_EQ(vocab::lookup(Vocab::Color, sjis("ｵﾘｰﾌﾞ")), std::nullopt);
    EXPECT_EQ(vocab::lookup(Vocab::ControlKind, sjis("ﾁｪｯｸﾎﾞｯｸｽ")), std::nullopt);
}

TEST(Vocabularies, InvalidValuesHaveTheStatementsMessages) {
    struct Case {
        Vocab id;
        std::optional<Msg> message;
    };
    constexpr Case kCases[] = {
        {Vocab::Color, Msg::BadColor},           {Vocab::GradientKind, Msg::BadGradation},
        {Vocab::BorderStyle, Msg::BadBorder},    {Vocab::FontStyle, Msg::BadFont},
        {Vocab::Alignment, Msg::BadAlign},       {Vocab::NumberFormat, Msg::BadFormat},
        {Vocab::ChartType, Msg::BadGraph},       {Vocab::ValidationKind, Msg::BadValidation},
        {Vocab::ControlKind, Msg::BadControl},   {Vocab::SparklinePoint, Msg::BadSparkline},
        {Vocab::YesNo, Msg::UnsupportedKeyword}, {Vocab::Autoshape, Msg::BadAutoshape},
        {Vocab::FillPattern, std::nullopt},      {Vocab::ArrowSize, std::nullopt},
        {Vocab::PaperSize, std::nullopt},        {Vocab::ShapeEffect, std::nullopt},
    };
    for (const Case& c : kCases) EXPECT_EQ(vocab::vocabulary(c.id).invalid, c.message) << vocab::vocabulary(c.id).name;
}

TEST(Vocabularies, YesAndNo) {
    EXPECT_EQ(vocab::yes_no("TRUE"), true);
    EXPECT_EQ(vocab::yes_no("true"), true);
    EXPECT_EQ(vocab::yes_no(sjis("する")), true);
    EXPECT_EQ(vocab::yes_no("False"), false);
    EXPECT_EQ(vocab::yes_no(sjis("しない")), false);
    EXPECT_EQ(vocab::yes_no("YES"), std::nullopt);
}

TEST(Colors, WordsDigitsAndNone) {
    struct Case {
        const char* value;
        int32_t code;
        uint32_t rgb;
    };
    constexpr Case kCases[] = {
        {"red", 11, 0xFF0000},      {"RED", 11, 0xFF0000},       {"赤", 11, 0xFF0000},
        {"赤色", 11, 0xFF0000},     {"黄緑色", 13, 0x00FF00},     {"light_magenta", 36, 0xFFCCFF},
        {"#ff8000", vocab::kColorRgb, 0xFF8000}, {"FF8000", vocab::kColorRgb, 0xFF8000},
        {"#ff80", vocab::kColorInvalid, 0},       {"#GG8000", vocab::kColorInvalid, 0},
        {"FF80001", vocab::kColorInvalid, 0},     {"NONE", vocab::kColorNone, 0},
        {"なし", vocab::kColorNone, 0},           {"なし色", vocab::kColorInvalid, 0},
        {"ピンク", vocab::kColorInvalid, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.value);
        vocab::ColorValue got = vocab::color(sjis(c.value));
        EXPECT_EQ(got.code, c.code);
        EXPECT_EQ(got.is_color(), c.code >= 0 || c.code == vocab::kColorRgb);
        uint32_t rgb = (uint32_t{got.red} << 16) | (uint32_t{got.green} << 8) | got.blue;
        EXPECT_EQ(rgb, c.rgb);
    }
    EXPECT_EQ(vocab::color("#ff8000").ref(), model::rgb(0xFF, 0x80, 0x00));
    EXPECT_EQ(vocab::color("red").ref(), (model::ColorRef{11}));
    EXPECT_EQ(vocab::color("red").ref_with_bytes(), (model::ColorRef{11, 0xFF, 0, 0}));
}

// The vocabularies and the writers agree on the tokens both know.
TEST(Vocabularies, AgreeWithTheStyleWriter) {
    for (const vocab::VocabWord& word : vocab::vocabulary(Vocab::Color).words) {
        if (word.code >= 0) {
            EXPECT_EQ(writer::palette_hex(word.code), word.token) << word.english;
        }
    }
    for (const vocab::VocabWord& word : vocab::vocabulary(Vocab::FillPattern).words)
        EXPECT_EQ(writer::pattern_name(word.code), word.english);
    for (const vocab::VocabWord& word : vocab::vocabulary(Vocab::BorderStyle).words)
        EXPECT_EQ(writer::border_style_name(word.code), word.english);
}

TEST(Vocabularies, CellWordsOfNote) {
    EXPECT_EQ(vocab::lookup(Vocab::BorderStyle, sjis("二重線")), 6);
    EXPECT_EQ(vocab::lookup(Vocab::BorderStyle, sjis("２重線")), 6);
    EXPECT_EQ(vocab::lookup(Vocab::Alignment, sjis("左")), 21);
    EXPECT_EQ(vocab::lookup(Vocab::Alignment, sjis("中")), 22);
    EXPECT_EQ(vocab::lookup(Vocab::FontStyle, "Bold_Italic_Underline"), 7);
    EXPECT_EQ(vocab::lookup(Vocab::FillPattern, sjis("12.5%灰色")), 5);
    EXPECT_EQ(vocab::lookup(Vocab::GradientKind, sjis("中央から")), 5);
}

TEST(FontNames, WordsGiveCodesAndOtherTextIsTheCallersOwn) {
    vocab::FontNameValue mincho = vocab::font_name(vocab::ValueText(enc::kUtf8, "明朝"));
    EXPECT_EQ(mincho.code, 20);
    EXPECT_EQ(mincho.name, "");
    EXPECT_EQ(writer::font_name(mincho.code), "ＭＳ Ｐ明朝");

    vocab::FontNameValue meiryo = vocab::font_name(vocab::ValueText(enc::kUtf8, "Meiryo"));
    EXPECT_EQ(meiryo.code, model::kOwnFontName);
    EXPECT_EQ(meiryo.name, "Meiryo");

    // Characters that code page 932 cannot hold survive from a UTF-8 book.
    const std::string own = "Café 🍣 体";
    vocab::FontNameValue utf8 = vocab::font_name(vocab::ValueText(enc::kUtf8, own));
    EXPECT_EQ(utf8.code, model::kOwnFontName);
    EXPECT_EQ(utf8.name, own);

    vocab::FontNameValue from_sjis = vocab::font_name(vocab::ValueText(enc::kShiftJis, sjis("游ゴシック")));
    EXPECT_EQ(from_sjis.name, "游ゴシック");
    EXPECT_EQ(vocab::font_name(vocab::ValueText(enc::kShiftJis, sjis("フォント2"))).code, 101);
    EXPECT_EQ(vocab::font_name(vocab::ValueText(enc::kShiftJis, sjis("フォント２"))).code, model::kOwnFontName);
}

TEST(ValueTexts, KeepTheWrittenFormBesideTheComparedForm) {
    vocab::ValueText value(enc::kUtf8, "é赤");
    EXPECT_EQ(value.written(), "é赤");
    EXPECT_EQ(value.sjis(), "?" + sjis("赤"));
    EXPECT_EQ(value.utf8(), "é赤");
    vocab::ValueText euc(enc::kEucJp, enc::conv_charset(enc::kUtf8, enc::kEucJp, "赤色"));
    EXPECT_EQ(vocab::color(euc.sjis()).code, 11);
    EXPECT_EQ(euc.utf8(), "赤色");
}

TEST(NumberFormats, WordsAndCountedWords) {
    struct Case {
        const char* value;
        std::optional<int32_t> kind;
        std::optional<int32_t> decimals;
    };
    const Case kCases[] = {
        {"小数点以下[2]", 109, 2},          {"小数点以下[0]", 109, 0},
        {"小数点以下[30]", 109, 30},        {"パーセント小数点以下[1]", 501, 1},
        {"カンマ小数点以下[3]", 107, 3},    {"コンマ小数点以下[3]", 107, 3},
        {"パーセント", 501, std::nullopt},  {"カンマ", 107, std::nullopt},
        {"コンマ", 107, std::nullopt},      {"赤マイナス", 104, std::nullopt},
        {"西暦", 333, std::nullopt},        {"全角桁区切り", 515, std::nullopt},
        {"文字列", vocab::kFormatText, std::nullopt},
        {"小数点以下[31]", std::nullopt, std::nullopt}, {"小数点以下[-1]", std::nullopt, std::nullopt},
        {"小数点以下[]", std::nullopt, std::nullopt},   {"小数点以下[2", std::nullopt, std::nullopt},
        {"小数点以下[2]x", std::nullopt, std::nullopt}, {"小数点以下", std::nullopt, std::nullopt},
        {"パーセント[2]", std::nullopt, std::nullopt},  {"日付[2]", std::nullopt, std::nullopt},
        {"[2]", std::nullopt, std::nullopt},            {"通貨", std::nullopt, std::nullopt},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.value);
        auto got = vocab::number_format(sjis(c.value));
        ASSERT_EQ(got.has_value(), c.kind.has_value());
        if (!got) continue;
        EXPECT_EQ(got->kind, *c.kind);
        EXPECT_EQ(got->decimals, c.decimals);
    }
}

TEST(TableStyles, EveryStyleInBothSpellings) {
    size_t styles = 0;
    for (const vocab::TableStyleFamily& family : vocab::table_style_families()) {
        for (int32_t number = 1; number <= family.count; ++number, ++styles) {
            const std::string digits = std::to_string(number);
            for (const std::string& value : {std::string(family.english) + digits, lower(family.english) + digits,
                                             sjis(family.japanese) + digits}) {
                SCOPED_TRACE(value);
                auto got = vocab::table_style(value);
                ASSERT_TRUE(got.has_value());
                EXPECT_EQ(got->family, family.family);
                EXPECT_EQ(got->number, number);
            }
        }
    }
    EXPECT_EQ(styles, 60u);
    for (std::string_view bad : {"Light22", "Medium29", "Dark12", "Light0", "Light01", "Light", "Medium1x", "淡色１", "1"})
        EXPECT_EQ(vocab::table_style(sjis(bad)), std::nullopt) << bad;
}

TEST(Autoshapes, KindsPresetsAndNames) {
    std::set<int32_t> codes;
    for (const vocab::VocabWord& word : vocab::vocabulary(Vocab::Autoshape).words) {
        codes.insert(word.code);
        EXPECT_FALSE(word.token.empty()) << word.english;
    }
    EXPECT_EQ(codes.size(), 67u);
    EXPECT_EQ(vocab::lookup(Vocab::Autoshape, sjis("Ｕターン矢印")), 510);
    EXPECT_EQ(vocab::lookup(Vocab::Autoshape, "STAR"), 704);
    EXPECT_EQ(vocab::word_of_code(Vocab::Autoshape, 704)->token, "star5");
    EXPECT_EQ(vocab::word_of_code(Vocab::Autoshape, 930)->token, "flowChartInputOutput");
    EXPECT_EQ(vocab::word_of_code(Vocab::Autoshape, 962)->token, "flowChartOr");
    EXPECT_EQ(vocab::word_of_code(Vocab::Autoshape, 303)->japanese[0], "縦書きテキストボックス");
    // Presets read back from a file give the first shape drawn with them.
    EXPECT_EQ(vocab::word_of_token(Vocab::Autoshape, "rect")->code, 301);
    EXPECT_EQ(vocab::word_of_token(Vocab::Autoshape, "smileyFace")->code, 706);
    EXPECT_EQ(vocab::word_of_token(Vocab::Autoshape, "flowChartMagneticDrum")->code, 937);
    EXPECT_EQ(vocab::word_of_token(Vocab::Autoshape, "pentagon"), nullptr);
}

TEST(Vocabularies, ShapeAndChartWordsOfNote) {
    EXPECT_EQ(vocab::lookup(Vocab::LineDash, sjis("丸点線")), 1);
    EXPECT_EQ(vocab::lookup(Vocab::LineDash, "none"), vocab::kNoLine);
    EXPECT_EQ(vocab::word_of_code(Vocab::LineDash, 7)->token, "lgDashDotDot");
    EXPECT_EQ(vocab::lookup(Vocab::ArrowHead, "HUGE"), std::nullopt);
    EXPECT_EQ(vocab::lookup(Vocab::ArrowSize, "HUGE"), std::nullopt);
    EXPECT_EQ(vocab::word_of_code(Vocab::ArrowHead, 3)->token, "diamond");
    EXPECT_EQ(vocab::lookup(Vocab::ShapeEffect, sjis("標準スタイル１２")), 12);
    EXPECT_EQ(vocab::lookup(Vocab::ShapeEffect, "standard_style7"), 7);
    EXPECT_EQ(vocab::lookup(Vocab::ShapeFillKind, sjis("なし")), vocab::kNoFill);
    EXPECT_EQ(vocab::lookup(Vocab::ShapeRotation, sjis("左右反転")), vocab::kFlipHorizontal);
    EXPECT_EQ(vocab::word_of_code(Vocab::ControlKind, 2)->token, "Radio");
    EXPECT_EQ(vocab::lookup(Vocab::ChartType, "BAR_VERITICAL"), 1000);
    EXPECT_EQ(vocab::lookup(Vocab::ChartType, "BAR_VERTICAL"), 1000);
    EXPECT_EQ(vocab::lookup(Vocab::ChartType, "bar_pyramlid_horizontal"), 1140);
    EXPECT_EQ(vocab::lookup(Vocab::ChartType, "BAR_PYRAMID_HORIZONTAL"), 1140);
    EXPECT_EQ(vocab::lookup(Vocab::SparklinePoint, sjis("なし")), 0);
    EXPECT_EQ(vocab::lookup(Vocab::ValidationOperator, sjis("次の値より以下")), 7);
    EXPECT_EQ(vocab::lookup(Vocab::PaperSize, "b4"), 14);
    EXPECT_EQ(vocab::lookup(Vocab::PaperSize, "LETTER"), std::nullopt);
    EXPECT_EQ(vocab::lookup(Vocab::Orientation, sjis("横")), 1);
    EXPECT_EQ(vocab::lookup(Vocab::SheetOrder, sjis("逆")), 1);
}

}  // namespace
}  // namespace tova
