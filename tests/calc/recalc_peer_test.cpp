// Cached formula results judged by LibreOffice, which computes the same
// formulas from a copy of the saved book that has no cached values.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/readers.hpp"
#include "support/test_support.hpp"
#include "tova_api.h"

namespace tova {
namespace {

struct Judged {
    std::string state, cached, computed, formula;
};

struct Verdict {
    std::map<std::string, Judged> cells;  // by Sheet!A1
    std::string calc_id;
};

Verdict parse_verdict(const std::string& output) {
    Verdict verdict;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("#calcId ", 0) == 0) {
            verdict.calc_id = line.substr(8);
            continue;
        }
        std::vector<std::string> f;
        std::stringstream fields(line);
        for (std::string part; std::getline(fields, part, '\t');) f.push_back(part);
        if (f.size() == 5) verdict.cells[f[0]] = {f[1], f[2], f[3], f[4]};
    }
    return verdict;
}

// Every formula of the language, in the combinations users write: operands of
// each kind against each other, precedence, the functions over cells, ranges
// and numbers, rounding at the awkward decimals, and formulas reading formulas.
std::vector<std::string> supported_formulas() {
    std::vector<std::string> out;
    const std::vector<std::string> atoms = {"A1", "B2", "$C$3", "D4", "E5", "12", "0.5", "'Other Sheet'!B2", "Z50"};
    const char* const ops[] = {"+", "-", "*", "/"};
    for (const std::string& a : atoms)
        for (const char* op : ops)
            for (const std::string& b : atoms)
                if (std::string(op) != "/" || (b != "E5" && b != "Z50")) out.push_back(a + op + b);
    for (const char* p : ops)
        for (const char* q : ops) {
            out.push_back(std::string("A7") + p + "B3" + q + "D6");
            out.push_back(std::string("(A7") + p + "B3)" + q + "D6");
            out.push_back(std::string("-B9") + p + "C4" + q + "-A2");
        }
    for (const char* fn : {"SUM", "AVERAGE", "COUNT", "MIN", "MAX"})
        for (const char* args : {"A1:A12", "B1:E12", "E1:E12", "A10:C20", "'Other Sheet'!A1:C4", "B3", "A1:A3,5",
                                 "2*3,B4", "B1:B12,-1,C2", "D1:D12", "(B1:B12)", "E5,B2", "E4+1", "Data!B2:C3"})
            out.push_back(std::string(fn) + "(" + args + ")");
    for (const char* fn : {"SUM", "COUNT", "MIN", "MAX"})
        for (const char* args : {"E2", "Z1:Z9", "E2,E4"}) out.push_back(std::string(fn) + "(" + args + ")");
    const char* const values[] = {"1.005", "0.145", "2.675", "-2.5",  "1234.567", "0.57", "1.1",   "2.01",   "-2.1",
                                  "-2.9",  "B7",    "D3",    "C5*3", "A7/3",     "1/3",  "0.285", "-0.125", "E5"};
    for (const char* fn : {"ROUND", "ROUNDUP", "ROUNDDOWN"})
        for (const char* x : values)
            for (const char* digits : {"-2", "0", "1", "2", "3"}) out.push_back(std::string(fn) + "(" + x + "," + digits + ")");
    for (const char* x : values) {
        out.push_back(std::string("TRUNC(") + x + ")");
        out.push_back(std::string("TRUNC(") + x + ",2)");
    }
    for (const char* f : {"ROW()", "ROW(C12)", "ROW(B3:D9)", "ROW('Other Sheet'!C5)", "ROW()+A1", "ROW((B2))",
                          "ROW(H150)", "H150+1", "ROW()*B2", "1/7", "2/3*3", "0.1*3", "100000*100000*100000*100000",
                          "-(-(-A5))", "+A3*+2", "SUM(A1:B12)/COUNT(A1:B12)-AVERAGE(A1:B12)", "ROUND(SUM(D1:D12),2)",
                          "MAX(B1:B12)-MIN(B1:B12)", "TRUNC(0.57*100)", "TRUNC(-0.57*100)", "TRUNC(56.99999999999999)",
                          "ROUNDDOWN(0.57*100,0)", "ROUNDUP(110.00000000000001,0)", "ROUNDUP(0.1*3,1)", "TRUNC(0.1*3,1)",
                          "ROUND(1.0049999999999,2)", "ROUND(123456789012.345,2)", "ROUND(0.000001234567,8)",
                          "ROUNDUP(-0.0000001,3)", "ROUND(8.325,2)", "ROUND(1.45,1)", "ROUND(-1.45,1)", "ROUND(4.35,1)",
                          "TRUNC(4.35*10)", "ROUND(5.015,2)", "ROUND(1234567.895,2)"})
        out.push_back(f);
    return out;
}

// Formulas the spreadsheet applications compute but this library must leave to
// them: outside the language, or computed differently by different applications.
const std::vector<std::string> kOutside = {
    "VLOOKUP(3,Data!A1:B12,2)", "TRUE", "1E3", "SUM(Data!A:A)", "SUM(Data!1:1)", "Data!A1&\"\"x\"\"",
    "Data!A1<Data!A2", "Data!F1+1", "SUM(Data!F1:F3)", "0.1+0.2-0.3", "SUM(0.1,0.2,-0.3)", "IF(1,2,3)",
    "ROUND(2.5,-0.5)", "SUM(+Data!A1)", "AVERAGE(Data!E2)", "1/Data!E2", "Data!A1:A3", "Data!G2+1",
    "ROUND(0.145*100,0)", "ROUND(14.499999999999998,0)", "ROUND(2.4999999999999996,0)",
};

