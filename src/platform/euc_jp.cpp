// EUC-JP and Shift-JIS are two arithmetic layouts of the same JIS X 0208
// rows and cells, so the conversion between them needs no table.
#include <cstdint>

#include "platform/encoding.hpp"

namespace tova::enc {
namespace {

constexpr unsigned char kSingleShift2 = 0x8E;  // EUC-JP prefix of a half-width katakana
constexpr char kGetaMark[] = "\xA2\xAE";       // 〓, for characters EUC-JP has no room for
constexpr char kIncomplete = '?';              // a lead byte that ends the text

void put(std::string& out, unsigned value) { out += static_cast<char>(static_cast<uint8_t>(value)); }

// JIS row and cell (each 0x21-0x7E) to the Shift-JIS pair.
void put_sjis_of_jis(std::string& out, uint8_t row, uint8_t cell) {
    uint8_t s1, s2;
    if (row & 1) {
        s1 = static_cast<uint8_t>((row + 1) / 2 + 0x70);
        s2 = static_cast<uint8_t>(cell + 0x1F);
    } else {
        s1 = static_cast<uint8_t>(row / 2 + 0x70);
        s2 = static_cast<uint8_t>(cell + 0x7D);
    }
    if (s1 >= 0xA0) s1 = static_cast<uint8_t>(s1 + 0x40);
    if (s2 >= 0x7F) s2 = static_cast<uint8_t>(s2 + 1);
    put(out, s1);
    put(out, s2);
}

// A Shift-JIS pair outside the user-defined area to the EUC-JP pair.
void put_euc_of_sjis(std::string& out, uint8_t lead, uint8_t trail) {
    uint8_t b1 = lead >= 0xE0 ? static_cast<uint8_t>(lead - 0x40) : lead;
    uint8_t b2 = trail >= 0x80 ? static_cast<uint8_t>(trail - 1) : trail;
    auto twice_row = static_cast<uint8_t>((b1 - 0x70) * 2);
    if (b2 >= 0x9E) {
        put(out, twice_row + 0x80);
        put(out, b2 + 0x03);
    } else {
        put(out, twice_row - 1 + 0x80);
        put(out, b2 + 0x61);
    }
}

bool is_half_width_katakana_sjis(uint8_t byte) { return byte >= 0xA0 && byte <= 0xDF; }
bool is_user_defined_lead(uint8_t byte) { return byte >= 0xF0; }

}  // namespace

std::string euc_to_sjis(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        auto byte = static_cast<uint8_t>(text[i]);
        if (trail_bytes(kEucJp, byte) == 0) {
            put(out, byte);
            ++i;
            continue;
        }
        if (i + 1 == text.size()) {
            out += kIncomplete;
            break;
        }
        auto second = static_cast<uint8_t>(text[i + 1]);
        if (byte == kSingleShift2)
            put(out, second);
        else
            put_sjis_of_jis(out, static_cast<uint8_t>(byte - 0x80), static_cast<uint8_t>(second - 0x80));
        i += 2;
    }
    return out;
}

std::string sjis_to_euc(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (size_t i = 0; i < text.size();) {
        auto byte = static_cast<uint8_t>(text[i]);
        if (is_half_width_katakana_sjis(byte)) {
            put(out, kSingleShift2);
            put(out, byte);
            ++i;
            continue;
        }
        if (trail_bytes(kShiftJis, byte) == 0) {
            put(out, byte);
            ++i;
            continue;
        }
        if (i + 1 == text.size()) {
            out += kIncomplete;
            break;
        }
        if (is_user_defined_lead(byte))
            out += kGetaMark;
        else
            put_euc_of_sjis(out, byte, static_cast<uint8_t>(text[i + 1]));
        i += 2;
    }
    return out;
}

}  // namespace tova::enc
