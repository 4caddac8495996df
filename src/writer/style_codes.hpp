// The small codes the style registry keeps and the XML values they stand for:
// palette colours, fill patterns, border lines, font names, number formats.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tova::model {
struct ColorRef;
}

namespace tova::writer {

// A palette code as six upper-case hexadecimal digits (000000 for unknown codes).
std::string palette_hex(int32_t code);

// Three RGB bytes as six upper-case hexadecimal digits.
std::string rgb_hex(const uint8_t rgb[3]);

// A palette code as six lower-case hexadecimal digits, as pattern colours are written.
std::string palette_hex_lower(int32_t code);

// A colour value as six upper-case hexadecimal digits: its RGB bytes for
// model::kExplicitRgb, else the palette colour of its code.
std::string color_hex(const model::ColorRef& color);

// The palette colour's red, green and blue.
void palette_rgb(int32_t code, uint8_t rgb[3]);

// patternType of a pattern code ("none" for unknown codes).
std::string_view pattern_name(int32_t code);

// style of a border line code (non-zero unknown codes are "thin").
std::string_view border_style_name(int32_t code);

// The UTF-8 name of a built-in font code (the default font for unknown codes).
std::string_view font_name(int32_t code);

// The custom number format a display kind is written as.
struct NumberFormatCode {
    std::string code;           // the format code, not yet escaped
    bool spaced_close = false;  // the element ends in `" />` rather than `"/>`
};

// The format code of a kind with its decimal places filled in; nullopt for the
// kinds that stand for built-in formats (100, 200, 300, 404) and need no element.
std::optional<NumberFormatCode> number_format_code(uint16_t kind, int8_t decimals);

}  // namespace tova::writer
