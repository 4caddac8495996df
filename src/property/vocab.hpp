// The value vocabularies of property statements: colours, line styles, chart
// types and the other words a value may be, each with the code the book keeps.
//
// Every lookup takes the value in Shift-JIS (the form the words are compared
// in: English without regard to ASCII case, Japanese byte for byte), with one
// pair of enclosing double quotes already removed. A statement that stores the
// value as text takes it from ValueText::utf8(), never from the Shift-JIS form,
// so characters outside code page 932 survive.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "api/messages.hpp"
#include "model/styles.hpp"

namespace tova::vocab {

// A statement value as the caller wrote it, with the Shift-JIS form the vocabularies compare.
class ValueText {
public:
    ValueText(int charset, std::string_view written);
    std::string_view written() const { return written_; }
    int charset() const { return charset_; }
    const std::string& sjis() const { return sjis_; }
    // The caller's text in UTF-8, converted from the written form.
    std::string utf8() const;

private:
    int charset_;
    std::string written_;
    std::string sjis_;
};

// One word of a vocabulary.
struct VocabWord {
    int32_t code;
    std::string_view english;                    // empty: the word has no English spelling
    std::array<std::string_view, 3> japanese{};  // UTF-8; empty slots unused
    std::string_view token{};                    // what the writers put in the file, where the vocabulary fixes it
};

enum class Vocab : uint8_t {
    YesNo,               // TRUE/する 1, FALSE/しない 0
    Color,               // palette codes (token: RRGGBB) and NONE; see color() for #rrggbb
    FillPattern,         // FILL.PATTERN.NAME: 0-18
    GradientKind,        // FILL.GRADATION.KIND, chart gradients: 0-5
    BorderStyle,         // BORDER...: line style codes
    FontStyle,           // FONT.STYLE: style bits (model::kItalic, kBold, kUnderline)
    FontName,            // FONT.NAME: the built-in font codes; see font_name()
    Alignment,           // ALIGN, TEXT.ALIGN, SHADOW.ALIGN: tens vertical, units horizontal
    NumberFormat,        // FORMAT words without a count; kFormatText for 文字列
    CountedFormat,       // FORMAT words written with [n]; see number_format()
    LineDash,            // AUTOSHAPE.LINE.STYLE: 0-7 (token: the dash), NONE kNoLine
    ArrowHead,           // AUTOSHAPE.ARROW.STYLE: 1-4 (token: the head)
    ArrowSize,           // AUTOSHAPE.ARROW.LENGTH|WIDTH: 1-3
    Autoshape,           // AUTOSHAPE: shape codes (token: the preset geometry)
    ShapeEffect,         // AUTOSHAPE.EFFECT: 3-D presets 1-12
    ShapeFillKind,       // AUTOSHAPE.FILL.KIND: 0 solid, 1 gradient, NONE kNoFill
    ShapeGradient,       // AUTOSHAPE.FILL.GRADATION.KIND: 0-3
    ShadowKind,          // AUTOSHAPE.SHADOW.KIND: 1 outer, 2 inner
    ShapeRotation,       // AUTOSHAPE.ROTATION words: kRotateRight90...
    ChartType,           // the first word of a CHART value
    LegendPosition,      // CHART.LEGEND.POSITION: 0-4
    DataLabel,           // CHART.DATA_LABEL: 1-4
    SparklineKind,       // SPARKLINE.KIND: 1-3
    SparklinePoint,      // SPARKLINE.DISPLAY: display flags, NONE 0 (clears them)
    ValidationKind,      // VALIDATION.KIND: 0-5
    ValidationOperator,  // VALIDATION.OPERATOR: 0-7
    ControlKind,         // CONTROL: 1-6 (token: the object type written)
    PaperSize,           // PAPER.SIZE: A0-A5 0-5, B1-B5 11-15
    Orientation,         // PAPER.ORIENTATION: 0 portrait, 1 landscape
    SheetView,           // SHEET.DISPLAY: 1 page layout, 2 page break preview
    SheetOrder,          // SHEET.ORDER: 0 ascending, 1 descending
};

struct Vocabulary {
    Vocab id;
    std::string_view name;
    std::span<const VocabWord> words;
    // What the statements report for a value outside the vocabulary; none where
    // such a value falls back to a default instead.
    std::optional<Msg> invalid;
};

// Every vocabulary, and one by its id.
std::span<const Vocabulary> vocabularies();
const Vocabulary& vocabulary(Vocab id);

// The first word of the vocabulary that the value is, or null; and its code.
const VocabWord* find_word(Vocab id, std::string_view sjis);
std::optional<int32_t> lookup(Vocab id, std::string_view sjis);

// The first word with this code or token, or null.
const VocabWord* word_of_code(Vocab id, int32_t code);
const VocabWord* word_of_token(Vocab id, std::string_view token);

std::optional<bool> yes_no(std::string_view sjis);

// Colours. A colour word gives its palette code, six hexadecimal digits (with
// or without "#") the explicit colour, NONE/なし no colour; anything else is
// invalid (Msg::BadColor).
constexpr int32_t kColorRgb = -1;
constexpr int32_t kColorNone = -2;
constexpr int32_t kColorInvalid = -9;

struct ColorValue {
    int32_t code = kColorInvalid;      // a palette code >= 0, or kColorRgb, kColorNone, kColorInvalid
    uint8_t red = 0, green = 0, blue = 0;  // the digits' colour, or the palette colour of a word

    bool is_color() const { return code >= 0 || code == kColorRgb; }
    // For a colour (is_color()) as cell formats keep it: a palette code alone, or kExplicitRgb with the bytes.
    model::ColorRef ref() const;
    // With the bytes beside a palette code too, as gradient stops keep it.
    model::ColorRef ref_with_bytes() const;
};
ColorValue color(std::string_view sjis);

// Fonts: a font-name word gives its code; any other text is the font's own name.
struct FontNameValue {
    int32_t code;      // a built-in code, or model::kOwnFontName
    std::string name;  // with kOwnFontName: the caller's text in UTF-8
};
FontNameValue font_name(const ValueText& value);

// Number formats (Msg::BadFormat when nullopt).
constexpr int32_t kFormatText = 0;   // 文字列: the cells hold text
constexpr int32_t kMaxDecimals = 30;
struct NumberFormatValue {
    int32_t kind;                    // display kind, or kFormatText
    std::optional<int32_t> decimals; // the [n] of 小数点以下[n] and the like, 0..kMaxDecimals
};
std::optional<NumberFormatValue> number_format(std::string_view sjis);

// Table styles: Light1-Light21, Medium1-Medium28, Dark1-Dark11 (淡色, 中間, 濃色).
struct TableStyle {
    int32_t family;  // 1 light, 2 medium, 3 dark
    int32_t number;
};
struct TableStyleFamily {
    int32_t family;
    std::string_view english;
    std::string_view japanese;
    int32_t count;
};
std::span<const TableStyleFamily> table_style_families();
std::optional<TableStyle> table_style(std::string_view sjis);

// Codes of words that stand for no line, no fill and the shape turns.
constexpr int32_t kNoLine = 0xFF;
constexpr int32_t kNoFill = -1;
constexpr int32_t kRotateRight90 = 1;
constexpr int32_t kRotateLeft90 = 2;
constexpr int32_t kFlipVertical = 3;
constexpr int32_t kFlipHorizontal = 4;

}  // namespace tova::vocab
