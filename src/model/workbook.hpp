// Everything a book holds besides its C record: sheets, strings, variables.
#pragma once

#include <string>
#include <vector>

#include "model/drawing.hpp"
#include "model/shared_strings.hpp"
#include "model/sheet.hpp"
#include "model/styles.hpp"
#include "model/variables.hpp"

namespace tova::model {

// A merged block of cells on one sheet.
struct MergedRange {
    int32_t sheet = 0;
    XLS_RECT area{};
};

struct Workbook {
    std::vector<Sheet> sheets;
    SharedStrings strings;
    Variables variables;
    StyleRegistry styles;
    std::vector<MergedRange> merges;
    std::vector<DrawingObject> drawings;
    std::string write_password;  // BOOK.WRITE_PASSWORD, empty for none
};

}  // namespace tova::model
