#include "platform/utf8.hpp"

#include "platform/encoding.hpp"

namespace tova::enc {

void append_utf8(std::string& out, char32_t code) {
    auto put = [&](unsigned value) { out += static_cast<char>(value); };
    if (code < 0x80) {
        put(code);
    } else if (code < 0x800) {
        put(0xC0 | (code >> 6));
        put(0x80 | (code & 0x3F));
    } else if (code >= 0xD800 && code <= 0xDFFF) {
        out += kReplacementUtf8;
    } else if (code < 0x10000) {
        put(0xE0 | (code >> 12));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    } else if (code <= 0x10FFFF) {
        put(0xF0 | (code >> 18));
        put(0x80 | ((code >> 12) & 0x3F));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    } else {
        out += kReplacementUtf8;
    }
}

std::string utf16be_to_utf8(std::string_view bytes) {
    const size_t units = bytes.size() / 2;
    auto unit = [&](size_t i) -> char32_t {
        return (static_cast<unsigned char>(bytes[2 * i]) << 8) | static_cast<unsigned char>(bytes[2 * i + 1]);
    };
    auto is_high = [](char32_t u) { return u >= 0xD800 && u <= 0xDBFF; };
    auto is_low = [](char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; };

    std::string out;
    out.reserve(units * 3);
    for (size_t i = 0; i < units; ++i) {
        char32_t u = unit(i);
        if (u == 0) break;
        if (is_high(u) && i + 1 < units && is_low(unit(i + 1))) {
            u = 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        }
        append_utf8(out, u);  // a lone surrogate comes out as U+FFFD
    }
    return out;
}

}  // namespace tova::enc
