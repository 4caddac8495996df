// Internals shared by the reference parsers and the reference text substitutions.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "api/messages.hpp"
#include "tova_api.h"

namespace tova::model {

inline int32_t saturated(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Index of the ")" that matches the "(" at `open`, counting nesting; npos when none does.
size_t matching_parenthesis(std::string_view text, size_t open);

// The value of an expression, or the message it fails with and the token that message quotes.
struct ExpressionValue {
    int32_t value = 0;  // saturated to its range
    std::optional<Msg> error;
    std::string token;
};

// Sums the operands of a reference expression: numbers, $name variables and
// `counter` ("$ROWNUM" or "$CLMNUM"), which stands for `counter_value`. An
// operand after "+" or "-" is added or subtracted, one without a sign replaces
// the sum. Writes no message.
ExpressionValue evaluate_expression(const XLS_BOOK& book, std::string_view expression, std::string_view counter,
                                    int32_t counter_value);

// The one-based number of the last used column of the current sheet: the
// largest count of cell slots in use over its rows (0 without rows).
int32_t last_used_column(const XLS_BOOK& book);

}  // namespace tova::model
