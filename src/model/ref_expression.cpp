// The row and column expressions that may stand inside a reference.
#include <algorithm>

#include "api/arglist.hpp"
#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "model/cell_ref.hpp"
#include "model/cell_ref_expression.hpp"

namespace tova::model {
namespace {

enum class Sign { None, Plus, Minus };

// The zero-based row $ROWNUM stands for: the last row of the latest data load,
// else the last row in use.
int32_t last_loaded_row_index(const Sheet* sheet) {
    if (sheet == nullptr) return 0;
    if (sheet->last_loaded_row >= 1) return sheet->last_loaded_row - 1;
    return std::max(sheet->rows_in_use() - 1, 0);
}

ExpressionValue failure(Msg error, std::string token) { return {0, error, std::move(token)}; }

int report(XLS_BOOK& book, const ExpressionValue& result) {
    return fail(book, kFailed, *result.error, {quoted(charset_of(book), result.token)});
}

}  // namespace

size_t matching_parenthesis(std::string_view text, size_t open) {
    size_t depth = 0;
    for (size_t i = open; i < text.size(); ++i) {
        if (text[i] == '(') ++depth;
        if (text[i] == ')' && --depth == 0) return i;
    }
    return std::string_view::npos;
}

ExpressionValue evaluate_expression(const XLS_BOOK& book, std::string_view expression, std::string_view counter,
                                    int32_t counter_value) {
    const WorkArea* area = work_area(book);
    int charset = charset_of(book);
    ExpressionValue result;
    Sign sign = Sign::None;
    std::string token;
    for (size_t position = 0;;) {
        int rc = args::next_expression(charset, expression, position, token);
        if (rc == args::kNoToken) return result;
        if (rc != 0) return failure(Msg::UnsupportedKeyword, std::string(expression));

        int64_t operand = 0;
        if (token == counter) {
            operand = counter_value;
        } else if (token.front() == '$') {
            auto value = area ? area->book.variables.get(std::string_view(token).substr(1)) : std::nullopt;
            if (!value) return failure(Msg::VariableUnavailable, token);
            if (!is_number_text(*value)) return failure(Msg::BadNumber, token);
            operand = leading_integer(*value);
        } else if (token == "+" || token == "-") {
            sign = token == "+" ? Sign::Plus : Sign::Minus;
            continue;
        } else if (token == "*" || token == "/") {
            return failure(Msg::UnsupportedOperator, token);
        } else if (!is_number_text(token)) {
            return failure(Msg::UnsupportedKeyword, token);
        } else {
            operand = leading_integer(token);
        }
        // Kept within int32_t, where every operand is, so the sum never overflows.
        result.value = saturated(sign == Sign::Plus    ? int64_t{result.value} + operand
                                 : sign == Sign::Minus ? int64_t{result.value} - operand
                                                       : operand);
        sign = Sign::None;
    }
}

int32_t last_used_column(const XLS_BOOK& book) {
    const Sheet* sheet = referenced_sheet(book, -1);
    size_t widest = 0;
    if (sheet != nullptr)
        for (const Row& row : sheet->rows) widest = std::max(widest, row.cells.size());
    return static_cast<int32_t>(widest);
}

int eval_row_expression(XLS_BOOK& book, int32_t sheet, std::string_view expression, int32_t& row) {
    row = 0;
    ExpressionValue result =
        evaluate_expression(book, expression, "$ROWNUM", last_loaded_row_index(referenced_sheet(book, sheet)));
    if (result.error) return report(book, result);
    row = result.value;
    return 0;
}

int eval_column_expression(XLS_BOOK& book, std::string_view expression, int32_t& column_number) {
    column_number = 0;
    ExpressionValue result = evaluate_expression(book, expression, "$CLMNUM", last_used_column(book));
    if (result.error) return report(book, result);
    column_number = result.value;
    return 0;
}

}  // namespace tova::model
