// Everything a book holds besides its C record: sheets, strings, variables.
#pragma once

#include <vector>

#include "model/shared_strings.hpp"
#include "model/sheet.hpp"
#include "model/styles.hpp"
#include "model/variables.hpp"

namespace tova::model {

struct Workbook {
    std::vector<Sheet> sheets;
    SharedStrings strings;
    Variables variables;
    StyleRegistry styles;
};

}  // namespace tova::model
