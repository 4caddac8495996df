// Everything a book holds besides its C record: sheets, strings, variables.
#pragma once

#include <string>
#include <vector>

#include "model/shared_strings.hpp"
#include "model/sheet.hpp"
#include "model/variables.hpp"

namespace tova::model {

struct Workbook {
    std::vector<Sheet> sheets;
    SharedStrings strings;
    Variables variables;
    std::string write_password;  // BOOK.WRITE_PASSWORD, empty for none
};

}  // namespace tova::model
