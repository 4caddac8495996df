#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "api/call_frame.hpp"
#include "api/flags.hpp"
#include "load/data_source.hpp"
#include "load/load_nesting.hpp"
#include "load_fixture.hpp"
#include "model/cell_ref.hpp"
#include "platform/encoding.hpp"

namespace tova {
namespace {

using load::DataSourceRequest;
using load::DataTarget;

class DataSource : public test::LoadTest {
protected:
    void SetUp() override {
        LoadTest::SetUp();
        book_ = test::make_open_book(2, enc::kUtf8);
    }

    int load(const std::string& content, DataTarget target = {}, int32_t separator = load::kComma,
             int charset = enc::kUtf8, int32_t sheet = 0) {
        request_.path = write_file("data.csv", content);
        request_.separator = separator;
        request_.charset = charset;
        return load::tob_load_datasource(*book_, sheet, request_, target);
    }
    int put(const char* statements) { return TOVA_put_values(book_.get(), statements); }
    std::string text(int row, int column, int sheet = 0) { return test::cell_text(*book_, row, column, sheet); }
    model::Sheet& sheet(int index = 0) { return test::sheet_of(*book_, index); }
    std::string message() { return test::message_of(*book_); }
    // The message a failure should leave, from the catalogue.
    std::string expected(Msg id, std::string_view where, long long limit = 0) {
        return test::utf8_of_sjis(format_message(id, {where, limit}));
    }
    std::string where(std::string_view what) { return request_.path + what.data(); }

