// Cutting one line of a data source into its fields.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace tova::load {

constexpr size_t kMaxFields = 1000;
constexpr size_t kMaxFieldBytes = 4000;

enum class SplitResult { Ok, UnclosedQuote, FieldTooLong, TooManyFields };

// Splits `line` at `separator` (a comma or a tab) into `fields`, views into the
// line. A double quote opens a section that runs to the next double quote, in
// which separators belong to the field; a field that begins and ends with a
// double quote loses those two (doubled quotes inside stay as they are).
// Blanks around a field are part of it; an empty line has no field.
//
// No trail byte of Shift-JIS, EUC-JP or UTF-8 is a comma, a tab or a double
// quote, so the scan needs no character set.
SplitResult tob_split_fields(char separator, std::string_view line, std::vector<std::string_view>& fields);

}  // namespace tova::load
