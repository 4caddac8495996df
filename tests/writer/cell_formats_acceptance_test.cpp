// Cell and range statements in a saved workbook, judged by openpyxl, LibreOffice and the schemas.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "support/readers.hpp"
#include "support/saved_books.hpp"
#include "support/test_support.hpp"
#include "tova_api.h"

namespace tova {
namespace {

// "WHERE\tATTRIBUTE" -> value, as the checker prints them.
using Formats = std::multimap<std::string, std::string>;

Formats parse_formats(const std::string& output) {
    Formats formats;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        size_t second_tab = line.find('\t', line.find('\t') + 1);
        if (second_tab == std::string::npos) continue;
        formats.emplace(line.substr(0, second_tab), line.substr(second_tab + 1));
    }
    return formats;
}

using SavedFormats = test::SavedBooks;

// Every cell and range statement, in both spellings where the words differ.
constexpr const char* kStatements[] = {
    "A1=Title A1.FONT.NAME=\"Crème 😀 𠀋\" A1.FONT.SIZE=14 A1.FONT.STYLE=bold_italic_underline A1.FONT.COLOR=RED",
    "A2=note A2.フォント.色=#123456 A2.フォント.名=明朝",
    "B1.FILL.COLOR=YELLOW B2.FILL.PATTERN.NAME=darkGrid B2.FILL.PATTERN.COLOR=BLUE",
    "B3.FILL.GRADATION.COLOR1=RED B3.FILL.GRADATION.COLOR2=#00FF00 B4.FILL.GRADATION.KIND=VERTICAL",
    "D1:F3.BORDER=thin D1:F3.BORDER.COLOR=RED D5.BORDER.DIAGONAL_UP=double",
    "G1.ALIGN=CENTER_CENTER G2.WRAP=TRUE G3.SHRINK=TRUE G4.DIRECTION=-45 G5.INDENT=3 G6.縦書き=する G7.UNPROTECT=TRUE",
    "H1=0.5 H1.FORMAT=パーセント H2=3.14159 H2.FORMAT=小数点以下[2] H3=1234567 H3.FORMAT=カンマ",
    "H4.FORMAT=日付 H4=2024/02/29",
    "I1=コード I.FORMAT=文字列 I2=00123 J.FORMAT=パーセント小数点以下[1] J2=0.25",
    "A10:B11.MERGE=TRUE A20:D30.FILTER=TRUE",
    "K1:K5.VALIDATION.KIND=LIST K1.VALIDATION.LIST=\"赤,青,R&D <x> \"\"q\"\"\"",
    "L1:L5.VALIDATION.KIND=WHOLE L1.VALIDATION.MIN=1 L1.VALIDATION.MAX=10",
    "M1.VALIDATION.KIND=DATE M1.VALIDATION.OPERATOR=GE M1.VALIDATION.MIN=2024/01/01",
    "N1.VALIDATION.KIND=TIME N1.VALIDATION.MIN=9:00 N1.VALIDATION.MAX=18:00",
    "O1.VALIDATION.KIND=DECIMAL O1.VALIDATION.OPERATOR=LT O1.VALIDATION.MIN=2.5",
    "P1:P3.入力規則.種類=文字列 P1.VALIDATION.OPERATOR=LE P1.VALIDATION.MIN=10",
    "5.HEIGHT=20 C.WIDTH=10 E:F.WIDTH=4 A8.NEWPAGE=TRUE E1.NEWPAGE=TRUE",
    "Q1=mail Q1.HYPERLINK=someone@example.com Q2=web Q2.HYPERLINK=\"https://example.com/café\"",
    "Other!A1:B2.BORDER=thick",
};

struct Expect {
    const char* where;
    const char* attribute;
    const char* value;
};

constexpr Expect kExpected[] = {
    {"Formats!A1", "font.name", "Crème 😀 𠀋"},
    {"Formats!A1", "font.size", "14.0"},
    {"Formats!A1", "font.bold", "True"},
    {"Formats!A1", "font.italic", "True"},
    {"Formats!A1", "font.underline", "single"},
    {"Formats!A1", "font.color", "FFFF0000"},
    {"Formats!A2", "font.color", "FF123456"},
    {"Formats!A2", "font.name", "ＭＳ Ｐ明朝"},
    {"Formats!B1", "fill.type", "solid"},
    {"Formats!B1", "fill.fg", "FFFFFF00"},
    {"Formats!B2", "fill.type", "darkGrid"},
    {"Formats!B2", "fill.fg", "FF0000ff"},
    {"Formats!B3", "fill.stops", "0.0=FFFF0000 1.0=FF00FF00"},
    {"Formats!B4", "fill.stops", "0.0=FFFFFFFF 1.0=FF4F81BD"},
    {"Formats!D1", "border.left", "thin/FFFF0000"},
    {"Formats!E2", "border.top", "thin/FFFF0000"},
    {"Formats!F3", "border.right", "thin/FFFF0000"},
    {"Formats!F3", "border.bottom", "thin/FFFF0000"},
    {"Formats!D5", "border.diagonal", "double/auto:True"},
    {"Formats!D5", "border.diagonal_up", "True"},
    {"Formats!G1", "align.horizontal", "center"},
    {"Formats!G1", "align.vertical", "center"},
    {"Formats!G2", "align.wrap", "True"},
    {"Formats!G3", "align.shrink", "True"},
    {"Formats!G4", "align.rotation", "135"},
    {"Formats!G5", "align.indent", "3.0"},
    {"Formats!G6", "align.rotation", "255"},
    {"Formats!G7", "locked", "False"},
    {"Formats!H1", "number_format", "0%"},
    {"Formats!H2", "number_format", "0.00"},
    {"Formats!H3", "number_format", "#,##0_ "},
    {"Formats!H4", "type", "d"},
    {"Formats!I1", "value", "コード"},
    {"Formats!I2", "type", "s"},
    {"Formats!I2", "value", "00123"},
    {"Formats!J2", "number_format", "0.0%"},
    {"Formats!J2", "value", "0.25"},
    {"Formats!Q1", "hyperlink", "mailto:someone@example.com"},
    {"Formats!Q2", "hyperlink", "https://example.com/café"},
    {"Formats", "merge", "A10:B11"},
    {"Formats", "autofilter", "A20:D30"},
    {"Formats", "validation", "K1:K5|list|None|\"赤,青,R&D <x> \"\"q\"\"\"|None"},
    {"Formats", "validation", "L1:L5|whole|None|1|10"},
    {"Formats", "validation", "M1|date|greaterThanOrEqual|45292|0"},
    {"Formats", "validation", "N1|time|None|0.375000|0.750000"},
    {"Formats", "validation", "O1|decimal|lessThan|2.500000|0.000000"},
    {"Formats", "validation", "P1:P3|textLength|lessThanOrEqual|10|0"},
    {"Formats", "row_height.5", "20.0"},
    {"Formats", "column_width.C", "10.625"},
    {"Formats", "column_width.E", "4.625"},
    {"Formats", "column_width.F", "4.625"},
    {"Formats", "row_break", "8"},
    {"Formats", "column_break", "5"},
    {"Other!A1", "border.left", "thick/auto:True"},
    {"Other!B2", "border.bottom", "thick/auto:True"},
};

bool has(const Formats& formats, const Expect& e) {
    auto [first, last] = formats.equal_range(std::string(e.where) + "\t" + e.attribute);
    for (auto it = first; it != last; ++it)
        if (it->second == e.value) return true;
    return false;
}

TEST_F(SavedFormats, StatementsReachTheSavedFile) {
    auto book = test::make_zeroed_book();
    const std::string path = dir_ + "/formats.xlsx";
    ASSERT_EQ(TOVA_open_book(book.get(), ("CHARSET=UTF8 BOOK=\"" + path + "\"").c_str()), 0);
    ASSERT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=Other"), 0);
    ASSERT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=Formats"), 0);
    for (const char* statements : kStatements)
        ASSERT_EQ(TOVA_put_values(book.get(), statements), 0) << statements << ": " << test::utf8_of_sjis(book->log.error_info);
    ASSERT_EQ(TOVA_close_book(book.get(), "SAVE"), 0) << test::utf8_of_sjis(book->log.error_info);

    auto schema = test::check_schemas({path});
    if (schema.status != 77) EXPECT_EQ(schema.status, 0);
    auto office = test::office_to_csv(dir_, {path});
    if (office.status != 77) EXPECT_EQ(office.status, 0);

    auto result = test::openpyxl_formats(path);
    if (result.status == 77) GTEST_SKIP() << "openpyxl is not available";
    ASSERT_EQ(result.status, 0);
    const Formats formats = parse_formats(result.output);
    for (const Expect& e : kExpected) EXPECT_TRUE(has(formats, e)) << e.where << " " << e.attribute << " " << e.value;
}

}  // namespace
}  // namespace tova
