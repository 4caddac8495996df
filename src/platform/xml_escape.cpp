// XML character data: escaping on the way into a package part, decoding on
// the way out. Text that reads like an _xHHHH_ escape is protected with an
// escaped underscore so that a spreadsheet application reads it back literally.
#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/encoding.hpp"
#include "platform/utf8.hpp"

namespace tova::enc {
namespace {

struct Entity {
    char character;
    std::string_view text;
};
constexpr Entity kEntities[] = {
    {'<', "&lt;"}, {'>', "&gt;"}, {'&', "&amp;"}, {'"', "&quot;"}, {'\'', "&apos;"},
};

constexpr std::string_view kTabReference = "&#x9;";
constexpr std::string_view kLineFeedReference = "&#xA;";
constexpr std::string_view kCarriageReturnReference = "&#xD;";
constexpr std::string_view kUnderscoreEscape = "_x005F";  // the closing underscore follows

enum ByteKind : uint8_t { kPlain, kSpecial, kMultibyte };

constexpr std::array<ByteKind, 256> kByteKinds = [] {
    std::array<ByteKind, 256> kinds{};
    for (int c = 0; c < 0x20; ++c) kinds[c] = kSpecial;
    for (const Entity& entity : kEntities) kinds[static_cast<unsigned char>(entity.character)] = kSpecial;
    kinds['_'] = kSpecial;
    for (int c = 0x80; c < 0x100; ++c) kinds[c] = kMultibyte;
    return kinds;
}();

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The code of an _xHHHH_ escape that starts at `at`, or -1.
long underscore_escape_at(std::string_view text, size_t at) {
    if (text.size() - at < 7 || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_') return -1;
    if (!is_hex_text(text.substr(at + 2, 4))) return -1;
    long code = 0;
    for (size_t i = at + 2; i < at + 6; ++i) code = code * 16 + hex_value(text[i]);
    return code;
}

void append_underscore_escape(std::string& out, char32_t code) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    out += "_x";
    for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(code >> shift) & 0xF];
    out += '_';
}

// Valid Unicode that XML 1.0 still does not allow in character data.
bool is_xml_noncharacter(char32_t code) { return code == 0xFFFE || code == 0xFFFF; }

// Writes the escaped form of the ASCII byte at `at`; returns the bytes consumed.
size_t escape_special(std::string& out, std::string_view text, size_t at, bool keep_newlines) {
    char c = text[at];
    switch (c) {
        case '\0': break;  // XML has no form for it
        case '\t': out += kTabReference; break;
        case '\n':
            if (keep_newlines)
                out += c;
            else
                out += kLineFeedReference;
            break;
        case '\r':
            if (keep_newlines)
                out += c;
            else
                out += kCarriageReturnReference;
            break;
        case '_':
            if (underscore_escape_at(text, at) >= 0) out += kUnderscoreEscape;
            out += c;
            break;
        default:
            for (const Entity& entity : kEntities) {
                if (entity.character == c) {
                    out += entity.text;
                    return 1;
                }
            }
            append_underscore_escape(out, static_cast<unsigned char>(c));
    }
    return 1;
}

// A numeric character reference ("&#65;" or "&#x41;") at `at`: its length and
// code, or length 0 when there is none or it names no character.
struct Reference {
    size_t length;
    char32_t code;
};
Reference numeric_reference_at(std::string_view text, size_t at) {
    constexpr char32_t kBeyond = 0x110000;
    size_t i = at + 2;
    if (text.substr(at, 2) != "&#") return {0, 0};
    const bool hex = i < text.size() && text[i] == 'x';
    if (hex) ++i;
    const size_t digits_start = i;
    char32_t code = 0;
    for (; i < text.size(); ++i) {
        int digit = hex ? hex_value(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0) break;
        code = std::min<char32_t>(code * (hex ? 16 : 10) + static_cast<char32_t>(digit), kBeyond);
    }
    if (i == digits_start || i == text.size() || text[i] != ';') return {0, 0};
    if (code == 0 || code >= kBeyond || (code >= 0xD800 && code <= 0xDFFF)) return {0, 0};
    return {i + 1 - at, code};
}

// Decodes the construct at `at` into `out`; returns the bytes it took, or 0
// when the byte there stands for itself.
size_t decode_at(std::string_view text, size_t at, std::string& out) {
    switch (text[at]) {
        case '&': {
            for (const Entity& entity : kEntities) {
                if (text.substr(at).starts_with(entity.text)) {
                    out += entity.character;
                    return entity.text.size();
                }
            }
            Reference reference = numeric_reference_at(text, at);
            if (reference.length != 0) append_utf8(out, reference.code);
            return reference.length;
        }
        case '_': {
            long code = underscore_escape_at(text, at);
            if (code < 0) return 0;
            if (code == 0x1A)
                out += ' ';
            else if (code != 0)
                append_utf8(out, static_cast<char32_t>(code));
            return 7;
        }
        default:  // the lead byte of a UTF-8 no-break space
            if (text.substr(at, 2) != "\xC2\xA0") return 0;
            out += ' ';
            return 2;
    }
}

}  // namespace

void xml_escape_append(std::string& out, std::string_view text, int mode) {
    const bool keep_newlines = mode == XML_ESCAPE_KEEP_NL;
    size_t run = 0;  // start of the bytes still to be copied as they are
    size_t i = 0;
    while (i < text.size()) {
        ByteKind kind = kByteKinds[static_cast<unsigned char>(text[i])];
        if (kind == kPlain) {
            ++i;
            continue;
        }
        if (kind == kMultibyte) {
            Utf8Char ch = decode_utf8(text, i);
            if (ch.valid && !is_xml_noncharacter(ch.code)) {
                i += ch.length;
                continue;
            }
            out.append(text, run, i - run);
            if (ch.valid)
                append_underscore_escape(out, ch.code);
            else
                out += kReplacementUtf8;
            i += ch.length;
        } else {
            out.append(text, run, i - run);
            i += escape_special(out, text, i, keep_newlines);
        }
        run = i;
    }
    out.append(text, run, i - run);
}

std::string xml_unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t run = 0;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c != '&' && c != '_' && c != '\xC2') {
            ++i;
            continue;
        }
        out.append(text, run, i - run);
        size_t used = decode_at(text, i, out);
        if (used == 0) {
            run = i;  // the byte stays, as part of the next run
            ++i;
        } else {
            i += used;
            run = i;
        }
    }
    out.append(text, run, i - run);
    return out;
}

int xml_escape(int mode, std::string& text) {
    if (mode == XML_UNESCAPE) {
        text = xml_unescape(text);
    } else {
        std::string escaped;
        xml_escape_append(escaped, text, mode);
        text = std::move(escaped);
    }
    return 0;
}

}  // namespace tova::enc
