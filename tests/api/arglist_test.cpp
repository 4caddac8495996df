#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "api/arglist.hpp"
#include "api/messages.hpp"
#include "platform/encoding.hpp"
#include "support/test_support.hpp"

namespace tova {
namespace {

using args::Mode;
using test::make_zeroed_book;
using test::utf8_of_sjis;

std::string sjis(std::string_view utf8) { return enc::conv_charset(enc::kUtf8, enc::kShiftJis, utf8); }

// All tokens of a source, joined by "|", or "!<rc>" appended when a call failed.
std::string tokens_of(int charset, std::string_view source, Mode mode) {
    std::string joined, token;
    size_t position = 0;
    for (int rc; (rc = args::next_token(charset, source, position, token, mode)) != args::kNoToken;) {
        if (rc != 0) return joined + "!" + std::to_string(rc);
        if (!joined.empty()) joined += '|';
        joined += token;
    }
    return joined;
}

struct TokenCase {
    Mode mode;
    const char* source;
    const char* tokens;
};

constexpr TokenCase kTokenCases[] = {
    {Mode::Argument, "MODE=READ;", "MODE|=|READ"},
    {Mode::Argument, "MODE=READ; BOOK=x", "MODE|=|READ;|BOOK|=|x"},
    {Mode::Argument, "KEY = VALUE", "KEY|=|VALUE"},
    {Mode::Argument, "KEY= VALUE\r\n", "KEY|=|VALUE"},
    {Mode::Argument, "\tKEY =VALUE", "KEY|=|VALUE"},
    {Mode::Argument, "SAVE ;", "SAVE"},
    {Mode::Argument, "", ""},
    {Mode::Argument, " \t\r\n ", ""},
    {Mode::Argument, "BOOK=\"My Book.xlsx\"", "BOOK|=|\"My Book.xlsx\""},
    {Mode::Argument, "BOOK=a\"b\"", "BOOK|=|a|\"b\""},
    {Mode::Argument, "BOOK=\"a=b c", "BOOK|=|\"a=b c"},
    {Mode::Argument, "\"a\"\"b\"", "\"a\"|\"b\""},
    {Mode::Argument, "SUM(A1,B2)*2", "SUM(A1,B2)*2"},
    {Mode::Argument, "'My Sheet'!A1", "'My Sheet'|!A1"},
    {Mode::Argument, "a'b'", "a|'b'"},
    {Mode::Argument, "''x'y", "''x'|y"},
    {Mode::Argument, "'abc", "'abc"},
    {Mode::Statement, "'My Sheet'!A1", "'My Sheet'|!A1"},
    {Mode::Statement, "A1=\"say \"\"hi\"\"\"", "A1|=|\"say \"hi\"\""},
    {Mode::Statement, "A1=\"a\"b c\"", "A1|=|\"a\"b c\""},
    {Mode::Statement, "A1=\"x\" B1=\"y\"", "A1|=|\"x\"|B1|=|\"y\""},
    {Mode::Statement, "A1=\"x\";", "A1|=|\"x\""},
    {Mode::Statement, "A1=\"abc \"", "A1|=|\"abc\""},
    {Mode::Statement, "\"\"\"\"", "\"\"\""},
    {Mode::Statement, "SUM(A1,B2)*2", "SUM(A1,B2)*2"},
    {Mode::Expression, "'My Sheet'!A1", "'My Sheet'|!A1"},
    {Mode::Expression, "SUM(A1,B2)*2", "SUM|(|A1|,|B2|)|*|2"},
    {Mode::Expression, "1%+2^3/4-5", "1|%|+|2|^|3|/|4|-|5"},
    {Mode::Expression, "A( $ROWNUM + 1 )", "A|(|$ROWNUM|+|1|)"},
    {Mode::Expression, "\"a\"\"b\"&x", "\"a\"b\"|&x"},
    {Mode::Expression, "\"a,b\"", "\"a,b\""},
};

TEST(Tokenizer, SplitsTextsInEachMode) {
    for (const TokenCase& c : kTokenCases)
        EXPECT_EQ(tokens_of(enc::kShiftJis, c.source, c.mode), c.tokens) << c.source;
}

TEST(Tokenizer, PositionPointsPastEachToken) {
    std::string token;
    size_t position = 0;
    ASSERT_EQ(args::next_argument(enc::kShiftJis, "KEY =\"v\" x", position, token), 0);
    EXPECT_EQ(position, 3u);  // at the blank that ended it
    ASSERT_EQ(args::next_argument(enc::kShiftJis, "KEY =\"v\" x", position, token), 0);
    EXPECT_EQ(position, 5u);  // past the "="
    ASSERT_EQ(args::next_argument(enc::kShiftJis, "KEY =\"v\" x", position, token), 0);
    EXPECT_EQ(position, 8u);  // past the closing quote
    EXPECT_EQ(args::next_argument(enc::kShiftJis, "KEY =\"v\" x", position, token), 0);
    EXPECT_EQ(args::next_argument(enc::kShiftJis, "KEY =\"v\" x", position, token), args::kNoToken);
    EXPECT_EQ(token, "");
}

TEST(Tokenizer, CopiesMultibyteCharactersWhole) {
    // Japanese keywords in Shift-JIS and UTF-8.
    std::string source = sjis("モード=読込");
    EXPECT_EQ(tokens_of(enc::kShiftJis, source, Mode::Argument), sjis("モード") + "|=|" + sjis("読込"));
    EXPECT_EQ(tokens_of(enc::kUtf8, "モード = 読み込み", Mode::Argument), "モード|=|読み込み");
    // A byte after a lead byte belongs to the character, whatever it is.
    EXPECT_EQ(tokens_of(enc::kShiftJis, "a\x81=b", Mode::Argument), "a\x81=b");
    EXPECT_EQ(tokens_of(enc::kUtf8, "a\xE3\"'b", Mode::Argument), "a\xE3\"'b");
    EXPECT_EQ(tokens_of(enc::kEucJp, "'\xA4'x'", Mode::Argument), "'\xA4'x'");
}

TEST(Tokenizer, LeadByteAtTheEndStopsThere) {
    struct Case {
        int charset;
        Mode mode;
        std::string_view source;
    };
    const Case cases[] = {
        {enc::kShiftJis, Mode::Argument, "AB\x82"},     {enc::kUtf8, Mode::Argument, "AB\xF0\x9F"},
        {enc::kEucJp, Mode::Expression, "1+\xA4"},      {enc::kShiftJis, Mode::Statement, "\"x\x82"},
        {enc::kUtf8, Mode::Argument, "'a\xE3"},         {enc::kShiftJis, Mode::Expression, "\"\x82"},
    };
    for (const Case& c : cases) {
        // An exact-size copy: a read past its end is caught by the address sanitizer.
        std::vector<char> exact(c.source.begin(), c.source.end());
        std::string_view source(exact.data(), exact.size());
        std::string token, all;
        size_t position = 0;
        while (args::next_token(c.charset, source, position, token, c.mode) == 0) {
            all += token;
            ASSERT_LE(position, source.size());
        }
        EXPECT_EQ(all, c.source);
        EXPECT_EQ(position, source.size());
    }
}

// A token of exactly the maximum is accepted and one byte more refused, in
// every character set and mode, for plain and quoted tokens.
TEST(Tokenizer, TokensUpToTheMaximum) {
    struct Charset {
        int code;
        std::string_view character;
    };
    const Charset charsets[] = {{enc::kShiftJis, "\x82\xA0"}, {enc::kEucJp, "\xA4\xA2"}, {enc::kUtf8, "\xE3\x81\x82"}};
    struct Limit {
        Mode mode;
        size_t max;
    };
    const Limit limits[] = {{Mode::Argument, args::kArgumentMax},
                            {Mode::Statement, args::kStatementMax},
                            {Mode::Expression, args::kExpressionMax}};
    for (const Charset& charset : charsets) {
        for (const Limit& limit : limits) {
            for (bool quoted : {false, true}) {
                size_t closing = quoted ? 1 : 0;
                std::string text = quoted ? "\"" : "";
                while (text.size() + charset.character.size() + closing <= limit.max) text += charset.character;
                text.append(limit.max - text.size() - closing, 'a');
                if (quoted) text += '"';
                ASSERT_EQ(text.size(), limit.max);
                std::string token;
                size_t position = 0;
                EXPECT_EQ(args::next_token(charset.code, text, position, token, limit.mode), 0);
                EXPECT_EQ(token.size(), limit.max);

                std::string longer = quoted ? "\"a" + text.substr(1) : "a" + text;
                position = 0;
                EXPECT_EQ(args::next_token(charset.code, longer, position, token, limit.mode), args::kTooLong);
                EXPECT_EQ(token, "");
                EXPECT_EQ(position, 0u);

                // A character that would cross the maximum is not cut.
                std::string crossing = std::string(limit.max - 1, 'a') + std::string(charset.character);
                position = 0;
                EXPECT_EQ(args::next_token(charset.code, crossing, position, token, limit.mode), args::kTooLong);
            }
        }
    }
}

TEST(ListItems, SplitAtCommasOnly) {
    struct Case {
        const char* source;
        const char* items;
    };
    constexpr Case kCases[] = {
        {"A1,,B2;", "A1|B2"},     {",,,", ""},         {"a b,\"c,d\"", "a b|\"c|d\""},
        {"x;,y", "x;|y"},         {"a,;", "a"},        {"", ""},
        {" , ", " | "},
    };
    for (const Case& c : kCases) {
        std::string joined, item;
        size_t position = 0;
        while (args::next_list_item(c.source, position, item) == 0) joined += (joined.empty() ? "" : "|") + item;
        EXPECT_EQ(joined, c.items) << c.source;
    }
}

TEST(ListItems, LongestItemIsAccepted) {
    std::string item;
    size_t position = 0;
    std::string longest(args::kListItemMax, 'x');
    EXPECT_EQ(args::next_list_item(longest + ",y", position, item), 0);
    EXPECT_EQ(item.size(), args::kListItemMax);
    EXPECT_EQ(position, args::kListItemMax);
    position = 0;
    EXPECT_EQ(args::next_list_item(longest + "x,y", position, item), args::kTooLong);
    EXPECT_EQ(item, "");
}

TEST(RemoveQuotes, DropsOneSurroundingPair) {
    struct Case {
        const char* text;
        const char* result;
    };
    constexpr Case kCases[] = {
        {"\"My Book.xlsx\"", "My Book.xlsx"}, {"\"\"", ""},       {"\"", "\""},
        {"abc", "abc"},                       {"\"a\"\"b\"", "a\"\"b"}, {"\"abc", "\"abc"},
        {"", ""},
    };
    for (const Case& c : kCases) {
        std::string text = c.text;
        args::remove_quotes(text);
        EXPECT_EQ(text, c.result) << c.text;
    }
}

enum KeywordId { kBook, kMode, kSave, kCharset, kPassword };

constexpr args::Keyword kKeywords[] = {
    {kBook, "EXCEL", {"ブック"}},
    {kBook, "BOOK", {}},
    {kMode, "MODE", {"モード"}},
    {kSave, "SAVE", {}, false},
    {kCharset, "CHARSET", {"キャラクタセット"}},
    {kPassword, "WRITE_PASSWORD", {"書込パスワード", "書込みパスワード", "書き込みパスワード"}},
};

TEST(Keywords, EnglishIgnoresCaseJapaneseIsShiftJis) {
    struct Case {
        std::string token;
        int id;
    };
    const Case cases[] = {
        {"MODE", kMode},
        {"mode", kMode},
        {"Excel", kBook},
        {"book", kBook},
        {sjis("モード"), kMode},
        {sjis("書き込みパスワード"), kPassword},
        {sjis("書込パスワード"), kPassword},
        {"モード", -1},  // still UTF-8: not converted, so not the word
        {"MODES", -1},
        {"MOD", -1},
        {"", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(args::find_keyword(c.token, kKeywords), c.id) << utf8_of_sjis(c.token);
    EXPECT_TRUE(args::is_word("true", "TRUE", "する"));
    EXPECT_TRUE(args::is_word(sjis("する"), "TRUE", "する"));
    EXPECT_FALSE(args::is_word(sjis("しない"), "TRUE", "する"));
    EXPECT_FALSE(args::is_word("3d", "", "3D"));  // Japanese spellings are compared byte for byte
}

struct Read {
    int id;
    std::string value;
    bool operator==(const Read&) const = default;
};

std::vector<Read> read_all(XLS_BOOK& book, std::string_view list, int& charset, bool switch_charset = false) {
    args::ArgumentReader reader(book, list, charset);
    std::vector<Read> reads;
    for (int id; (id = reader.next_keyword(kKeywords)) != args::ArgumentReader::kEnd;) {
        reads.push_back({id, id == args::ArgumentReader::kUnknown ? reader.token() : reader.value()});
        if (id < 0) break;
        if (switch_charset && id == kCharset) charset = enc::kUtf8;
    }
    return reads;
}


TEST(ArgumentReader, ReadsKeywordsAndValues) {
    auto book = make_zeroed_book();
    int charset = enc::kShiftJis;
    std::vector<Read> expected = {{kMode, "READ"}, {kBook, "\"x y.xlsx\""}, {kSave, ""}, {kMode, "b"}};
    EXPECT_EQ(read_all(*book, "MODE=READ book = \"x y.xlsx\" SAVE mode= b;", charset), expected);
    EXPECT_EQ(book->log.error_code, 0);
}

TEST(ArgumentReader, JapaneseKeywordsInEachCharset) {
    auto book = make_zeroed_book();
    int charset = enc::kShiftJis;
    std::vector<Read> expected = {{kMode, sjis("読込")}};
    EXPECT_EQ(read_all(*book, sjis("モード=読込"), charset), expected);
    charset = enc::kUtf8;
    expected = {{kMode, "読込"}};  // the value stays as written
    EXPECT_EQ(read_all(*book, "モード=読込", charset), expected);
}

TEST(ArgumentReader, CharsetTakesEffectFromTheNextToken) {
    auto book = make_zeroed_book();
    int charset = enc::kShiftJis;
    std::vector<Read> expected = {{kCharset, "UTF8"}, {kBook, "名前"}};
    EXPECT_EQ(read_all(*book, "CHARSET=UTF8 ブック=名前", charset, true), expected);

    charset = enc::kShiftJis;
    std::vector<Read> reads = read_all(*book, "ブック=名前 CHARSET=UTF8", charset, true);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].id, args::ArgumentReader::kUnknown);
}

TEST(ArgumentReader, FailuresFollowTheConvention) {
    struct Case {
        std::string list;
        int last_id;
        const char* message;  // UTF-8, empty for none
    };
    const Case cases[] = {
        {"MODE READ", -3, "TOVA-02303 引数列のイコール(=)部分が不正です(\"READ\")。"},
        {"MODE", -3, "TOVA-02303 引数列のイコール(=)部分が不正です(\"\")。"},
        {"MODE=", -3, ""},
        {"MODE= ;", -3, ""},
        {"MODE=" + std::string(args::kArgumentMax + 1, 'x'), -3, ""},
        {"FOO=1", args::ArgumentReader::kUnknown, ""},
    };
    for (const Case& c : cases) {
        auto book = make_zeroed_book();
        int charset = enc::kShiftJis;
        std::vector<Read> reads = read_all(*book, c.list, charset);
        ASSERT_EQ(reads.size(), 1u) << c.list;
        EXPECT_EQ(reads[0].id, c.last_id) << c.list;
        EXPECT_EQ(utf8_of_sjis(book->log.error_info), c.message) << c.list;
    }
}

TEST(ArgumentReader, UnreadableKeywordEndsTheList) {
    auto book = make_zeroed_book();
    int charset = enc::kShiftJis;
    std::vector<Read> expected = {{kSave, ""}};
    EXPECT_EQ(read_all(*book, "SAVE " + std::string(args::kArgumentMax + 1, 'K') + " MODE=x", charset), expected);
    EXPECT_EQ(book->log.error_code, 0);
}

}  // namespace
}  // namespace tova
