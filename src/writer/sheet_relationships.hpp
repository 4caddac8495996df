// The relationships of one worksheet, numbered once so the worksheet part and
// its relationships part agree: external hyperlinks, then the printer settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/sheet.hpp"

namespace tova::writer {

struct SheetRelationships {
    std::vector<int32_t> hyperlink_ids;  // per hyperlink of the sheet; 0 for internal links
    int32_t printer_settings_id = 0;
};

SheetRelationships plan_sheet_relationships(const model::Sheet& sheet);

// xl/worksheets/_rels/sheet%d.xml.rels of sheet number `part_number` (from 1).
std::string sheet_relationships_part(const model::Sheet& sheet, const SheetRelationships& plan, int part_number);

}  // namespace tova::writer
