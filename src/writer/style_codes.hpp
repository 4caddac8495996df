// The small codes the style registry keeps and the XML values they stand for:
// palette colours, fill patterns, border lines, font names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tova::writer {

// A palette code as six upper-case hexadecimal digits (000000 for unknown codes).
std::string palette_hex(int32_t code);

// Three RGB bytes as six upper-case hexadecimal digits.
std::string rgb_hex(const uint8_t rgb[3]);

// The palette colour's red, green and blue.
void palette_rgb(int32_t code, uint8_t rgb[3]);

// patternType of a pattern code ("none" for unknown codes).
std::string_view pattern_name(int32_t code);

// style of a border line code (non-zero unknown codes are "thin").
std::string_view border_style_name(int32_t code);

// The UTF-8 name of a built-in font code (the default font for unknown codes).
std::string_view font_name(int32_t code);

}  // namespace tova::writer
