// The dataValidations element of a worksheet: the book's validation rules on that sheet.
#include <algorithm>
#include <cmath>
#include <string>

#include "api/work_area.hpp"
#include "writer/worksheet_part.hpp"

namespace tova::writer {
namespace {

using model::Validation;

constexpr std::string_view kTypeNames[] = {"list", "whole", "decimal", "date", "time", "textLength"};

// Operator 0 (between) is the default and writes no attribute.
constexpr std::string_view kOperators[] = {
    "", "operator=\"notBetween\"", "operator=\"equal\"", "operator=\"notEqual\"", "operator=\"greaterThan\"",
    "operator=\"lessThan\"", "operator=\"greaterThanOrEqual\"", "operator=\"lessThanOrEqual\"",
};

std::string_view type_name(int32_t kind) {
    return kind >= 0 && kind < static_cast<int32_t>(std::size(kTypeNames)) ? kTypeNames[kind] : kTypeNames[0];
}

std::string_view operator_attribute(int32_t op) {
    return op >= 0 && op < static_cast<int32_t>(std::size(kOperators)) ? kOperators[op] : kOperators[0];
}

void write_sqref(XmlOut& out, const XLS_RECT& a) {
    out.cell_ref(a.first_row, a.first_column);
    if (a.first_row != a.last_row || a.first_column != a.last_column) out.raw(':').cell_ref(a.last_row, a.last_column);
}

// The choices go inside one string literal of the formula, so their quotes are doubled.
void write_list_formula(XmlOut& out, std::string_view list) {
    std::string literal;
    literal.reserve(list.size());
    for (char c : list) {
        literal += c;
        if (c == '"') literal += '"';
    }
    out.raw("<formula1>\"").escaped(literal, enc::XML_ESCAPE).raw("\"</formula1>");
}

int64_t whole(double value) {
    constexpr double kLimit = 9.0e18;
    return static_cast<int64_t>(std::clamp(std::trunc(value), -kLimit, kLimit));
}

void write_formulas(XmlOut& out, const Validation& v) {
    switch (v.kind) {
        case model::kValidList:
            write_list_formula(out, v.list);
            return;
        case model::kValidDecimal:
        case model::kValidTime:
            out.raw("<formula1>").fixed(v.minimum, 6).raw("</formula1><formula2>").fixed(v.maximum, 6).raw("</formula2>");
            return;
        default:
            out.raw("<formula1>").number(whole(v.minimum)).raw("</formula1><formula2>").number(whole(v.maximum));
            out.raw("</formula2>");
            return;
    }
}

void write_data_validation(XmlOut& out, const Validation& v) {
    out.raw("<dataValidation type=\"").raw(type_name(v.kind)).raw("\" ").raw(operator_attribute(v.op));
    out.raw(" allowBlank=\"1\" showInputMessage=\"1\" showErrorMessage=\"1\" sqref=\"");
    write_sqref(out, v.area);
    out.raw("\">");
    write_formulas(out, v);
    out.raw("</dataValidation>");
}

}  // namespace

void write_data_validations(XmlOut& out, const XLS_BOOK& book, int32_t sheet_index) {
    const auto& validations = work_area(book)->book.validations;
    const int64_t count = std::count_if(validations.begin(), validations.end(),
                                        [&](const Validation& v) { return v.sheet == sheet_index; });
    if (count == 0) return;
    out.raw("<dataValidations count=\"").number(count).raw("\">");
    for (const Validation& v : validations)
        if (v.sheet == sheet_index) write_data_validation(out, v);
    out.raw("</dataValidations>");
}

}  // namespace tova::writer
