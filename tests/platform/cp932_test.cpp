#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "platform/encoding.hpp"
#include "platform/iconv_oracle.hpp"

namespace tova {
namespace {

using enc::sjis_to_utf8;
using enc::utf8_to_sjis;
using test::hex_bytes;
using test::iconv_strict;

constexpr std::string_view kFffd = "\xEF\xBF\xBD";

bool is_lead(int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool is_trail(int b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

std::string pair(int lead, int trail) { return {static_cast<char>(lead), static_cast<char>(trail)}; }

TEST(Cp932, EveryDoubleByteCodeConvertsAsIconvDoes) {
    int decoded = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!is_lead(lead)) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!is_trail(trail)) continue;
            std::string code = pair(lead, trail);
            auto utf8 = iconv_strict("UTF-8", "CP932", code);
            if (!utf8) {
                EXPECT_EQ(sjis_to_utf8(code), kFffd) << hex_bytes(code);
                continue;
            }
            ++decoded;
            EXPECT_EQ(sjis_to_utf8(code), *utf8) << hex_bytes(code);
            // Duplicate codes fold to whichever one iconv picks.
            auto back = iconv_strict("CP932", "UTF-8", *utf8);
            ASSERT_TRUE(back) << hex_bytes(code);
            EXPECT_EQ(utf8_to_sjis(*utf8), *back) << hex_bytes(code);
        }
    }
    EXPECT_GT(decoded, 7000);  // JIS X 0208, the NEC and IBM extensions and the user-defined area
}

TEST(Cp932, LongMixedTextConvertsWhole) {
    std::string sjis, utf8, folded;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC && is_lead(lead); ++trail) {
            auto one = iconv_strict("UTF-8", "CP932", pair(lead, trail));
            if (!one) continue;
            sjis += pair(lead, trail) + "a\xB1";
            utf8 += *one + "a\xEF\xBD\xB1";
        }
    }
    folded = *iconv_strict("CP932", "UTF-8", utf8);
    EXPECT_EQ(sjis_to_utf8(sjis), utf8);
    EXPECT_EQ(utf8_to_sjis(utf8), folded);
}

// The bytes Windows maps although the code page leaves them unassigned.
struct SingleByteCase {
    const char* sjis;
    const char* utf8;
};
constexpr SingleByteCase kWindowsSingleBytes[] = {
    {"\x80", "\xC2\x80"},      {"\xA0", "\xEF\xA3\xB0"}, {"\xFD", "\xEF\xA3\xB1"},
    {"\xFE", "\xEF\xA3\xB2"},  {"\xFF", "\xEF\xA3\xB3"}, {"a\x80\x82\xA0\xFF", "a\xC2\x80\xE3\x81\x82\xEF\xA3\xB3"},
};

TEST(Cp932, WindowsSingleBytesMapBothWays) {
    for (const auto& c : kWindowsSingleBytes) {
        EXPECT_EQ(sjis_to_utf8(c.sjis), c.utf8) << hex_bytes(c.sjis);
        EXPECT_EQ(utf8_to_sjis(c.utf8), c.sjis) << hex_bytes(c.utf8);
    }
}

struct Case {
    std::string_view in;
    std::string_view out;
};

constexpr Case kSjisToUtf8[] = {
    {"", ""},
    {"abc\\~", "abc\\~"},
    {"\xB1", "\xEF\xBD\xB1"},                      // half-width katakana
    {"\x85\x40", kFffd},                           // an unassigned pair is one bad character
    {"\x81\x39", "\xEF\xBF\xBD" "9"},              // a lead byte without a trail byte
    {"a\x82", "a\xEF\xBF\xBD"},                    // a lead byte that ends the text
    {"\x82\xA0\x82", "\xE3\x81\x82\xEF\xBF\xBD"},
    {"\xF0\x40", "\xEE\x80\x80"},                  // user-defined area
    {std::string_view("a\0b", 3), std::string_view("a\0b", 3)},
};

TEST(Cp932, BadShiftJisBecomesReplacementCharacters) {
    for (const auto& c : kSjisToUtf8) EXPECT_EQ(sjis_to_utf8(c.in), c.out) << hex_bytes(c.in);
}

constexpr Case kUtf8ToSjis[] = {
    {"\xE3\x81\x82\xEF\xBD\xB1", "\x82\xA0\xB1"},
    {"\xC3\xA9", "?"},                  // no such character in code page 932
    {"\xF0\x9F\x98\x80", "?"},
    {"\xEF\xBF\xBD", "?"},
    {"\xC3", "?"},                      // cut off by the end of the text
    {"a\xE3\x81", "a?"},
    {"\xED\xA0\x80", "???"},            // a surrogate: three invalid pieces
    {"\xC0\xAF", "??"},                 // overlong
    {"\xF4\x90\x80\x80", "????"},       // above U+10FFFF
    {"x\xFFy", "x?y"},
};

TEST(Cp932, UnmappableAndInvalidUtf8BecomeQuestionMarks) {
    for (const auto& c : kUtf8ToSjis) EXPECT_EQ(utf8_to_sjis(c.in), c.out) << hex_bytes(c.in);
}

TEST(Cp932, ThreadsConvertIndependently) {
    std::string sjis;
    for (int i = 0; i < 2000; ++i) sjis += "\x82\xA0\x93\xFA";
    std::string expected = *iconv_strict("UTF-8", "CP932", sjis);
    auto work = [&](bool& ok) {
        ok = true;
        for (int i = 0; i < 50; ++i) ok = ok && sjis_to_utf8(sjis) == expected && utf8_to_sjis(expected) == sjis;
    };
    bool ok1 = false, ok2 = false;
    std::thread t1(work, std::ref(ok1)), t2(work, std::ref(ok2));
    t1.join();
    t2.join();
    EXPECT_TRUE(ok1);
    EXPECT_TRUE(ok2);
}

}  // namespace
}  // namespace tova
