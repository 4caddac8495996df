// What a value text put into a cell is: an integer, decimal, percentage, date,
// time, formula or text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "calc/serial_date.hpp"
#include "model/cell.hpp"

namespace tova::property {

enum class ValueKind { Empty, Text, Integer, Decimal, Percent, Date, DateTime, Time, TimeSeconds, Formula };

struct Classified {
    ValueKind kind = ValueKind::Text;
    std::string text;        // text or formula, ready to store (quotes and "=" removed)
    int64_t integer = 0;
    double real = 0.0;       // decimals; percentages already divided by 100
    int decimals = 0;
    calc::DateTime date;     // dates and times; durations as days of January 1900 onward
    bool duration = false;   // a time of 25 hours or more: date holds the day count
};

// Classifies a UTF-8 value (surrounding double quotes removed first).
// `keep_apostrophe`: the cell is formatted as text, so a leading apostrophe
// stays part of the text. `force_text`: the value is text whatever it looks like.
Classified classify_value(std::string_view value, bool keep_apostrophe, bool force_text);

// Texts that look like numbers: digits, one leading sign, "," anywhere, at most one ".".
// Thousands separators must stand every three digits left of the "." or the end.
bool has_valid_thousands(std::string_view number);

}  // namespace tova::property
