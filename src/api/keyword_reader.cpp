// Keyword matching and the keyword-by-keyword reading of argument lists.
#include <functional>
#include <mutex>
#include <unordered_map>

#include "api/arglist.hpp"
#include "api/call_frame.hpp"
#include "platform/ascii.hpp"
#include "platform/encoding.hpp"

namespace tova::args {
namespace {

bool is_ascii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// The Shift-JIS form of a Japanese spelling. Tables hold the spellings in UTF-8;
// each is converted once per process and kept (elements of an unordered_map
// keep their address, so the reference stays valid after the lock is released).
const std::string& sjis_spelling(std::string_view utf8) {
    static std::mutex mutex;
    static std::unordered_map<std::string, std::string, TextHash, std::equal_to<>> spellings;
    std::lock_guard lock(mutex);
    auto found = spellings.find(utf8);
    if (found == spellings.end())
        found = spellings.emplace(std::string(utf8), enc::conv_charset(enc::kUtf8, enc::kShiftJis, utf8)).first;
    return found->second;
}

const Keyword* find_entry(std::string_view token_sjis, std::span<const Keyword> table) {
    for (const Keyword& keyword : table) {
        if (is_word(token_sjis, keyword.english)) return &keyword;
        for (std::string_view japanese : keyword.japanese)
            if (!japanese.empty() && is_word(token_sjis, {}, japanese)) return &keyword;
    }
    return nullptr;
}

}  // namespace

bool is_word(std::string_view token_sjis, std::string_view english, std::string_view japanese_utf8) {
    if (!english.empty() && equals_ignoring_case(token_sjis, english)) return true;
    if (japanese_utf8.empty()) return false;
    // ASCII is the same in both character sets; only other tokens need the converted spelling.
    if (is_ascii(token_sjis)) return token_sjis == japanese_utf8;
    return token_sjis == sjis_spelling(japanese_utf8);
}

int find_keyword(std::string_view token_sjis, std::span<const Keyword> table) {
    const Keyword* keyword = find_entry(token_sjis, table);
    return keyword ? keyword->id : -1;
}

ArgumentReader::ArgumentReader(XLS_BOOK& book, std::string_view list, const int& charset)
    : book_(book), list_(list), charset_(charset) {}

int ArgumentReader::next_keyword(std::span<const Keyword> table) {
    value_.clear();
    std::string written;
    if (next_argument(charset_, list_, position_, written) != 0) return kEnd;
    token_ = enc::conv_charset(charset_, enc::kShiftJis, written);
    const Keyword* keyword = find_entry(token_, table);
    if (keyword == nullptr) return kUnknown;
    if (keyword->takes_value) {
        if (int rc = read_value(); rc != 0) return rc;
    }
    return keyword->id;
}

int ArgumentReader::read_value() {
    std::string equals;
    next_argument(charset_, list_, position_, equals);  // a missing token leaves it empty
    if (equals != "=") return fail(book_, kBadArgument, Msg::BadEquals, {quoted(charset_, equals)});
    if (next_argument(charset_, list_, position_, value_) != 0) return fail_silently(book_, kBadArgument);
    return 0;
}

}  // namespace tova::args
