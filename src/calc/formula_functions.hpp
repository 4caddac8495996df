// The functions formulas may call: one table entry and one routine each.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "calc/formula_cells.hpp"
#include "calc/formula_value.hpp"

namespace tova::calc {

// How a function takes the references among its arguments.
enum class Operands : uint8_t {
    Positions,  // only where they are (ROW): their cells are not read
    Scalars,    // one number each: a single cell reads as its value, a range is refused
    Aggregate,  // every cell of the cell or range, blanks left out
};

struct FunctionCall {
    const CellReader& cells;
    CellId own;                    // the cell whose formula is being evaluated
    std::span<const Value> args;   // in formula order
};

// 0 with the result, or the failure code.
using Routine = int (*)(const FunctionCall& call, double& result);

struct FunctionSpec {
    std::string_view name;  // upper case
    int min_args;
    int max_args;           // -1: any number
    bool arity_stops_save;  // a wrong count leaves TOVA-03201 or TOVA-03202 and stops the save
    Operands operands;
    Routine routine;
};

// The index of the function in the table, by its upper-cased name.
std::optional<uint8_t> find_function(std::string_view upper_name);
const FunctionSpec& function_at(uint8_t index);

}  // namespace tova::calc
