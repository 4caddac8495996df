// The trail-byte rule, the charset-aware scanners and the conversion routes.
#include "platform/encoding.hpp"

#include <algorithm>

namespace tova::enc {

int trail_bytes(int charset, unsigned char byte) {
    switch (charset) {
        case kShiftJis: return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC) ? 1 : 0;
        case kEucJp: return (byte >= 0xA1 && byte <= 0xFE) || byte == 0x8E ? 1 : 0;
        case kUtf8:
            if (byte >= 0xC0 && byte <= 0xDF) return 1;
            if (byte >= 0xE0 && byte <= 0xEF) return 2;
            if (byte >= 0xF0 && byte <= 0xF7) return 3;
            return 0;
        case kUtf16Be: return byte >= 0xD8 && byte <= 0xDB ? 3 : 1;
        default: return 0;
    }
}

int mb_trail_bytes(int charset, unsigned char byte, size_t& position) {
    int count = trail_bytes(charset, byte);
    position += static_cast<size_t>(count);
    return count;
}

size_t next_char(int charset, std::string_view text, size_t position) {
    if (position >= text.size()) return text.size();
    size_t next = position + 1 + static_cast<size_t>(trail_bytes(charset, static_cast<unsigned char>(text[position])));
    return std::min(next, text.size());
}

size_t char_boundary(int charset, std::string_view text, size_t max_bytes) {
    size_t keep = 0;
    while (keep < text.size()) {
        size_t next = keep + 1 + static_cast<size_t>(trail_bytes(charset, static_cast<unsigned char>(text[keep])));
        if (next > text.size() || next > max_bytes) break;
        keep = next;
    }
    return keep;
}

size_t utf8_char_count(std::string_view text) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); i = next_char(kUtf8, text, i)) ++count;
    return count;
}

namespace {

// Moves `position` past the quoted section that opens there. A doubled quote
// stands for itself when the quote can be doubled (apostrophes only).
int skip_quoted(int charset, std::string_view text, size_t& position, char quote, bool doubled_is_literal) {
    if (position >= text.size() || text[position] != quote) return 0;
    size_t i = position + 1;
    while (i < text.size()) {
        if (text[i] == quote) {
            if (doubled_is_literal && i + 1 < text.size() && text[i + 1] == quote) {
                i += 2;
                continue;
            }
            position = i + 1;
            return 0;
        }
        i = next_char(charset, text, i);
    }
    return -1;
}

}  // namespace

int skip_single_quoted(int charset, std::string_view text, size_t& position) {
    return skip_quoted(charset, text, position, '\'', true);
}

int skip_double_quoted(int charset, std::string_view text, size_t& position) {
    return skip_quoted(charset, text, position, '"', false);
}

int upper_unquoted(int charset, std::string& text) {
    size_t position = 0;
    while (position < text.size()) {
        // One single-quoted then one double-quoted section per step: a quote
        // right after a double-quoted section is taken as an ordinary byte.
        if (skip_single_quoted(charset, text, position) != 0) return -1;
        if (skip_double_quoted(charset, text, position) != 0) return -1;
        if (position >= text.size()) break;
        char& c = text[position];
        if (trail_bytes(charset, static_cast<unsigned char>(c)) == 0 && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - ('a' - 'A'));
        position = next_char(charset, text, position);
    }
    return 0;
}

void split_path(int charset, std::string& path, std::string& directory) {
    size_t separator = std::string::npos;
    for (size_t i = 0; i < path.size(); i = next_char(charset, path, i))
        if (path[i] == '/' || path[i] == '\\') separator = i;
    if (separator == std::string::npos || separator == 0) {
        directory.clear();
        return;
    }
    directory.assign(path, 0, separator);
    path.erase(0, separator + 1);
}

int swap_utf16(char* buffer, size_t length) {
    if (length % 2 != 0) return -1;
    for (size_t i = 0; i < length; i += 2) std::swap(buffer[i], buffer[i + 1]);
    return 0;
}

int nbsp_to_space16(char* buffer, size_t length) {
    if (length % 2 != 0) return -1;
    for (size_t i = 0; i < length; i += 2)
        if (static_cast<unsigned char>(buffer[i]) == 0xA0 && buffer[i + 1] == 0) buffer[i] = ' ';
    return 0;
}

bool is_hex_text(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
}

namespace {

using Step = std::string (*)(std::string_view);

// Every conversion goes through Shift-JIS or straight to UTF-8; EUC-JP is
// reached only from Shift-JIS.
struct Route {
    int from;
    int to;
    Step first;
    Step then;  // nullptr when one step suffices
};
constexpr Route kRoutes[] = {
    {kShiftJis, kEucJp, sjis_to_euc, nullptr},
    {kShiftJis, kUtf8, sjis_to_utf8, nullptr},
    {kEucJp, kShiftJis, euc_to_sjis, nullptr},
    {kEucJp, kUtf8, euc_to_sjis, sjis_to_utf8},
    {kUtf8, kShiftJis, utf8_to_sjis, nullptr},
    {kUtf8, kEucJp, utf8_to_sjis, sjis_to_euc},
    {kUtf16Be, kShiftJis, utf16be_to_sjis, nullptr},
    {kUtf16Be, kEucJp, utf16be_to_sjis, sjis_to_euc},
    {kUtf16Be, kUtf8, utf16be_to_utf8, nullptr},
};

}  // namespace

std::string conv_charset(int from, int to, std::string_view text) {
    for (const Route& route : kRoutes) {
        if (route.from != from || route.to != to) continue;
        std::string result = route.first(text);
        return route.then ? route.then(result) : result;
    }
    return std::string(text);
}

}  // namespace tova::enc
