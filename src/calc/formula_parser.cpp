// A recursive descent over at most kMaxTokens tokens, so its depth is bounded:
//   expression := term { ("+" | "-") term }
//   term       := factor { ("*" | "/") factor }
//   factor     := ("+" | "-") factor | primary
//   primary    := number | reference | function "(" [expression { "," expression }] ")" | "(" expression ")"
#include "calc/formula_parser.hpp"

#include <cstdio>
#include <optional>

#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "calc/formula_functions.hpp"
#include "calc/formula_tokens.hpp"
#include "model/cell_ref.hpp"
#include "model/cell_store.hpp"
#include "platform/encoding.hpp"

namespace tova::calc {
namespace {

constexpr size_t kNumberTextMax = 39;
constexpr size_t kReferenceTextMax = 255;

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A1, $A$1, A$1 or $A1 and nothing else (no A01, no A1.5), within the sheet's limits.
bool read_cell(std::string_view text, int32_t& row, int32_t& column) {
    size_t i = 0;
    if (i < text.size() && text[i] == '$') ++i;
    const size_t letters = i;
    while (i < text.size() && is_letter(text[i])) ++i;
    if (i == letters || i - letters > 3) return false;
    if (i < text.size() && text[i] == '$') ++i;
    if (i >= text.size() || text[i] == '0') return false;
    for (size_t j = i; j < text.size(); ++j)
        if (!is_digit(text[j])) return false;
    return model::parse_cell_simple(text, row, column) == 0;
}

// A cell or a range (corners in any order) with an optional prefix naming a
// sheet of the book; anything else (names, whole columns, other books) is not.
bool read_reference(XLS_BOOK& book, int32_t own_sheet, std::string_view text, Value& value) {
    if (text.size() > kReferenceTextMax) return false;
    std::string body(text);
    int32_t sheet = model::strip_sheet_prefix(book, body);
    if (sheet < 0) {
        if (body.find('!') != std::string::npos) return false;
        sheet = own_sheet;
    }
    CellArea& area = value.area;
    area.sheet = sheet;
    const size_t colon = body.find(':');
    if (colon == std::string::npos) {
        value.kind = Value::Kind::Cell;
        if (!read_cell(body, area.first_row, area.first_column)) return false;
        area.last_row = area.first_row;
        area.last_column = area.first_column;
        return true;
    }
    value.kind = Value::Kind::Range;
    std::string_view view(body);
    int32_t r1 = 0, c1 = 0, r2 = 0, c2 = 0;
    if (!read_cell(view.substr(0, colon), r1, c1) || !read_cell(view.substr(colon + 1), r2, c2)) return false;
    area.first_row = std::min(r1, r2);
    area.last_row = std::max(r1, r2);
    area.first_column = std::min(c1, c2);
    area.last_column = std::max(c1, c2);
    return true;
}

// A reader keeps the type attribute of a formula whose cached result was not
// a number; this formula's result type is not ours to change.
bool declares_type(std::string_view attributes) {
    for (size_t at = attributes.find("t="); at != std::string_view::npos; at = attributes.find("t=", at + 1))
        if (at == 0 || attributes[at - 1] == ' ') return true;
    return false;
}

void report_unsupported_function(XLS_BOOK& book, std::string_view name) {
    if (book.log.debug < 1) return;
    std::FILE* err = work_area(book)->err;
    std::fputs(format_message(Msg::UnsupportedFunction, {std::string_view(quoted(enc::kUtf8, name))}).c_str(), err);
    std::fputs(message_text(Msg::SavingForRecalc).c_str(), err);
}

class Parser {
public:
    Parser(XLS_BOOK& book, CellId own, const std::vector<Token>& tokens, Program& program)
        : book_(book), own_(own), tokens_(tokens), program_(program) {}

    int parse() {
        if (!expression() || next_ != tokens_.size()) return kFailed;
        if (arity_error_) return fail(book_, kFailed, arity_error_->message, {std::string_view(arity_error_->name)});
        return 0;
    }

private:
    struct ArityError {
        Msg message;
        std::string name;
    };

