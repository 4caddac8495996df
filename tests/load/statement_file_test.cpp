#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "api/call_frame.hpp"
#include "load/load_nesting.hpp"
#include "load_fixture.hpp"
#include "platform/encoding.hpp"

namespace tova {
namespace {

class StatementFile : public test::LoadTest {
protected:
    void SetUp() override {
        LoadTest::SetUp();
        open_book("CHARSET=UTF8");
    }
    void open_book(const char* list) {
        book_ = test::make_zeroed_book();
        ASSERT_EQ(TOVA_open_book(book_.get(), list), 0);
        ASSERT_EQ(TOVA_open_sheet(book_.get(), "SHEET_NAME=S"), 0);
    }
    int run(const std::string& list) { return TOVA_read_file(book_.get(), list.c_str()); }
    int run_file(const std::string& content, const std::string& arguments = "") {
        path_ = write_file("statements.txt", content);
        return run("FILE=\"" + path_ + "\" " + arguments);
    }
    std::string text(int row, int column) { return test::cell_text(*book_, row, column); }
    std::string message() { return test::message_of(*book_); }

    test::BookPtr book_;
    std::string path_;
};

struct ArgumentCase {
    const char* list;
    int rc;
    std::optional<Msg> message;
    const char* quoted;
};

const ArgumentCase kArgumentCases[] = {
    {"NOSUCH=1", kBadArgument, Msg::UnsupportedKeyword, "NOSUCH"},
    {"FILE x", kBadArgument, Msg::BadEquals, "x"},
    {"FILE=", kBadArgument, std::nullopt, ""},
    {"CHARSET=UTF8", kBadArgument, std::nullopt, ""},
    {"", kBadArgument, std::nullopt, ""},
    {"CHARSET=ASCII FILE=a", kBadArgument, Msg::UnsupportedKeyword, "ASCII"},
    {"FILE=a CHARSET=\"Shift_JIS\"", kBadArgument, Msg::UnsupportedKeyword, "Shift_JIS"},
    {"FILE=no_such_file.txt", kCannotOpen, Msg::FileOpen, "no_such_file.txt"},
    {"ファイル=\"まだない.txt\"", kCannotOpen, Msg::FileOpen, "まだない.txt"},
};

TEST_F(StatementFile, ArgumentLists) {
    for (const ArgumentCase& c : kArgumentCases) {
        book_->log.error_info[0] = '\0';
        EXPECT_EQ(run(c.list), c.rc) << c.list;
        EXPECT_EQ(book_->log.error_code, c.rc) << c.list;
        const std::string expected =
            c.message ? test::utf8_of_sjis(format_message(*c.message, {std::string_view(enc::conv_charset(
                                                                           enc::kUtf8, enc::kShiftJis, c.quoted))}))
                      : "";
        EXPECT_EQ(message(), expected) << c.list;
    }
    EXPECT_EQ(TOVA_read_file(book_.get(), nullptr), kBadArgument);
    EXPECT_EQ(TOVA_read_file(nullptr, "FILE=a"), kBadArgument);
}

TEST_F(StatementFile, PathsOfAtMost256Bytes) {
    EXPECT_EQ(run("FILE=\"" + std::string(257, 'x') + "\""), kBadArgument);
    EXPECT_EQ(message(), test::utf8_of_sjis(message_text(Msg::FileNameTooLong)));
    EXPECT_EQ(run("FILE=\"" + std::string(256, 'x') + "\""), kCannotOpen);
}

struct CharsetCase {
    const char* arguments;
    int file_charset;
};

const CharsetCase kCharsets[] = {
    {"", enc::kShiftJis},
    {"CHARSET=SJIS", enc::kShiftJis},
    {"CHARSET=shiftjis", enc::kShiftJis},
    {"CHARSET=Shift-JIS", enc::kShiftJis},
    {"CHARSET=\"Shift JIS\"", enc::kShiftJis},
    {"CHARSET=euc", enc::kEucJp},
    {"CHARSET=utf8", enc::kUtf8},
    {"CHARSET=UTF-8", enc::kUtf8},
    {"文字コード=EUC", enc::kEucJp},
};

TEST_F(StatementFile, CharsetOfTheFile) {
    for (const CharsetCase& c : kCharsets) {
        const std::string file = enc::conv_charset(enc::kUtf8, c.file_charset, "A1=表示 B1=\"ソフト 日本語\"\n");
        ASSERT_EQ(run_file(file, c.arguments), 0) << c.arguments << ": " << message();
        EXPECT_EQ(text(0, 0), "表示") << c.arguments;
        EXPECT_EQ(text(0, 1), "ソフト 日本語") << c.arguments;
    }
}

TEST_F(StatementFile, JapaneseKeywordsAndNames) {
    const std::string path = write_file("データ.txt", "A1=ok\n");
    ASSERT_EQ(run("ファイル=\"" + path + "\" 文字コード=UTF8"), 0) << message();
    EXPECT_EQ(text(0, 0), "ok");

    open_book("CHARSET=SJIS");  // the name is written in the book's character set
    const std::string list = enc::conv_charset(enc::kUtf8, enc::kShiftJis, "FILE=\"" + path + "\"");
    ASSERT_EQ(run(list), 0) << message();
    EXPECT_EQ(text(0, 0), "ok");
}

TEST_F(StatementFile, ByteOrderMarkMeansUtf8) {
    ASSERT_EQ(run_file("\xEF\xBB\xBF" "A1=日本語\n", "CHARSET=SJIS"), 0) << message();
    EXPECT_EQ(text(0, 0), "日本語");
}

TEST_F(StatementFile, QuotedPathWithBlanks) {
    const std::string path = write_file("my statements.txt", "A1=1\n");
    ASSERT_EQ(run("FILE=\"" + path + "\""), 0) << message();
    EXPECT_EQ(text(0, 0), "1");
}

TEST_F(StatementFile, LineEndsGiveTheSameStatements) {
    for (const char* end : {"\n", "\r\n", "\r"}) {
        open_book("CHARSET=UTF8");
        const std::string e = end;
        const std::string file = "! a comment A9=no" + e + "A1=1 B1=\"two" + e + "lines\"" + e + e + "A2=x" + e +
                                 "!A3=no" + e + "A3=\"=A1*2\"";
        ASSERT_EQ(run_file(file, "CHARSET=UTF8"), 0) << message();
        EXPECT_EQ(text(0, 0), "1");
        EXPECT_EQ(text(0, 1), "two" + e + "lines");
        EXPECT_EQ(text(1, 0), "x");
        EXPECT_EQ(text(2, 0), "A1*2");
        EXPECT_TRUE(text(8, 0).empty());
    }
}

TEST_F(StatementFile, LinesLongerThanAnyBuffer) {
    const std::string value(20000, 'v');  // a cell holds up to 32767 characters
    ASSERT_EQ(run_file("A1=\"" + value + "\" B1=end\n", "CHARSET=UTF8"), 0) << message();
    EXPECT_TRUE(text(0, 0) == value) << text(0, 0).size();
    EXPECT_EQ(text(0, 1), "end");
}

TEST_F(StatementFile, AFailingStatementEndsTheRun) {
    EXPECT_EQ(run_file("A1=1\nA1.NO_SUCH_WORD=2\nA3=3\n", "CHARSET=UTF8"), kFailed);
    EXPECT_EQ(book_->log.error_code, kFailed);
    EXPECT_EQ(message().rfind("TOVA-02200", 0), 0u) << message();
    EXPECT_EQ(text(0, 0), "1");
    EXPECT_TRUE(text(2, 0).empty());
}

TEST_F(StatementFile, NestedRunsStopAtTheLimit) {
    std::vector<std::unique_ptr<load::LoadNesting>> levels;
    for (int i = 0; i < load::LoadNesting::kMaxDepth; ++i) levels.push_back(std::make_unique<load::LoadNesting>());
    EXPECT_EQ(run_file("A1=1\n"), kFailed);
    EXPECT_EQ(message(), test::utf8_of_sjis(format_message(
                             Msg::CountLimit, {std::string_view(path_ + ": nested loads"),
                                               static_cast<long long>(load::LoadNesting::kMaxDepth)})));
    EXPECT_TRUE(text(0, 0).empty());
    levels.pop_back();
    EXPECT_EQ(run_file("A1=1\n"), 0);
}

}  // namespace
}  // namespace tova
