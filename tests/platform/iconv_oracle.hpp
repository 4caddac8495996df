// glibc iconv used directly, as the reference the converters are judged by.
#pragma once

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

namespace tova::test {

// The whole text converted, or nothing when iconv rejects any of it.
inline std::optional<std::string> iconv_strict(const char* to, const char* from, std::string_view text) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(text.size() * 4 + 8, '\0');
    char* in = const_cast<char*>(text.data());
    size_t in_left = text.size();
    char* produced = out.data();
    size_t room = out.size();
    size_t result = iconv(cd, &in, &in_left, &produced, &room);
    iconv_close(cd);
    if (result == static_cast<size_t>(-1)) return std::nullopt;
    out.resize(out.size() - room);
    return out;
}

// Hexadecimal bytes, to name a failing case.
inline std::string hex_bytes(std::string_view text) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (!out.empty()) out += ' ';
        out += kDigits[c >> 4];
        out += kDigits[c & 0xF];
    }
    return out;
}

}  // namespace tova::test