    bool at(TokenKind kind) const { return next_ < tokens_.size() && tokens_[next_].kind == kind; }
    bool accept(TokenKind kind) {
        if (!at(kind)) return false;
        ++next_;
        return true;
    }
    void emit(OpKind kind) { program_.ops.push_back(Op{kind, 0, 0, {}}); }

    bool expression() {
        if (!term()) return false;
        while (at(TokenKind::Plus) || at(TokenKind::Minus)) {
            OpKind kind = tokens_[next_++].kind == TokenKind::Plus ? OpKind::Add : OpKind::Subtract;
            if (!term()) return false;
            emit(kind);
        }
        return true;
    }

    bool term() {
        if (!factor()) return false;
        while (at(TokenKind::Times) || at(TokenKind::Divide)) {
            OpKind kind = tokens_[next_++].kind == TokenKind::Times ? OpKind::Multiply : OpKind::Divide;
            if (!factor()) return false;
            emit(kind);
        }
        return true;
    }

    bool factor() {
        if (at(TokenKind::Plus) || at(TokenKind::Minus)) {
            OpKind kind = tokens_[next_++].kind == TokenKind::Plus ? OpKind::Plus : OpKind::Negate;
            if (!factor()) return false;
            emit(kind);
            return true;
        }
        return primary();
    }

    bool primary() {
        if (next_ >= tokens_.size()) return false;
        const Token& token = tokens_[next_++];
        switch (token.kind) {
            case TokenKind::Number: return number(token.text);
            case TokenKind::Reference: return reference(token.text);
            case TokenKind::Function: return call(token.text);
            case TokenKind::Open: return expression() && accept(TokenKind::Close);
            default: return false;
        }
    }

    bool number(std::string_view text) {
        Op op;
        return text.size() <= kNumberTextMax && read_decimal(text, false, op.value.number) && push(op);
    }

    bool reference(std::string_view text) {
        Op op;
        if (!read_reference(book_, own_.sheet, text, op.value)) return false;
        op.value.text_begin = static_cast<uint32_t>(program_.texts.size());
        op.value.text_length = static_cast<uint32_t>(text.size());
        program_.texts.append(text);
        return push(op);
    }

    bool push(const Op& op) {
        program_.ops.push_back(op);
        return true;
    }

    bool call(const std::string& name) {
        std::optional<uint8_t> index = find_function(name);
        if (!index) {
            report_unsupported_function(book_, name);
            return false;
        }
        if (!accept(TokenKind::Open)) return false;
        int count = 0;
        if (!accept(TokenKind::Close)) {
            do {
                if (!expression()) return false;
                ++count;
            } while (accept(TokenKind::Comma));
            if (!accept(TokenKind::Close)) return false;
        }
        const FunctionSpec& spec = function_at(*index);
        const bool too_few = count < spec.min_args;
        const bool too_many = spec.max_args >= 0 && count > spec.max_args;
        if (too_few || too_many) {
            if (!spec.arity_stops_save) return false;
            if (!arity_error_) arity_error_ = ArityError{too_few ? Msg::TooFewArguments : Msg::TooManyArguments, name};
        }
        program_.ops.push_back(Op{OpKind::Call, *index, static_cast<uint16_t>(count), {}});
        return true;
    }

    XLS_BOOK& book_;
    CellId own_;
    const std::vector<Token>& tokens_;
    Program& program_;
    size_t next_ = 0;
    std::optional<ArityError> arity_error_;  // reported once the whole formula has been read
};

}  // namespace

int compile_formula(XLS_BOOK& book, CellId own, Program& program) {
    program = Program{};
    const model::Sheet& sheet = work_area(book)->book.sheets[static_cast<size_t>(own.sheet)];
    const model::Cell* cell = model::find_cell(sheet, own.row, own.column);
    if (cell == nullptr || cell->formula == nullptr) return kFailed;
    const std::string& stored = cell->formula->formula;
    if (stored.size() > kFormulaTextMax) return kNothing;
    if (!stored.empty() && stored.front() == '<') return kFailed;
    if (declares_type(cell->formula->attributes)) return kFailed;

    std::vector<Token> tokens;
    if (int rc = cut_formula(book, enc::xml_unescape(stored), tokens)) return rc;
    return Parser(book, own, tokens, program).parse();
}

}  // namespace tova::calc
