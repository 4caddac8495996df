// Argument lists: the tokenizer in its three modes, the comma list splitter,
// quote removal and the keyword convention shared by every caller.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "tova_api.h"

namespace tova::args {

enum class Mode { Argument, Statement, Expression };

constexpr size_t kArgumentMax = 4000;
constexpr size_t kStatementMax = 65536;
constexpr size_t kExpressionMax = 4002;
constexpr size_t kListItemMax = 4000;

constexpr int kNoToken = 1403;
constexpr int kTooLong = -9;

// Next token of `source` from `position`: 0 with the token (the position then
// points just past it), kNoToken with an empty token when only separators are
// left, kTooLong with an empty token and the position unchanged.
int next_token(int charset, std::string_view source, size_t& position, std::string& token, Mode mode);

inline int next_argument(int charset, std::string_view source, size_t& position, std::string& token) {
    return next_token(charset, source, position, token, Mode::Argument);
}
inline int next_statement(int charset, std::string_view source, size_t& position, std::string& token) {
    return next_token(charset, source, position, token, Mode::Statement);
}
inline int next_expression(int charset, std::string_view source, size_t& position, std::string& token) {
    return next_token(charset, source, position, token, Mode::Expression);
}

// Next comma-separated item, taken byte for byte (empty items are skipped, one
// ";" ending the whole text is dropped); 0, kNoToken or kTooLong as for next_token.
// No multibyte rule is needed: no trail byte of any character set is a comma.
int next_list_item(std::string_view source, size_t& position, std::string& item);

// Drops one pair of surrounding double quotes.
void remove_quotes(std::string& text);

// True when `token` (Shift-JIS) is the word: English compared without regard
// to ASCII case, Japanese (UTF-8 in the source) byte for byte in Shift-JIS.
bool is_word(std::string_view token_sjis, std::string_view english, std::string_view japanese_utf8 = {});

// One word of a keyword table: an argument-list keyword or a fixed value word.
struct Keyword {
    int id;                                    // >= 0
    std::string_view english;                  // empty: no English spelling
    std::array<std::string_view, 3> japanese{};  // UTF-8 spellings, empty ones unused
    bool takes_value = true;                   // followed by "=" and a value
};

// The id of the first word of `table` that `token_sjis` is, or -1.
int find_keyword(std::string_view token_sjis, std::span<const Keyword> table);

// Walks an argument list keyword by keyword, following the convention every
// argument-list caller shares: tokens are converted to Shift-JIS before they
// are compared; a keyword that takes a value must be followed by "=" and a value.
class ArgumentReader {
public:
    // `charset` is read before every token, so a CHARSET keyword that changes it
    // takes effect from the next token on.
    ArgumentReader(XLS_BOOK& book, std::string_view list, const int& charset);

    static constexpr int kEnd = -1000;      // no more keywords
    static constexpr int kUnknown = -1001;  // token() holds the unknown word

    // The id of the next keyword of `table`, kEnd or kUnknown. For a keyword
    // that takes a value, the "=" and the value are read too: the value is then
    // in value(), and -3 is returned when the "=" is missing (TOVA-02303 quoting
    // the token found instead) or the value is (no message).
    int next_keyword(std::span<const Keyword> table);

    // The last keyword read, converted to Shift-JIS.
    const std::string& token() const { return token_; }

    // The value of the last keyword, as written (the caller's character set).
    const std::string& value() const { return value_; }

private:
    int read_value();

    XLS_BOOK& book_;
    std::string_view list_;
    const int& charset_;
    size_t position_ = 0;
    std::string token_;
    std::string value_;
};

}  // namespace tova::args
