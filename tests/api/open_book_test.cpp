#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "platform/encoding.hpp"
#include "support/test_support.hpp"
#include "tova_api.h"

namespace tova {
namespace {

using test::make_zeroed_book;
using test::utf8_of_sjis;

std::string cwd() {
    std::array<char, PATH_MAX> buffer{};
    return getcwd(buffer.data(), buffer.size());
}

std::string message(XLS_BOOK& book) { return utf8_of_sjis(book.log.error_info); }

TEST(OpenBook, NewBookDefaults) {
    for (const char* list : {static_cast<const char*>(nullptr), "", "   "}) {
        auto book = make_zeroed_book();
        ASSERT_EQ(TOVA_open_book(book.get(), list), 0);
        EXPECT_EQ(std::string(book->file_name), cwd() + "/Book1.xlsx");
        EXPECT_EQ(book->max_rows, 1048576);
        EXPECT_EQ(book->window_width, 18000);
        EXPECT_STREQ(book->company, "MyCompany");
        EXPECT_TRUE(flag_on(*book, XLS_FLAG_RECALC));
        EXPECT_FALSE(flag_on(*book, XLS_FLAG_TEMPLATE_MODE));
        EXPECT_EQ(TOVA_sheet_num(book.get()), 0);
        EXPECT_GT(book->builtin_xf[6], 0);
    }
}

struct NameCase {
    const char* argument;
    const char* file_name;
};

const NameCase kNames[] = {
    {"BOOK=report", "report.xlsx"},
    {"BOOK=report.csv", "report.csv"},
    {"BOOK=a.b", "a.b.xlsx"},
    {"BOOK=old.XLS", "old.XLS"},
    {"EXCEL=out.xlsm", "out.xlsm"},
    {"BOOK=\"My Book.xlsx\"", "My Book.xlsx"},
    {"book = \"x y\"", "x y.xlsx"},
    {"BOOK=/tmp/abs/report", "/tmp/abs/report"},
};

TEST(OpenBook, TheExtensionRule) {
    for (const auto& c : kNames) {
        auto book = make_zeroed_book();
        ASSERT_EQ(TOVA_open_book(book.get(), c.argument), 0) << c.argument;
        std::string expected = c.file_name[0] == '/' ? c.file_name : cwd() + "/" + c.file_name;
        EXPECT_EQ(std::string(book->file_name), expected) << c.argument;
    }
}

TEST(OpenBook, JapaneseKeywordsInEveryCharset) {
    auto book = make_zeroed_book();
    ASSERT_EQ(TOVA_open_book(book.get(), "CHARSET=UTF8 ブック=帳簿 モード=新規"), 0);
    EXPECT_EQ(std::string(book->file_name), cwd() + "/帳簿.xlsx");
    EXPECT_EQ(work_area(*book)->charset, 3);

    // Before CHARSET the UTF-8 keyword is read as Shift-JIS and not recognised.
    auto late = make_zeroed_book();
    EXPECT_EQ(TOVA_open_book(late.get(), "ブック=帳簿 CHARSET=UTF8"), -3);
    EXPECT_EQ(message(*late).substr(0, 10), "TOVA-02200");
}

struct FailureCase {
    const char* argument;
    int code;
    const char* message_start;
};

const FailureCase kFailures[] = {
    {"MODE=\"READ\"", -3, "TOVA-02200 サポート外のキーワードです(\"\"READ\"\")"},
    {"MODE=WRITE", -3, "TOVA-02200"},
    {"COLOR=RED", -3, "TOVA-02200 サポート外のキーワードです(\"COLOR\")"},
    {"BOOK", -3, ""},
    {"BOOK READ", -3, "TOVA-02303"},
    {"VERSION=2.0.0.0", -1, "TOVA-00901 呼び出し側(\"2.0.0.0\")と共有ライブラリ側(\"2.1.0.0\")でバージョンが異なります。"},
    {"XLS_BOOK=1000", -1, "TOVA-00902 構造体XLS_BOOKのサイズが異なります。(\"CALL側:1000byte DLL側:108824byte\")。"},
};

TEST(OpenBook, ArgumentErrors) {
    for (const auto& c : kFailures) {
        auto book = make_zeroed_book();
        EXPECT_EQ(TOVA_open_book(book.get(), c.argument), c.code) << c.argument;
        EXPECT_EQ(book->log.error_code, c.code) << c.argument;
        EXPECT_EQ(message(*book).rfind(c.message_start, 0), 0u) << c.argument << ": " << message(*book);
    }
    auto book = make_zeroed_book();
    EXPECT_EQ(TOVA_open_book(book.get(), "XLS_BOOK=108824 VERSION=2.1.0.0"), 0);
}

TEST(OpenBook, NamesThatDoNotFit) {
    auto book = make_zeroed_book();
    std::string long_name = "BOOK=" + std::string(257, 'n');
    EXPECT_EQ(TOVA_open_book(book.get(), long_name.c_str()), -3);
    EXPECT_EQ(message(*book), "TOVA-00005 ファイル名が長すぎます。");
    // 250 bytes fit alone but not behind the current directory.
    std::string joined = "BOOK=" + std::string(250, 'n') + ".xlsx";
    EXPECT_EQ(TOVA_open_book(book.get(), joined.c_str()), -3);
    EXPECT_EQ(message(*book), "TOVA-00005 ファイル名が長すぎます。");
}

TEST(OpenBook, ReadingMissingAndUnsupportedFiles) {
    std::string dir = test::make_scratch_dir("open-read");
    auto book = make_zeroed_book();
    std::string missing = "MODE=READ BOOK=\"" + dir + "/missing.xlsx\"";
    EXPECT_EQ(TOVA_open_book(book.get(), missing.c_str()), -101);
    EXPECT_EQ(message(*book), "TOVA-03101 Excelファイルオープンエラー(\"" + dir + "/missing.xlsx\")。");
    EXPECT_EQ(book->handle, nullptr);  // discarded

    std::string text = dir + "/notes.csv";
    std::ofstream(text) << "a,b,c\n1,2,3\n4,5,6\n";
    std::string unsupported = "MODE=READ BOOK=\"" + text + "\"";
    EXPECT_EQ(TOVA_open_book(book.get(), unsupported.c_str()), -4);
    EXPECT_EQ(message(*book), "TOVA-00900 サポート外のファイルです(\"" + text + "\")。");
    std::filesystem::remove_all(dir);
}

TEST(OpenSheet, CreateSelectAndName) {
    auto book = make_zeroed_book();
    ASSERT_EQ(TOVA_open_book(book.get(), "CHARSET=UTF8"), 0);
    EXPECT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=Sheet1"), 0);
    EXPECT_EQ(TOVA_open_sheet(book.get(), "シート=Sheet3"), 0);
    EXPECT_EQ(TOVA_open_sheet(book.get(), ""), 0);  // Sheet3 is taken: Sheet4
    char name[96];
    ASSERT_EQ(TOVA_sheet_name(book.get(), 2, name), 0);
    EXPECT_STREQ(name, "Sheet4");
    EXPECT_EQ(book->cur_sheet, 2);

    EXPECT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=Sheet1 MODE=READ"), 0);
    EXPECT_EQ(book->cur_sheet, 0);
    EXPECT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=Nope MODE=READ"), -801);
    EXPECT_EQ(TOVA_open_sheet2(book.get(), 3), -801);
    EXPECT_EQ(TOVA_open_sheet2(book.get(), 2), 0);
    EXPECT_EQ(TOVA_sheet_name(book.get(), 3, name), -801);
    EXPECT_STREQ(name, "");
}

TEST(OpenSheet, NamesTheApplicationRefuses) {
    auto book = make_zeroed_book();
    ASSERT_EQ(TOVA_open_book(book.get(), "CHARSET=UTF8"), 0);
    ASSERT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=\"Sales 2024\""), 0);
    EXPECT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=\"sales 2024\""), -3);
    EXPECT_EQ(message(*book), "TOVA-02321 既に存在しているシート名です(\"sales 2024\")。");
    for (const char* bad : {"SHEET_NAME=a/b", "SHEET_NAME=\"x[1]\"", "SHEET_NAME=q?", "SHEET_NAME=\"\"", "SHEET_NAME='x'"}) {
        EXPECT_EQ(TOVA_open_sheet(book.get(), bad), -3) << bad;
        EXPECT_EQ(message(*book).substr(0, 10), "TOVA-02320") << bad;
    }
    ASSERT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=\"R&D's\""), 0);
    EXPECT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=売上"), 0);
}

