#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "api/flags.hpp"
#include "api/messages.hpp"
#include "api/work_area.hpp"
#include "calc/formula_eval.hpp"
#include "calc/recalc.hpp"
#include "model/cell_store.hpp"
#include "platform/encoding.hpp"
#include "support/test_support.hpp"
#include "tova_api.h"

namespace tova {
namespace {

using test::utf8_of_sjis;

constexpr const char* kUnsupported = nullptr;

// Sheet1 holds numbers of each kind, a blank B3, a text and a date; Sheet2 and
// 'My Sheet' hold a few numbers. Formulas go where a case puts them.
class Recalc : public ::testing::Test {
protected:
    void SetUp() override { fresh_book(); }

    void fresh_book() {
        book_ = test::make_open_book(3);
        work_area(*book_)->book.sheets[2].name = "My Sheet";
        put("A1=1 A2=2 A3=3 B1=1.5 B2=-2.25 B4=4 C1=12.5% D1=abc D2=2024/02/29 "
            "Sheet2!A1=10 Sheet2!A2=20 Sheet2!A3=30 'My Sheet'!A1=7");
    }

    void put(const char* list) {
        ASSERT_EQ(TOVA_put_values(book_.get(), list), 0) << utf8_of_sjis(book_->log.error_info);
    }

    model::Sheet& sheet(int index) { return work_area(*book_)->book.sheets[index]; }

    // Stores a formula as the cell statements do: XML-escaped, without "=".
    void put_formula(int sheet_index, int row, int column, std::string_view formula) {
        std::string escaped;
        enc::xml_escape_append(escaped, formula, enc::XML_ESCAPE);
        model::Value value;
        value.kind = model::kFormula;
        value.text = escaped;
        ASSERT_EQ(model::store_value(*model::ensure_cell(sheet(sheet_index), row, column), value), 0);
    }

    const model::Cell& cell(int sheet_index, int row, int column) {
        return sheet(sheet_index).rows.at(row).cells.at(column);
    }

    // The cached result, or null when the formula kept none.
    const char* result(int sheet_index, int row, int column) {
        const model::Cell& c = cell(sheet_index, row, column);
        return c.kind == model::kFormulaResult ? c.formula->result.c_str() : nullptr;
    }

    bool recalc_on() const { return flag_on(*book_, XLS_FLAG_RECALC); }
    std::string message() const { return utf8_of_sjis(book_->log.error_info); }

