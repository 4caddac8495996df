// Cutting a formula into tokens and sorting them into kinds. The text is the
// formula as the user wrote it (not XML-escaped), without the leading "=".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tova_api.h"

namespace tova::calc {

enum class TokenKind : uint8_t {
    Number,       // digits with at most one "."
    Reference,    // anything else that is not an operator: a cell or range, or not understood
    Function,     // a name right before "(", upper-cased
    Open,
    Close,
    Comma,
    Plus,
    Minus,
    Times,
    Divide,
    Unsupported,  // a text literal, "=" and the like: the formula cannot be computed here
};

struct Token {
    TokenKind kind;
    std::string text;
};

constexpr size_t kMaxTokens = 100;

// 0 with the tokens; -1 when the formula cannot be computed. "^" and "%"
// (TOVA-02201) and unbalanced parentheses (TOVA-02304) leave their message.
int cut_formula(XLS_BOOK& book, std::string_view formula, std::vector<Token>& tokens);

}  // namespace tova::calc
