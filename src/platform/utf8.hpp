// UTF-8 one character at a time, shared by the converters and the XML escaper.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tova::enc {

inline constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

struct Utf8Char {
    char32_t code;  // meaningful only when valid
    size_t length;  // bytes consumed, at least 1
    bool valid;
};

// Decodes the sequence at `at` (which must be inside the text). An invalid
// sequence reports the length of its maximal valid prefix, or 1, so that each
// invalid piece stands for exactly one replacement character: overlong forms,
// surrogates and values above U+10FFFF never decode.
inline Utf8Char decode_utf8(std::string_view text, size_t at) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    if (lead < 0x80) return {lead, 1, true};
    size_t trail;
    char32_t code;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        trail = 1;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trail = 2;
        code = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trail = 3;
        code = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {0, 1, false};
    }
    for (size_t i = 1; i <= trail; ++i) {
        if (at + i >= text.size() || byte(at + i) < low || byte(at + i) > high) return {0, i, false};
        code = (code << 6) | (byte(at + i) & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return {code, trail + 1, true};
}

// Appends the UTF-8 form of a code point; a surrogate or a value above
// U+10FFFF appends U+FFFD.
void append_utf8(std::string& out, char32_t code);

}  // namespace tova::enc
