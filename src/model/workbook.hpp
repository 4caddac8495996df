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

// Kinds of data validation.
enum ValidationKind : int32_t {
    kValidList = 0,
    kValidWhole = 1,
    kValidDecimal = 2,
    kValidDate = 3,
    kValidTime = 4,
    kValidTextLength = 5,
};

// A data validation rule on a rectangle of one sheet.
struct Validation {
    int32_t kind = kValidList;
    int32_t sheet = 0;
    XLS_RECT area{};
    int32_t op = 0;          // 0 between, 1 not between, 2 equal, 3 not equal, 4 >, 5 <, 6 >=, 7 <=
    double minimum = 0;      // dates as serial days, times as fractions of a day
    double maximum = 0;
    std::string list;        // kValidList: the choices as written, comma-separated, UTF-8
};

struct Workbook {
    std::vector<Sheet> sheets;
    SharedStrings strings;
    Variables variables;
    StyleRegistry styles;
    std::vector<MergedRange> merges;
    std::vector<Validation> validations;
    std::vector<DrawingObject> drawings;
    std::string write_password;  // BOOK.WRITE_PASSWORD, empty for none
};

}  // namespace tova::model
