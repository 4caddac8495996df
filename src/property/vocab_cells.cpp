// Vocabularies of cell formats: colours, fill patterns and gradients, border
// lines, font styles and names, alignments and number formats.
#include <algorithm>
#include <charconv>

#include "platform/encoding.hpp"
#include "property/vocab_themes.hpp"

namespace tova::vocab {
namespace {

// The token is the colour the writers emit after "FF".
constexpr VocabWord kColors[] = {
    {0, "BLACK", {"黒", "黒色"}, "000000"},
    {1, "GRAY", {"灰", "灰色"}, "808080"},
    {2, "SILVER", {"銀", "銀色"}, "C0C0C0"},
    {3, "WHITE", {"白", "白色"}, "FFFFFF"},
    {11, "RED", {"赤", "赤色"}, "FF0000"},
    {12, "YELLOW", {"黄", "黄色"}, "FFFF00"},
    {13, "LIME", {"黄緑", "黄緑色"}, "00FF00"},
    {14, "AQUA", {"水", "水色"}, "00FFFF"},
    {15, "BLUE", {"青", "青色"}, "0000FF"},
    {16, "FUCHSIA", {"赤紫", "赤紫色"}, "FF00FF"},
    {21, "MAROON", {"赤茶", "赤茶色"}, "800000"},
    {22, "OLIVE", {"オリーブ", "オリーブ色"}, "808000"},
    {23, "GREEN", {"緑", "緑色"}, "008000"},
    {24, "TEAL", {"青緑", "青緑色"}, "008080"},
    {25, "NAVY", {"紺", "紺色"}, "000080"},
    {26, "PURPLE", {"紫", "紫色"}, "800080"},
    {31, "LIGHT_RED", {"薄紅", "薄紅色"}, "FFCCCC"},
    {32, "LIGHT_YELLOW", {"肌", "肌色"}, "FFFFCC"},
    {33, "LIGHT_GREEN", {"若葉", "若葉色"}, "CCFFCC"},
    {34, "LIGHT_CYAN", {"淡水", "淡水色"}, "CCFFFF"},
    {35, "LIGHT_BLUE", {"藤", "藤色"}, "CCCCFF"},
    {36, "LIGHT_MAGENTA", {"桜", "桜色"}, "FFCCFF"},
    {kColorNone, "NONE", {"なし"}},
};

constexpr VocabWord kFillPatterns[] = {
    {0, "none", {"なし"}},
    {1, "solid", {"塗りつぶし"}},
    {2, "darkGray", {"75%灰色"}},
    {3, "mediumGray", {"50%灰色"}},
    {4, "lightGray", {"25%灰色"}},
    {5, "gray125", {"12.5%灰色"}},
    {6, "gray0625", {"6.25%灰色"}},
    {7, "darkHorizontal", {"横縞"}},
    {8, "darkVertical", {"縦縞"}},
    {9, "darkDown", {"右下がり斜線縞"}},
    {10, "darkUp", {"左下がり斜線縞"}},
    {11, "darkGrid", {"左下がり斜線格子"}},
    {12, "darkTrellis", {"極太線左下がり斜線格子"}},
    {13, "lightHorizontal", {"実線横縞"}},
    {14, "lightVertical", {"実線縦縞"}},
    {15, "lightDown", {"実線右下がり斜線縞"}},
    {16, "lightUp", {"実線左下がり斜線縞"}},
    {17, "lightGrid", {"実線横格子"}},
    {18, "lightTrellis", {"実線左下がり斜線格子"}},
};

constexpr VocabWord kGradientKinds[] = {
    {0, "HORIZONTAL", {"横"}},
    {1, "VERTICAL", {"縦"}},
    {2, "DIAG_R_TOP", {"右上対角線"}},
    {3, "DIAG_R_BOTTOM", {"右下対角線"}},
    {4, "CORNER", {"角から"}},
    {5, "CENTER", {"中央から"}},
};

constexpr VocabWord kBorderStyles[] = {
    {1, "thin", {"実線"}},
    {2, "hair", {"細線"}},
    {3, "thick", {"太線"}},
    {4, "dotted", {"点線"}},
    {5, "medium", {"中太線"}},
    {6, "double", {"２重線", "二重線"}},
    {11, "dashed", {"破線"}},
    {12, "dashDot", {"一点鎖線"}},
    {13, "dashDotDot", {"二点鎖線"}},
    {21, "mediumDashed", {"中破線"}},
    {22, "mediumDashDot", {"中鎖線"}},
    {23, "mediumDashDotDot", {"中二点鎖線"}},
    {31, "slantDashDot", {"斜二点鎖線"}},
};

constexpr VocabWord kFontStyles[] = {
    {0, "regular", {"標準"}},
    {model::kUnderline, "underline", {"下線"}},
    {model::kUnderline, "regular_underline", {"標準下線"}},
    {model::kItalic, "italic", {"斜体"}},
    {model::kItalic | model::kUnderline, "italic_underline", {"斜体下線"}},
    {model::kBold, "bold", {"強調"}},
    {model::kBold | model::kUnderline, "bold_underline", {"強調下線"}},
    {model::kBold | model::kItalic, "bold_italic", {"強調斜体"}},
    {model::kBold | model::kItalic | model::kUnderline, "bold_italic_underline", {"強調斜体下線"}},
};

// The styles writer names the fonts of these codes (writer::font_name).
constexpr VocabWord kFontNames[] = {
    {10, {}, {"ゴシック"}},
    {20, {}, {"明朝"}},
    {31, {}, {"ポップ"}},
    {32, {}, {"教科書"}},
    {33, {}, {"行書"}},
    {100, {}, {"フォント1"}},
    {101, {}, {"フォント2"}},
    {102, {}, {"フォント3"}},
};

constexpr VocabWord kAlignments[] = {
    {11, "TOP_LEFT", {"左上"}},
    {12, "TOP_CENTER", {"中上"}},
    {13, "TOP_RIGHT", {"右上"}},
    {21, "CENTER_LEFT", {"左中", "左"}},
    {22, "CENTER_CENTER", {"中中", "中"}},
    {23, "CENTER_RIGHT", {"右中", "右"}},
    {31, "BOTTOM_LEFT", {"左下"}},
    {32, "BOTTOM_CENTER", {"中下"}},
    {33, "BOTTOM_RIGHT", {"右下"}},
};

constexpr VocabWord kNumberFormats[] = {
    {501, {}, {"パーセント"}},
    {107, {}, {"カンマ", "コンマ"}},
    {104, {}, {"赤マイナス"}},
    {302, {}, {"日付"}},
    {303, {}, {"日時"}},
    {402, {}, {"時刻"}},
    {404, {}, {"時分秒"}},
    {333, {}, {"年月日", "西暦"}},
    {331, {}, {"月日"}},
    {335, {}, {"和暦"}},
    {201, {}, {"円"}},
    {202, {}, {"赤円"}},
    {510, {}, {"郵便番号"}},
    {511, {}, {"正負記号"}},
    {512, {}, {"漢数字"}},
    {513, {}, {"大字"}},
    {514, {}, {"全角"}},
    {515, {}, {"全角桁区切り"}},
    {kFormatText, {}, {"文字列"}},
};

// Written with a count of decimal places in square brackets: 小数点以下[2].
constexpr VocabWord kCountedFormats[] = {
    {109, {}, {"小数点以下"}},
    {501, {}, {"パーセント小数点以下"}},
    {107, {}, {"カンマ小数点以下", "コンマ小数点以下"}},
};

constexpr Vocabulary kCellVocabularies[] = {
    {Vocab::Color, "colour", kColors, Msg::BadColor},
    {Vocab::FillPattern, "fill pattern", kFillPatterns, std::nullopt},
    {Vocab::GradientKind, "gradient kind", kGradientKinds, Msg::BadGradation},
    {Vocab::BorderStyle, "border style", kBorderStyles, Msg::BadBorder},
    {Vocab::FontStyle, "font style", kFontStyles, Msg::BadFont},
    {Vocab::FontName, "font name", kFontNames, std::nullopt},
    {Vocab::Alignment, "alignment", kAlignments, Msg::BadAlign},
    {Vocab::NumberFormat, "number format", kNumberFormats, Msg::BadFormat},
    {Vocab::CountedFormat, "number format with decimals", kCountedFormats, Msg::BadFormat},
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

uint8_t hex_byte(std::string_view two_digits) {
    unsigned value = 0;
    std::from_chars(two_digits.data(), two_digits.data() + 2, value, 16);
    return static_cast<uint8_t>(value);
}

ColorValue with_rgb(int32_t code, std::string_view six_digits) {
    return {code, hex_byte(six_digits.substr(0, 2)), hex_byte(six_digits.substr(2, 2)), hex_byte(six_digits.substr(4, 2))};
}

// The count of 小数点以下[n]: one or two digits, at most kMaxDecimals.
std::optional<int32_t> decimal_count(std::string_view digits) {
    if (digits.empty() || digits.size() > 2 || !std::all_of(digits.begin(), digits.end(), is_digit)) return std::nullopt;
    int32_t count = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), count);
    if (count > kMaxDecimals) return std::nullopt;
    return count;
}

}  // namespace

