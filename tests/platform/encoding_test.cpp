#include "platform/encoding.hpp"

#include <gtest/gtest.h>

#include <string>

#include "platform/iconv_oracle.hpp"

namespace tova {
namespace {

using namespace enc;
using test::hex_bytes;

struct TrailCase {
    int charset;
    unsigned char byte;
    int trail;
};
constexpr TrailCase kTrailCases[] = {
    {kShiftJis, 0x41, 0}, {kShiftJis, 0x80, 0}, {kShiftJis, 0x81, 1}, {kShiftJis, 0x82, 1},
    {kShiftJis, 0x9F, 1}, {kShiftJis, 0xA0, 0}, {kShiftJis, 0xA5, 0}, {kShiftJis, 0xDF, 0},
    {kShiftJis, 0xE0, 1}, {kShiftJis, 0xFC, 1}, {kShiftJis, 0xFD, 0}, {kShiftJis, 0xFF, 0},
    {kEucJp, 0x41, 0},    {kEucJp, 0x8E, 1},    {kEucJp, 0x8F, 0},    {kEucJp, 0xA0, 0},
    {kEucJp, 0xA1, 1},    {kEucJp, 0xFE, 1},    {kEucJp, 0xFF, 0},    {kUtf8, 0x00, 0},
    {kUtf8, 0x7F, 0},     {kUtf8, 0x80, 0},     {kUtf8, 0xBF, 0},     {kUtf8, 0xC0, 1},
    {kUtf8, 0xDF, 1},     {kUtf8, 0xE0, 2},     {kUtf8, 0xE3, 2},     {kUtf8, 0xEF, 2},
    {kUtf8, 0xF0, 3},     {kUtf8, 0xF7, 3},     {kUtf8, 0xF8, 0},     {kUtf8, 0xFF, 0},
    {kUtf16Be, 0x00, 1},  {kUtf16Be, 0xD7, 1},  {kUtf16Be, 0xD8, 3},  {kUtf16Be, 0xD9, 3},
    {kUtf16Be, 0xDB, 3},  {kUtf16Be, 0xDC, 1},  {kUtf16Be, 0xFF, 1},  {0, 0x82, 0},
    {5, 0xE3, 0},
};

TEST(TrailBytes, FollowTheTable) {
    for (const auto& c : kTrailCases) {
        size_t position = 10;
        EXPECT_EQ(mb_trail_bytes(c.charset, c.byte, position), c.trail) << c.charset << " " << int(c.byte);
        EXPECT_EQ(position, 10u + c.trail) << c.charset << " " << int(c.byte);
        EXPECT_EQ(trail_bytes(c.charset, c.byte), c.trail);
    }
}

struct BoundaryCase {
    int charset;
    std::string_view text;
    size_t max;
    size_t keep;
};
constexpr BoundaryCase kBoundaryCases[] = {
    {kShiftJis, "a\x82\xA0", 2, 1},
    {kShiftJis, "a\x82\xA0", 3, 3},
    {kShiftJis, "a\x82", 10, 1},  // a lead byte without its trail byte is no character
    {kShiftJis, "", 5, 0},
    {kUtf8, "\xE3\x81\x82\xE3\x81\x84", 5, 3},
    {kUtf8, "\xE3\x81\x82\xE3\x81\x84", 6, 6},
    {kUtf8, "\x80" "a", 1, 1},
    {kEucJp, "\x8E\xB1\xA4\xA2", 3, 2},
    {kUtf16Be, std::string_view("\x00\x41\xD8\x3D\xDE\x00", 6), 5, 2},
};

TEST(CharBoundary, NeverSplitsACharacter) {
    for (const auto& c : kBoundaryCases) EXPECT_EQ(char_boundary(c.charset, c.text, c.max), c.keep) << hex_bytes(c.text);
}

TEST(NextChar, StopsAtTheEndOfTheText) {
    EXPECT_EQ(next_char(kShiftJis, "a\x82\xA0", 1), 3u);
    EXPECT_EQ(next_char(kShiftJis, "a\x82", 1), 2u);
    EXPECT_EQ(next_char(kUtf8, "a\xF0\x9F", 1), 3u);
    EXPECT_EQ(next_char(kUtf8, "ab", 2), 2u);
}

TEST(Utf8CharCount, CountsSequencesOnce) {
    EXPECT_EQ(utf8_char_count("a\xE3\x81\x82" "b"), 3u);
    EXPECT_EQ(utf8_char_count(""), 0u);
    EXPECT_EQ(utf8_char_count("\x80\x80"), 2u);  // stray continuation bytes
    EXPECT_EQ(utf8_char_count("a\xE3"), 2u);     // cut-off sequence
}

struct QuoteCase {
    bool single;
    int charset;
    std::string_view text;
    size_t start;
    int result;
    size_t end;
};
constexpr QuoteCase kQuoteCases[] = {
    {true, kShiftJis, "'abc'x", 0, 0, 5},
    {true, kShiftJis, "x'a'", 0, 0, 0},  // no quote at the position
    {true, kShiftJis, "'a''b'c", 0, 0, 6},
    {true, kShiftJis, "'a'''", 0, 0, 5},
    {true, kShiftJis, "'abc", 0, -1, 0},
    {true, kShiftJis, "'\x82'", 0, -1, 0},  // the quote is the trail byte of a character
    {true, kShiftJis, "'\x82", 0, -1, 0},
    {true, kUtf8, "'\xE3\x81\x82'", 0, 0, 5},
    {true, kShiftJis, "ab", 2, 0, 2},
    {true, kShiftJis, "\"a\"", 0, 0, 0},
    {false, kShiftJis, "\"a'b\"c", 0, 0, 5},
    {false, kShiftJis, "\"a\"\"b\"", 0, 0, 3},  // the first double quote closes
    {false, kShiftJis, "x\"\x93\xFA\"", 1, 0, 5},
    {false, kShiftJis, "\"abc", 0, -1, 0},
    {false, kShiftJis, "'a'", 0, 0, 0},
};

TEST(Quotes, SkipWholeSections) {
    for (const auto& c : kQuoteCases) {
        size_t position = c.start;
        int result = c.single ? skip_single_quoted(c.charset, c.text, position)
                              : skip_double_quoted(c.charset, c.text, position);
        EXPECT_EQ(result, c.result) << c.text;
        EXPECT_EQ(position, c.end) << c.text;
    }
}

struct UpperCase {
    int charset;
    const char* text;
    int result;
    const char* folded;
};
constexpr UpperCase kUpperCases[] = {
    {kShiftJis, "a'b''c'd", 0, "A'b''c'D"},
    {kShiftJis, "a'bc", -1, "A'bc"},
    {kShiftJis, "ab\"cd\"ef", 0, "AB\"cd\"EF"},
    {kShiftJis, "'x'\"y\"z", 0, "'x'\"y\"Z"},
    {kShiftJis, "x\x83\x61y", 0, "X\x83\x61Y"},  // the trail byte reads as 'a'
    {kShiftJis, "a\x82", 0, "A\x82"},
    {kShiftJis, "", 0, ""},
    {kUtf8, "s\xE3\x81\x82t", 0, "S\xE3\x81\x82T"},
    {0, "a\x82z", 0, "A\x82Z"},
};

TEST(UpperUnquoted, FoldsOnlyOutsideQuotes) {
    for (const auto& c : kUpperCases) {
        std::string text = c.text;
        EXPECT_EQ(upper_unquoted(c.charset, text), c.result) << c.text;
        EXPECT_EQ(text, c.folded) << c.text;
    }
}

struct PathCase {
    int charset;
    const char* path;
    const char* directory;
    const char* name;
};
constexpr PathCase kPathCases[] = {
    {kShiftJis, "C:\\dir\\f.xlsx", "C:\\dir", "f.xlsx"},
    {kShiftJis, "f.xlsx", "", "f.xlsx"},
    {kShiftJis, "\\f.xlsx", "", "\\f.xlsx"},
    {kShiftJis, "a/b\\c/d", "a/b\\c", "d"},
    {kShiftJis, "\x95\x5C.xlsx", "", "\x95\x5C.xlsx"},  // 0x5C as a trail byte is no separator
    {kShiftJis, "d\\\x95\x5C", "d", "\x95\x5C"},
    {kShiftJis, "d\\\x95", "d", "\x95"},
    {kUtf8, "dir/", "dir", ""},
    {kUtf8, "", "", ""},
};

TEST(SplitPath, CutsAtTheLastSeparatorCharacter) {
    for (const auto& c : kPathCases) {
        std::string path = c.path, directory = "old";
        split_path(c.charset, path, directory);
        EXPECT_EQ(directory, c.directory) << c.path;
        EXPECT_EQ(path, c.name) << c.path;
    }
}

TEST(Utf16, SwapsUnitsAndReplacesNoBreakSpaces) {
    char units[] = {0x00, 0x41, 0x30, 0x42};
    EXPECT_EQ(swap_utf16(units, 4), 0);
    EXPECT_EQ(std::string(units, 4), std::string("\x41\x00\x42\x30", 4));
    EXPECT_EQ(swap_utf16(units, 3), -1);
    EXPECT_EQ(std::string(units, 4), std::string("\x41\x00\x42\x30", 4));

    char text[] = {'\xA0', 0x00, 0x41, 0x00, 0x00, '\xA0'};
    EXPECT_EQ(nbsp_to_space16(text, 5), -1);
    EXPECT_EQ(text[0], '\xA0');
    EXPECT_EQ(nbsp_to_space16(text, 6), 0);
    EXPECT_EQ(std::string(text, 6), std::string("\x20\x00\x41\x00\x00\xA0", 6));
}

TEST(IsHexText, AcceptsDigitsOfEitherCase) {
    EXPECT_TRUE(is_hex_text(""));
    EXPECT_TRUE(is_hex_text("0129afAF"));
    EXPECT_FALSE(is_hex_text("0g"));
    EXPECT_FALSE(is_hex_text(" 1"));
    EXPECT_FALSE(is_hex_text("x"));
}

struct ConvCase {
    int from;
    int to;
    std::string_view in;
    std::string_view out;
};
constexpr ConvCase kConvCases[] = {
    {kShiftJis, kShiftJis, "\x82\xA0\x82", "\x82\xA0\x82"},
    {kUtf8, kUtf16Be, "\xE3\x81\x82", "\xE3\x81\x82"},  // nothing converts into UTF-16
    {kShiftJis, kUtf16Be, "\x82\xA0", "\x82\xA0"},
    {0, kUtf8, "\x82\xA0", "\x82\xA0"},
    {kShiftJis, 9, "\x82\xA0", "\x82\xA0"},
    {kShiftJis, kUtf8, "\x82\xA0\xB1", "\xE3\x81\x82\xEF\xBD\xB1"},
    {kShiftJis, kEucJp, "\x82\xA0\xB1", "\xA4\xA2\x8E\xB1"},
    {kEucJp, kShiftJis, "\xA4\xA2\x8E\xB1", "\x82\xA0\xB1"},
    {kEucJp, kUtf8, "\xA4\xA2\x8E\xB1", "\xE3\x81\x82\xEF\xBD\xB1"},
    {kUtf8, kShiftJis, "\xE3\x81\x82\xEF\xBD\xB1", "\x82\xA0\xB1"},
    {kUtf8, kEucJp, "\xE3\x81\x82\xEF\xBD\xB1", "\xA4\xA2\x8E\xB1"},
    {kUtf16Be, kShiftJis, "\x30\x42\xFF\x71", "\x82\xA0\xB1"},
    {kUtf16Be, kEucJp, "\x30\x42\xFF\x71", "\xA4\xA2\x8E\xB1"},
    {kUtf16Be, kUtf8, "\x30\x42\xFF\x71", "\xE3\x81\x82\xEF\xBD\xB1"},
    {kUtf16Be, kUtf8, std::string_view("\x00\x41\x00\x00\x00\x42", 6), "A"},  // ends at U+0000
    {kUtf16Be, kUtf8, std::string_view("\x00\x41\x00", 3), "A"},             // odd last byte
    {kUtf16Be, kUtf8, std::string_view("\xD8\x3D\xDE\x00", 4), "\xF0\x9F\x98\x80"},
    {kUtf16Be, kUtf8, std::string_view("\xD8\x3D\x00\x41", 4), "\xEF\xBF\xBD" "A"},  // lone surrogates
    {kUtf16Be, kUtf8, std::string_view("\xDE\x00", 2), "\xEF\xBF\xBD"},
    {kUtf16Be, kUtf8, "\xD8\x3D", "\xEF\xBF\xBD"},
    {kUtf16Be, kShiftJis, std::string_view("\xD8\x3D\xDE\x00", 4), "?"},
    {kUtf16Be, kUtf8, "", ""},
};

TEST(ConvCharset, RoutesEveryPair) {
    for (const auto& c : kConvCases)
        EXPECT_EQ(conv_charset(c.from, c.to, c.in), c.out) << c.from << "->" << c.to << " " << hex_bytes(c.in);
}

}  // namespace
}  // namespace tova
