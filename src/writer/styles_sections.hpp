// The sections of xl/styles.xml, one function per element, from the style
// registry's records.
#pragma once

#include <vector>

#include "model/styles.hpp"
#include "writer/xml_out.hpp"

namespace tova::writer::styles {

// Assigns each entry its id, from 176 up, skipping 185, 195 and 205: the id
// its element carries, or for an entry that writes nothing the id of the next
// one written. Then writes the list; its count is that of all entries, also
// those without an element.
void write_num_fmts(XmlOut& out, std::vector<model::XLS_NUMFMT>& numfmts);
// False, writing nothing, for the kinds that stand for built-in formats.
bool write_num_fmt(XmlOut& out, const model::XLS_NUMFMT& numfmt);

void write_fonts(XmlOut& out, const std::vector<model::XLS_FONT>& fonts);
void write_font(XmlOut& out, const model::XLS_FONT& font);

void write_fills(XmlOut& out, const std::vector<model::XLS_FILL>& fills);
void write_fill(XmlOut& out, const model::XLS_FILL& fill);
void write_pattern_fill(XmlOut& out, const model::XLS_FILL& fill);
void write_gradient_fill(XmlOut& out, const model::XLS_FILL& fill);

// A fixed empty border comes first, so border n of the registry is borderId n.
void write_borders(XmlOut& out, const std::vector<model::XLS_BORDER>& borders);
void write_border(XmlOut& out, const model::XLS_BORDER& border);

// A fixed default format comes first, so registry cell format i is written at
// position i + 1, the number a cell's style refers to.
void write_cell_xfs(XmlOut& out, const model::StyleRegistry& styles);
void write_xf(XmlOut& out, const model::XLS_XF& xf, const std::vector<model::XLS_NUMFMT>& numfmts);
void write_alignment(XmlOut& out, const model::XLS_XF& xf);

}  // namespace tova::writer::styles