TEST(OpenSheet, LongNamesKeepThirtyCharacters) {
    auto book = make_zeroed_book();
    ASSERT_EQ(TOVA_open_book(book.get(), "CHARSET=UTF8"), 0);
    std::string forty(40, 'x'), thirty_one(31, 'y');
    ASSERT_EQ(TOVA_open_sheet(book.get(), ("SHEET_NAME=" + forty).c_str()), 0);
    ASSERT_EQ(TOVA_open_sheet(book.get(), ("SHEET_NAME=" + thirty_one).c_str()), 0);
    std::string japanese;
    for (int i = 0; i < 35; ++i) japanese += "表";
    ASSERT_EQ(TOVA_open_sheet(book.get(), ("SHEET_NAME=" + japanese).c_str()), 0);
    const auto& sheets = work_area(*book)->book.sheets;
    EXPECT_EQ(sheets[0].name, std::string(30, 'x'));
    EXPECT_EQ(sheets[1].name, thirty_one);
    EXPECT_EQ(sheets[2].name.size(), 90u);  // 30 characters of three bytes
}

TEST(OpenSheet, TemplateModeAddsNoSheets) {
    auto book = make_zeroed_book();
    ASSERT_EQ(TOVA_open_book(book.get(), nullptr), 0);
    ASSERT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=Base"), 0);
    set_flag(*book, XLS_FLAG_TEMPLATE_MODE, true);
    EXPECT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=More"), -3);
    EXPECT_EQ(message(*book), "TOVA-02209 テンプレートモードではシートを追加することはできません。");
    EXPECT_EQ(TOVA_open_sheet(book.get(), "MODE=TEMPLATE"), -3);
    EXPECT_EQ(message(*book), "TOVA-02322 テンプレートシート名が指定されていません。");
    EXPECT_EQ(TOVA_open_sheet(book.get(), "MODE=TEMPLATE TEMPLATE=Missing"), -801);
    EXPECT_EQ(TOVA_open_sheet(book.get(), "MODE=TEMPLATE TEMPLATE=Base SHEET_NAME=base"), -3);
    EXPECT_EQ(TOVA_open_sheet(book.get(), "MODE=TEMPLATE TEMPLATE=Base SHEET_NAME=Copy"), 0);
    EXPECT_EQ(work_area(*book)->book.sheets[1].template_sheet, 0);
}

}  // namespace
}  // namespace tova

