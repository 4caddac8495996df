#include "writer/styles_sections.hpp"

#include <iterator>
#include <string>
#include <string_view>

#include "writer/style_codes.hpp"

namespace tova::writer::styles {
namespace {

using model::XLS_BORDER;
using model::XLS_FILL;
using model::XLS_FONT;
using model::XLS_NUMFMT;
using model::XLS_XF;

constexpr uint16_t kFirstCustomNumFmtId = 176;
// Ids that are never given to a custom number format.
constexpr uint16_t kSkippedNumFmtIds[] = {185, 195, 205};
// An elapsed-time entry stands for this built-in format.
constexpr uint16_t kElapsedTimeKind = 404;
constexpr int32_t kElapsedTimeNumFmtId = 46;

uint16_t next_num_fmt_id(uint16_t id) {
    ++id;
    for (uint16_t skipped : kSkippedNumFmtIds)
        if (id == skipped) return static_cast<uint16_t>(id + 1);
    return id;
}

// <color rgb="FF..."/> of fonts and borders.
void write_color(XmlOut& out, const model::ColorRef& color) {
    out.raw("<color rgb=\"FF").raw(color_hex(color)).raw("\"/>");
}

std::string_view font_name_of(const XLS_FONT& font) {
    return font.code == model::kOwnFontName ? font.name.view() : font_name(font.code);
}

// The gradient's direction by its kind and variation; kAnyCode matches the
// codes the rows before it leave over.
constexpr int kAnyCode = -1;
struct GradientShape {
    int kind;
    int variation;
    std::string_view attributes;
    bool three_stops = false;  // first, second, first colour
};
constexpr GradientShape kGradientShapes[] = {
    {1, 2, " degree=\"180\""},
    {1, 3, "", true},
    {1, kAnyCode, ""},
    {2, 2, " degree=\"225\""},
    {2, 3, " degree=\"45\"", true},
    {2, kAnyCode, " degree=\"45\""},
    {3, 2, " degree=\"315\""},
    {3, 3, " degree=\"135\"", true},
    {3, kAnyCode, " degree=\"135\""},
    {4, 2, " type=\"path\" left=\"1\" right=\"1\""},
    {4, 3, " type=\"path\" top=\"1\" bottom=\"1\""},
    {4, 4, " type=\"path\" left=\"1\" right=\"1\" top=\"1\" bottom=\"1\""},
    {4, kAnyCode, " type=\"path\""},
    {5, kAnyCode, " type=\"path\" left=\"0.5\" right=\"0.5\" top=\"0.5\" bottom=\"0.5\""},
    {kAnyCode, 2, " degree=\"270\""},
    {kAnyCode, 3, " degree=\"90\"", true},
    {kAnyCode, kAnyCode, " degree=\"90\""},
};

const GradientShape& gradient_shape(int kind, int variation) {
    for (const auto& shape : kGradientShapes)
        if ((shape.kind == kind || shape.kind == kAnyCode) && (shape.variation == variation || shape.variation == kAnyCode))
            return shape;
    return kGradientShapes[std::size(kGradientShapes) - 1];
}

// A gradient's colours are its RGB bytes, whatever their codes say.
void write_stop(XmlOut& out, std::string_view position, const model::ColorRef& color) {
    const uint8_t bytes[3] = {color.red, color.green, color.blue};
    out.raw("<stop position=\"").raw(position).raw("\"><color rgb=\"FF").raw(rgb_hex(bytes)).raw("\" /></stop>");
}

struct BorderSide {
    uint8_t XLS_BORDER::*line;
    std::string_view element;
};
constexpr BorderSide kBorderSides[] = {
    {&XLS_BORDER::left, "left"},
    {&XLS_BORDER::right, "right"},
    {&XLS_BORDER::top, "top"},
    {&XLS_BORDER::bottom, "bottom"},
};

void write_border_line(XmlOut& out, std::string_view element, uint8_t line, const model::ColorRef& color) {
    out.raw('<').raw(element).raw(" style=\"").raw(border_style_name(line)).raw("\">");
    if (color.code == 0)
        out.raw("<color auto=\"1\"/>");
    else
        write_color(out, color);
    out.raw("</").raw(element).raw('>');
}

int32_t num_fmt_id(const XLS_XF& xf, const std::vector<XLS_NUMFMT>& numfmts) {
    if (xf.numfmt_kind == model::kNumFmtQuotedText) return 0;
    if (xf.numfmt_kind != model::kNumFmtTableIndex || xf.numfmt < 1) return xf.numfmt;
    const size_t index = static_cast<size_t>(xf.numfmt) - 1;
    if (index >= numfmts.size()) return 0;  // not an entry of this book: General
    return numfmts[index].kind == kElapsedTimeKind ? kElapsedTimeNumFmtId : numfmts[index].id;
}

// By the alignment code's tens and units; a code outside 11..33 writes vertical top only.
constexpr std::string_view kVerticalAttributes[] = {" vertical=\"top\"", " vertical=\"center\"", ""};
constexpr std::string_view kHorizontalAttributes[] = {" horizontal=\"left\"", " horizontal=\"center\"",
                                                      " horizontal=\"right\""};

}  // namespace

void write_num_fmts(XmlOut& out, std::vector<XLS_NUMFMT>& numfmts) {
    out.raw("<numFmts").attribute("count", static_cast<int64_t>(numfmts.size())).raw('>');
    uint16_t id = kFirstCustomNumFmtId;
    for (XLS_NUMFMT& numfmt : numfmts) {
        numfmt.id = id;
        if (write_num_fmt(out, numfmt)) id = next_num_fmt_id(id);
    }
    out.raw("</numFmts>");
}

bool write_num_fmt(XmlOut& out, const XLS_NUMFMT& numfmt) {
    const auto code = number_format_code(numfmt.kind, numfmt.decimals);
    if (!code) return false;
    out.raw("<numFmt").attribute("numFmtId", numfmt.id).attribute("formatCode", code->code);
    out.raw(code->spaced_close ? " />" : "/>");
    return true;
}

void write_fonts(XmlOut& out, const std::vector<XLS_FONT>& fonts) {
    out.raw("<fonts").attribute("count", static_cast<int64_t>(fonts.size())).raw('>');
    for (const XLS_FONT& font : fonts) write_font(out, font);
    out.raw("</fonts>");
}

void write_font(XmlOut& out, const XLS_FONT& font) {
    const bool hyperlink = (font.style & model::kHyperlinkLook) != 0;
    out.raw("<font>");
    if (font.style & model::kBold) out.raw("<b/>");
    if (font.style & model::kItalic) out.raw("<i/>");
    if ((font.style & model::kUnderline) || hyperlink) out.raw("<u/>");
    out.raw("<sz").attribute("val", font.size).raw("/>");
    // An explicit colour wins over the hyperlink colour.
    if (font.color.code != 0)
        write_color(out, font.color);
    else if (hyperlink)
        out.raw("<color theme=\"10\"/>");
    out.raw("<name val=\"").escaped(font_name_of(font), enc::XML_ESCAPE_KEEP_NL).raw("\"/>");
    out.raw("<family val=\"3\"/><charset val=\"128\"/></font>");
}

void write_fills(XmlOut& out, const std::vector<XLS_FILL>& fills) {
    out.raw("<fills").attribute("count", static_cast<int64_t>(fills.size())).raw('>');
    for (const XLS_FILL& fill : fills) write_fill(out, fill);
    out.raw("</fills>");
}

void write_fill(XmlOut& out, const XLS_FILL& fill) {
    out.raw("<fill>");
    if (fill.pattern == model::kPatternGradient)
        write_gradient_fill(out, fill);
    else
        write_pattern_fill(out, fill);
    out.raw("</fill>");
}

void write_pattern_fill(XmlOut& out, const XLS_FILL& fill) {
    const bool has_pattern_color = fill.pattern_color != 0;
    const bool has_color = fill.color.code != 0;
    out.raw("<patternFill patternType=\"").raw(pattern_name(fill.pattern)).raw('"');
    if (!has_pattern_color && !has_color) {
        out.raw("/>");
        return;
    }
    out.raw('>');
    if (has_pattern_color)
        out.raw("<fgColor rgb=\"FF").raw(palette_hex_lower(static_cast<int32_t>(fill.pattern_color))).raw("\" />");
    if (has_color) {
        // Without a pattern colour the fill colour is the pattern's foreground, as a solid fill needs.
        const std::string hex = color_hex(fill.color);
        if (has_pattern_color)
            out.raw("<bgColor rgb=\"FF").raw(hex).raw("\"/>");
        else
            out.raw("<fgColor rgb=\"FF").raw(hex).raw("\"/><bgColor indexed=\"64\"/>");
    }
    out.raw("</patternFill>");
}

void write_gradient_fill(XmlOut& out, const XLS_FILL& fill) {
    const GradientShape& shape = gradient_shape(fill.gradient_kind, fill.gradient_variation);
    out.raw("<gradientFill").raw(shape.attributes).raw('>');
    write_stop(out, "0", fill.color);
    if (shape.three_stops) {
        write_stop(out, "0.5", fill.second_color);
        write_stop(out, "1", fill.color);
    } else {
        write_stop(out, "1", fill.second_color);
    }
    out.raw("</gradientFill>");
}

void write_borders(XmlOut& out, const std::vector<XLS_BORDER>& borders) {
    out.raw("<borders").attribute("count", static_cast<int64_t>(borders.size()) + 1).raw('>');
    out.raw("<border><left/><right/><top/><bottom/><diagonal/></border>");
    for (const XLS_BORDER& border : borders) write_border(out, border);
    out.raw("</borders>");
}

void write_border(XmlOut& out, const XLS_BORDER& border) {
    out.raw("<border");
    if (border.diagonal_up != 0) out.raw(" diagonalUp=\"1\"");
    if (border.diagonal_down != 0) out.raw(" diagonalDown=\"1\"");
    out.raw('>');
    for (const BorderSide& side : kBorderSides)
        if (border.*side.line != 0) write_border_line(out, side.element, border.*side.line, border.color);
    if (border.diagonal_up == 0 && border.diagonal_down == 0) {
        out.raw("<diagonal/></border>");
        return;
    }
    const uint8_t diagonal = border.diagonal_up != 0 ? border.diagonal_up : border.diagonal_down;
    write_border_line(out, "diagonal", diagonal, border.color);
    out.raw("</border>");
}

void write_cell_xfs(XmlOut& out, const model::StyleRegistry& styles) {
    out.raw("<cellXfs").attribute("count", static_cast<int64_t>(styles.xfs.size()) + 1).raw('>');
    out.raw("<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"><alignment vertical=\"center\"/></xf>");
    for (const XLS_XF& xf : styles.xfs.records()) write_xf(out, xf, styles.numfmts);
    out.raw("</cellXfs>");
}

void write_xf(XmlOut& out, const XLS_XF& xf, const std::vector<XLS_NUMFMT>& numfmts) {
    out.raw("<xf")
        .attribute("numFmtId", num_fmt_id(xf, numfmts))
        .attribute("fontId", xf.font)
        .attribute("fillId", xf.fill)
        .attribute("borderId", xf.border);
    if (xf.border >= 1) out.raw(" applyBorder=\"1\"");
    out.attribute("xfId", xf.style_id);
    if (xf.fill >= 2) out.raw(" applyFill=\"1\"");
    if (xf.numfmt_kind == model::kNumFmtTableIndex && xf.numfmt >= 1)
        out.raw(" applyNumberFormat=\"1\"");
    else if (xf.numfmt_kind == model::kNumFmtQuotedText)
        out.raw(" quotePrefix=\"1\" applyAlignment=\"1\"");
    if (xf.unlocked != 0) out.raw(" applyProtection=\"1\"");
    out.raw('>');
    write_alignment(out, xf);
    if (xf.unlocked != 0) out.raw("<protection locked=\"0\"/>");
    out.raw("</xf>");
}

void write_alignment(XmlOut& out, const XLS_XF& xf) {
    const int vertical = xf.alignment / 10;
    const int horizontal = xf.alignment % 10;
    out.raw("<alignment");
    if (vertical >= 1 && vertical <= 3 && horizontal >= 1 && horizontal <= 3)
        out.raw(kVerticalAttributes[vertical - 1]).raw(kHorizontalAttributes[horizontal - 1]);
    else
        out.raw(kVerticalAttributes[0]);
    if (xf.rotation != 0)
        out.attribute("textRotation", xf.rotation);
    else if (xf.text_control & model::kVerticalText)
        out.raw(" textRotation=\"255\"");
    if (xf.indent != 0) out.attribute("indent", xf.indent);
    if (xf.text_control & model::kWrapText) out.raw(" wrapText=\"1\"");
    if (xf.text_control & model::kShrinkToFit) out.raw(" shrinkToFit=\"1\"");
    out.raw("/>");
}

}  // namespace tova::writer::styles
