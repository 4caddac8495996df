// Argument lists: the tokenizer in its three modes, the comma list splitter,
// quote removal and the keyword convention shared by every caller.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "tova_api.h"

namespace tova::args {

enum class Mode { Argument, Statement, Expression };

constexpr size_t kArgumentMax = 4000;
constexpr size_t kStatementMax = 65536;
constexpr size_t kExpressionMax = 4002;
constexpr size_t kListItemMax = 4000;

constexpr int kNoToken = 1403;
constexpr int kTooLong = -9;

// Next token of `source` from `position`; 0, kNoToken or kTooLong.
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

// Next comma-separated item (empty items skipped); 0, kNoToken or kTooLong.
int next_list_item(int charset, std::string_view source, size_t& position, std::string& item);

// Drops one pair of surrounding double quotes.
void remove_quotes(std::string& text);

// True when `token` (Shift-JIS) is the word: English compared without regard
// to ASCII case, Japanese (UTF-8 in the source) byte for byte in Shift-JIS.
bool is_word(std::string_view token_sjis, std::string_view english, std::string_view japanese_utf8 = {});

// One keyword of an argument list.
struct Keyword {
    int id;
    std::string_view english;
    std::initializer_list<std::string_view> japanese;  // UTF-8 spellings
    bool takes_value = true;
};

// Walks an argument list keyword by keyword, following the convention every
// argument-list caller shares: tokens are converted to Shift-JIS before they
// are compared; a keyword that takes a value must be followed by "=" and a value.
class ArgumentReader {
public:
    // `charset` is read before every token, so a CHARSET keyword that changes it
    // takes effect from the next token on.
    ArgumentReader(XLS_BOOK& book, std::string_view list, const int& charset);

    static constexpr int kEnd = -1000;       // no more keywords
    static constexpr int kUnknown = -1001;   // token() holds the unknown word

    // The id of the next keyword of `table`, kEnd or kUnknown.
    int next_keyword(std::initializer_list<Keyword> table);

    // The value after the keyword: 0, or -3 (TOVA-02303 for a missing "=",
    // no message for a missing value).
    int read_value(std::string& value);

    // The last token read, converted to Shift-JIS.
    const std::string& token() const { return token_; }

private:
    XLS_BOOK& book_;
    std::string_view list_;
    const int& charset_;
    size_t position_ = 0;
    std::string token_;
};

}  // namespace tova::args
