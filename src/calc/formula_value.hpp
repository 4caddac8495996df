// The values formulas compute with: numbers are doubles, as in the spreadsheet
// application, and references stay references until an operation reads them
// (a function such as ROW needs the position, not the value). Also the
// canonical text of a number, the one stored as a formula's cached result.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tova::calc {

// A rectangle of cells on one sheet, corners in order (first <= last).
struct CellArea {
    int32_t sheet = 0;
    int32_t first_row = 0, first_column = 0, last_row = 0, last_column = 0;
};

struct Value {
    enum class Kind : uint8_t { Number, Cell, Range };

    Kind kind = Kind::Number;
    bool behind_plus = false;  // a reference under a unary plus (see the aggregate functions)
    double number = 0.0;
    CellArea area;             // Cell and Range
    uint32_t text_begin = 0;   // the reference as written, inside the formula text
    uint32_t text_length = 0;

    static Value of(double number) {
        Value v;
        v.number = number;
        return v;
    }
    bool is_reference() const { return kind != Kind::Number; }
};

// Reads digits with at most one "." (and an optional leading sign when
// `signed_text`), at least one digit and nothing else; false otherwise.
bool read_decimal(std::string_view text, bool signed_text, double& number);

// A number the application can hold: finite and within its largest magnitude.
bool is_representable(double number);

// A double as its leading 15 significant decimal digits: the value is
// 0.d1d2...d15 times 10 to the power `exponent` (d1 is never 0 unless the value is 0).
struct Decimal15 {
    bool negative = false;
    char digits[15] = {};
    int exponent = 0;
};
Decimal15 to_decimal15(double number);

// The canonical text: whole numbers below 2^53 exactly, any other number with
// 15 significant digits; fixed notation, no trailing zeros, never "-0".
std::string canonical_text(double number);

// Sums terms as the application does and tells whether the result is settled:
// a sum that cancels to almost nothing (0.1+0.2-0.3) comes out differently
// depending on how it is added up, so it is not one to cache.
class Summation {
public:
    void add(double term);
    bool settled(double& sum) const;

private:
    double plain_ = 0.0;         // left to right, like the application
    double compensated_ = 0.0;   // Neumaier: what an exact-minded adder would get
    double compensation_ = 0.0;
    double largest_ = 0.0;       // largest magnitude among the terms
};

}  // namespace tova::calc
