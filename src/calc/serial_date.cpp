#include "calc/serial_date.hpp"

#include <cmath>

namespace tova::calc {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (month may run past its end).
int64_t days_from_civil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civil_from_days(int64_t z, int32_t& year, int32_t& month, int32_t& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int32_t>(yoe + era * 400 + (month <= 2));
}

const int64_t kDay0 = days_from_civil(1899, 12, 31);  // serial 0 counted as 1900-01-00

double time_fraction(int32_t hour, int32_t minute, int32_t second) {
    return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

}  // namespace

int tob_serial_to_date(double serial, DateTime& out) {
    out = DateTime{};
    if (!(serial >= 0.0 && serial <= kMaxSerial)) return 0;  // also NaN
    const int64_t n = static_cast<int64_t>(serial);
    const double f = serial - static_cast<double>(n);

    if (n == 0) {
        out.day = 0;  // 1900-01-00
    } else if (n == 60) {
        out.month = 2;
        out.day = 29;  // the day the 1900 system counts although it never was
    } else {
        civil_from_days(kDay0 + (n < 60 ? n : n - 1), out.year, out.month, out.day);
    }

    if (f > 0.00001 || (n == 1 && f > 0.0)) {
        const int32_t s = static_cast<int32_t>(f * 86400.0 + 0.5);
        out.hour = s / 3600;
        out.minute = (s % 3600) / 60;
        out.second = s % 60;
    }
    return 0;
}

int tob_date_to_serial(const DateTime& in, double& serial) {
    serial = 0.0;
    if (in.year == 0 && in.month == 0 && in.day == 0) {
        serial = time_fraction(in.hour, in.minute, in.second);
        return 0;
    }
    const int32_t year = in.year == 0 ? 1900 : in.year;
    const int32_t month = in.month == 0 ? 1 : in.month;
    const int32_t day = in.day == 0 ? 1 : in.day;
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return -1;

    const int32_t hour = in.hour >= 0 && in.hour <= 24 ? in.hour : 0;
    const int32_t minute = in.minute >= 0 && in.minute <= 60 ? in.minute : 0;
    const int32_t second = in.second >= 0 && in.second <= 60 ? in.second : 0;

    int64_t days;
    if (year == 1900 && month <= 2) {
        days = (month == 2 ? 31 : 0) + day;  // February 29 falls on serial 60 by itself
    } else {
        days = days_from_civil(year, month, 1) - kDay0 + day;  // the counted 1900-02-29 adds one
    }
    serial = static_cast<double>(days) + time_fraction(hour, minute, second);
    return 0;
}

int tob_is_leap_year(int32_t year) {
    return ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0) ? 0 : -1;
}

int tob_weekday(int32_t year, int32_t month, int32_t day) {
    int64_t y = year;
    int64_t month_term;
    if (month >= 3) {
        month_term = (13 * month + 8) / 5;
    } else {
        y -= 1;
        month_term = (13 * month + 164) / 5;
    }
    int64_t w = (y + y / 4 - y / 100 + y / 400 + month_term + day) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

int tob_two_digit_year(int32_t year, int32_t& out) {
    out = year == 1900 ? 0 : year < 2000 ? year - 1900 : year - 2000;
    return 0;
}

bool date_exists(int32_t year, int32_t month, int32_t day) {
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static constexpr int32_t kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int32_t last = kMonthDays[month - 1] + (month == 2 && (tob_is_leap_year(year) == 0 || year == 1900));
    return day <= last;
}

}  // namespace tova::calc
