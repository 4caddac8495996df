#include "property/value_classifier.hpp"

#include <gtest/gtest.h>

namespace tova::property {
namespace {

using K = ValueKind;

struct Case {
    const char* value;
    ValueKind kind;
    const char* text = "";  // stored text for texts and formulas
};

const Case kCases[] = {
    {"123", K::Integer},
    {"0123", K::Integer},
    {"1,234", K::Integer},
    {"1,234,567", K::Integer},
    {"12,34", K::Text, "12,34"},
    {"1,2345", K::Text, "1,2345"},
    {",123", K::Text, ",123"},
    {"3.50", K::Decimal},
    {"-0.5", K::Decimal},
    {"1,234.5", K::Decimal},
    {"1.2,3", K::Text, "1.2,3"},
    {"9223372036854775807", K::Integer},
    {"9999999999999999999", K::Text, "9999999999999999999"},  // overflows 64 bits
    {"12345678901234567890", K::Text, "12345678901234567890"},  // 20 digits
    {"12.5%", K::Percent},
    {"1,234%", K::Percent},
    {"12,34%", K::Text, "12,34%"},
    {"abc%", K::Text, "abc%"},
    {"2024/02/29", K::Date},
    {"2023/02/29", K::Text, "2023/02/29"},
    {"2024/02/30", K::Text, "2024/02/30"},
    {"2024-2-3", K::Date},
    {"2024-2-9", K::Date},
    {"2024/02/03 10:30", K::DateTime},
    {"2024/02/29 12:30", K::DateTime},
    {"2024/02/03  10:30", K::Text, "2024/02/03  10:30"},
    {"10:30", K::Time},
    {"9:05", K::Time},
    {"10:30:15", K::TimeSeconds},
    {"10:61", K::Text, "10:61"},
    {"9:05:61", K::Text, "9:05:61"},
    {"10:-5", K::Text, "10:-5"},
    {"10:+5", K::Text, "10:+5"},
    {"30:00:00", K::TimeSeconds},
    {"9999:00", K::Time},                // 416 days and 15 hours
    {"10008:00", K::Text, "10008:00"},  // beyond the days a duration may span
    {"'123", K::Text, "123"},
    {"=SUM(A1:A3)", K::Formula, "SUM(A1:A3)"},
    {"= A1 * 2 \t", K::Formula, "A1 * 2"},
    {"\"quoted\"", K::Text, "quoted"},
    {"\"\"", K::Empty},
    {"", K::Empty},
    {"a\\nb", K::Text, "a\\nb"},
};

TEST(ValueClassifier, KindsOfValueTexts) {
    for (const auto& c : kCases) {
        Classified got = classify_value(c.value, false, false);
        EXPECT_EQ(static_cast<int>(got.kind), static_cast<int>(c.kind)) << c.value;
        if (c.kind == K::Text || c.kind == K::Formula) EXPECT_EQ(got.text, c.text) << c.value;
    }
}

TEST(ValueClassifier, ValuesCarried) {
    EXPECT_EQ(classify_value("1,234", false, false).integer, 1234);
    EXPECT_EQ(classify_value("-42", false, false).integer, -42);
    Classified decimal = classify_value("3.50", false, false);
    EXPECT_DOUBLE_EQ(decimal.real, 3.5);
    EXPECT_EQ(decimal.decimals, 2);
    EXPECT_DOUBLE_EQ(classify_value("12.5%", false, false).real, 0.125);
    EXPECT_DOUBLE_EQ(classify_value("1,234%", false, false).real, 12.34);

    Classified duration = classify_value("30:00:00", false, false);
    EXPECT_TRUE(duration.duration);
    EXPECT_EQ((std::tuple(duration.date.year, duration.date.month, duration.date.day, duration.date.hour)),
              (std::tuple(1900, 1, 1, 6)));
    Classified date_time = classify_value("2024/02/03 10:30", false, false);
    EXPECT_EQ((std::tuple(date_time.date.year, date_time.date.month, date_time.date.day, date_time.date.hour,
                          date_time.date.minute)),
              (std::tuple(2024, 2, 3, 10, 30)));
    Classified day60 = classify_value("1440:00", false, false);  // 60 days: the counted 1900-02-29
    EXPECT_EQ((std::tuple(day60.date.month, day60.date.day)), (std::tuple(2, 29)));
}

TEST(ValueClassifier, TextCellsKeepWhatIsWritten) {
    EXPECT_EQ(classify_value("'123", true, true).text, "'123");
    EXPECT_EQ(classify_value("=SUM(A1)", false, true).text, "=SUM(A1)");
    EXPECT_EQ(static_cast<int>(classify_value("123", false, true).kind), static_cast<int>(K::Text));
}

TEST(ValueClassifier, ThousandsSeparators) {
    EXPECT_TRUE(has_valid_thousands("1,234"));
    EXPECT_TRUE(has_valid_thousands("-12,345,678.25"));
    EXPECT_TRUE(has_valid_thousands("1234"));
    EXPECT_FALSE(has_valid_thousands("1,23"));
    EXPECT_FALSE(has_valid_thousands("1234,567"));
    EXPECT_FALSE(has_valid_thousands("1.234,5"));
    EXPECT_FALSE(has_valid_thousands(",123"));
}

}  // namespace
}  // namespace tova::property
