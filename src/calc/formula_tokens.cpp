#include "calc/formula_tokens.hpp"

#include "api/arglist.hpp"
#include "api/call_frame.hpp"
#include "platform/encoding.hpp"

namespace tova::calc {
namespace {

constexpr size_t kFunctionNameMax = 30;

struct Symbol {
    std::string_view text;
    TokenKind kind;
};

constexpr Symbol kSymbols[] = {
    {"(", TokenKind::Open},  {")", TokenKind::Close}, {",", TokenKind::Comma},  {"+", TokenKind::Plus},
    {"-", TokenKind::Minus}, {"*", TokenKind::Times},  {"/", TokenKind::Divide}, {"=", TokenKind::Unsupported},
};

bool is_number_token(std::string_view text) { return text.find_first_not_of("0123456789.") == std::string_view::npos; }

// The raw texts, with a quoted sheet name joined to the "!A1" that follows it.
int raw_tokens(std::string_view formula, std::vector<std::string>& texts) {
    std::string token;
    for (size_t position = 0;;) {
        int rc = args::next_expression(enc::kUtf8, formula, position, token);
        if (rc == args::kNoToken) return 0;
        if (rc != 0) return kFailed;
        if (!texts.empty() && token.front() == '!' && texts.back().front() == '\'' && texts.back().size() > 1 &&
            texts.back().back() == '\'')
            texts.back() += token;
        else
            texts.push_back(token);
    }
}

// A formula with more "(" than ")" or the reverse cannot be read at all.
bool balanced(const std::vector<std::string>& texts) {
    long depth = 0;
    for (const std::string& t : texts) depth += t == "(" ? 1 : t == ")" ? -1 : 0;
    return depth == 0;
}

Token classify(const std::string& text, const std::string* next) {
    for (const Symbol& s : kSymbols)
        if (text == s.text) return {s.kind, text};
    if (is_number_token(text)) return {TokenKind::Number, text};
    // Text literals; a quoted sheet name was joined with its reference already.
    if (text.front() == '"' || (text.front() == '\'' && text.find("'!") == std::string::npos))
        return {TokenKind::Unsupported, text};
    if (next != nullptr && *next == "(") {
        std::string name = text;
        if (name.size() > kFunctionNameMax || enc::upper_unquoted(enc::kUtf8, name) != 0)
            return {TokenKind::Unsupported, text};
        return {TokenKind::Function, name};
    }
    return {TokenKind::Reference, text};
}

}  // namespace

int cut_formula(XLS_BOOK& book, std::string_view formula, std::vector<Token>& tokens) {
    tokens.clear();
    // The tokenizer drops a ";" that ends a text; in a formula it is no separator at all.
    if (formula.find(';') != std::string_view::npos) return kFailed;
    std::vector<std::string> texts;
    if (raw_tokens(formula, texts) != 0) return kFailed;
    for (const std::string& t : texts)
        if (t == "^" || t == "%") return fail(book, kFailed, Msg::UnsupportedOperator, {std::string_view(t)});
    if (!balanced(texts))
        return fail(book, kFailed, Msg::UnbalancedParentheses, {std::string_view(quoted(enc::kUtf8, formula))});
    if (texts.size() > kMaxTokens) return kFailed;
    for (size_t i = 0; i < texts.size(); ++i)
        tokens.push_back(classify(texts[i], i + 1 < texts.size() ? &texts[i + 1] : nullptr));
    return 0;
}

}  // namespace tova::calc
