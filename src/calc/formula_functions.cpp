#include "calc/formula_functions.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "api/call_frame.hpp"

namespace tova::calc {
namespace {

// Feeds `take` every number the arguments hold: direct numbers, and the
// numbers of referenced cells, blanks left out as the application does.
template <class Take>
int each_number(const FunctionCall& call, Take&& take) {
    for (const Value& arg : call.args) {
        if (!arg.is_reference()) {
            take(arg.number);
            continue;
        }
        // Whether "+A1" still counts as the reference differs between applications.
        if (arg.behind_plus) return kFailed;
        int rc = 0;
        call.cells.for_each_cell(arg.area, CellId{arg.area.sheet, arg.area.first_row, arg.area.first_column},
                                 [&](CellId id) {
                                     const CellContent c = call.cells.content(id);
                                     if (c.kind == CellContent::Kind::Number) take(c.number);
                                     else if (c.kind == CellContent::Kind::Unreadable) rc = c.code;
                                     else if (c.kind == CellContent::Kind::Pending) rc = kFailed;
                                     return rc == 0;
                                 });
        if (rc != 0) return rc;
    }
    return 0;
}

int sum(const FunctionCall& call, double& result) {
    Summation total;
    if (int rc = each_number(call, [&](double x) { total.add(x); })) return rc;
    return total.settled(result) ? 0 : kFailed;
}

int average(const FunctionCall& call, double& result) {
    Summation total;
    long count = 0;
    if (int rc = each_number(call, [&](double x) {
            total.add(x);
            ++count;
        }))
        return rc;
    double sum = 0.0;
    if (count == 0 || !total.settled(sum)) return kFailed;
    result = sum / static_cast<double>(count);
    return 0;
}

int count(const FunctionCall& call, double& result) {
    long count = 0;
    if (int rc = each_number(call, [&](double) { ++count; })) return rc;
    result = static_cast<double>(count);
    return 0;
}

// The smallest (or largest) number; 0 when there is none, as the application gives.
template <bool Largest>
int extreme(const FunctionCall& call, double& result) {
    bool any = false;
    double best = 0.0;
    if (int rc = each_number(call, [&](double x) {
            if (!any || (Largest ? x > best : x < best)) best = x;
            any = true;
        }))
        return rc;
    result = best;
    return 0;
}

int row(const FunctionCall& call, double& result) {
    if (call.args.empty()) {
        result = call.own.row + 1.0;
        return 0;
    }
    const Value& arg = call.args[0];
    if (!arg.is_reference()) return kFailed;
    result = arg.area.first_row + 1.0;
    return 0;
}

enum class Rounding { Nearest, Up, Down };  // halves away from zero; away from zero; towards zero

// Rounds at `places` decimals (negative: tens, hundreds...) on the value's 15
// significant digits, so that 1.005 rounds as the decimal it was written as.
bool round_decimal(double x, int places, Rounding mode, double& result) {
    if (x == 0.0) {
        result = 0.0;
        return true;
    }
    const Decimal15 d = to_decimal15(x);
    const int kept = d.exponent + places;  // leading digits that stay
    if (kept >= 15) {
        result = x;
        return true;
    }
    int64_t mantissa = 0;
    for (int i = 0; i < kept; ++i) mantissa = mantissa * 10 + (d.digits[i] - '0');
    bool away = false;
    const int first_dropped = kept < 0 ? 0 : kept;
    switch (mode) {
        case Rounding::Nearest: away = kept >= 0 && d.digits[kept] >= '5'; break;
        case Rounding::Up:
            for (int i = first_dropped; i < 15; ++i) away = away || d.digits[i] != '0';
            break;
        case Rounding::Down: break;
    }
    if (away) ++mantissa;
    if (mantissa == 0) {
        result = 0.0;
        return true;
    }
    // mantissa x 10^-places, read back as the double nearest to that decimal.
    char text[48];
    auto [end, ec] = std::to_chars(text, text + 24, mantissa);
    *end++ = 'e';
    end = std::to_chars(end, text + sizeof text, -places).ptr;
    double magnitude = 0.0;
    if (std::from_chars(text, end, magnitude, std::chars_format::scientific).ec != std::errc()) return false;
    result = d.negative ? -magnitude : magnitude;
    return is_representable(result);
}

// The decimal places of a rounding function: whole numbers, and positive
// fractions cut to whole (applications part ways on negative fractions).
bool places_of(double number, int& places) {
    constexpr double kPlacesLimit = 400;  // beyond, every double rounds alike
    if (number < 0 && std::trunc(number) != number) return false;
    places = static_cast<int>(std::fmax(-kPlacesLimit, std::fmin(kPlacesLimit, std::trunc(number))));
    return true;
}

template <Rounding Mode>
int round_at(const FunctionCall& call, double& result) {
    double x = 0.0, places_number = 0.0;
    if (int rc = call.cells.scalar(call.args[0], x)) return rc;
    if (call.args.size() > 1)
        if (int rc = call.cells.scalar(call.args[1], places_number)) return rc;
    int places = 0;
    if (!places_of(places_number, places) || !round_decimal(x, places, Mode, result)) return kFailed;
    // Rounding to whole numbers, applications part ways on a value just short of
    // a half that displays as one (2.4999999999999996): such a result is not settled.
    if (Mode == Rounding::Nearest && places == 0 && std::round(x) != result) return kFailed;
    return 0;
}

constexpr int kAny = -1;

constexpr std::array<FunctionSpec, 10> kFunctions = {{
    {"ROW", 0, 1, true, Operands::Positions, row},
    {"SUM", 1, kAny, false, Operands::Aggregate, sum},
    {"AVERAGE", 1, kAny, false, Operands::Aggregate, average},
    {"COUNT", 1, kAny, false, Operands::Aggregate, count},
    {"MIN", 1, kAny, false, Operands::Aggregate, extreme<false>},
    {"MAX", 1, kAny, false, Operands::Aggregate, extreme<true>},
    {"ROUND", 2, 2, true, Operands::Scalars, round_at<Rounding::Nearest>},
    {"ROUNDUP", 2, 2, true, Operands::Scalars, round_at<Rounding::Up>},
    {"ROUNDDOWN", 2, 2, true, Operands::Scalars, round_at<Rounding::Down>},
    {"TRUNC", 1, 2, true, Operands::Scalars, round_at<Rounding::Down>},
}};

}  // namespace

std::optional<uint8_t> find_function(std::string_view upper_name) {
    for (size_t i = 0; i < kFunctions.size(); ++i)
        if (kFunctions[i].name == upper_name) return static_cast<uint8_t>(i);
    return std::nullopt;
}

const FunctionSpec& function_at(uint8_t index) { return kFunctions[index]; }

}  // namespace tova::calc
