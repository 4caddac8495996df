#include <gtest/gtest.h>

#include <string>

#include "platform/encoding.hpp"
#include "platform/iconv_oracle.hpp"
#include "platform/utf8.hpp"

namespace tova {
namespace {

using enc::XML_ESCAPE;
using enc::XML_ESCAPE_KEEP_NL;
using enc::XML_UNESCAPE;
using test::hex_bytes;

std::string escaped(std::string_view text, int mode = XML_ESCAPE) {
    std::string out;
    enc::xml_escape_append(out, text, mode);
    return out;
}

// Character data a conforming XML parser accepts: valid UTF-8, no control
// character but the three XML allows, no U+FFFE or U+FFFF, no markup byte.
bool is_well_formed_text(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        enc::Utf8Char ch = enc::decode_utf8(text, i);
        if (!ch.valid || ch.code == 0xFFFE || ch.code == 0xFFFF || ch.code == '<') return false;
        if (ch.code < 0x20 && ch.code != '\t' && ch.code != '\n' && ch.code != '\r') return false;
        i += ch.length;
    }
    return true;
}

struct Case {
    std::string_view in;
    std::string_view out;
};

constexpr std::string_view kFffd = "\xEF\xBF\xBD";

constexpr Case kEscapeCases[] = {
    {"", ""},
    {"a<b", "a&lt;b"},
    {"&", "&amp;"},
    {"\"'>", "&quot;&apos;&gt;"},
    {"\r\n", "&#xD;&#xA;"},
    {"a\tb", "a&#x9;b"},
    {"_x00A9_", "_x005F_x00A9_"},
    {"_x00a9_", "_x005F_x00a9_"},
    {"_x00G9_", "_x00G9_"},  // not all hexadecimal digits
    {"_x00A9", "_x00A9"},
    {"_X00A9_", "_X00A9_"},
    {"_x0041_x0042_", "_x005F_x0041_x005F_x0042_"},
    {"a_b__", "a_b__"},
    {"\x01", "_x0001_"},
    {"\x08\x0B\x0C\x0E", "_x0008__x000B__x000C__x000E_"},
    {"\x1A\x1F", "_x001A__x001F_"},
    {std::string_view("a\0b", 3), "ab"},  // XML has no form for NUL
    {"\x7F", "\x7F"},
    {"\xE3\x81\x82\xF0\x9F\x98\x80\xC2\x85", "\xE3\x81\x82\xF0\x9F\x98\x80\xC2\x85"},
    {"\xEF\xBF\xBE\xEF\xBF\xBF", "_xFFFE__xFFFF_"},
};

TEST(XmlEscape, WritesCharacterData) {
    for (const auto& c : kEscapeCases) {
        EXPECT_EQ(escaped(c.in), c.out) << hex_bytes(c.in);
        EXPECT_TRUE(is_well_formed_text(escaped(c.in))) << hex_bytes(c.in);
    }
}

TEST(XmlEscape, KeepNewlinesModeWritesCrAndLfAsTheyAre) {
    EXPECT_EQ(escaped("a\r\nb\t<", XML_ESCAPE_KEEP_NL), "a\r\nb&#x9;&lt;");
    EXPECT_EQ(escaped("a\r\nb", 7), "a&#xD;&#xA;b");  // any other mode escapes them
}

TEST(XmlEscape, AppendsToWhatIsThere) {
    std::string out = "<t>";
    enc::xml_escape_append(out, "a&b", XML_ESCAPE);
    EXPECT_EQ(out, "<t>a&amp;b");
}

// Each maximal invalid piece becomes one U+FFFD.
constexpr Case kInvalidUtf8[] = {
    {"\x80", kFffd},
    {"a\xBF" "b", "a\xEF\xBF\xBD" "b"},
    {"\xFF\xFE", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"\xC3", kFffd},                                          // cut off at the end
    {"\xE3\x81", kFffd},
    {"\xE3\x81" "a", "\xEF\xBF\xBD" "a"},
    {"\xF0\x9F\x98", kFffd},
    {"\xC0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD"},                 // overlong
    {"\xC1\xBF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"\xE0\x80\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"\xF0\x8F\xBF\xBF", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // surrogate
    {"\xED\x9F\xBF", "\xED\x9F\xBF"},                         // U+D7FF is fine
    {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // above U+10FFFF
    {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
    {"\xF8\x88\x80\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"\xE3\x81\x82\xE3<", "\xE3\x81\x82\xEF\xBF\xBD&lt;"},
};

TEST(XmlEscape, ReplacesInvalidUtf8) {
    for (const auto& c : kInvalidUtf8) {
        std::string out = escaped(c.in);
        EXPECT_EQ(out, c.out) << hex_bytes(c.in);
        EXPECT_TRUE(is_well_formed_text(out)) << hex_bytes(c.in);
        // The replacement is what a reader gets back.
        std::string plain(c.out);
        if (plain.ends_with("&lt;")) plain.replace(plain.size() - 4, 4, "<");
        EXPECT_EQ(enc::xml_unescape(out), plain) << hex_bytes(c.in);
    }
}

constexpr Case kUnescapeCases[] = {
    {"", ""},
    {"a&lt;b&gt;c", "a<b>c"},
    {"&amp;&quot;&apos;", "&\"'"},
    {"&amp;lt;", "&lt;"},
    {"&#xD;&#xA;&#x9;&#x20;", "\r\n\t "},
    {"&#13;&#65;&#x41;&#x3042;&#x1F600;", "\rAA\xE3\x81\x82\xF0\x9F\x98\x80"},
    {"&#x00041;", "A"},
    {"&#X41;", "&#X41;"},
    {"&#0;&#x0;", "&#0;&#x0;"},  // no character
    {"&#x110000;&#1114112;", "&#x110000;&#1114112;"},
    {"&#xD800;", "&#xD800;"},
    {"&#99999999999999999999;", "&#99999999999999999999;"},
    {"&#;&#x;&#65&#x4G;", "&#;&#x;&#65&#x4G;"},
    {"&nbsp;&", "&nbsp;&"},
    {"_x0041_", "A"},
    {"_x005F_x0041_", "_x0041_"},  // an escaped underscore starts no escape
    {"_x005F_", "_"},
    {"_x005Fabc", "_x005Fabc"},
    {"_x001A_", " "},
    {"_x0000_", ""},
    {"_x0009__x000a_", "\t\n"},
    {"_x00e9__x00FF_", "\xC3\xA9\xC3\xBF"},
    {"_x3042_", "\xE3\x81\x82"},
    {"_xD800_", "\xEF\xBF\xBD"},
    {"_x12_ _X0041_ _x004G_ _x0041", "_x12_ _X0041_ _x004G_ _x0041"},
    {"a\xC2\xA0" "b\xC2\xA9", "a b\xC2\xA9"},  // a no-break space reads as a space
    {"\xC2", "\xC2"},
};

TEST(XmlUnescape, DecodesEntitiesReferencesAndEscapes) {
    for (const auto& c : kUnescapeCases) EXPECT_EQ(enc::xml_unescape(c.in), c.out) << c.in;
}

TEST(XmlRoundTrip, EveryAsciiCharacterComesBack) {
    for (int c = 1; c < 0x80; ++c) {
        std::string text = "a" + std::string(1, static_cast<char>(c)) + "b";
        // Spreadsheet applications read _x001A_ as a space.
        std::string expected = c == 0x1A ? "a b" : text;
        for (int mode : {XML_ESCAPE, XML_ESCAPE_KEEP_NL}) {
            std::string out = escaped(text, mode);
            EXPECT_TRUE(is_well_formed_text(out)) << c;
            EXPECT_EQ(enc::xml_unescape(out), expected) << c << " mode " << mode;
        }
    }
}

TEST(XmlRoundTrip, TextThatLooksEscapedComesBackLiterally) {
    constexpr std::string_view kTexts[] = {
        "_x0041_",       "_x005F_",     "_x005F_x0041_", "__x0041__", "_x005F", "_x005Fabc",
        "&lt;&#x41;&#65;", "_xFFFE_",   "\xEF\xBF\xBE",  "\t\r\n",    "a_x00",  "_x0041_x0042_",
    };
    for (std::string_view text : kTexts)
        for (int mode : {XML_ESCAPE, XML_ESCAPE_KEEP_NL})
            EXPECT_EQ(enc::xml_unescape(escaped(text, mode)), text) << text << " mode " << mode;
}

TEST(XmlEscapeInPlace, EscapesOrDecodesByMode) {
    std::string text = "a<b_x0041_";
    EXPECT_EQ(enc::xml_escape(XML_ESCAPE, text), 0);
    EXPECT_EQ(text, "a&lt;b_x005F_x0041_");
    EXPECT_EQ(enc::xml_escape(XML_UNESCAPE, text), 0);
    EXPECT_EQ(text, "a<b_x0041_");
    std::string crlf = "\r\n";
    EXPECT_EQ(enc::xml_escape(XML_ESCAPE_KEEP_NL, crlf), 0);
    EXPECT_EQ(crlf, "\r\n");
    std::string empty;
    EXPECT_EQ(enc::xml_escape(XML_ESCAPE, empty), 0);
    EXPECT_EQ(empty, "");
}

}  // namespace
}  // namespace tova
