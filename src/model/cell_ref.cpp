// Printing positions in A1 notation and parsing single cell references.
#include "model/cell_ref.hpp"

#include <algorithm>
#include <limits>

#include "model/cell_ref_expression.hpp"

namespace tova::model {
namespace {

constexpr int32_t kLetters = 26;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool in_bounds(int64_t row, int64_t column) {
    return row >= 0 && row <= kLastRow && column >= 0 && column <= kLastColumn;
}

// Bijective base 26: A..Z, AA..ZZ, AAA..XFD.
std::string column_letters(int32_t column) {
    char letters[3];
    size_t count = 0;
    for (int32_t rest = column + 1; rest > 0; rest = (rest - 1) / kLetters)
        letters[count++] = static_cast<char>('A' + (rest - 1) % kLetters);
    std::reverse(letters, letters + count);
    return std::string(letters, count);
}

// Zero-based row of a row number text; -1 (out of bounds) when it is not a number.
int64_t row_index_of(std::string_view number) {
    return is_number_text(number) ? int64_t{leading_integer(number)} - 1 : -1;
}

int store_position(int64_t row_index, int64_t column_index, int32_t& row, int32_t& column) {
    if (!in_bounds(row_index, column_index)) return -1;
    row = static_cast<int32_t>(row_index);
    column = static_cast<int32_t>(column_index);
    return 0;
}

}  // namespace

int format_cell_name(int32_t row, int32_t column, std::string& name) {
    name.clear();
    if (!in_bounds(row, column)) return -1;
    name = column_letters(column) + std::to_string(row + 1);
    return 0;
}

int format_cell_name_absolute(int32_t row, int32_t column, std::string& name) {
    name.clear();
    if (!in_bounds(row, column)) return -1;
    name = "$" + column_letters(column) + "$" + std::to_string(row + 1);
    return 0;
}

int format_range_name(int32_t first_row, int32_t first_column, int32_t last_row, int32_t last_column,
                      std::string& name) {
    std::string first, last;
    if (format_cell_name(first_row, first_column, first) != 0 || format_cell_name(last_row, last_column, last) != 0) {
        name.clear();
        return -1;
    }
    name = first + ":" + last;
    return 0;
}

int32_t column_from_letters(std::string_view letters) {
    if (letters.empty() || letters.size() > 3) return -1;
    int32_t number = 0;
    for (char c : letters) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z') return -1;
        number = number * kLetters + (c - 'A' + 1);
    }
    return number - 1 <= kLastColumn ? number - 1 : -1;
}

bool is_number_text(std::string_view text) {
    bool digit_seen = false, dot_seen = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (is_digit(c)) {
            digit_seen = true;
        } else if (c == '.') {
            if (dot_seen) return false;
            dot_seen = true;
        } else if (!(c == ',' || ((c == '+' || c == '-') && i == 0))) {
            return false;
        }
    }
    return digit_seen;
}

int32_t leading_integer(std::string_view text) {
    constexpr int64_t kSaturated = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    size_t i = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) negative = text[i++] == '-';
    int64_t magnitude = 0;
    for (; i < text.size() && is_digit(text[i]); ++i)
        magnitude = std::min(magnitude * 10 + (text[i] - '0'), kSaturated);
    return saturated(negative ? -magnitude : magnitude);
}

int parse_cell_simple(std::string_view text, int32_t& row, int32_t& column) {
    row = column = 0;
    if (!text.empty() && text.front() == '$') text.remove_prefix(1);
    size_t stop = text.find_first_of("0123456789$");
    if (stop == std::string_view::npos) return -1;
    int32_t column_index = column_from_letters(text.substr(0, stop));
    if (column_index < 0) return -1;
    return store_position(row_index_of(text.substr(text[stop] == '$' ? stop + 1 : stop)), column_index, row, column);
}

int parse_range_simple(std::string_view text, XLS_RECT& range) {
    range = XLS_RECT{};
    if (text.size() > kSimpleRangeMax) return -3;
    size_t colon = text.find(':');
    if (colon == std::string_view::npos) return -1;
    XLS_RECT parsed{};
    if (parse_cell_simple(text.substr(0, colon), parsed.first_row, parsed.first_column) != 0 ||
        parse_cell_simple(text.substr(colon + 1), parsed.last_row, parsed.last_column) != 0)
        return -1;
    range = parsed;
    return 0;
}

int parse_row_range(std::string_view text, int32_t& first_row, int32_t& last_row) {
    first_row = last_row = 0;
    size_t colon = text.find(':');
    if (text.size() > kSimpleRangeMax || colon == std::string_view::npos) return -3;
    int64_t first = row_index_of(text.substr(0, colon));
    int64_t last = row_index_of(text.substr(colon + 1));
    if (!in_bounds(first, 0) || !in_bounds(last, 0)) return -3;
    first_row = static_cast<int32_t>(first);
    last_row = static_cast<int32_t>(last);
    return 0;
}

int parse_cell_ref(XLS_BOOK& book, int32_t sheet, std::string_view text, int32_t& row, int32_t& column) {
    row = column = 0;
    if (text == "**") return store_position(kLastRow, kLastColumn, row, column);
    std::string_view rest = text;
    if (!rest.empty() && rest.front() == '$') rest.remove_prefix(1);

    int64_t column_index = -1;
    bool column_from_expression = !rest.empty() && rest.front() == '(';
    if (column_from_expression) {
        size_t close = matching_parenthesis(rest, 0);
        if (close == std::string_view::npos || (text.size() - rest.size()) + close >= kReferenceTextMax) return -1;
        int32_t column_number = 0;
        if (eval_column_expression(book, rest.substr(1, close - 1), column_number) != 0) return -1;
        column_index = int64_t{column_number} - 1;
        rest.remove_prefix(close + 1);
    }

    size_t stop = rest.find_first_of("0123456789$*(");
    if (stop == std::string_view::npos) return -1;
    std::string_view letters = rest.substr(0, stop);
    if (column_from_expression ? !letters.empty() : (column_index = column_from_letters(letters)) < 0) return -1;

    int64_t row_index = -1;
    switch (rest[stop]) {
        case '*':
            if (stop + 1 != rest.size()) return -1;
            row_index = kLastRow;
            break;
        case '(': {
            if (rest.back() != ')') return -1;
            int32_t evaluated = 0;
            if (eval_row_expression(book, sheet, rest.substr(stop + 1, rest.size() - stop - 2), evaluated) != 0)
                return -1;
            row_index = evaluated;
            break;
        }
        case '$': row_index = row_index_of(rest.substr(stop + 1)); break;
        default: row_index = row_index_of(rest.substr(stop)); break;
    }
    return store_position(row_index, column_index, row, column);
}

}  // namespace tova::model
