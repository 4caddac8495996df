// Provisional: minimal conversions so the skeleton links. Replaced by the full implementation.
#include "platform/encoding.hpp"

#include <iconv.h>

#include <cctype>

namespace tova::enc {

int trail_bytes(int charset, unsigned char b) {
    switch (charset) {
        case kShiftJis: return ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ? 1 : 0;
        case kEucJp: return (b >= 0xA1 && b <= 0xFE) || b == 0x8E ? 1 : 0;
        case kUtf8: return b >= 0xF0 && b <= 0xF7 ? 3 : b >= 0xE0 && b <= 0xEF ? 2 : b >= 0xC0 && b <= 0xDF ? 1 : 0;
        case kUtf16Be: return b >= 0xD8 && b <= 0xDB ? 3 : 1;
        default: return 0;
    }
}

int mb_trail_bytes(int charset, unsigned char byte, size_t& position) {
    int n = trail_bytes(charset, byte);
    position += n;
    return n;
}

size_t char_boundary(int charset, std::string_view text, size_t max_bytes) {
    size_t i = 0, keep = 0;
    while (i < text.size()) {
        size_t next = i + 1 + trail_bytes(charset, static_cast<unsigned char>(text[i]));
        if (next > text.size() || next > max_bytes) break;
        keep = i = next;
    }
    return keep;
}

static std::string iconv_convert(const char* to, const char* from, std::string_view text) {
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1) return std::string(text);
    std::string out(text.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    size_t in_left = text.size();
    char* o = out.data();
    size_t out_left = out.size();
    while (in_left > 0) {
        if (iconv(cd, &in, &in_left, &o, &out_left) == (size_t)-1) {
            ++in;
            --in_left;
            if (out_left > 0) {
                *o++ = '?';
                --out_left;
            }
        }
    }
    iconv_close(cd);
    out.resize(out.size() - out_left);
    return out;
}

std::string conv_charset(int from, int to, std::string_view text) {
    if (from == to) return std::string(text);
    if (from == kUtf8 && to == kShiftJis) return iconv_convert("CP932", "UTF-8", text);
    if (from == kShiftJis && to == kUtf8) return iconv_convert("UTF-8", "CP932", text);
    return std::string(text);
}

}  // namespace tova::enc

namespace tova::enc {
size_t utf8_char_count(std::string_view text) {
    size_t n = 0;
    for (size_t i = 0; i < text.size(); ++i, ++n) i += trail_bytes(kUtf8, static_cast<unsigned char>(text[i]));
    return n;
}
}  // namespace tova::enc

namespace tova::enc {
int upper_unquoted(int charset, std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        size_t before = i;
        mb_trail_bytes(charset, static_cast<unsigned char>(text[i]), i);
        if (i == before && text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 0x20);
    }
    return 0;
}
void xml_escape_append(std::string& out, std::string_view text, int) { out.append(text); }
std::string xml_unescape(std::string_view text) { return std::string(text); }
int xml_escape(int, std::string&) { return 0; }
bool is_hex_text(std::string_view text) {
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}
void split_path(int, std::string& path, std::string& directory) {
    size_t at = path.find_last_of("/\\");
    if (at == std::string::npos || at == 0) { directory.clear(); return; }
    directory = path.substr(0, at);
    path = path.substr(at + 1);
}
}  // namespace tova::enc