namespace tova {
namespace {

// The same argument list written in each character set the caller may use.
TEST(OpenBook, KeywordsInEveryCharacterSet) {
    struct Case { int charset; const char* name; };
    const Case cases[] = {{1, "SJIS"}, {2, "EUC"}, {3, "UTF8"}};
    for (const auto& c : cases) {
        std::string list = std::string("CHARSET=") + c.name + " ";
        list += enc::conv_charset(enc::kUtf8, c.charset, "ブック=\"売上 報告\" モード=新規");
        auto book = make_zeroed_book();
        ASSERT_EQ(TOVA_open_book(book.get(), list.c_str()), 0) << c.name << ": " << message(*book);
        EXPECT_EQ(std::string(book->file_name), cwd() + "/売上 報告.xlsx") << c.name;
        std::string sheet = "シート=" + std::string("月次");
        ASSERT_EQ(TOVA_open_sheet(book.get(), enc::conv_charset(enc::kUtf8, c.charset, sheet).c_str()), 0) << c.name;
        char name[96];
        ASSERT_EQ(TOVA_sheet_name(book.get(), 0, name), 0);
        EXPECT_EQ(enc::conv_charset(c.charset, enc::kUtf8, name), "月次") << c.name;

        // Messages come back in the book's character set.
        EXPECT_EQ(TOVA_open_sheet(book.get(), enc::conv_charset(enc::kUtf8, c.charset, "色=赤").c_str()), -3);
        EXPECT_EQ(enc::conv_charset(c.charset, enc::kUtf8, TOVA_error_mesg(book.get())),
                  "TOVA-02200 サポート外のキーワードです(\"色\")。") << c.name;
    }
}

}  // namespace
}  // namespace tova
