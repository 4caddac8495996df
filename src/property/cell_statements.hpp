// Storing values into cells: the classification of a value text into a typed
// cell, and the cell statements of statement lists.
#pragma once

#include <cstdint>
#include <string_view>

#include "tova_api.h"

namespace tova::property {

// Classifies a UTF-8 value and stores it in the cell of the sheet: 0; kNothing
// (1403) for an empty value; -2; -1; -9 at a format limit.
int tob_put_cell(XLS_BOOK& book, int32_t sheet, int32_t row, int32_t column, std::string_view value);

// A value for the cell named by `reference` on the current sheet, as
// TOVA_put_cell and cell statements store it (value in the book's character set).
int put_cell(XLS_BOOK& book, std::string_view reference, std::string_view value);

// The same for a cell already parsed from `reference` (which messages quote).
int put_cell_at(XLS_BOOK& book, int32_t row, int32_t column, std::string_view reference, std::string_view value);

// The local time as "YYYY/MM/DD hh:mm:ss".
std::string local_timestamp();

}  // namespace tova::property
