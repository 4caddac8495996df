#include "calc/serial_date.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tova::calc {
namespace {

struct SerialCase {
    double serial;
    DateTime date;
};

constexpr SerialCase kSplits[] = {
    {0, {1900, 1, 0, 0, 0, 0}},
    {1, {1900, 1, 1, 0, 0, 0}},
    {59, {1900, 2, 28, 0, 0, 0}},
    {60, {1900, 2, 29, 0, 0, 0}},
    {61, {1900, 3, 1, 0, 0, 0}},
    {36526, {2000, 1, 1, 0, 0, 0}},
    {45000, {2023, 3, 15, 0, 0, 0}},
    {2958465, {9999, 12, 31, 0, 0, 0}},
    {2958466, {1900, 1, 1, 0, 0, 0}},
    {-1, {1900, 1, 1, 0, 0, 0}},
    {45000.5, {2023, 3, 15, 12, 0, 0}},
    {45000.000001, {2023, 3, 15, 0, 0, 0}},  // below the time threshold
    {1.000001, {1900, 1, 1, 0, 0, 0}},       // day 1 keeps any fraction, here rounding to 0 s
    {45000.99999999, {2023, 3, 15, 24, 0, 0}},
};

TEST(SerialToDate, SplitsTheSystemsDays) {
    for (const auto& c : kSplits) {
        DateTime d;
        EXPECT_EQ(tob_serial_to_date(c.serial, d), 0);
        EXPECT_EQ((std::tuple(d.year, d.month, d.day, d.hour, d.minute, d.second)),
                  (std::tuple(c.date.year, c.date.month, c.date.day, c.date.hour, c.date.minute, c.date.second)))
            << "serial " << c.serial;
    }
}

TEST(SerialToDate, NonFiniteValuesAreOutOfRange) {
    for (double bad : {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        DateTime d;
        tob_serial_to_date(bad, d);
        EXPECT_EQ((std::tuple(d.year, d.month, d.day, d.hour)), (std::tuple(1900, 1, 1, 0)));
    }
}

struct DateCase {
    DateTime date;
    int rc;
    double serial;
};

constexpr DateCase kJoins[] = {
    {{1900, 1, 1, 0, 0, 0}, 0, 1},
    {{1900, 2, 28, 0, 0, 0}, 0, 59},
    {{1900, 2, 29, 0, 0, 0}, 0, 60},
    {{1900, 3, 1, 0, 0, 0}, 0, 61},
    {{2000, 1, 1, 0, 0, 0}, 0, 36526},
    {{2023, 3, 15, 0, 0, 0}, 0, 45000},
    {{2023, 2, 31, 0, 0, 0}, 0, 44988},  // runs into March
    {{9999, 12, 31, 0, 0, 0}, 0, 2958465},
    {{1899, 12, 31, 0, 0, 0}, -1, 0},
    {{10000, 1, 1, 0, 0, 0}, -1, 0},
    {{2023, 13, 1, 0, 0, 0}, -1, 0},
    {{2023, 1, 32, 0, 0, 0}, -1, 0},
    {{0, 0, 0, 12, 0, 0}, 0, 0.5},
    {{0, 0, 0, 30, 0, 0}, 0, 1.25},  // time alone is taken as it is
    {{2023, 3, 15, 25, 61, 0}, 0, 45000},  // out-of-range parts count as 0
    {{2023, 3, 15, 6, 0, 0}, 0, 45000.25},
};

TEST(DateToSerial, JoinsAndRefuses) {
    for (const auto& c : kJoins) {
        double serial = -7;
        EXPECT_EQ(tob_date_to_serial(c.date, serial), c.rc) << c.date.year << "-" << c.date.month << "-" << c.date.day;
        EXPECT_DOUBLE_EQ(serial, c.serial) << c.date.year << "-" << c.date.month << "-" << c.date.day;
    }
}

TEST(DateToSerial, RoundTripsEveryDayOfTheSystem) {
    for (int n = 1; n <= 2958465; n += 7) {
        DateTime d;
        tob_serial_to_date(n, d);
        double back = 0;
        ASSERT_EQ(tob_date_to_serial(d, back), 0) << n;
        ASSERT_EQ(back, n) << n;
    }
}

TEST(Calendar, WeekdayLeapYearAndTwoDigitYear) {
    EXPECT_EQ(tob_weekday(1900, 1, 1), 1);
    EXPECT_EQ(tob_weekday(1900, 2, 29), 4);
    EXPECT_EQ(tob_weekday(1900, 3, 1), 4);
    EXPECT_EQ(tob_weekday(2026, 12, 11), 5);
    EXPECT_EQ(tob_weekday(2024, 2, 29), 4);

    EXPECT_EQ(tob_is_leap_year(1900), -1);
    EXPECT_EQ(tob_is_leap_year(2000), 0);
    EXPECT_EQ(tob_is_leap_year(2024), 0);
    EXPECT_EQ(tob_is_leap_year(2023), -1);

    struct { int year, two; } years[] = {{1900, 0}, {1901, 1}, {1999, 99}, {2005, 5}, {2100, 100}};
    for (auto [year, two] : years) {
        int32_t out = -1;
        tob_two_digit_year(year, out);
        EXPECT_EQ(out, two) << year;
    }
}

TEST(Calendar, DateExists) {
    EXPECT_TRUE(date_exists(2024, 2, 29));
    EXPECT_FALSE(date_exists(2023, 2, 29));
    EXPECT_TRUE(date_exists(1900, 2, 29));
    EXPECT_FALSE(date_exists(2024, 2, 30));
    EXPECT_FALSE(date_exists(2024, 4, 31));
    EXPECT_FALSE(date_exists(1899, 12, 31));
}

}  // namespace
}  // namespace tova::calc
