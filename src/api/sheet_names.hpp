// Sheet names: looking them up and the rules a new name must follow.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/workbook.hpp"
#include "tova_api.h"

namespace tova {

// The index of the sheet of exactly that (UTF-8) name, or -1.
int32_t find_sheet(const model::Workbook& book, std::string_view name);

// "Sheet%d" with the first number from the sheet count plus one that no sheet has.
std::string next_free_sheet_name(const model::Workbook& book);

// A name the spreadsheet application accepts for a new sheet: 1 to 31
// characters, none of [ ] : * ? / \, not equal to another sheet's name
// ignoring case. 0, or -3 with TOVA-02320 (bad name) or TOVA-02321 (taken).
int check_new_sheet_name(XLS_BOOK& book, std::string_view name);

}  // namespace tova
