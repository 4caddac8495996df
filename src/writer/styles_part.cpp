#include "writer/styles_part.hpp"

#include <string>
#include <string_view>

#include "api/call_frame.hpp"
#include "model/styles.hpp"
#include "platform/mfile.hpp"
#include "writer/styles_sections.hpp"

namespace tova::writer {
namespace {

const std::string kPartName = "xl/styles.xml";

constexpr std::string_view kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";

// The normal and hyperlink cell styles; registry cell formats name them by xfId.
constexpr std::string_view kCellStyleXfs =
    "<cellStyleXfs count=\"2\">"
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"><alignment vertical=\"center\"/></xf>"
    "<xf numFmtId=\"0\" fontId=\"2\" fillId=\"0\" borderId=\"0\"><alignment vertical=\"center\"/></xf>"
    "</cellStyleXfs>";

constexpr std::string_view kTail =
    "<cellStyles count=\"2\">"
    "<cellStyle name=\"ハイパーリンク\" xfId=\"1\" builtinId=\"8\"/>"
    "<cellStyle name=\"標準\" xfId=\"0\" builtinId=\"0\"/>"
    "</cellStyles>"
    "<dxfs count=\"0\"/>"
    "<tableStyles count=\"0\" defaultTableStyle=\"TableStyleMedium9\" defaultPivotStyle=\"PivotStyleLight16\"/>"
    "</styleSheet>";

}  // namespace

int tob_xml_styles(const PartTarget& target, XLS_BOOK& book) {
    model::StyleRegistry& registry = model::styles_of(book);
    XmlOut out;
    if (int rc = out.open(target, kPartName)) {
        if (target.archive == nullptr) set_error_info(book, mem::merror_text());
        return rc;
    }
    out.raw(kHead);
    // The number formats come first: they assign the ids the cell formats refer to.
    styles::write_num_fmts(out, registry.numfmts);
    styles::write_fonts(out, registry.fonts.records());
    styles::write_fills(out, registry.fills.records());
    styles::write_borders(out, registry.borders.records());
    out.raw(kCellStyleXfs);
    styles::write_cell_xfs(out, registry);
    out.raw(kTail);
    return out.close();
}

}  // namespace tova::writer
