#include "calc/formula_value.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tova::calc {
namespace {

constexpr double kLargestNumber = 9.99999999999999e307;
constexpr double kExactWholeLimit = 0x1p53;
// Cancellation that leaves less than this share of the largest term: the
// applications disagree on such results (some snap them to 0, some do not).
constexpr double kCancellationShare = 0x1p-44;
// Plain and compensated sums further apart than this are order-dependent.
constexpr double kOrderTolerance = 1e-12;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool read_decimal(std::string_view text, bool signed_text, double& number) {
    bool negative = false;
    if (signed_text && !text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    bool digit_seen = false, point_seen = false;
    for (char c : text) {
        if (is_digit(c)) {
            digit_seen = true;
        } else if (c == '.' && !point_seen) {
            point_seen = true;
        } else {
            return false;
        }
    }
    if (!digit_seen) return false;
    double parsed = 0.0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed, std::chars_format::fixed);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    number = negative ? -parsed : parsed;
    return true;
}

bool is_representable(double number) { return std::isfinite(number) && std::fabs(number) <= kLargestNumber; }

Decimal15 to_decimal15(double number) {
    Decimal15 out;
    char text[40];
    std::snprintf(text, sizeof text, "%.14e", number);  // "-d.ddddddddddddddde+XX"
    const char* p = text;
    if (*p == '-') {
        out.negative = true;
        ++p;
    }
    out.digits[0] = *p++;
    ++p;  // the point
    for (int i = 1; i < 15; ++i) out.digits[i] = *p++;
    ++p;  // 'e'
    out.exponent = number == 0.0 ? 0 : std::atoi(p) + 1;
    return out;
}

std::string canonical_text(double number) {
    if (number == 0.0) return "0";
    if (std::trunc(number) == number && std::fabs(number) < kExactWholeLimit) {
        char digits[24];
        auto [end, ec] = std::to_chars(digits, digits + sizeof digits, static_cast<int64_t>(number));
        return std::string(digits, end);
    }
    const Decimal15 d = to_decimal15(number);
    int count = 15;
    while (count > 1 && d.digits[count - 1] == '0') --count;
    std::string out = d.negative ? "-" : "";
    if (d.exponent <= 0) {
        out += "0.";
        out.append(static_cast<size_t>(-d.exponent), '0');
        out.append(d.digits, static_cast<size_t>(count));
    } else if (d.exponent >= count) {
        out.append(d.digits, static_cast<size_t>(count));
        out.append(static_cast<size_t>(d.exponent - count), '0');
    } else {
        out.append(d.digits, static_cast<size_t>(d.exponent));
        out += '.';
        out.append(d.digits + d.exponent, static_cast<size_t>(count - d.exponent));
    }
    return out;
}

void Summation::add(double term) {
    plain_ += term;
    double next = compensated_ + term;
    compensation_ += std::fabs(compensated_) >= std::fabs(term) ? (compensated_ - next) + term
                                                                : (term - next) + compensated_;
    compensated_ = next;
    largest_ = std::fmax(largest_, std::fabs(term));
}

bool Summation::settled(double& sum) const {
    const double exact = compensated_ + compensation_;
    if (!is_representable(plain_) || !is_representable(exact)) return false;
    if (std::fabs(plain_ - exact) > kOrderTolerance * std::fabs(exact)) return false;
    if (plain_ != 0.0 && std::fmax(std::fabs(plain_), std::fabs(exact)) < largest_ * kCancellationShare) return false;
    sum = plain_;
    return true;
}

}  // namespace tova::calc