    test::BookPtr book_;
    DataSourceRequest request_;
};

TEST_F(DataSource, FieldsFillColumnsFromTheTarget) {
    ASSERT_EQ(put("C1=keep E1=old"), 0);
    ASSERT_EQ(load("1,\"a,b\",,2,\"\"\"\"\n"), 0) << message();
    EXPECT_EQ(model::find_cell(sheet(), 0, 0)->kind, model::kInteger);
    EXPECT_EQ(text(0, 0), "1");
    EXPECT_EQ(text(0, 1), "a,b");
    EXPECT_EQ(text(0, 2), "keep");  // an empty field leaves the cell alone
    EXPECT_EQ(text(0, 3), "2");
    EXPECT_EQ(model::find_cell(sheet(), 0, 4)->kind, model::kEmpty);  // a value that is nothing empties it
}

TEST_F(DataSource, TabsSeparateTsv) {
    ASSERT_EQ(load("a\tb,c\n", {}, load::kTab), 0);
    EXPECT_EQ(text(0, 0), "a");
    EXPECT_EQ(text(0, 1), "b,c");
}

struct TargetCase {
    const char* name;
    DataTarget target;
    int rows_filled;     // rows from first_row on
    int columns_filled;  // columns from first_column on
};

// Twelve lines of five fields.
constexpr TargetCase kTargets[] = {
    {"A1:C10", {0, 0, 9, 2}, 10, 3},
    {"A1:C1", {0, 0, -1, 2}, 12, 3},
    {"A5", {4, 0, -1, -1}, 12, 5},
    {"A1:A3", {0, 0, 2, -1}, 3, 5},
    {"B2:B2", {1, 1, -1, -1}, 12, 5},
};

TEST_F(DataSource, TargetsLimitRowsAndColumns) {
    std::string content;
    for (int r = 0; r < 12; ++r)
        content += "r" + std::to_string(r) + "a,b,c,d,e\n";
    for (const TargetCase& c : kTargets) {
        book_ = test::make_open_book(1, enc::kUtf8);
        ASSERT_EQ(load(content, c.target), 0) << c.name << ": " << message();
        for (int r = 0; r < 20; ++r) {
            for (int col = 0; col < 8; ++col) {
                const bool inside = r >= c.target.first_row && r < c.target.first_row + c.rows_filled &&
                                    col >= c.target.first_column && col < c.target.first_column + c.columns_filled;
                EXPECT_EQ(!text(r, col).empty(), inside) << c.name << " row " << r << " column " << col;
            }
        }
        EXPECT_EQ(sheet().last_loaded_row, c.target.first_row + c.rows_filled) << c.name;
    }
}

TEST_F(DataSource, TargetOfAStatementRange) {
    struct Case {
        XLS_RECT range;
        DataTarget target;
    };
    const Case kCases[] = {
        {{0, 0, 0, 0}, {0, 0, -1, -1}},  {{0, 0, 9, 2}, {0, 0, 9, 2}},  {{0, 0, 0, 2}, {0, 0, -1, 2}},
        {{4, 1, 7, 1}, {4, 1, 7, -1}},   {{9, 2, 0, 0}, {0, 0, 9, 2}},
    };
    for (const Case& c : kCases) {
        DataTarget t = load::datasource_target(c.range);
        EXPECT_EQ(t.first_row, c.target.first_row);
        EXPECT_EQ(t.first_column, c.target.first_column);
        EXPECT_EQ(t.last_row, c.target.last_row);
        EXPECT_EQ(t.last_column, c.target.last_column);
    }
}

TEST_F(DataSource, RownumIsTheLastRowTheLoadFilled) {
    ASSERT_EQ(put("A30=below"), 0);  // rows in use reach further than the data
    std::string content;
    for (int r = 1; r <= 12; ++r) content += std::to_string(r) + "\n";
    ASSERT_EQ(load(content), 0);
    EXPECT_EQ(sheet().last_loaded_row, 12);
    ASSERT_EQ(put("A($ROWNUM+1)=total B1=\"=SUM(A1:A($ROWNUM))\""), 0) << message();
    EXPECT_EQ(text(12, 0), "total");
    EXPECT_EQ(text(0, 1), "SUM(A1:A12)");

    ASSERT_EQ(load("x\ny\n", {4, 3, -1, -1}), 0);
    EXPECT_EQ(sheet().last_loaded_row, 6);
    ASSERT_EQ(load("!Z1=1\n", {9, 0, -1, -1}), 0);  // nothing filled: the row above the target
    EXPECT_EQ(sheet().last_loaded_row, 9);
}

TEST_F(DataSource, StatementLinesRunAndLoadNoRow) {
    ASSERT_EQ(load("a\n!C5=stmt\nb\n"), 0) << message();
    EXPECT_EQ(text(0, 0), "a");
    EXPECT_EQ(text(1, 0), "b");
    EXPECT_EQ(text(4, 2), "stmt");
    EXPECT_EQ(sheet().last_loaded_row, 2);
}

// Statement lines are in the file's character set like the data; the book's may differ.
TEST_F(DataSource, StatementLinesAreConvertedFromTheFile) {
    const std::string sjis = enc::conv_charset(enc::kUtf8, enc::kShiftJis, "表示,ソフト\n!C1=日本語\n");
    ASSERT_EQ(load(sjis, {}, load::kComma, enc::kShiftJis), 0) << message();
    EXPECT_EQ(text(0, 0), "表示");
    EXPECT_EQ(text(0, 1), "ソフト");
    EXPECT_EQ(text(0, 2), "日本語");

    book_ = test::make_open_book(1, enc::kEucJp);
    const std::string utf8_file = "\xEF\xBB\xBF" "!B2=日本語\nデータ\n";  // the mark makes it UTF-8
    ASSERT_EQ(load(utf8_file, {}, load::kComma, enc::kShiftJis), 0) << message();
    EXPECT_EQ(text(1, 1), "日本語");
    EXPECT_EQ(text(0, 0), "データ");
}

TEST_F(DataSource, LoadsIntoTheNamedSheet) {
    ASSERT_EQ(load("!A1=head\nx\n", {1, 0, -1, -1}, load::kComma, enc::kUtf8, 1), 0) << message();
    EXPECT_EQ(text(0, 0, 1), "head");  // statement lines act on the loaded sheet too
    EXPECT_EQ(text(1, 0, 1), "x");
    EXPECT_EQ(sheet(0).rows_in_use(), 0);
    EXPECT_EQ(book_->cur_sheet, 0);
    EXPECT_EQ(sheet(1).last_loaded_row, 2);
}

TEST_F(DataSource, StatementLinesRunPastTheLastRow) {
    ASSERT_EQ(load("a\nb\nc\n!D1=late\n", {0, 0, 1, 1}), 0);
    EXPECT_EQ(text(1, 0), "b");
    EXPECT_TRUE(text(2, 0).empty());
    EXPECT_EQ(text(0, 3), "late");
}

TEST_F(DataSource, AFailingStatementLineEndsTheLoad) {
    EXPECT_EQ(load("a\n!A1.NO_SUCH_WORD=1\nb\n"), kFailed);
    EXPECT_EQ(book_->log.error_code, kFailed);
    EXPECT_EQ(message().rfind("TOVA-02200", 0), 0u) << message();
    EXPECT_EQ(text(0, 0), "a");
    EXPECT_TRUE(text(1, 0).empty());
}

struct SplitFailureCase {
    const char* name;
    std::string content;
    Msg message;
    const char* where;  // after the path
    long long limit;
};

const SplitFailureCase kSplitFailures[] = {
    {"unclosed", "a\n\"b,c\nd\n", Msg::BadCell, ":2: unclosed quote", 0},
    {"unclosed_after_quoted_break", "a\n\"x\ny\"\nx,\"y\n", Msg::BadCell, ":4: unclosed quote", 0},
    {"long_field", "a\nb\n" + std::string(4001, 'x') + "\n", Msg::CountLimit, ":3: bytes of a field", 4000},
    {"many_fields", "a\n" + std::string(1000, ',') + "\n", Msg::CountLimit, ":2: fields", 1000},
};

TEST_F(DataSource, LinesThatDoNotSplitEndTheLoadNamingTheLine) {
    for (const SplitFailureCase& c : kSplitFailures) {
        book_ = test::make_open_book(1, enc::kUtf8);
        EXPECT_EQ(load(c.content), kFailed) << c.name;
        EXPECT_EQ(message(), expected(c.message, where(c.where), c.limit)) << c.name;
        EXPECT_EQ(text(0, 0), "a") << c.name;  // the rows before stay
        EXPECT_EQ(sheet().last_loaded_row, sheet().rows_in_use()) << c.name;
        EXPECT_TRUE(text(sheet().rows_in_use(), 0).empty()) << c.name;
    }
}

TEST_F(DataSource, LongLinesLoadWhole) {
    std::string line;
    for (int i = 0; i < 10; ++i) line += (i ? "," : "") + std::string(3000, static_cast<char>('a' + i));
    ASSERT_EQ(load(line + "\nnext\n"), 0) << message();
    EXPECT_TRUE(text(0, 9) == std::string(3000, 'j'));
    EXPECT_EQ(text(1, 0), "next");
}

TEST_F(DataSource, RowsBeyondTheSheetAreRefused) {
    ASSERT_EQ(load("a\nb\n", {model::kLastRow, 0, -1, -1}), kFailed);
    EXPECT_EQ(message(), expected(Msg::CountLimit, where(":2: rows"), 1048576));
    EXPECT_EQ(text(model::kLastRow, 0), "a");
    EXPECT_EQ(sheet().rows_in_use(), model::kLastRow + 1);

    book_ = test::make_open_book(1, enc::kUtf8);
    book_->max_rows = 10;
    ASSERT_EQ(load("a\nb\n", {9, 0, -1, -1}), kFailed);
    EXPECT_EQ(message(), expected(Msg::CountLimit, where(":2: rows"), 10));
    EXPECT_EQ(sheet().rows_in_use(), 10);
}

TEST_F(DataSource, ColumnsBeyondTheSheetAreRefused) {
    constexpr int32_t kXFB = model::kLastColumn - 2;
    ASSERT_EQ(load("a,b\nc,d,e,f\n", {0, kXFB, -1, -1}), kFailed);
    EXPECT_EQ(message(), expected(Msg::CountLimit, where(":2: columns"), 16384));
    EXPECT_EQ(text(0, kXFB + 1), "b");
    EXPECT_TRUE(text(1, kXFB).empty());  // nothing of the refused line is written

    book_ = test::make_open_book(1, enc::kUtf8);
    ASSERT_EQ(load("c,d,e,f\n", {0, kXFB, 0, model::kLastColumn}), 0) << message();  // the target cuts the line
    EXPECT_EQ(text(0, model::kLastColumn), "e");

    book_ = test::make_open_book(1, enc::kUtf8);
    book_->max_columns = 256;
    ASSERT_EQ(load("a,b\n", {0, 255, -1, -1}), kFailed);
    EXPECT_EQ(message(), expected(Msg::CountLimit, where(":1: columns"), 256));
}

TEST_F(DataSource, StreamedRowsTakeNoValues) {
    sheet().rows.resize(5);
    sheet().rows[4].streamed = true;
    sheet().last_streamed_row = 4;
    EXPECT_EQ(load("a\n", {2, 1, -1, -1}), kFailed);
    EXPECT_EQ(message(), expected(Msg::BadCell, "B3"));
    EXPECT_TRUE(sheet().rows[2].cells.empty());
    ASSERT_EQ(load("a\n", {5, 0, -1, -1}), 0) << message();
    EXPECT_EQ(text(5, 0), "a");
}

TEST_F(DataSource, NestedLoadsStopAtTheLimit) {
    std::vector<std::unique_ptr<load::LoadNesting>> levels;
    for (int i = 0; i < load::LoadNesting::kMaxDepth - 1; ++i) levels.push_back(std::make_unique<load::LoadNesting>());
    ASSERT_EQ(load("a\n"), 0) << message();
    levels.push_back(std::make_unique<load::LoadNesting>());
    EXPECT_EQ(load("b\n"), kFailed);
    EXPECT_EQ(message(), expected(Msg::CountLimit, where(": nested loads"), load::LoadNesting::kMaxDepth));
    EXPECT_EQ(text(0, 0), "a");
    levels.clear();
    EXPECT_EQ(load("c\n"), 0);
}

TEST_F(DataSource, BadRequests) {
    EXPECT_EQ(load("a\n", {}, 2), kBadArgument);
    EXPECT_EQ(load("a\n", {-1, 0, -1, -1}), kBadArgument);
    EXPECT_EQ(load("a\n", {}, load::kComma, enc::kUtf8, 2), kBadArgument);
    EXPECT_EQ(sheet().rows_in_use(), 0);
    request_.path = dir_ + "/missing.csv";
    EXPECT_EQ(load::tob_load_datasource(*book_, 0, request_, {}), kCannotOpen);
    EXPECT_EQ(message(), expected(Msg::DataSourceOpen, request_.path));
}

// Template mode: the sheet's scroll row opens a row for every line that reaches it.
class TemplateLoad : public DataSource {
protected:
    static constexpr int32_t kTemplateStyle = 7;