class RecalcPeer : public ::testing::Test {
protected:
    void SetUp() override { dir_ = test::make_scratch_dir("recalc-peer"); }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void put(XLS_BOOK* book, const std::string& list) {
        ASSERT_EQ(TOVA_put_values(book, list.c_str()), 0) << list << ": " << test::utf8_of_sjis(book->log.error_info);
    }

    std::string dir_;
};

TEST_F(RecalcPeer, CachedValuesAgreeWithLibreOffice) {
    auto book = test::make_zeroed_book();
    const std::string path = dir_ + "/formulas.xlsx";
    ASSERT_EQ(TOVA_open_book(book.get(), ("CHARSET=UTF8 BOOK=\"" + path + "\"").c_str()), 0);
    ASSERT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=Data"), 0);
    for (int r = 1; r <= 12; ++r) {
        const std::string n = std::to_string(r);
        std::string list = "A" + n + "=" + n + " B" + n + "=" + std::to_string(r * 1.25 - 4) + " C" + n + "=" +
                           std::to_string(r * 7.5) + "% D" + n + "=" + std::to_string(r / 7.0);
        if (r % 3 != 2) list += " E" + n + "=" + std::to_string(r % 2 ? -r * 1000 : r);
        put(book.get(), list);
    }
    put(book.get(), "F1=abc F2=def F3=2024/02/29 G2=\"=Data!F1&F2\"");
    ASSERT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=\"Other Sheet\""), 0);
    put(book.get(), "A1=3 B1=-4.5 C1=6 A2=7.25 B2=8 C2=-9 A4=100");
    ASSERT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=Outside"), 0);
    for (size_t i = 0; i < kOutside.size(); ++i) put(book.get(), "A" + std::to_string(i + 1) + "=\"=" + kOutside[i] + "\"");

    ASSERT_EQ(TOVA_open_sheet2(book.get(), 0), 0);
    const std::vector<std::string> formulas = supported_formulas();
    std::map<std::string, std::string> placed;  // Data!cell -> formula
    for (size_t k = 0; k < formulas.size(); ++k) {
        char name[16];
        TOVA_cell_name(static_cast<int>(k % 200) + 1, static_cast<int>(k / 200) + 8, name);
        placed[std::string("Data!") + name] = formulas[k];
        put(book.get(), std::string(name) + "=\"=" + formulas[k] + "\"");
    }
    // Formulas that read formulas, the readers placed before what they read.
    put(book.get(), "AB1=\"=SUM(H1:H50)+AB2\" AB2=\"=ROUND(AVERAGE(I1:I200),3)*AB3\" AB3=\"=MAX(J1:J200)-AB4\" "
                    "AB4=\"=COUNT(H1:K200)\"");
    for (int r = 10; r < 40; ++r)
        put(book.get(), "AB" + std::to_string(r) + "=\"=AB" + std::to_string(r + 1) + "+AB" + std::to_string(r + 1) + "/2\"");
    put(book.get(), "AB40=1.5");
    // Written as users write them: lower case, blanks, ROW of the formula's own cell.
    put(book.get(), "AC1=\"=sum(a1:b3)*$a$2\" AC2=\"= 1 +  2 * ( A3 - b2 ) \" AC3=\"=SUM( A1 , A2 )\" "
                    "AC4=\"=ROW(AC4)+ROW()\" AC5=\"=round(d4,3)+trunc(-b4)\" AC6=\"=.5+5.\" AC7=\"=SUM (A1:A3)\"");
    ASSERT_EQ(TOVA_close_book(book.get(), "SAVE"), 0) << test::utf8_of_sjis(book->log.error_info);

    test::CommandResult run = test::office_recalc(dir_, path);
    if (run.status == 77) GTEST_SKIP() << "LibreOffice is not available";
    const Verdict verdict = parse_verdict(run.output);
    std::string differing;
    for (const auto& [cell, judged] : verdict.cells)
        if (judged.state == "differ")
            differing += cell + " =" + judged.formula + ": ours " + judged.cached + ", LibreOffice " + judged.computed + "\n";
    EXPECT_EQ(run.status, 0) << differing;

    for (const auto& [cell, formula] : placed) {
        auto it = verdict.cells.find(cell);
        ASSERT_NE(it, verdict.cells.end()) << cell;
        EXPECT_EQ(it->second.state, "agree") << cell << " =" << formula << " ours " << it->second.cached
                                             << " LibreOffice " << it->second.computed;
    }
    for (const char* cell : {"AB1", "AB2", "AB3", "AB4", "AB10", "AB39", "AC1", "AC2", "AC3", "AC4", "AC5", "AC6", "AC7"})
        EXPECT_EQ(verdict.cells.at(std::string("Data!") + cell).state, "agree") << cell;
    EXPECT_EQ(verdict.cells.at("Data!G2").state, "uncached");
    for (size_t i = 0; i < kOutside.size(); ++i) {
        const Judged& judged = verdict.cells.at("Outside!A" + std::to_string(i + 1));
        EXPECT_EQ(judged.state, "uncached") << kOutside[i] << " cached " << judged.cached;
    }
    EXPECT_EQ(verdict.calc_id, "114210");  // marked for recalculation on opening
}

}  // namespace
}  // namespace tova
