#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "api/book_lifecycle.hpp"
#include "api/call_frame.hpp"
#include "api/diagnostic_log.hpp"
#include "api/messages.hpp"
#include "api/work_area.hpp"
#include "platform/encoding.hpp"
#include "support/test_support.hpp"

namespace tova {
namespace {

using test::make_zeroed_book;
using test::utf8_of_sjis;

TEST(BookRecord, KeepsItsSizeAndLayout) {
    EXPECT_EQ(sizeof(XLS_BOOK), 108824u);
    EXPECT_EQ(offsetof(XLS_LOG, error_code), 12004u);
}

TEST(Messages, FormatQuotesTextsAndNumbers) {
    std::string text = utf8_of_sjis(format_message(Msg::BufferOverflow, {65534LL, std::string_view("XLS_CELL_LEN")}));
    EXPECT_EQ(text, "TOVA-03009 バッファサイズ(\"65534\")オーバー(\"XLS_CELL_LEN\")。");
    EXPECT_EQ(utf8_of_sjis(format_message(Msg::KeywordTooLong, {std::string_view("ABC"), 4000LL})),
              "TOVA-02210 キーワードが長すぎます(\"ABC\")。最大長は(4000)バイトです。");
}

TEST(Messages, EveryTextOpensWithItsCodeAndSurvivesShiftJis) {
    for (int i = 0; i < static_cast<int>(Msg::Count_); ++i) {
        auto id = static_cast<Msg>(i);
        std::string_view utf8 = message_text_utf8(id);
        EXPECT_EQ(utf8.substr(0, 5), "TOVA-") << utf8;
        // A character code page 932 cannot hold would come back as '?'.
        EXPECT_EQ(utf8_of_sjis(message_text(id)), utf8) << utf8;
    }
}

TEST(ErrorMesg, ConvertsToTheBooksCharset) {
    auto book = make_zeroed_book();
    fail(*book, kBadArgument, Msg::BadCell, {std::string_view("A0")});
    EXPECT_EQ(TOVA_error_code(book.get()), -3);
    // No work area: the message comes back in Shift-JIS.
    EXPECT_EQ(std::string(TOVA_error_mesg(book.get())), std::string(book->log.error_info));

    create_work_area(*book).charset = enc::kUtf8;
    EXPECT_STREQ(TOVA_error_mesg(book.get()), "TOVA-02300 セル指定値が不正です(\"A0\")。");
}

TEST(ErrorMesg, OverlongInfoGivesTheFixedText) {
    auto book = make_zeroed_book();
    std::memset(book->log.error_info, 'x', 6000);
    book->log.error_info[6000] = '\0';
    EXPECT_STREQ(TOVA_error_mesg(book.get()), "TOVA-4000 book->log.error_info too long");
    EXPECT_EQ(std::strlen(book->log.error_info), 6000u);  // left as it was
}

TEST(ErrorMesg, ConversionThatGrowsIsCutOnACharacterBoundary) {
    auto book = make_zeroed_book();
    create_work_area(*book).charset = enc::kUtf8;
    // 2999 two-byte Shift-JIS characters become 8997 bytes of UTF-8.
    std::string sjis;
    for (int i = 0; i < 2999; ++i) sjis += "\x82\xA0";
    set_error_info(*book, sjis);
    std::string mesg = TOVA_error_mesg(book.get());
    EXPECT_LE(mesg.size(), 6000u);
    EXPECT_EQ(mesg.size() % 3, 0u);
    EXPECT_EQ(enc::utf8_char_count(mesg), mesg.size() / 3);
}

TEST(Fail, CutsLongMessagesOnACharacterBoundary) {
    auto book = make_zeroed_book();
    std::string quoted_text;
    for (int i = 0; i < 4000; ++i) quoted_text += "\x82\xA0";
    fail(*book, kBadArgument, Msg::BadCell, {std::string_view(quoted_text)});
    size_t length = std::strlen(book->log.error_info);
    EXPECT_LE(length, 6000u);
    EXPECT_EQ(enc::char_boundary(enc::kShiftJis, book->log.error_info, length), length);
}

TEST(Guarded, TurnsExhaustionIntoMinusTwo) {
    auto book = make_zeroed_book();
    int rc = guarded(book.get(), []() -> int { throw std::bad_alloc(); });
    EXPECT_EQ(rc, -2);
    EXPECT_EQ(book->log.error_code, -2);
    EXPECT_EQ(utf8_of_sjis(book->log.error_info), "TOVA-00002 メモリ不足です。処理を中断します。");
    EXPECT_EQ(guarded(nullptr, [] { return 0; }), -3);
}

TEST(Guarded, ResetsTheCodeButKeepsTheMessage) {
    auto book = make_zeroed_book();
    fail(*book, kBadArgument, Msg::BadCell, {std::string_view("Z")});
    EXPECT_EQ(guarded(book.get(), [] { return 0; }), 0);
    EXPECT_EQ(TOVA_error_code(book.get()), 0);
    EXPECT_NE(book->log.error_info[0], '\0');
}

TEST(SmallExports, VersionDebugAndNoOps) {
    auto book = make_zeroed_book();
    char version[16] = {};
    book->log.error_code = -5;
    EXPECT_EQ(TOVA_version(book.get(), version), 0);
    EXPECT_STREQ(version, "2.1.0.0");
    EXPECT_EQ(book->log.error_code, 0);
    EXPECT_EQ(TOVA_set_property(book.get(), "anything"), 0);
    EXPECT_EQ(TOVA_open_datasource(nullptr, nullptr), 0);
    EXPECT_EQ(TOVA_paste_datasource(book.get(), ""), 0);
    EXPECT_EQ(TOVA_close_datasource(book.get(), "x"), 0);
}

TEST(FreeBook, TwiceIsHarmlessAndStrayHandlesAreNotFollowed) {
    auto book = make_zeroed_book();
    create_work_area(*book);
    EXPECT_EQ(TOVA_free_book(book.get()), 0);
    EXPECT_EQ(book->handle, nullptr);
    EXPECT_EQ(TOVA_free_book(book.get()), 0);

    int not_a_work_area = 0;
    book->handle = &not_a_work_area;
    EXPECT_EQ(TOVA_free_book(book.get()), 0);
    EXPECT_EQ(book->handle, nullptr);
}

TEST(DiagnosticLog, KeepsTheLast32LinesOldestFirst) {
    DiagnosticLog log;
    for (int i = 0; i < 40; ++i) log.add("event " + std::to_string(i));
    ASSERT_EQ(log.lines().size(), 32u);
    EXPECT_EQ(log.lines().front(), "event 8");
    EXPECT_EQ(log.lines().back(), "event 39");
}

TEST(DiagnosticLog, CodesWrapTheTextInTheirCatalogueLine) {
    DiagnosticLog log;
    log.set_code(3000);
    log.add("book.xls\nsecond line");
    log.set_code(2);
    log.add("ignored hole");
    log.set_code(77);
    log.add("unknown");
    log.add("plain");
    ASSERT_EQ(log.lines().size(), 4u);
    EXPECT_EQ(utf8_of_sjis(log.lines()[0]), "PEL-03000: Officeファイルオープンエラー(\"book.xls\")。処理を中断します。");
    EXPECT_EQ(log.lines()[2], "PEL-00077: unknown");
    EXPECT_EQ(log.lines()[3], "plain");
}

}  // namespace
}  // namespace tova
