#include "writer/styles_part.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/zip_package.hpp"

#include "model/styles.hpp"
#include "platform/mfile.hpp"
#include "support/test_support.hpp"
#include "writer/styles_sections.hpp"

namespace tova::writer {
namespace {

using namespace model;

std::string take_memory_file(const std::string& name) {
    const mem::MFILE* file = mem::mfind(name);
    if (file == nullptr) return "<missing " + name + ">";
    std::string text(file->data.data(), file->size);
    mem::mremove(name);
    return text;
}

// What one section function writes.
std::string rendered(const std::function<void(XmlOut&)>& write) {
    const std::string name = "styles-test/element.xml";
    {
        XmlOut out;
        EXPECT_EQ(out.open(PartTarget{}, name), kPartOk);
        write(out);
        EXPECT_EQ(out.close(), kPartOk);
    }
    return take_memory_file(name);
}

std::string styles_part(XLS_BOOK& book) {
    EXPECT_EQ(tob_xml_styles(PartTarget{}, book), 0);
    return take_memory_file("xl/styles.xml");
}

std::string between(const std::string& text, const std::string& open, const std::string& close) {
    const size_t from = text.find(open);
    if (from == std::string::npos) return "<no " + open + ">";
    const size_t to = text.find(close, from);
    return to == std::string::npos ? "<no " + close + ">" : text.substr(from, to + close.size() - from);
}

size_t occurrences(const std::string& text, const std::string& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
    return count;
}

// --- number formats -------------------------------------------------------

struct IdCase {
    const char* name;
    std::vector<uint16_t> kinds;
    std::vector<uint16_t> ids;
    const char* section;  // "" when only the ids are checked
};

std::vector<uint16_t> repeated(uint16_t kind, size_t count) { return std::vector<uint16_t>(count, kind); }

const IdCase kIdCases[] = {
    {"empty list", {}, {}, R"(<numFmts count="0"></numFmts>)"},
    {"built-in kind between two written ones",
     {302, 100, 101},
     {176, 177, 177},
     R"(<numFmts count="3"><numFmt numFmtId="176" formatCode="yyyy/m/d;@"/>)"
     R"~(<numFmt numFmtId="177" formatCode="0_);\(0\)"/></numFmts>)~"},
    {"elapsed time consumes no id", {404, 302, 200, 300, 404}, {176, 176, 177, 177, 177}, ""},
    {"185 is skipped", repeated(109, 10), {176, 177, 178, 179, 180, 181, 182, 183, 184, 186}, ""},
};

TEST(StylesNumFmts, AssignsAndStoresIds) {
    for (const IdCase& c : kIdCases) {
        SCOPED_TRACE(c.name);
        auto book = test::make_open_book();
        std::vector<XLS_NUMFMT>& numfmts = styles_of(*book).numfmts;
        numfmts.clear();
        for (uint16_t kind : c.kinds) numfmts.push_back({.kind = kind});
        const std::string part = styles_part(*book);
        std::vector<uint16_t> ids;
        for (const XLS_NUMFMT& numfmt : numfmts) ids.push_back(numfmt.id);
        EXPECT_EQ(ids, c.ids);
        if (*c.section) EXPECT_EQ(between(part, "<numFmts", "</numFmts>"), c.section);
    }
}

TEST(StylesNumFmts, NeverGivesTheSkippedIds) {
    std::vector<XLS_NUMFMT> numfmts(40, XLS_NUMFMT{.kind = 109});
    const std::string section = rendered([&](XmlOut& out) { styles::write_num_fmts(out, numfmts); });
    struct Expected {
        size_t index;
        uint16_t id;
    };
    for (Expected e : {Expected{8, 184}, {9, 186}, {17, 194}, {18, 196}, {26, 204}, {27, 206}, {39, 218}}) {
        EXPECT_EQ(numfmts[e.index].id, e.id) << "entry " << e.index;
    }
    for (const char* skipped : {"\"185\"", "\"195\"", "\"205\""}) EXPECT_EQ(section.find(skipped), std::string::npos);
    EXPECT_EQ(occurrences(section, "<numFmt "), 40u);
}

struct CodeCase {
    uint16_t kind;
    int8_t decimals;
    const char* element;
};
constexpr CodeCase kCodeCases[] = {
    {101, 2, R"~(<numFmt numFmtId="176" formatCode="0.00_);\(0.00\)"/>)~"},
    {102, 0, R"~(<numFmt numFmtId="176" formatCode="0_);[Red]\(0\)"/>)~"},
    {103, 1, R"(<numFmt numFmtId="176" formatCode="0.0;[Red]0.0"/>)"},
    {104, 1, R"(<numFmt numFmtId="176" formatCode="0.0_ ;[Red]\-0.0\ "/>)"},
    {105, 0, R"(<numFmt numFmtId="176" formatCode="0;&quot;△ &quot;0"/>)"},
    {106, 2, R"(<numFmt numFmtId="176" formatCode="0.00;&quot;▲ &quot;0.00"/>)"},
    {107, 2, R"(<numFmt numFmtId="176" formatCode="#,##0.00_ "/>)"},
    {108, 0, R"~(<numFmt numFmtId="176" formatCode="#,##0_);[Red]\(#,##0\)"/>)~"},
    {201, 0, R"(<numFmt numFmtId="176" formatCode="&quot;\&quot;#,##0;&quot;\&quot;\-#,##0"/>)"},
    {202, 1, R"(<numFmt numFmtId="176" formatCode="&quot;\&quot;#,##0.0;[Red]&quot;\&quot;\-#,##0.0"/>)"},
    {203, 0, R"(<numFmt numFmtId="176" formatCode="&quot;\&quot;#,##0;[Red]&quot;\&quot;#,##0"/>)"},
    {204, 0, R"~(<numFmt numFmtId="176" formatCode="&quot;\&quot;#,##0_);\(&quot;\&quot;#,##0\)"/>)~"},
    {205, 1, R"(<numFmt numFmtId="176" formatCode="&quot;\&quot;#,##0.0;[Red]&quot;\&quot;;#,##0.0"/>)"},
    {302, 3, R"(<numFmt numFmtId="176" formatCode="yyyy/m/d;@"/>)"},
    {303, 0, R"(<numFmt numFmtId="176" formatCode="yyyy/m/d\ h:mm;@"/>)"},
    {331, 0, R"(<numFmt numFmtId="176" formatCode="m&quot;月&quot;d&quot;日&quot;;@"/>)"},
    {333, 0, R"(<numFmt numFmtId="176" formatCode="yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;;@"/>)"},
    {334, 0, R"(<numFmt numFmtId="176" formatCode="[$-411]ge\.m\.d;@"/>)"},
    {335, 0, R"(<numFmt numFmtId="176" formatCode="[$-411]ggge&quot;年&quot;m&quot;月&quot;d&quot;日&quot;;@"/>)"},
    {400, 0, R"(<numFmt numFmtId="176" formatCode="h&quot;時&quot;mm&quot;分&quot;;@"/>)"},
    {402, 0, R"(<numFmt numFmtId="176" formatCode="h&quot;時&quot;mm&quot;分&quot;;@"/>)"},
    {500, 1, R"(<numFmt numFmtId="176" formatCode="0.0%"/>)"},
    {501, 0, R"(<numFmt numFmtId="176" formatCode="0%"/>)"},
    {510, 0, R"(<numFmt numFmtId="176" formatCode="[&lt;=999]000;[&lt;=9999]000\-00;000\-0000" />)"},
    {511, 0, R"(<numFmt numFmtId="176" formatCode="&quot;△&quot;\ #,##0;&quot;▲&quot;\ #,##0" />)"},
    {512, 0, R"(<numFmt numFmtId="176" formatCode="[DBNum1][$-411]General" />)"},
    {513, 0, R"(<numFmt numFmtId="176" formatCode="[DBNum2][$-411]General" />)"},
    {514, 0, R"(<numFmt numFmtId="176" formatCode="[DBNum3][$-411]0" />)"},
    {515, 0, R"(<numFmt numFmtId="176" formatCode="[DBNum3][$-411]#,##0" />)"},
    {109, 3, R"(<numFmt numFmtId="176" formatCode="0.000"/>)"},
    {109, -2, R"(<numFmt numFmtId="176" formatCode="0"/>)"},
    {100, 2, ""},
    {200, 0, ""},
    {300, 0, ""},
    {404, 0, ""},
};

TEST(StylesNumFmts, FormatCodeOfEachKind) {
    for (const CodeCase& c : kCodeCases) {
        const XLS_NUMFMT numfmt{.kind = c.kind, .id = 176, .decimals = c.decimals};
        bool written = false;
        EXPECT_EQ(rendered([&](XmlOut& out) { written = styles::write_num_fmt(out, numfmt); }), c.element)
            << "kind " << c.kind;
        EXPECT_EQ(written, *c.element != '\0') << "kind " << c.kind;
    }
}

// --- fonts ----------------------------------------------------------------

constexpr const char* kTail = R"(<family val="3"/><charset val="128"/></font>)";

struct FontCase {
    const char* name;
    uint8_t code;
    uint16_t size;
    uint8_t style;
    ColorRef color;
    const char* own_name;
    const char* element;  // up to the family element
};
constexpr FontCase kFontCases[] = {
    {"default", 10, 11, 0, {}, "", R"(<font><sz val="11"/><name val="ＭＳ Ｐゴシック"/>)"},
    {"hyperlink look", 10, 11, kBold | kHyperlinkLook, {}, "",
     R"(<font><b/><u/><sz val="11"/><color theme="10"/><name val="ＭＳ Ｐゴシック"/>)"},
    {"explicit colour wins over the hyperlink colour", 11, 11, kHyperlinkLook, {11}, "",
     R"(<font><u/><sz val="11"/><color rgb="FFFF0000"/><name val="ＭＳゴシック"/>)"},
    {"every style bit and RGB bytes", 20, 14, kItalic | kBold | kUnderline, rgb(0x12, 0xab, 0xCD), "",
     R"(<font><b/><i/><u/><sz val="14"/><color rgb="FF12ABCD"/><name val="ＭＳ Ｐ明朝"/>)"},
    {"unknown palette code", 31, 8, 0, {99}, "",
     R"(<font><sz val="8"/><color rgb="FF000000"/><name val="HGP創英角ﾎﾟｯﾌﾟ体"/>)"},
    {"own name with an ampersand", kOwnFontName, 11, 0, {}, "Arial & Co",
     R"(<font><sz val="11"/><name val="Arial &amp; Co"/>)"},
    {"own name with quote and angle", kOwnFontName, 11, 0, {}, "A\"<B>",
     R"(<font><sz val="11"/><name val="A&quot;&lt;B&gt;"/>)"},
    {"unknown code is the default font", 77, 11, 0, {}, "", R"(<font><sz val="11"/><name val="ＭＳ Ｐゴシック"/>)"},
};

TEST(StylesFonts, Element) {
    for (const FontCase& c : kFontCases) {
        XLS_FONT font{.code = c.code, .size = c.size, .style = c.style, .color = c.color};
        ASSERT_TRUE(font.name.assign(c.own_name));
        EXPECT_EQ(rendered([&](XmlOut& out) { styles::write_font(out, font); }), std::string(c.element) + kTail)
            << c.name;
    }
}

// --- fills ----------------------------------------------------------------

struct FillCase {
    const char* name;
    XLS_FILL fill;
    const char* element;
};
constexpr ColorRef kFirst = rgb(0x11, 0x22, 0x33);
constexpr ColorRef kSecond = rgb(0xaa, 0xbb, 0xcc);
constexpr FillCase kFillCases[] = {
    {"none", {}, R"(<fill><patternFill patternType="none"/></fill>)"},
    {"gray125", {.pattern = kPatternGray125}, R"(<fill><patternFill patternType="gray125"/></fill>)"},
    {"unknown pattern", {.pattern = 50}, R"(<fill><patternFill patternType="none"/></fill>)"},
    {"solid palette colour", {.pattern = 1, .color = {12}},
     R"(<fill><patternFill patternType="solid"><fgColor rgb="FFFFFF00"/><bgColor indexed="64"/></patternFill></fill>)"},
    {"solid RGB colour", {.pattern = 1, .color = kSecond},
     R"(<fill><patternFill patternType="solid"><fgColor rgb="FFAABBCC"/><bgColor indexed="64"/></patternFill></fill>)"},
    {"pattern colour only", {.pattern = 7, .pattern_color = 11},
     R"(<fill><patternFill patternType="darkHorizontal"><fgColor rgb="FFff0000" /></patternFill></fill>)"},
    {"pattern and fill colour", {.pattern = 18, .pattern_color = 36, .color = {25}},
     R"(<fill><patternFill patternType="lightTrellis"><fgColor rgb="FFffccff" /><bgColor rgb="FF000080"/></patternFill></fill>)"},
    {"gradient kind 1 variation 3",
     {.pattern = kPatternGradient, .color = kFirst, .gradient_kind = 1, .gradient_variation = 3, .second_color = kSecond},
     R"(<fill><gradientFill><stop position="0"><color rgb="FF112233" /></stop>)"
     R"(<stop position="0.5"><color rgb="FFAABBCC" /></stop><stop position="1"><color rgb="FF112233" /></stop>)"
     R"(</gradientFill></fill>)"},
    {"gradient kind 4 variation 4",
     {.pattern = kPatternGradient, .color = kFirst, .gradient_kind = 4, .gradient_variation = 4, .second_color = kSecond},
     R"(<fill><gradientFill type="path" left="1" right="1" top="1" bottom="1"><stop position="0"><color rgb="FF112233" /></stop>)"
     R"(<stop position="1"><color rgb="FFAABBCC" /></stop></gradientFill></fill>)"},
    {"gradient colours come from the bytes, not the codes",
     {.pattern = kPatternGradient, .color = {11, 1, 2, 3}, .gradient_kind = 1, .gradient_variation = 1, .second_color = {}},
     R"(<fill><gradientFill><stop position="0"><color rgb="FF010203" /></stop>)"
     R"(<stop position="1"><color rgb="FF000000" /></stop></gradientFill></fill>)"},
};

TEST(StylesFills, Element) {
    for (const FillCase& c : kFillCases)
        EXPECT_EQ(rendered([&](XmlOut& out) { styles::write_fill(out, c.fill); }), c.element) << c.name;
}

struct GradientCase {
    uint8_t kind, variation;
    const char* opening;
    size_t stops;
};
constexpr GradientCase kGradientCases[] = {
    {1, 2, R"(<gradientFill degree="180">)", 2},
    {1, 0, "<gradientFill>", 2},
    {2, 2, R"(<gradientFill degree="225">)", 2},
    {2, 3, R"(<gradientFill degree="45">)", 3},
    {2, 7, R"(<gradientFill degree="45">)", 2},
    {3, 2, R"(<gradientFill degree="315">)", 2},
    {3, 3, R"(<gradientFill degree="135">)", 3},
    {3, 1, R"(<gradientFill degree="135">)", 2},
    {4, 2, R"(<gradientFill type="path" left="1" right="1">)", 2},
    {4, 3, R"(<gradientFill type="path" top="1" bottom="1">)", 2},
    {4, 1, R"(<gradientFill type="path">)", 2},
    {5, 3, R"(<gradientFill type="path" left="0.5" right="0.5" top="0.5" bottom="0.5">)", 2},
    {0, 2, R"(<gradientFill degree="270">)", 2},
    {9, 3, R"(<gradientFill degree="90">)", 3},
    {6, 0, R"(<gradientFill degree="90">)", 2},
};

TEST(StylesFills, GradientShapeByKindAndVariation) {
    for (const GradientCase& c : kGradientCases) {
        const XLS_FILL fill{.pattern = kPatternGradient, .gradient_kind = c.kind, .gradient_variation = c.variation};
        const std::string element = rendered([&](XmlOut& out) { styles::write_gradient_fill(out, fill); });
        const std::string where = "kind " + std::to_string(c.kind) + " variation " + std::to_string(c.variation);
        EXPECT_TRUE(element.starts_with(c.opening)) << where << ": " << element;
        EXPECT_EQ(occurrences(element, "<stop "), c.stops) << where;
    }
}

// --- borders --------------------------------------------------------------

struct BorderCase {
    const char* name;
    XLS_BORDER border;
    const char* element;
};
constexpr BorderCase kBorderCases[] = {
    {"diagonal down only", {.diagonal_down = 6},
     R"(<border diagonalDown="1"><diagonal style="double"><color auto="1"/></diagonal></border>)"},
    {"diagonal up only", {.diagonal_up = 31},
     R"(<border diagonalUp="1"><diagonal style="slantDashDot"><color auto="1"/></diagonal></border>)"},
    {"left only", {.left = 1}, R"(<border><left style="thin"><color auto="1"/></left><diagonal/></border>)"},
    {"every line, the up diagonal's style wins",
     {.left = 2, .right = 3, .top = 11, .bottom = 23, .diagonal_up = 5, .diagonal_down = 4, .color = {15}},
     R"(<border diagonalUp="1" diagonalDown="1">)"
     R"(<left style="hair"><color rgb="FF0000FF"/></left><right style="thick"><color rgb="FF0000FF"/></right>)"
     R"(<top style="dashed"><color rgb="FF0000FF"/></top><bottom style="mediumDashDotDot"><color rgb="FF0000FF"/></bottom>)"
     R"(<diagonal style="medium"><color rgb="FF0000FF"/></diagonal></border>)"},
    {"unknown line code is thin, RGB colour", {.bottom = 99, .color = rgb(1, 2, 0xfe)},
     R"(<border><bottom style="thin"><color rgb="FF0102FE"/></bottom><diagonal/></border>)"},
};

TEST(StylesBorders, Element) {
    for (const BorderCase& c : kBorderCases)
        EXPECT_EQ(rendered([&](XmlOut& out) { styles::write_border(out, c.border); }), c.element) << c.name;
}

// --- cell formats ---------------------------------------------------------

struct AlignmentCase {
    const char* name;
    XLS_XF xf;
    const char* element;
};
constexpr AlignmentCase kAlignmentCases[] = {
    {"code 0", {}, R"(<alignment vertical="top"/>)"},
    {"vertical text", {.text_control = kVerticalText}, R"(<alignment vertical="top" textRotation="255"/>)"},
    {"rotation wins over vertical text", {.alignment = 11, .text_control = kVerticalText, .rotation = 45},
     R"(<alignment vertical="top" horizontal="left" textRotation="45"/>)"},
    {"centre, everything else",
     {.alignment = 22, .text_control = kWrapText | kShrinkToFit, .rotation = 90, .indent = 2},
     R"(<alignment vertical="center" horizontal="center" textRotation="90" indent="2" wrapText="1" shrinkToFit="1"/>)"},
    {"top right", {.alignment = 13}, R"(<alignment vertical="top" horizontal="right"/>)"},
    {"centre left", {.alignment = 21}, R"(<alignment vertical="center" horizontal="left"/>)"},
    {"bottom is not written", {.alignment = 32}, R"(<alignment horizontal="center"/>)"},
    {"bottom right", {.alignment = 33}, R"(<alignment horizontal="right"/>)"},
    {"outside the codes", {.alignment = 34}, R"(<alignment vertical="top"/>)"},
    {"no tens", {.alignment = 3}, R"(<alignment vertical="top"/>)"},
};

TEST(StylesCellXfs, Alignment) {
    for (const AlignmentCase& c : kAlignmentCases)
        EXPECT_EQ(rendered([&](XmlOut& out) { styles::write_alignment(out, c.xf); }), c.element) << c.name;
}

struct XfCase {
    const char* name;
    XLS_XF xf;
    const char* element;
};
constexpr XfCase kXfCases[] = {
    {"built-in number format", {.numfmt = 14, .alignment = 33},
     R"(<xf numFmtId="14" fontId="0" fillId="0" borderId="0" xfId="0"><alignment horizontal="right"/></xf>)"},
    {"table entry", {.numfmt = 1, .alignment = 31, .numfmt_kind = kNumFmtTableIndex},
     R"(<xf numFmtId="176" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"><alignment horizontal="left"/></xf>)"},
    {"elapsed-time entry", {.numfmt = 2, .alignment = 31, .numfmt_kind = kNumFmtTableIndex},
     R"(<xf numFmtId="46" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"><alignment horizontal="left"/></xf>)"},
    {"table kind without an index", {.alignment = 31, .numfmt_kind = kNumFmtTableIndex},
     R"(<xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"><alignment horizontal="left"/></xf>)"},
    {"quote prefix", {.numfmt = 1, .alignment = 31, .numfmt_kind = kNumFmtQuotedText},
     R"(<xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0" quotePrefix="1" applyAlignment="1"><alignment horizontal="left"/></xf>)"},
    {"border, fill, style, unlocked", {.font = 2, .fill = 2, .border = 1, .style_id = 1, .alignment = 31, .unlocked = 1},
     R"(<xf numFmtId="0" fontId="2" fillId="2" borderId="1" applyBorder="1" xfId="1" applyFill="1" applyProtection="1">)"
     R"(<alignment horizontal="left"/><protection locked="0"/></xf>)"},
    {"fixed fill 1 is not applied", {.fill = 1, .alignment = 31},
     R"(<xf numFmtId="0" fontId="0" fillId="1" borderId="0" xfId="0"><alignment horizontal="left"/></xf>)"},
};

TEST(StylesCellXfs, Element) {
    std::vector<XLS_NUMFMT> numfmts{{.kind = 302, .id = 176}, {.kind = 404, .id = 177}};
    for (const XfCase& c : kXfCases)
        EXPECT_EQ(rendered([&](XmlOut& out) { styles::write_xf(out, c.xf, numfmts); }), c.element) << c.name;
}

// --- the whole part -------------------------------------------------------

constexpr const char* kDefaultFontTail = R"(<name val="ＭＳ Ｐゴシック"/><family val="3"/><charset val="128"/></font>)";

std::string default_book_part() {
    const std::string right = R"( fontId="0" fillId="0" borderId="0" xfId="0"><alignment horizontal="right"/></xf>)";
    std::string part =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
        R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
        R"(<numFmts count="1"><numFmt numFmtId="176" formatCode="yyyy/m/d;@"/></numFmts>)"
        R"(<fonts count="3">)";
    part += std::string(R"(<font><sz val="11"/>)") + kDefaultFontTail;
    part += std::string(R"(<font><sz val="9"/>)") + kDefaultFontTail;
    part += std::string(R"(<font><b/><u/><sz val="11"/><color theme="10"/>)") + kDefaultFontTail;
    part += R"(</fonts><fills count="2"><fill><patternFill patternType="none"/></fill>)"
            R"(<fill><patternFill patternType="gray125"/></fill></fills>)"
            R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>)"
            R"(<cellStyleXfs count="2"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"><alignment vertical="center"/></xf>)"
            R"(<xf numFmtId="0" fontId="2" fillId="0" borderId="0"><alignment vertical="center"/></xf></cellStyleXfs>)"
            R"(<cellXfs count="8"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"><alignment vertical="center"/></xf>)";
    for (const char* id : {"14", "22", "20", "46", "5", "9"}) part += std::string(R"(<xf numFmtId=")") + id + '"' + right;
    part += R"(<xf numFmtId="0" fontId="2" fillId="0" borderId="0" xfId="1"><alignment horizontal="left"/></xf></cellXfs>)"
            R"(<cellStyles count="2"><cellStyle name="ハイパーリンク" xfId="1" builtinId="8"/>)"
            R"(<cellStyle name="標準" xfId="0" builtinId="0"/></cellStyles><dxfs count="0"/>)"
            R"(<tableStyles count="0" defaultTableStyle="TableStyleMedium9" defaultPivotStyle="PivotStyleLight16"/>)"
            R"(</styleSheet>)";
    return part;
}

TEST(StylesPart, DefaultBook) {
    auto book = test::make_open_book();
    EXPECT_EQ(styles_part(*book), default_book_part());
}

// A registry that uses every element and attribute the writer knows.
void fill_every_feature(XLS_BOOK& book) {
    StyleRegistry& styles = styles_of(book);
    for (const CodeCase& c : kCodeCases) styles.numfmts.push_back({.kind = c.kind, .decimals = c.decimals});
    for (const FontCase& c : kFontCases) {
        XLS_FONT font{.code = c.code, .size = c.size, .style = c.style, .color = c.color};
        font.name.assign(c.own_name);
        styles.fonts.append(font);
    }
    for (const FillCase& c : kFillCases) styles.fills.append(c.fill);
    for (const GradientCase& c : kGradientCases)
        styles.fills.append({.pattern = kPatternGradient, .gradient_kind = c.kind, .gradient_variation = c.variation});
    for (const BorderCase& c : kBorderCases) styles.borders.append(c.border);
    for (const AlignmentCase& c : kAlignmentCases) styles.xfs.append(c.xf);
    for (const XfCase& c : kXfCases) styles.xfs.append(c.xf);
}

class StylesPartFiles : public testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // The part as written into a package, read back from the archive.
    std::string write_to_files(XLS_BOOK& book) {
        const std::string archive_path = dir_ + "/styles.zip";
        {
            zip::ArchiveWriter archive;
            EXPECT_EQ(archive.open(archive_path), 0);
            EXPECT_EQ(tob_xml_styles(PartTarget{&archive}, book), 0);
            EXPECT_EQ(archive.close(), 0);
        }
        std::vector<std::string> names;
        EXPECT_EQ(zip::unpack(1, archive_path, dir_ + "/unpacked", 10, names), 0);
        std::ifstream in(path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Skips the test when xmllint or the schemas are not installed.
    void expect_valid() {
        const std::string schema = std::string(TOVA_SCHEMA_DIR) + "/sml.xsd";
        if (!std::filesystem::exists(schema) || std::system("xmllint --version >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "xmllint or the SpreadsheetML schema is missing";
        const std::string command = "xmllint --noout --schema '" + schema + "' '" + path() + "' 2>'" + dir_ + "/log'";
        std::ifstream log;
        const int rc = std::system(command.c_str());
        log.open(dir_ + "/log");
        std::stringstream messages;
        messages << log.rdbuf();
        EXPECT_EQ(rc, 0) << messages.str();
    }

    std::string path() const { return dir_ + "/unpacked/xl/styles.xml"; }

    std::string dir_ = test::make_scratch_dir("styles-part");
};

TEST_F(StylesPartFiles, DefaultBookIsValid) {
    auto book = test::make_open_book();
    EXPECT_EQ(write_to_files(*book), default_book_part());
    expect_valid();
}

TEST_F(StylesPartFiles, EveryFeatureIsValid) {
    auto book = test::make_open_book();
    fill_every_feature(*book);
    const std::string part = write_to_files(*book);
    EXPECT_EQ(part, styles_part(*book));
    expect_valid();
}

TEST(StylesPart, LargeRegistryRendersIdenticallyTwice) {
    auto book = test::make_open_book();
    StyleRegistry& styles = styles_of(*book);
    for (int i = 0; i < 400; ++i) {
        XLS_FONT font{.code = kOwnFontName, .size = static_cast<uint16_t>(6 + i % 50), .color = rgb(1, 2, 3)};
        font.name.assign("フォント名 & number " + std::to_string(i));
        styles.fonts.append(font);
    }
    for (int i = 0; i < 400; ++i) styles.numfmts.push_back({.kind = 109, .decimals = static_cast<int8_t>(i % 30)});
    for (int i = 0; i < 3000; ++i)
        styles.xfs.append({.numfmt = 1 + i % 400, .font = i % 403, .alignment = 22, .numfmt_kind = kNumFmtTableIndex, .indent = i});

    auto ids = [&] {
        std::vector<uint16_t> assigned;
        for (const XLS_NUMFMT& numfmt : styles.numfmts) assigned.push_back(numfmt.id);
        return assigned;
    };
    const std::string first = styles_part(*book);
    const std::vector<uint16_t> first_ids = ids();
    const std::string second = styles_part(*book);

    EXPECT_GT(first.size(), 4u * 65536);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first_ids, ids());
    EXPECT_NE(first.find(R"(<fonts count="403">)"), std::string::npos);
    EXPECT_NE(first.find(R"(<numFmts count="401">)"), std::string::npos);
    EXPECT_NE(first.find(R"(<cellXfs count="3008">)"), std::string::npos);
    EXPECT_EQ(occurrences(first, "<xf "), 3008u + 2);
    EXPECT_TRUE(first.ends_with("</styleSheet>"));
}

}  // namespace
}  // namespace tova::writer
