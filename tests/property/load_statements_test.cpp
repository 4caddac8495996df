// The CSV and TSV statements: data files loaded from the statement's target.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "api/work_area.hpp"
#include "model/cell_store.hpp"
#include "support/test_support.hpp"
#include "tova_api.h"

namespace tova {
namespace {

class LoadStatements : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test::make_scratch_dir("load-statements");
        book_ = test::make_zeroed_book();
        ASSERT_EQ(TOVA_open_book(book_.get(), "CHARSET=UTF8"), 0);
        ASSERT_EQ(TOVA_open_sheet(book_.get(), "SHEET_NAME=Main"), 0);
        ASSERT_EQ(TOVA_open_sheet(book_.get(), "SHEET_NAME=Data"), 0);
        ASSERT_EQ(TOVA_open_sheet2(book_.get(), 0), 0);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& text) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string text_at(int sheet, int row, int column) {
        const auto& s = work_area(*book_)->book.sheets[sheet];
        const model::Cell* cell = model::find_cell(s, row, column);
        if (cell == nullptr) return "<none>";
        if (cell->kind == model::kSharedString) return std::string(work_area(*book_)->book.strings.at(cell->number));
        return model::cell_value_text(*cell);
    }

    std::string dir_;
    test::BookPtr book_;
};

TEST_F(LoadStatements, CsvIntoAnotherSheetFromTheTarget) {
    std::string path = write("sales.csv", "支店,売上\n東京,\"1,234\"\n大阪,987\n");
    std::string statement = "Data!B2.CSV=\"" + path + "\"";
    ASSERT_EQ(TOVA_put_values(book_.get(), statement.c_str()), 0) << test::utf8_of_sjis(book_->log.error_info);
    EXPECT_EQ(book_->cur_sheet, 0);
    EXPECT_EQ(text_at(1, 1, 1), "支店");
    EXPECT_EQ(text_at(1, 2, 2), "1234");
    EXPECT_EQ(text_at(1, 3, 1), "大阪");
    EXPECT_EQ(work_area(*book_)->book.sheets[0].rows_in_use(), 0);  // nothing on the current sheet
    EXPECT_EQ(work_area(*book_)->book.sheets[1].last_loaded_row, 4);
}

TEST_F(LoadStatements, TsvWithinARange) {
    std::string path = write("grid.tsv", "1\t2\t3\n4\t5\t6\n7\t8\t9\n");
    std::string statement = "A1:B2.TSV=\"" + path + "\"";
    ASSERT_EQ(TOVA_put_values(book_.get(), statement.c_str()), 0);
    EXPECT_EQ(text_at(0, 1, 1), "5");
    EXPECT_EQ(text_at(0, 0, 2), "<none>");
    EXPECT_EQ(work_area(*book_)->book.sheets[0].rows_in_use(), 2);
}

TEST_F(LoadStatements, AFileThatLoadsItselfStops) {
    std::string path = dir_ + "/self.csv";
    write("self.csv", "1,2\n!A5.CSV=\"" + path + "\"\n");
    std::string statement = "A1.CSV=\"" + path + "\"";
    EXPECT_EQ(TOVA_put_values(book_.get(), statement.c_str()), -1);
    EXPECT_NE(test::utf8_of_sjis(book_->log.error_info).find("nested loads"), std::string::npos);
}

TEST_F(LoadStatements, MissingFile) {
    std::string statement = "A1.CSV=\"" + dir_ + "/none.csv\"";
    EXPECT_EQ(TOVA_put_values(book_.get(), statement.c_str()), -101);
    EXPECT_EQ(test::utf8_of_sjis(book_->log.error_info).substr(0, 10), "TOVA-00100");
}

}  // namespace
}  // namespace tova
