// Hyperlink records on cells, shared by the hyperlink exports and the HYPERLINK statement.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tova_api.h"

namespace tova::property {

// An address with an "@" followed later by a "." is a mail address and gets "mailto:" in front.
std::string link_address(std::string_view utf8_address);

// Links the cell (which must exist) of the sheet to an external UTF-8 address
// and gives it the built-in hyperlink format: 0, or -1 when there is no such cell.
int add_external_hyperlink(XLS_BOOK& book, int32_t sheet, int32_t row, int32_t column, std::string_view utf8_address);

}  // namespace tova::property
