// Serial day numbers of the 1900 date system: serial 1 is 1900-01-01, serial
// 60 is the day 1900-02-29 that the system counts, the fraction is the time.
#pragma once

#include <cstdint>

namespace tova::calc {

constexpr double kMaxSerial = 2958465.0;  // 9999-12-31

struct DateTime {
    int32_t year = 1900, month = 1, day = 1;
    int32_t hour = 0, minute = 0, second = 0;
};

// Splits a serial; values outside 0..2958465 (NaN and infinities too) give 1900-01-01 00:00:00.
int tob_serial_to_date(double serial, DateTime& out);

// 0 and the serial, or -1 (serial 0) for a date that does not exist in the system.
int tob_date_to_serial(const DateTime& in, double& serial);

int tob_is_leap_year(int32_t year);                 // 0 leap, -1 not
int tob_weekday(int32_t year, int32_t month, int32_t day);  // 0 Sunday .. 6 Saturday
int tob_two_digit_year(int32_t year, int32_t& out);

}  // namespace tova::calc

namespace tova::calc {

// True for a calendar date of the system (1900-02-29 included, as the system counts it).
bool date_exists(int32_t year, int32_t month, int32_t day);

}  // namespace tova::calc
