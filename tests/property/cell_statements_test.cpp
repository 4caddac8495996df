#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "model/cell_store.hpp"
#include "model/styles.hpp"
#include "support/test_support.hpp"
#include "tova_api.h"

namespace tova {
namespace {

using model::Cell;

class CellStatements : public ::testing::Test {
protected:
    void SetUp() override {
        book_ = test::make_zeroed_book();
        ASSERT_EQ(TOVA_open_book(book_.get(), "CHARSET=UTF8"), 0);
        ASSERT_EQ(TOVA_open_sheet(book_.get(), "SHEET_NAME=Data"), 0);
    }

    model::Sheet& sheet() { return work_area(*book_)->book.sheets[book_->cur_sheet]; }
    const Cell& cell(int row, int column) { return sheet().rows.at(row).cells.at(column); }
    std::string text_of(int row, int column) {
        const Cell& c = cell(row, column);
        if (c.kind == model::kSharedString) return std::string(work_area(*book_)->book.strings.at(c.number));
        return model::cell_value_text(c);
    }
    std::string message() { return test::utf8_of_sjis(book_->log.error_info); }

    test::BookPtr book_;
};

struct StoredCase {
    const char* statement;
    uint8_t kind;
    const char* text;
};

const StoredCase kStored[] = {
    {"A1=123", model::kInteger, "123"},
    {"A1=0123", model::kInteger, "123"},
    {"A1=1,234", model::kInteger, "1234"},
    {"A1=12,34", model::kSharedString, "12,34"},
    {"A1=3.50", model::kDecimal, "3.50"},
    {"A1=12.5%", model::kPercent, "0.125000"},
    {"A1=50%", model::kPercent, "0.500000"},
    {"A1=abc%", model::kSharedString, "abc%"},
    {"A1='123", model::kSharedString, "123"},
    {"A1=2024/02/29", model::kDate, ""},
    {"A1=2023/02/29", model::kSharedString, "2023/02/29"},
    {"A1=\"2024/02/29 12:30\"", model::kDateTime, "0.520833"},
    {"A1=10:30:15", model::kTimeSeconds, "0.437674"},
    {"A1=30:00:00", model::kTimeSeconds, "0.250000"},
    {"A1=\"=SUM(A1:A3)\"", model::kFormula, "SUM(A1:A3)"},
    {"A1=\"=A1<B1\"", model::kFormula, "A1&lt;B1"},
    {"A1=\\$HOME", model::kSharedString, "$HOME"},
    {"A1=\"say \"\"hi\"\"\"", model::kSharedString, "say \"hi\""},
    {"A1=日本語", model::kSharedString, "日本語"},
};

TEST_F(CellStatements, ValuesAreTypedAndStored) {
    for (const auto& c : kStored) {
        ASSERT_EQ(TOVA_put_values(book_.get(), c.statement), 0) << c.statement << ": " << message();
        EXPECT_EQ(cell(0, 0).kind, c.kind) << c.statement;
        if (c.kind != model::kDate) EXPECT_EQ(text_of(0, 0), c.text) << c.statement;
    }
}

TEST_F(CellStatements, DefaultFormatsByKind) {
    ASSERT_EQ(TOVA_put_values(book_.get(), "A1=2024/02/29 B1=10:30 C1=123 D1=text"), 0);
    EXPECT_EQ(cell(0, 0).style, book_->builtin_xf[model::kBuiltinDate]);
    EXPECT_EQ(cell(0, 1).style, book_->builtin_xf[model::kBuiltinTime]);
    const auto& xfs = model::styles_of(*book_).xfs;
    ASSERT_GT(cell(0, 2).style, 0);
    EXPECT_EQ(xfs[cell(0, 2).style - 1].alignment, 33);
    EXPECT_EQ(cell(0, 3).style, 0);
}

TEST_F(CellStatements, LineBreaksWrapTheCell) {
    ASSERT_EQ(TOVA_put_values(book_.get(), "B2=\"a\\nb\""), 0);
    EXPECT_EQ(text_of(1, 1), "a\r\nb");
    const auto& xf = model::styles_of(*book_).xfs[cell(1, 1).style - 1];
    EXPECT_TRUE(xf.text_control & model::kWrapText);
}

TEST_F(CellStatements, EnvironmentAndVariables) {
    setenv("TOVA_TEST_VALUE", "from env", 1);
    ASSERT_EQ(TOVA_put_variable(book_.get(), "city", "\"Kyoto\""), 0);
    ASSERT_EQ(TOVA_put_values(book_.get(), "A1=$TOVA_TEST_VALUE A2=$city A3=$nothing_here"), 0);
    EXPECT_EQ(text_of(0, 0), "from env");
    EXPECT_EQ(text_of(1, 0), "Kyoto");
    EXPECT_EQ(text_of(2, 0), "$nothing_here");
    ASSERT_EQ(TOVA_put_values(book_.get(), "A4=$SYSDATE"), 0);
    EXPECT_EQ(cell(3, 0).kind, model::kDate);
    unsetenv("TOVA_TEST_VALUE");
}

TEST_F(CellStatements, EmptyValueClearsTheCell) {
    ASSERT_EQ(TOVA_put_values(book_.get(), "A1=5"), 0);
    ASSERT_EQ(TOVA_put_values(book_.get(), "A1="), 0);
    EXPECT_EQ(cell(0, 0).kind, model::kEmpty);
    ASSERT_EQ(TOVA_put_values(book_.get(), "A1=5"), 0);
    ASSERT_EQ(TOVA_put_values(book_.get(), "A1=\"\""), 0);
    EXPECT_EQ(cell(0, 0).kind, model::kEmpty);
}

TEST_F(CellStatements, LengthLimits) {
    std::string at_limit = "A1=" + std::string(65534, 'x');
    EXPECT_EQ(TOVA_put_values(book_.get(), at_limit.c_str()), 0);
    std::string over = std::string(65535, 'x');
    EXPECT_EQ(TOVA_put_cell(book_.get(), "A1", over.c_str(), 0), -909);
    EXPECT_EQ(message(), "TOVA-03009 バッファサイズ(\"65534\")オーバー(\"XLS_CELL_LEN\")。");

    std::string single = std::string(40000, 's');
    ASSERT_EQ(TOVA_put_cell(book_.get(), "B1", single.c_str(), 0), 0);
    EXPECT_EQ(text_of(0, 1).size(), 32766u);
}

TEST(CellLength, ManyCharactersAreCutOnCharacterBoundaries) {
    // 40000 half-width katakana: 40000 bytes of Shift-JIS, three bytes each in the cell.
    auto book = test::make_zeroed_book();
    ASSERT_EQ(TOVA_open_book(book.get(), nullptr), 0);
    ASSERT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=S"), 0);
    std::string kana(40000, '\xB1');
    ASSERT_EQ(TOVA_put_cell(book.get(), "A1", kana.c_str(), 0), 0);
    const Cell& cell = work_area(*book)->book.sheets[0].rows[0].cells[0];
    std::string_view stored = work_area(*book)->book.strings.at(cell.number);
    EXPECT_EQ(stored.size(), 32766u * 3);
    EXPECT_EQ(stored.substr(0, 3), "ｱ");
}

TEST_F(CellStatements, StatementErrorsStopTheList) {
    EXPECT_EQ(TOVA_put_values(book_.get(), "A1=1 A1:B2=5 A2=2"), -3);
    EXPECT_EQ(message(), "TOVA-02100 セル範囲指定(RANGE)は使用できません(\"A1:B2\")。");
    EXPECT_EQ(cell(0, 0).kind, model::kInteger);
    EXPECT_EQ(sheet().rows_in_use(), 1);
    EXPECT_EQ(TOVA_put_values(book_.get(), "FOO.BAR=1"), -3);
    EXPECT_EQ(message().substr(0, 10), "TOVA-02200");
    EXPECT_EQ(TOVA_put_values(book_.get(), "A1 5"), -3);
    EXPECT_EQ(message(), "TOVA-02303 引数列のイコール(=)部分が不正です(\"5\")。");
    EXPECT_EQ(TOVA_put_cell(book_.get(), "A0", "1", 0), -3);
    EXPECT_EQ(message(), "TOVA-02300 セル指定値が不正です(\"A0\")。");
}

TEST_F(CellStatements, OtherSheetsByPrefix) {
    ASSERT_EQ(TOVA_open_sheet(book_.get(), "SHEET_NAME=\"Other Sheet\""), 0);
    ASSERT_EQ(TOVA_open_sheet2(book_.get(), 0), 0);
    ASSERT_EQ(TOVA_put_values(book_.get(), "'Other Sheet'!B2=7 C3=8"), 0);
    EXPECT_EQ(book_->cur_sheet, 0);
    const auto& other = work_area(*book_)->book.sheets[1];
    ASSERT_EQ(other.rows_in_use(), 2);
    EXPECT_EQ(model::cell_value_text(other.rows[1].cells[1]), "7");
    EXPECT_EQ(cell(2, 2).integer(), 8);
}

TEST_F(CellStatements, TemplateModeProtectsFormulas) {
    ASSERT_EQ(TOVA_put_values(book_.get(), "A1=\"=1+1\""), 0);
    set_flag(*book_, XLS_FLAG_TEMPLATE_MODE, true);
    EXPECT_EQ(TOVA_put_values(book_.get(), "A1=5"), -3);
    EXPECT_EQ(message(), "TOVA-03203 テンプレートモードでは式の含まれたセル(\"A1\")を上書きすることはできません。");
}

TEST_F(CellStatements, StreamedRowsTakeNoMoreValues) {
    book_->streamed_row = 1;
    ASSERT_EQ(TOVA_put_values(book_.get(), "A5=1"), 0);
    ASSERT_EQ(TOVA_write_row(book_.get(), 5), 0);
    EXPECT_EQ(TOVA_put_values(book_.get(), "B5=2"), -3);
    EXPECT_EQ(TOVA_write_row(book_.get(), 3), -3);
    EXPECT_EQ(TOVA_write_row(book_.get(), 1048577), -3);
}

TEST_F(CellStatements, Hyperlinks) {
    ASSERT_EQ(TOVA_put_values(book_.get(), "A1=Mail B1=Site C1=Jump"), 0);
    EXPECT_EQ(TOVA_external_hyperlink(book_.get(), "A1", "someone@example.com"), 0);
    EXPECT_EQ(TOVA_external_hyperlink(book_.get(), "B1", "https://example.com/a?b=c&d"), 0);
    EXPECT_EQ(TOVA_sheet_hyperlink(book_.get(), "C1", "Data", "B2"), 0);
    EXPECT_EQ(TOVA_external_hyperlink(book_.get(), "D1", "x@y.z"), -3);  // no value there
    const auto& links = sheet().hyperlinks;
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[0].address, "mailto:someone@example.com");
    EXPECT_EQ(links[1].address, "https://example.com/a?b=c&d");
    EXPECT_EQ((std::tuple(links[2].target_sheet, links[2].target_row, links[2].target_column)), (std::tuple(std::string("Data"), 2, 2)));
    EXPECT_EQ(cell(0, 0).style, book_->builtin_xf[model::kBuiltinHyperlink]);
    std::string long_name(94, 's');
    EXPECT_EQ(TOVA_sheet_hyperlink(book_.get(), "C1", long_name.c_str(), "A1"), -3);
}

TEST_F(CellStatements, ImagesInMemoryAreCopied) {
    unsigned char png[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
    ASSERT_EQ(TOVA_put_image_memory(book_.get(), "B3", 203, png, sizeof png, 10, 20, 1.0, 0, 0, "https://x.y"), 0);
    png[0] = 0;
    const auto& drawings = work_area(*book_)->book.drawings;
    ASSERT_EQ(drawings.size(), 1u);
    EXPECT_EQ(drawings[0].bytes.size(), sizeof png);
    EXPECT_EQ(drawings[0].bytes[0], 0x89);
    EXPECT_EQ((std::tuple(drawings[0].row, drawings[0].column)), (std::tuple(2, 1)));
    EXPECT_EQ(drawings[0].hyperlink, 0);
    EXPECT_EQ(TOVA_put_image_memory(book_.get(), "B0", 203, png, sizeof png, 1, 1, 1, 0, 0, nullptr), -3);
}

}  // namespace
}  // namespace tova
