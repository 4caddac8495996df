// Comparisons that ignore the case of ASCII letters only, as keywords,
// file endings and sheet names are compared (bytes of multibyte characters
// are never letters, so they compare exactly).
#pragma once

#include <string_view>

namespace tova {

constexpr char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

constexpr bool equals_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    return true;
}

constexpr bool ends_with_ignoring_case(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && equals_ignoring_case(text.substr(text.size() - ending.size()), ending);
}

}  // namespace tova