    test::BookPtr book_;
};

// F7 is row 7, column 6.
constexpr int kRow = 6, kColumn = 5;

struct Case {
    const char* formula;
    const char* expected;  // kUnsupported: no result, recalculation off
};

constexpr Case kCases[] = {
    // Arithmetic, precedence and signs.
    {"7/2", "3.5"}, {"1-2-3", "-4"}, {"8/4/2", "1"}, {"2+3*4", "14"}, {"-(1+2)+3", "0"}, {"-5*2", "-10"},
    {"1+2", "3"}, {"2-3*4/8", "0.5"}, {"2*-3", "-6"}, {"--2", "2"}, {"+2", "2"}, {"(((1)))", "1"},
    {" 1 +  2 ", "3"}, {".5+5.", "5.5"},
    // Floating point: 15 significant digits, the application's precision.
    {"0.1+0.2", "0.3"}, {"1/3", "0.333333333333333"}, {"1/7", "0.142857142857143"}, {"2/3*3", "2"},
    {"0.000001*0.000001", "0.000000000001"}, {"1/3/1000000000000000000000", "0.000000000000000000000333333333333333"},
    // Canonical texts: rounding reaches the whole part, no "-0", overflow goes to floating point.
    {"-1.9999999+0", "-1.9999999"}, {"-1.99999999999999999", "-2"}, {"0-0", "0"}, {"-0", "0"}, {"-A1*0", "0"},
    {"9007199254740991+0", "9007199254740991"}, {"9007199254740993+0", "9007199254740990"}, {"99999999999*99999999999", "9999999999800000000000"},
    {"9223372036854775807+1", "9223372036854780000"}, {"-9223372036854775807-10", "-9223372036854780000"},
    // References: cells of each kind, blanks and cells beyond the used area read as 0.
    {"A1+A2*A3", "7"}, {"B1*2", "3"}, {"B2*B2", "5.0625"}, {"C1*100", "12.5"}, {"B3+1", "1"}, {"Z99*2", "0"},
    {"B3", "0"}, {"(A2)", "2"}, {"+A2", "2"}, {"-B3", "0"}, {"$A$1+A$2+$A3", "6"}, {"a1+1", "2"},
    {"Sheet2!A2/4", "5"}, {"'My Sheet'!A1+1", "8"}, {"SUM(Sheet2!A1:A3)+B1", "61.5"},
    // Aggregates over numbers, cells and ranges; blanks are left out.
    {"SUM(2*3,4)", "10"}, {"SUM(A1:A3)", "6"}, {"SUM(A3:A1)", "6"}, {"sum(a1:a3)", "6"}, {"SUM(A1,A2,5)", "8"},
    {"SUM(Sheet2!A1:A3)", "60"}, {"SUM('My Sheet'!A1:B2)", "7"}, {"SUM(A1:B4)", "9.25"}, {"SUM(A1:A100)", "6"},
    {"SUM(B3)", "0"}, {"SUM((A1:A3))", "6"}, {"SUM(0.1,0.2)", "0.3"},
    {"AVERAGE(A1:A3)", "2"}, {"AVERAGE(B1:B4)", "1.08333333333333"}, {"AVERAGE(B3,4)", "4"},
    {"AVERAGE(B3+0,4)", "2"}, {"COUNT(A1:A3,5)", "4"}, {"COUNT(B1:B4)", "3"}, {"COUNT(B3)", "0"},
    {"COUNT(B3+0)", "1"}, {"COUNT(-B3)", "1"}, {"MIN(A1:A3)", "1"}, {"MIN(B1:B4)", "-2.25"}, {"MAX(B1:B4)", "4"},
    {"MIN(B3)", "0"}, {"MAX(Z1:Z9)", "0"}, {"MIN(100000000000,200000000000)", "100000000000"},
    {"MAX(-100000000000)", "-100000000000"}, {"MIN(-5,B3)", "-5"}, {"MAX(-5,B3)", "-5"},
    // Rounding on the decimal value.
    {"ROUND(2.5,0)", "3"}, {"ROUND(-2.5,0)", "-3"}, {"ROUND(-2.2,0)", "-2"}, {"ROUND(1234.567,-2)", "1200"},
    {"ROUND(2.75,1)", "2.8"}, {"ROUND(1.005,2)", "1.01"}, {"ROUND(0.145,2)", "0.15"}, {"ROUND(2.675,2)", "2.68"},
    {"ROUNDUP(1.1,2)", "1.1"}, {"ROUNDDOWN(0.57,2)", "0.57"}, {"ROUNDUP(2.01,0)", "3"}, {"ROUNDUP(1.5,1)", "1.5"},
    {"ROUNDUP(-2.1,0)", "-3"}, {"ROUNDDOWN(-2.9,0)", "-2"}, {"TRUNC(9.99)", "9"}, {"TRUNC(-9.99)", "-9"},
    {"TRUNC(1.2345,2)", "1.23"}, {"ROUND(A1/3,4)", "0.3333"}, {"ROUND(B2,1)", "-2.3"}, {"ROUND(123,-5)", "0"},
    {"ROUNDUP(123,-5)", "100000"}, {"ROUND(B3,0)", "0"}, {"ROUND(2.567,1.9)", "2.6"}, {"ROUND(1/3,20)", "0.333333333333333"},
    {"TRUNC(0.57*100)", "57"}, {"ROUNDDOWN(0.57*100,0)", "57"}, {"ROUND(0.145*100,2)", "14.5"},
    {"ROUND(5000000000.5,0)", "5000000001"}, {"ROUNDDOWN(99999999999.99,1)", "99999999999.9"}, {"ROUND(A2,B4)", "2"},
    // ROW: the formula's own row, a cell's, a range's first row; positions are not values.
    {"ROW()", "7"}, {"ROW(C12)", "12"}, {"ROW(B3:D9)", "3"}, {"ROW(D9:B3)", "3"}, {"ROW(Sheet2!C5)", "5"},
    {"ROW(F7)", "7"}, {"ROW((A1))", "1"}, {"ROW()+A1", "8"},

    // Outside the language: no result rather than a guess.
    {"VLOOKUP(A1,A1:B3,2)", kUnsupported}, {"TRUE", kUnsupported}, {"A1+TRUE", kUnsupported},
    {"1E3", kUnsupported}, {"SUM(A:A)", kUnsupported}, {"SUM(1:1)", kUnsupported}, {"#REF!", kUnsupported},
    {"A1+#REF!", kUnsupported}, {"[1]Sheet1!A1", kUnsupported}, {"Nope!A1", kUnsupported},
    {"sheet2!A1", kUnsupported}, {"Sheet1:Sheet2!A1", kUnsupported}, {"MyName*2", kUnsupported},
    {"A1&A2", kUnsupported}, {"A1<A2", kUnsupported}, {"A1>=A2", kUnsupported}, {"A1=A2", kUnsupported},
    {"\"abc\"", kUnsupported}, {"'abc'", kUnsupported}, {"SUM(\"3\")", kUnsupported}, {"_xlfn.STDEV(A1)", kUnsupported},
    {"A01+1", kUnsupported}, {"A1.5+1", kUnsupported}, {"XFE1+1", kUnsupported}, {"A1048577+1", kUnsupported},
    {"A1:A3:A5", kUnsupported}, {"1.2.3", kUnsupported}, {"1234567890123456789012345678901234567890", kUnsupported},
    // Syntax the application refuses.
    {"", kUnsupported}, {"*2", kUnsupported}, {"1+", kUnsupported}, {"2(3)", kUnsupported}, {"A1 A2", kUnsupported},
    {")1+2(", kUnsupported}, {"SUM()", kUnsupported}, {"SUM(1,,2)", kUnsupported}, {"SUM(1,)", kUnsupported},
    {"(1,2)", kUnsupported}, {"1+1;", kUnsupported}, {"{1,2}", kUnsupported}, {"@A1", kUnsupported}, {"MAX(,1)", kUnsupported},
    // Cells this language does not read, and values the application would not give as numbers.
    {"D1+1", kUnsupported}, {"D2+1", kUnsupported}, {"SUM(D1:D2)", kUnsupported}, {"COUNT(A1:D1)", kUnsupported},
    {"1/0", kUnsupported}, {"A1/B3", kUnsupported}, {"AVERAGE(B3)", kUnsupported}, {"AVERAGE(Z1:Z5)", kUnsupported},
    {"A1:A3", kUnsupported}, {"A1:A3+1", kUnsupported}, {"(A1:A3)*2", kUnsupported}, {"-A1:A3", kUnsupported},
    {"ROUND(A1:A3,0)", kUnsupported}, {"ROUND(0.145*100,0)", kUnsupported}, {"ROUND(2.4999999999999996,0)", kUnsupported}, {"ROUND(2.567,-0.5)", kUnsupported}, {"ROW(5)", kUnsupported},
    {"ROW(A1+1)", kUnsupported}, {"SUM(+A1)", kUnsupported}, {"COUNT(+B3)", kUnsupported},
    {"ROUNDUP(1,-400)", kUnsupported}, {"99999999999999999999*99999999999999999999*99999999999999999999*"
                                        "99999999999999999999*99999999999999999999*99999999999999999999*"
                                        "99999999999999999999*99999999999999999999*99999999999999999999*"
                                        "99999999999999999999*99999999999999999999*99999999999999999999*"
                                        "99999999999999999999*99999999999999999999*99999999999999999999*"
                                        "99999999999999999999",
                                        kUnsupported},
    // Sums that cancel to almost nothing come out differently in different applications.
    {"0.1+0.2-0.3", kUnsupported}, {"SUM(0.1,0.2,-0.3)", kUnsupported}, {"SUM(10000000000000000,1,-10000000000000000)", kUnsupported},
};

TEST_F(Recalc, FormulasOverASmallBook) {
    for (const Case& c : kCases) {
        fresh_book();
        put_formula(0, kRow, kColumn, c.formula);
        EXPECT_EQ(calc::tob_recalculate(*book_), 0) << c.formula << ": " << message();
        EXPECT_EQ(book_->log.error_info[0], '\0') << c.formula << ": " << message();
        const char* got = result(0, kRow, kColumn);
        if (c.expected == kUnsupported) {
            EXPECT_EQ(got, nullptr) << c.formula << " gave " << got;
            EXPECT_EQ(cell(0, kRow, kColumn).kind, model::kFormula) << c.formula;
            EXPECT_FALSE(recalc_on()) << c.formula;
        } else {
            EXPECT_STREQ(got, c.expected) << c.formula;
            EXPECT_TRUE(recalc_on()) << c.formula;
        }
    }
}

struct StopCase {
    const char* formula;
    const char* message;
};

constexpr StopCase kStopCases[] = {
    {"2^3", "TOVA-02201 サポート外の演算子です(\"^\")。"},
    {"A1*50%", "TOVA-02201 サポート外の演算子です(\"%\")。"},
    {"(1+2", "TOVA-02304 式の括弧の対応が不正です(\"(1+2\")。"},
    {"SUM(A1:A3", "TOVA-02304 式の括弧の対応が不正です(\"SUM(A1:A3\")。"},
    {"1+2)", "TOVA-02304 式の括弧の対応が不正です(\"1+2)\")。"},
    {"F7+1", "TOVA-03200 セルの循環参照が設定されています(\"F7\")。"},
    {"$F$7*2", "TOVA-03200 セルの循環参照が設定されています(\"$F$7\")。"},
    {"Sheet1!F7*2", "TOVA-03200 セルの循環参照が設定されています(\"Sheet1!F7\")。"},
    {"SUM(F1:F9)", "TOVA-03200 セルの循環参照が設定されています(\"F7\")。"},
    {"ROUND(1)", "TOVA-03201 関数の引数が不足しています(\"ROUND\")。"},
    {"rounddown()", "TOVA-03201 関数の引数が不足しています(\"ROUNDDOWN\")。"},
    {"TRUNC()", "TOVA-03201 関数の引数が不足しています(\"TRUNC\")。"},
    {"ROUNDUP(1,2,3)", "TOVA-03202 関数の引数が多すぎます(\"ROUNDUP\")。"},
    {"TRUNC(1,2,3)", "TOVA-03202 関数の引数が多すぎます(\"TRUNC\")。"},
    {"ROW(A1,A2)", "TOVA-03202 関数の引数が多すぎます(\"ROW\")。"},
    {"1+ROUND(1)*2", "TOVA-03201 関数の引数が不足しています(\"ROUND\")。"},
};

TEST_F(Recalc, FormulaErrorsStopTheSaveWithTheirMessage) {
    for (const StopCase& c : kStopCases) {
        fresh_book();
        put_formula(0, 0, 7, "A1+1");  // H1: fine, and computed before the faulty one
        put_formula(0, kRow, kColumn, c.formula);
        EXPECT_EQ(calc::tob_recalculate(*book_), -1) << c.formula;
        EXPECT_EQ(message(), c.message) << c.formula;
        EXPECT_STREQ(result(0, 0, 7), "2") << c.formula;
        EXPECT_EQ(result(0, kRow, kColumn), nullptr) << c.formula;
        EXPECT_FALSE(recalc_on()) << c.formula;
    }
}

TEST_F(Recalc, CyclesThroughOtherFormulasAreFound) {
    struct Cycle {
        const char* first;   // G1
        const char* second;  // G2
        const char* third;   // Sheet2!G3
        const char* quoted;
    };
    const Cycle cycles[] = {
        {"G2+1", "G1+1", "1", "G1"},
        {"G2+1", "Sheet2!G3*2", "Sheet1!G1-1", "Sheet1!G1"},
        {"SUM(G2:G5)", "ROUND(Sheet2!G3,0)", "AVERAGE(Sheet1!G1:G9)", "G1"},
        {"G2", "G2+1", "1", "G2"},
    };
    for (const Cycle& c : cycles) {
        fresh_book();
        put_formula(0, 0, 6, c.first);
        put_formula(0, 1, 6, c.second);
        put_formula(1, 2, 6, c.third);
        EXPECT_EQ(calc::tob_recalculate(*book_), -1) << c.first;
        EXPECT_EQ(message(), std::string("TOVA-03200 セルの循環参照が設定されています(\"") + c.quoted + "\")。")
            << c.first;
        EXPECT_EQ(result(0, 0, 6), nullptr);
    }
}

TEST_F(Recalc, NestedEvaluationUsesTheEvaluatedCellsOwnPosition) {
    put_formula(0, 0, 6, "G5+ROW()");        // G1, evaluated first, needs G5
    put_formula(0, 4, 6, "ROW()*10+H5");     // G5, on its own row 5
    put_formula(0, 4, 7, "Sheet2!B1+ROW()");  // H5 reads Sheet2!B1, whose own sheet is Sheet2
    put_formula(1, 0, 1, "A1+ROW()");        // Sheet2!B1 = Sheet2!A1 + 1
    book_->cur_sheet = 0;
    book_->cur_row = 41;
    book_->cur_column = 3;
    ASSERT_EQ(calc::tob_recalculate(*book_), 0) << message();
    EXPECT_STREQ(result(1, 0, 1), "11");
    EXPECT_STREQ(result(0, 4, 7), "16");
    EXPECT_STREQ(result(0, 4, 6), "66");
    EXPECT_STREQ(result(0, 0, 6), "67");
    EXPECT_EQ(book_->cur_row, 41);
    EXPECT_EQ(book_->cur_column, 3);
}

TEST_F(Recalc, AFailedFormulaFailsTheFormulasThatReadIt) {
    put_formula(0, 0, 6, "G2*2");   // G1 reads G2
    put_formula(0, 1, 6, "D1+1");   // G2 reads a text
    put_formula(0, 2, 6, "A1+1");   // G3 is fine
    ASSERT_EQ(calc::tob_recalculate(*book_), 0);
    EXPECT_EQ(result(0, 0, 6), nullptr);
    EXPECT_EQ(result(0, 1, 6), nullptr);
    EXPECT_STREQ(result(0, 2, 6), "2");
    EXPECT_FALSE(recalc_on());
}

TEST_F(Recalc, OffStaysOffAndComputesNothing) {
    put_formula(0, 0, 6, "A1+1");
    set_flag(*book_, XLS_FLAG_RECALC, false);
    ASSERT_EQ(calc::tob_recalculate(*book_), 0);
    EXPECT_EQ(result(0, 0, 6), nullptr);
    EXPECT_FALSE(recalc_on());
}

TEST_F(Recalc, StreamedRowsTurnRecalculationOff) {
    put_formula(0, 0, 6, "A1+1");
    set_flag(*book_, XLS_FLAG_ROWS_STREAMED, true);
    ASSERT_EQ(calc::tob_recalculate(*book_), 0);
    EXPECT_EQ(result(0, 0, 6), nullptr);
    EXPECT_FALSE(recalc_on());
}

TEST_F(Recalc, StatementsStoreFormulasTheEvaluatorReads) {
    put("G1=\"=SUM(A1:A3)*2\" G2=\"= ROUND(G1/7, 2) \" G3=\"=A1&A2\"");
    ASSERT_EQ(calc::tob_recalculate(*book_), 0);
    EXPECT_STREQ(result(0, 0, 6), "12");
    EXPECT_STREQ(result(0, 1, 6), "1.71");
    EXPECT_EQ(result(0, 2, 6), nullptr);
}

TEST_F(Recalc, FormulasAReaderKeptAsTheyWereAreLeftAlone) {
    put_formula(0, 0, 6, "A1+1");
    work_area(*book_)->book.sheets[0].rows[0].cells[6].formula->formula = "<f t=\"shared\" ref=\"G1:G2\" si=\"0\">A1+1</f>";
    put_formula(0, 1, 6, "A2+1");
    work_area(*book_)->book.sheets[0].rows[1].cells[6].formula->attributes = "t=\"str\"";
    put_formula(0, 2, 6, "G1+1");  // reads the kept one
    ASSERT_EQ(calc::tob_recalculate(*book_), 0);
    EXPECT_EQ(result(0, 0, 6), nullptr);
    EXPECT_EQ(result(0, 1, 6), nullptr);
    EXPECT_EQ(result(0, 2, 6), nullptr);
    EXPECT_FALSE(recalc_on());
}

TEST_F(Recalc, ResultsKeptFromAPackageAreRead) {
    auto keep = [&](int row, const char* formula, const char* cached) {
        model::Value v;
        v.kind = model::kFormulaResult;
        v.text = formula;
        v.result = cached;
        ASSERT_EQ(model::store_value(*model::ensure_cell(sheet(0), row, 6), v), 0);
    };
    keep(0, "X1*2", "42.5");
    keep(1, "X2&amp;\"\"", "text");
    put_formula(0, 2, 6, "G1*2");
    put_formula(0, 3, 6, "G2*2");
    ASSERT_EQ(calc::tob_recalculate(*book_), 0);
    EXPECT_STREQ(result(0, 2, 6), "85");
    EXPECT_EQ(result(0, 3, 6), nullptr);
}

TEST_F(Recalc, LongChainsAndDiamondsComputeOnce) {
    // Each cell refers to the one below, so every evaluation waits on the next.
    constexpr int kChain = 100000;
    for (int r = 0; r < kChain - 1; ++r) put_formula(0, r, 8, "I" + std::to_string(r + 2) + "+1");
    put_formula(0, kChain - 1, 8, "1");
    // Each cell sums the one below twice: without memory of results, 2^30 evaluations.
    for (int r = 0; r < 30; ++r) put_formula(0, r, 9, "J" + std::to_string(r + 2) + "+J" + std::to_string(r + 2));
    put_formula(0, 30, 9, "1");
    ASSERT_EQ(calc::tob_recalculate(*book_), 0) << message();
    EXPECT_STREQ(result(0, 0, 8), "100000");
    EXPECT_STREQ(result(0, kChain - 1, 8), "1");
    EXPECT_STREQ(result(0, 0, 9), "1073741824");
    EXPECT_TRUE(recalc_on());
}

TEST_F(Recalc, AFormulaOverALongRangeOfFormulasWaitsOnEachOnce) {
    put_formula(0, 0, 8, "SUM(I2:I20001)+COUNT(I2:I20001)");
    for (int r = 1; r <= 20000; ++r) put_formula(0, r, 8, "ROW()");
    ASSERT_EQ(calc::tob_recalculate(*book_), 0) << message();
    EXPECT_STREQ(result(0, 0, 8), "200050000");  // 2 + ... + 20001, plus 20000
}

TEST_F(Recalc, UnsupportedFunctionsAreReportedOnStandardErrorInDebugMode) {
    std::FILE* err = std::tmpfile();
    ASSERT_NE(err, nullptr);
    work_area(*book_)->err = err;
    book_->log.debug = 1;
    put_formula(0, 0, 6, "vlookup(A1,A1:B2,2)");
    ASSERT_EQ(calc::tob_recalculate(*book_), 0);
    book_->log.debug = 0;
    put_formula(0, 1, 6, "IF(A1,1,2)");
    set_flag(*book_, XLS_FLAG_RECALC, true);
    ASSERT_EQ(calc::tob_recalculate(*book_), 0);
    std::rewind(err);
    std::string written;
    for (int c; (c = std::fgetc(err)) != EOF;) written += static_cast<char>(c);
    std::fclose(err);
    work_area(*book_)->err = stderr;
    EXPECT_EQ(utf8_of_sjis(written),
              "TOVA-02202 サポート外の関数です(\"VLOOKUP\")。\nTOVA-04100 オープン時再計算モードで保存します。\n");
    EXPECT_EQ(book_->log.error_info[0], '\0');
}

TEST_F(Recalc, EvaluatingOneCellGivesItsCode) {
    struct CodeCase {
        const char* formula;
        int code;
        const char* text;
    };
    const std::string long_formula = "1" + std::string(2000, ' ') + "+" + std::string(2000, ' ') + "1";
    const CodeCase cases[] = {
        {"SUM(A1:A3)/4", 0, "1.5"}, {"D1*2", -3, ""}, {"VLOOKUP(1,A1:A2,1)", -1, ""}, {long_formula.c_str(), 1403, ""},
    };
    for (const CodeCase& c : cases) {
        put_formula(0, 0, 6, c.formula);
        std::string text = "stale";
        EXPECT_EQ(calc::tob_evaluate_cell(*book_, 0, 0, 6, text), c.code) << c.formula;
        EXPECT_EQ(text, c.text) << c.formula;
    }
    std::string text;
    EXPECT_EQ(calc::tob_evaluate_cell(*book_, 0, 0, 0, text), -1);  // not a formula
    EXPECT_EQ(calc::tob_evaluate_cell(*book_, 9, 0, 0, text), -1);  // no such sheet
}

TEST_F(Recalc, FormulasOfMoreThanAHundredTokensAreLeftToTheApplication) {
    std::string fifty = "1", fifty_one = "1";
    for (int i = 0; i < 49; ++i) fifty += "+1";  // 99 tokens
    fifty_one = fifty + "+1";                     // 101 tokens
    put_formula(0, 0, 6, fifty);
    put_formula(0, 1, 6, fifty_one);
    ASSERT_EQ(calc::tob_recalculate(*book_), 0);
    EXPECT_STREQ(result(0, 0, 6), "50");
    EXPECT_EQ(result(0, 1, 6), nullptr);
}

}  // namespace
}  // namespace tova