    // Row 1 a header, row 3 the formatted row the data take their look from, row 4 a footer.
    void SetUp() override {
        DataSource::SetUp();
        ASSERT_EQ(put("A1=head A4=foot"), 0);
        model::Row& styled = *model::ensure_row(sheet(), 2);
        styled.height = 500;
        styled.cells.resize(2);
        for (model::Cell& cell : styled.cells) cell.style = kTemplateStyle;
        set_flag(*book_, XLS_FLAG_TEMPLATE_MODE, true);
        sheet().scroll_row = 2;
        errors_ = std::tmpfile();
        work_area(*book_)->err = errors_;
    }
    void TearDown() override {
        work_area(*book_)->err = stderr;
        std::fclose(errors_);
        DataSource::TearDown();
    }
    std::string errors() {
        std::string out;
        std::rewind(errors_);
        for (int c; (c = std::fgetc(errors_)) != EOF;) out += static_cast<char>(c);
        return out;
    }

    std::FILE* errors_ = nullptr;
};

TEST_F(TemplateLoad, RowsBelowMoveDownAsDataArrive) {
    ASSERT_EQ(load("a,1\nb,2\nc,3\n", {2, 0, -1, -1}), 0) << message();
    EXPECT_EQ(sheet().rows_in_use(), 7);
    EXPECT_EQ(text(0, 0), "head");
    for (int r = 2; r <= 4; ++r) {
        EXPECT_EQ(text(r, 0), std::string(1, static_cast<char>('a' + r - 2)));
        EXPECT_EQ(sheet().rows[r].height, 500) << r;
        EXPECT_EQ(model::find_cell(sheet(), r, 1)->style, kTemplateStyle) << r;
    }
    EXPECT_EQ(model::find_cell(sheet(), 5, 0)->kind, model::kEmpty);  // the formatted row, still empty
    EXPECT_EQ(model::find_cell(sheet(), 5, 0)->style, kTemplateStyle);
    EXPECT_EQ(text(6, 0), "foot");
    EXPECT_EQ(sheet().last_loaded_row, 5);
    EXPECT_TRUE(errors().empty());
}

TEST_F(TemplateLoad, AFormulaBelowStopsTheLoadBeforeAnythingMoves) {
    set_flag(*book_, XLS_FLAG_TEMPLATE_MODE, false);
    ASSERT_EQ(put("B4=\"=SUM(B3:B3)\""), 0);
    set_flag(*book_, XLS_FLAG_TEMPLATE_MODE, true);
    EXPECT_EQ(load("a,1\nb,2\n", {2, 0, -1, -1}), kFailed);
    EXPECT_EQ(message(), expected(Msg::TemplateFormulaCell, "B4"));
    EXPECT_EQ(errors(), "計算式を含んだセルをスクロールさせることはできません。\n");
    EXPECT_EQ(sheet().rows_in_use(), 4);
    EXPECT_EQ(text(3, 0), "foot");
    EXPECT_EQ(text(3, 1), "SUM(B3:B3)");
    EXPECT_EQ(model::find_cell(sheet(), 2, 0)->kind, model::kEmpty);
}

TEST_F(TemplateLoad, FormulasAreNotOverwritten) {
    sheet().scroll_row = -1;
    set_flag(*book_, XLS_FLAG_TEMPLATE_MODE, false);
    ASSERT_EQ(put("B1=\"=1+1\""), 0);
    set_flag(*book_, XLS_FLAG_TEMPLATE_MODE, true);
    ASSERT_EQ(load("x,y,z\n"), 0) << message();
    EXPECT_EQ(text(0, 0), "x");
    EXPECT_EQ(text(0, 1), "1+1");
    EXPECT_EQ(text(0, 2), "z");
    EXPECT_EQ(sheet().rows_in_use(), 4);
}

TEST_F(TemplateLoad, ScrollingDirectly) {
    EXPECT_EQ(load::tob_scroll_rows(*book_, 0, 10), 0);  // below the rows in use: nothing moves
    EXPECT_EQ(sheet().rows_in_use(), 11);
    EXPECT_EQ(text(3, 0), "foot");

    book_->max_rows = 11;
    EXPECT_EQ(load::tob_scroll_rows(*book_, 0, 1), kFailed);
    EXPECT_EQ(message(), expected(Msg::CountLimit, "Sheet1: rows", 11));
    EXPECT_EQ(text(3, 0), "foot");

    book_->max_rows = 0;
    sheet().last_streamed_row = 1;
    EXPECT_EQ(load::tob_scroll_rows(*book_, 0, 1), kFailed);
    EXPECT_EQ(message(), expected(Msg::BadCell, "A2"));
    EXPECT_EQ(load::tob_scroll_rows(*book_, 0, 2), 0);
    EXPECT_EQ(text(4, 0), "foot");
    EXPECT_EQ(load::tob_scroll_rows(*book_, 3, 0), kBadArgument);
}

}  // namespace
}  // namespace tova