std::span<const Vocabulary> cell_vocabularies() { return kCellVocabularies; }

model::ColorRef ColorValue::ref() const {
    return code == kColorRgb ? model::rgb(red, green, blue) : model::ColorRef{static_cast<uint32_t>(code)};
}

model::ColorRef ColorValue::ref_with_bytes() const {
    return {code == kColorRgb ? model::kExplicitRgb : static_cast<uint32_t>(code), red, green, blue};
}

ColorValue color(std::string_view sjis) {
    if (const VocabWord* word = find_word(Vocab::Color, sjis))
        return word->token.empty() ? ColorValue{word->code} : with_rgb(word->code, word->token);
    if (!sjis.empty() && sjis.front() == '#') sjis.remove_prefix(1);
    if (sjis.size() == 6 && enc::is_hex_text(sjis)) return with_rgb(kColorRgb, sjis);
    return ColorValue{};
}

FontNameValue font_name(const ValueText& value) {
    if (auto code = lookup(Vocab::FontName, value.sjis())) return {*code, {}};
    return {model::kOwnFontName, value.utf8()};
}

std::optional<NumberFormatValue> number_format(std::string_view sjis) {
    if (auto kind = lookup(Vocab::NumberFormat, sjis)) return NumberFormatValue{*kind, std::nullopt};
    // "[" may be the second byte of a Shift-JIS character, so it is looked for character by character.
    size_t open = 0;
    while (open < sjis.size() && sjis[open] != '[') open = enc::next_char(enc::kShiftJis, sjis, open);
    if (open >= sjis.size() || sjis.back() != ']') return std::nullopt;
    auto kind = lookup(Vocab::CountedFormat, sjis.substr(0, open));
    auto count = decimal_count(sjis.substr(open + 1, sjis.size() - open - 2));
    if (!kind || !count) return std::nullopt;
    return NumberFormatValue{*kind, *count};
}

}  // namespace tova::vocab
