// $ROWNUM and $CLMNUM groups replaced by numbers in reference and formula texts.
#include <optional>

#include "model/cell_ref.hpp"
#include "model/cell_ref_expression.hpp"

namespace tova::model {
namespace {

constexpr std::string_view kRownum = "$ROWNUM";
constexpr std::string_view kClmnum = "$CLMNUM";

size_t skip_blanks(std::string_view text, size_t i) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return i;
}

struct Group {
    int32_t row_number;
    size_t end;  // just past the ")"
};

// A group "(" $ROWNUM, signed whole numbers, ")" opening at `open`: ($ROWNUM),
// ($ROWNUM+1), ( $ROWNUM - 2 + 1 ). Anything else is not one.
std::optional<Group> rownum_group(std::string_view text, size_t open, int32_t last_loaded_row) {
    size_t i = skip_blanks(text, open + 1);
    if (text.substr(i, kRownum.size()) != kRownum) return std::nullopt;
    int32_t value = last_loaded_row;
    for (i += kRownum.size();;) {
        i = skip_blanks(text, i);
        if (i >= text.size()) return std::nullopt;
        if (text[i] == ')') break;
        if (text[i] != '+' && text[i] != '-') return std::nullopt;
        bool minus = text[i] == '-';
        size_t digits = skip_blanks(text, i + 1);
        i = std::min(text.find_first_not_of("0123456789", digits), text.size());
        if (i == digits) return std::nullopt;
        int64_t offset = leading_integer(text.substr(digits, i - digits));
        value = saturated(minus ? int64_t{value} - offset : int64_t{value} + offset);
    }
    if (value < 1 || value > kLastRow + 1) value = 1;
    return Group{value, i + 1};
}

}  // namespace

void substitute_rownum(const XLS_BOOK& book, std::string& text) {
    if (text.size() > kReferenceTextMax || text.find(kRownum) == std::string::npos) return;
    const Sheet* sheet = referenced_sheet(book, -1);
    if (sheet == nullptr || sheet->rows.empty()) return;

    // Quotes and "(" are never trail bytes of a multibyte character, so the
    // text can be scanned byte by byte.
    std::string result;
    size_t copied = 0;
    for (size_t i = 0; i < text.size();) {
        char c = text[i];
        std::optional<Group> group;
        if (c == '"' || c == '\'') {
            // Strings and quoted sheet names are kept as they are.
            size_t close = text.find(c, i + 1);
            i = close == std::string::npos ? text.size() : close + 1;
        } else if (c == '(' && (group = rownum_group(text, i, sheet->last_loaded_row))) {
            result.append(text, copied, i - copied);
            result += std::to_string(group->row_number);
            i = copied = group->end;
        } else {
            ++i;
        }
    }
    if (copied == 0) return;
    result.append(text, copied);
    text = std::move(result);
}

void substitute_clmnum(const XLS_BOOK& book, std::string& text) {
    if (text.empty() || text.front() != '(') return;
    size_t close = matching_parenthesis(text, 0);
    if (close == std::string::npos) return;
    std::string_view group = std::string_view(text).substr(1, close - 1);
    if (group.find(kClmnum) == std::string_view::npos) return;
    ExpressionValue result = evaluate_expression(book, group, kClmnum, std::max(last_used_column(book), 1));
    if (result.error) return;  // the parse evaluates the group again and reports it
    text.replace(1, close - 1, std::to_string(result.value));
}

}  // namespace tova::model
