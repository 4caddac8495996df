#include "writer/sheet_relationships.hpp"

#include "platform/encoding.hpp"

namespace tova::writer {

SheetRelationships plan_sheet_relationships(const model::Sheet& sheet) {
    SheetRelationships plan;
    int32_t next = 1;
    for (const model::Hyperlink& link : sheet.hyperlinks)
        plan.hyperlink_ids.push_back(link.kind == model::LinkKind::External ? next++ : 0);
    plan.printer_settings_id = next++;
    return plan;
}

std::string sheet_relationships_part(const model::Sheet& sheet, const SheetRelationships& plan, int part_number) {
    constexpr std::string_view kRelationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (size_t i = 0; i < sheet.hyperlinks.size(); ++i) {
        if (plan.hyperlink_ids[i] == 0) continue;
        out += "<Relationship Id=\"rId" + std::to_string(plan.hyperlink_ids[i]) + "\" Type=\"";
        out += kRelationships;
        out += "hyperlink\" Target=\"";
        enc::xml_escape_append(out, sheet.hyperlinks[i].address, enc::XML_ESCAPE);
        out += "\" TargetMode=\"External\"/>";
    }
    out += "<Relationship Id=\"rId" + std::to_string(plan.printer_settings_id) + "\" Type=\"";
    out += kRelationships;
    out += "printerSettings\" Target=\"../printerSettings/printerSettings" + std::to_string(part_number) + ".bin\"/>";
    out += "</Relationships>";
    return out;
}

}  // namespace tova::writer
