#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "load/field_splitter.hpp"

namespace tova {
namespace {

using load::SplitResult;

struct Case {
    const char* name;
    char separator;
    std::string line;
    SplitResult result;
    std::vector<std::string> fields;
};

const Case kCases[] = {
    {"plain", ',', "a,b,c", SplitResult::Ok, {"a", "b", "c"}},
    {"empty_line", ',', "", SplitResult::Ok, {}},
    {"one_empty_field_pair", ',', ",", SplitResult::Ok, {"", ""}},
    {"trailing_separator", ',', "a,", SplitResult::Ok, {"a", ""}},
    {"comma_inside_quotes", ',', "1,\"x,y\",,2", SplitResult::Ok, {"1", "x,y", "", "2"}},
    {"blanks_stay", ',', " a , b ", SplitResult::Ok, {" a ", " b "}},
    {"quoted_empty", ',', "\"\",x", SplitResult::Ok, {"", "x"}},
    {"doubled_quotes_stay", ',', "\"say \"\"hi\"\"\"", SplitResult::Ok, {"say \"\"hi\"\""}},
    {"quote_inside_field_kept", ',', "a\"b,c\"d", SplitResult::Ok, {"a\"b,c\"d"}},
    {"lone_quote_pair_mid", ',', "ab\"\"", SplitResult::Ok, {"ab\"\""}},
    {"quoted_line_break", ',', "\"a\r\nb\",c", SplitResult::Ok, {"a\r\nb", "c"}},
    {"tab", '\t', "a\tb,c\t\"d\te\"", SplitResult::Ok, {"a", "b,c", "d\te"}},
    {"comma_not_tab_separator", '\t', "a,b", SplitResult::Ok, {"a,b"}},
    {"japanese", ',', "日本語,表示,ソフト", SplitResult::Ok, {"日本語", "表示", "ソフト"}},
    {"unclosed", ',', "a,\"b,c", SplitResult::UnclosedQuote, {}},
    {"unclosed_last", ',', "a,b\"", SplitResult::UnclosedQuote, {}},
    {"field_of_4000", ',', std::string(4000, 'x') + ",y", SplitResult::Ok, {std::string(4000, 'x'), "y"}},
    {"quoted_field_of_4000", ',', "\"" + std::string(4000, 'x') + "\"", SplitResult::Ok, {std::string(4000, 'x')}},
    {"field_of_4001", ',', std::string(4001, 'x') + ",y", SplitResult::FieldTooLong, {}},
    {"last_field_of_4001", ',', "y," + std::string(4001, 'x'), SplitResult::FieldTooLong, {}},
};

TEST(FieldSplitter, Cases) {
    std::vector<std::string_view> fields;
    for (const Case& c : kCases) {
        EXPECT_EQ(load::tob_split_fields(c.separator, c.line, fields), c.result) << c.name;
        if (c.result != SplitResult::Ok) continue;
        ASSERT_EQ(fields.size(), c.fields.size()) << c.name;
        for (size_t i = 0; i < fields.size(); ++i) EXPECT_EQ(fields[i], c.fields[i]) << c.name << " field " << i;
    }
}

TEST(FieldSplitter, AtMostAThousandFields) {
    std::string line(999, ',');  // 1000 empty fields
    std::vector<std::string_view> fields;
    EXPECT_EQ(load::tob_split_fields(',', line, fields), SplitResult::Ok);
    EXPECT_EQ(fields.size(), 1000u);
    line += ',';
    EXPECT_EQ(load::tob_split_fields(',', line, fields), SplitResult::TooManyFields);
    line = std::string(1000, ',') + "x";
    EXPECT_EQ(load::tob_split_fields(',', line, fields), SplitResult::TooManyFields);
}

}  // namespace
}  // namespace tova
