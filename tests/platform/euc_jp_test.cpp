#include <gtest/gtest.h>

#include <string>

#include "platform/encoding.hpp"
#include "platform/iconv_oracle.hpp"

namespace tova {
namespace {

using enc::conv_charset;
using enc::euc_to_sjis;
using enc::kEucJp;
using enc::kUtf8;
using enc::sjis_to_euc;
using test::hex_bytes;
using test::iconv_strict;

std::string pair(int first, int second) { return {static_cast<char>(first), static_cast<char>(second)}; }

// EUC-JP-MS is the EUC-JP form of code page 932, so both must agree on every
// character that JIS X 0208 and the half-width katakana share.
void expect_agrees_with_euc_jp_ms(const std::string& euc, int& compared) {
    auto utf8 = iconv_strict("UTF-8", "EUC-JP-MS", euc);
    if (!utf8) return;
    ++compared;
    EXPECT_EQ(conv_charset(kEucJp, kUtf8, euc), *utf8) << hex_bytes(euc);
    auto back = iconv_strict("EUC-JP-MS", "UTF-8", *utf8);
    ASSERT_TRUE(back) << hex_bytes(euc);
    EXPECT_EQ(conv_charset(kUtf8, kEucJp, *utf8), *back) << hex_bytes(euc);
}

TEST(EucJp, AgreesWithEucJpMsOnTheStandardRows) {
    int compared = 0;
    for (int first = 0xA1; first <= 0xF4; ++first) {
        if (first > 0xA8 && first < 0xB0) continue;  // rows 9-15 differ between vendors
        for (int second = 0xA1; second <= 0xFE; ++second) expect_agrees_with_euc_jp_ms(pair(first, second), compared);
    }
    EXPECT_GT(compared, 6800);
}

TEST(EucJp, AgreesWithEucJpMsOnHalfWidthKatakana) {
    int compared = 0;
    for (int kana = 0xA1; kana <= 0xDF; ++kana) expect_agrees_with_euc_jp_ms(pair(0x8E, kana), compared);
    EXPECT_EQ(compared, 63);
}

TEST(EucJp, ShiftJisPairsSurviveTheRoundTrip) {
    for (int lead = 0x81; lead <= 0xEF; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            std::string sjis = pair(lead, trail);
            std::string euc = sjis_to_euc(sjis);
            ASSERT_EQ(euc.size(), 2u) << hex_bytes(sjis);
            EXPECT_GE(static_cast<unsigned char>(euc[0]), 0xA1) << hex_bytes(sjis);
            EXPECT_GE(static_cast<unsigned char>(euc[1]), 0xA1) << hex_bytes(sjis);
            EXPECT_EQ(euc_to_sjis(euc), sjis) << hex_bytes(sjis);
        }
    }
}

struct Case {
    std::string_view in;
    std::string_view out;
};

constexpr Case kSjisToEuc[] = {
    {"", ""},
    {"\xB1", "\x8E\xB1"},
    {"\x82\xA0", "\xA4\xA2"},
    {"\x81\x40", "\xA1\xA1"},
    {"\xEF\xFC", "\xFE\xFE"},
    {"a\xB1" "b\xDF", "a\x8E\xB1" "b\x8E\xDF"},
    {"\xF0\x40\xF0\x9F\xFC\xFC", "\xA2\xAE\xA2\xAE\xA2\xAE"},  // user-defined area: geta marks
    {"a\x82", "a?"},                                           // a lead byte that ends the text
    {"\xF0", "?"},
    {"\x80\xFD", "\x80\xFD"},
};

constexpr Case kEucToSjis[] = {
    {"", ""},
    {"\x8E\xB1" "A", "\xB1" "A"},
    {"\xA4\xA2", "\x82\xA0"},
    {"\xA1\xA1\xFE\xFE", "\x81\x40\xEF\xFC"},
    {"a\xA4", "a?"},  // a lead byte that ends the text
    {"\x8E", "?"},
};

TEST(EucJp, ConvertsByJisArithmetic) {
    for (const auto& c : kSjisToEuc) EXPECT_EQ(sjis_to_euc(c.in), c.out) << hex_bytes(c.in);
    for (const auto& c : kEucToSjis) EXPECT_EQ(euc_to_sjis(c.in), c.out) << hex_bytes(c.in);
}

}  // namespace
}  // namespace tova
