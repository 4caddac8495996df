// The tokenizer of argument lists, statements and expressions, the comma list
// splitter and quote removal.
#include <string_view>

#include "api/arglist.hpp"
#include "platform/encoding.hpp"

namespace tova::args {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool is_operator(char c) { return std::string_view("%()*+,-/^").find(c) != std::string_view::npos; }

size_t max_length(Mode mode) {
    switch (mode) {
        case Mode::Statement: return kStatementMax;
        case Mode::Expression: return kExpressionMax;
        case Mode::Argument: break;
    }
    return kArgumentMax;
}

enum class Scan { Closed, SourceEnded, TooLong };

// Reads one token: every byte goes through take() or put(), which keep the
// token within its maximum.
class TokenScanner {
public:
    TokenScanner(int charset, std::string_view source, size_t position, std::string& token, size_t max)
        : charset_(charset), source_(source), position_(position), token_(token), max_(max) {}

    size_t position() const { return position_; }

    Scan scan(Mode mode) {
        while (!at_end() && is_blank(peek())) ++position_;
        if (at_end()) return Scan::SourceEnded;
        char c = peek();
        if (c == '=' || (mode == Mode::Expression && is_operator(c))) return take(1) ? Scan::Closed : Scan::TooLong;
        if (c == '\'') return scan_single_quoted();
        if (c == '"') return mode == Mode::Statement ? scan_statement_quoted() : scan_double_quoted(mode);
        return scan_plain(mode);
    }

private:
    bool at_end() const { return position_ >= source_.size(); }
    char peek(size_t ahead = 0) const {
        return position_ + ahead < source_.size() ? source_[position_ + ahead] : '\0';
    }
    bool ends_after(size_t ahead) const { return position_ + ahead >= source_.size(); }

    // Copies `count` source bytes.
    bool take(size_t count) {
        if (token_.size() + count > max_) return false;
        token_.append(source_.substr(position_, count));
        position_ += count;
        return true;
    }

    // Copies one character: a multibyte character whole when all of it is
    // there, otherwise a single byte, so a lead byte never reaches past the end.
    bool take_char() {
        size_t length = 1 + enc::trail_bytes(charset_, static_cast<unsigned char>(peek()));
        return take(position_ + length <= source_.size() ? length : 1);
    }

    // Writes a byte of its own and skips `skipped` source bytes.
    bool put(char c, size_t skipped) {
        if (token_.size() + 1 > max_) return false;
        token_.push_back(c);
        position_ += skipped;
        return true;
    }

    static bool ends_plain(char c, Mode mode) {
        return is_blank(c) || c == '=' || c == '"' || c == '\'' || (mode == Mode::Expression && is_operator(c));
    }

    Scan scan_plain(Mode mode) {
        while (!at_end()) {
            // A run of single-byte characters goes in one piece: no character
            // set has a lead byte below 0x80.
            size_t run = position_;
            while (run < source_.size() && static_cast<unsigned char>(source_[run]) < 0x80 && !ends_plain(source_[run], mode))
                ++run;
            if (run > position_ && !take(run - position_)) return Scan::TooLong;
            if (at_end()) break;
            if (ends_plain(peek(), mode)) return Scan::Closed;
            if (!take_char()) return Scan::TooLong;
        }
        return Scan::SourceEnded;
    }

    // Argument and expression mode: the next double quote closes the token; in
    // expression mode a doubled one stands for one quote and does not.
    Scan scan_double_quoted(Mode mode) {
        if (!take(1)) return Scan::TooLong;
        while (!at_end()) {
            if (peek() == '"') {
                if (mode == Mode::Expression && peek(1) == '"') {
                    if (!put('"', 2)) return Scan::TooLong;
                    continue;
                }
                return take(1) ? Scan::Closed : Scan::TooLong;
            }
            if (!take_char()) return Scan::TooLong;
        }
        return Scan::SourceEnded;
    }

    // Statement mode: values are long texts that may hold quotes, so only a
    // quote followed by a blank or the end closes the token.
    Scan scan_statement_quoted() {
        if (!take(1)) return Scan::TooLong;
        while (!at_end()) {
            if (peek() == '"') {
                if (peek(1) == '"') {
                    if (!put('"', 2)) return Scan::TooLong;
                    continue;
                }
                if (ends_after(1) || is_blank(peek(1))) {
                    if (token_.size() > 1 && is_blank(token_.back())) token_.pop_back();
                    return take(1) ? Scan::Closed : Scan::TooLong;
                }
            }
            if (!take_char()) return Scan::TooLong;
        }
        return Scan::SourceEnded;
    }

    // A quote right after the opening one is copied with the character after
    // it, so that a name opening with a doubled quote does not end there.
    Scan scan_single_quoted() {
        if (!take(1)) return Scan::TooLong;
        if (peek() == '\'') {
            if (!take(1)) return Scan::TooLong;
            if (!at_end() && !take_char()) return Scan::TooLong;
        }
        while (!at_end()) {
            if (peek() == '\'') return take(1) ? Scan::Closed : Scan::TooLong;
            if (!take_char()) return Scan::TooLong;
        }
        return Scan::SourceEnded;
    }

    int charset_;
    std::string_view source_;
    size_t position_;
    std::string& token_;
    size_t max_;
};

}  // namespace

int next_token(int charset, std::string_view source, size_t& position, std::string& token, Mode mode) {
    token.clear();
    TokenScanner scanner(charset, source, position, token, max_length(mode));
    Scan result = scanner.scan(mode);
    if (result == Scan::TooLong) {
        token.clear();
        return kTooLong;
    }
    // One ";" ending the whole text is ignored; a lone one leaves no token.
    if (result == Scan::SourceEnded && !token.empty() && token.back() == ';') token.pop_back();
    position = scanner.position();
    return token.empty() ? kNoToken : 0;
}

int next_list_item(std::string_view source, size_t& position, std::string& item) {
    item.clear();
    size_t start = source.find_first_not_of(',', position);
    if (start == std::string_view::npos) {
        position = source.size();
        return kNoToken;
    }
    size_t end = source.find(',', start);
    if (end == std::string_view::npos) end = source.size();
    size_t length = end - start;
    if (end == source.size() && source[end - 1] == ';') --length;
    if (length > kListItemMax) return kTooLong;
    item.assign(source.substr(start, length));
    position = end;
    return item.empty() ? kNoToken : 0;
}

void remove_quotes(std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text.pop_back();
        text.erase(0, 1);
    }
}

}  // namespace tova::args
