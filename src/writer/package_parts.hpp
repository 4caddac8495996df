// The package-level parts of a new workbook: content types, relationships,
// document properties, the theme and the workbook part.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "tova_api.h"

namespace tova::writer {

// What the package holds besides its worksheets, as far as the package-level
// parts list it.
struct PackageContents {
    std::vector<int> image_types;  // image type codes (201-207) of pictures, in object order
    bool thumbnail = false;
    bool final = false;            // marked as final: carries docProps/custom.xml
    int comment_sheets = 0;
    int tables = 0;
    int controls = 0;
    int charts = 0;
    int drawing_sheets = 0;
};

std::string content_types_part(const XLS_BOOK& book, const PackageContents& contents);
std::string package_rels_part(const PackageContents& contents);
std::string app_part(const XLS_BOOK& book);
std::string core_part(const XLS_BOOK& book, std::time_t now);
std::string_view custom_part();
std::string workbook_rels_part(int sheets);
std::string_view theme_part();
std::string workbook_part(const XLS_BOOK& book);

// The package position of the sheet the book opens on: the first visible one.
// A book must show a sheet, so when every sheet is hidden the first one is
// written visible and is that sheet.
size_t active_sheet_position(const XLS_BOOK& book);

// Whether the sheet at that package position is written hidden.
bool written_hidden(const XLS_BOOK& book, size_t position);

// The 16-bit verifier of legacy workbook and sheet passwords, as four upper-case hex digits.
std::string legacy_password_hash(std::string_view password);

// A sheet name as formulas and defined names need it: 'quoted' with doubled apostrophes.
std::string quoted_sheet_name(std::string_view name);

}  // namespace tova::writer
