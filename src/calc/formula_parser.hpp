// Turning a stored formula into a program in postfix order: operands first,
// then the operation that takes them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calc/formula_cells.hpp"
#include "calc/formula_value.hpp"
#include "tova_api.h"

namespace tova::calc {

enum class OpKind : uint8_t {
    Push,      // a number or a reference (value)
    Negate,
    Plus,      // unary plus
    Add,
    Subtract,
    Multiply,
    Divide,
    Call,      // function `function` with the `count` values on top of the stack
};

struct Op {
    OpKind kind = OpKind::Push;
    uint8_t function = 0;
    uint16_t count = 0;
    Value value;
};

struct Program {
    std::vector<Op> ops;
    std::string texts;  // the references as written, for messages (Value::text_begin)
};

constexpr size_t kFormulaTextMax = 4000;

// Compiles the formula of a cell of kind 50 or 51 whose position is `own`:
// 0; 1403 for a formula text over kFormulaTextMax bytes; -1 when it cannot
// be computed here (some causes leave their message, see cut_formula and the
// arity of the functions). Formulas a reader kept whole (text beginning with
// "<") and formulas whose cell declares a result type are never computed.
int compile_formula(XLS_BOOK& book, CellId own, Program& program);

}  // namespace tova::calc
