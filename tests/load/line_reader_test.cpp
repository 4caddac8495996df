#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "load/line_reader.hpp"
#include "load_fixture.hpp"

namespace tova {
namespace {

using load::LinePosition;
using load::TextFile;

struct Line {
    std::string text;
    int64_t line_number;
};

std::vector<Line> read_all(TextFile& file) {
    std::vector<Line> lines;
    std::string line;
    LinePosition position;
    while (load::tob_read_line(file, line, position) == 1) lines.push_back({line, position.line_number});
    return lines;
}

struct Case {
    const char* name;
    std::string bytes;
    std::vector<Line> lines;
};

const Case kCases[] = {
    {"lf", "a\nb\n", {{"a", 1}, {"b", 2}}},
    {"crlf", "a\r\nb\r\n", {{"a", 1}, {"b", 2}}},
    {"cr", "a\rb\r", {{"a", 1}, {"b", 2}}},
    {"mixed", "a\rb\r\nc\nd", {{"a", 1}, {"b", 2}, {"c", 3}, {"d", 4}}},
    {"no_final_break", "a\nb", {{"a", 1}, {"b", 2}}},
    {"empty_lines_count", "\n\na\n", {{"", 1}, {"", 2}, {"a", 3}}},
    {"cr_then_cr_lf", "a\r\r\nb", {{"a", 1}, {"", 2}, {"b", 3}}},
    {"quoted_lf", "x=\"1\n2\"\ny\n", {{"x=\"1\n2\"", 1}, {"y", 3}}},
    {"quoted_crlf", "x=\"1\r\n2\"\r\ny\r\n", {{"x=\"1\r\n2\"", 1}, {"y", 3}}},
    {"quoted_cr", "x=\"1\r2\"\ry", {{"x=\"1\r2\"", 1}, {"y", 3}}},
    {"quote_mid_field", "a\"b\nc\"d\ne", {{"a\"b\nc\"d", 1}, {"e", 3}}},
    {"two_quoted_sections", "\"a\n\",\"b\r\nc\"\nd", {{"\"a\n\",\"b\r\nc\"", 1}, {"d", 4}}},
    {"unclosed_quote_runs_to_end", "a\n\"b\nc\n", {{"a", 1}, {"\"b\nc\n", 2}}},
    {"empty_file", "", {}},
    {"only_break", "\n", {{"", 1}}},
    {"bom_is_a_byte_here", "\xEF\xBB\xBF" "a", {{"\xEF\xBB\xBF" "a", 1}}},
};

class LineReader : public test::LoadTest {};

TEST_F(LineReader, LinesAndTheirNumbers) {
    for (const Case& c : kCases) {
        TextFile file;
        ASSERT_TRUE(file.open(write_file(c.name, c.bytes))) << c.name;
        std::vector<Line> lines = read_all(file);
        ASSERT_EQ(lines.size(), c.lines.size()) << c.name;
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].text, c.lines[i].text) << c.name << " line " << i;
            EXPECT_EQ(lines[i].line_number, c.lines[i].line_number) << c.name << " line " << i;
        }
    }
}

// Lines far beyond any fixed buffer, and a CR LF split between two of the file's 64 KiB read blocks.
TEST_F(LineReader, LongLinesComeWhole) {
    const std::string first(200000, 'x');
    const std::string second(4 * 65536 - 1 - (first.size() + 1), 'y');  // its CR is a block's last byte
    TextFile file;
    ASSERT_TRUE(file.open(write_file("long", first + "\n" + second + "\r\nz")));
    std::vector<Line> lines = read_all(file);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].text == first) << lines[0].text.size();
    EXPECT_TRUE(lines[1].text == second) << lines[1].text.size();
    EXPECT_EQ(lines[2].text, "z");
    EXPECT_EQ(lines[2].line_number, 3);
}

TEST_F(LineReader, ByteOrderMark) {
    struct MarkCase {
        std::string bytes;
        bool skipped;
        std::string first_line;
    };
    const MarkCase kMarks[] = {
        {"\xEF\xBB\xBF" "A1=1\n", true, "A1=1"},
        {"\xEF\xBB\xBF", true, ""},
        {"\xEF\xBB", false, "\xEF\xBB"},
        {"\xEF\xBB\xBE" "x", false, "\xEF\xBB\xBE" "x"},
        {"A1=1", false, "A1=1"},
        {"", false, ""},
    };
    for (const MarkCase& c : kMarks) {
        TextFile file;
        ASSERT_TRUE(file.open(write_file("mark", c.bytes)));
        EXPECT_EQ(file.skip_byte_order_mark(), c.skipped) << c.bytes;
        std::string line;
        LinePosition position;
        load::tob_read_line(file, line, position);
        EXPECT_EQ(line, c.first_line) << c.bytes;
    }
}

TEST_F(LineReader, NoMarkOnceReadingStarted) {
    TextFile file;
    ASSERT_TRUE(file.open(write_file("late", "a\n\xEF\xBB\xBF" "b\n")));
    std::string line;
    LinePosition position;
    load::tob_read_line(file, line, position);
    EXPECT_FALSE(file.skip_byte_order_mark());
    load::tob_read_line(file, line, position);
    EXPECT_EQ(line, "\xEF\xBB\xBF" "b");
}

TEST_F(LineReader, MissingFilesAndDirectoriesDoNotOpen) {
    TextFile file;
    EXPECT_FALSE(file.open(dir_ + "/missing"));
    EXPECT_FALSE(file.open(dir_));
    EXPECT_FALSE(file.open(""));
}

}  // namespace
}  // namespace tova
