// Targets: ranges, lists of ranges, whole rows and columns, cells, row numbers,
// column letters, and the plain names that define variables.
#include "property/parser_target.hpp"

#include <algorithm>
#include <string>

#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "model/cell_ref.hpp"
#include "model/cell_ref_expression.hpp"
#include "platform/encoding.hpp"

namespace tova::property {
namespace {

// Longer targets can still open with a sheet's exact name (find_sheet_prefix).
constexpr size_t kStrippedPrefixTextMax = 93;
constexpr size_t kMaxColumnLetters = 3;

// References in the target ($ROWNUM, $CLMNUM) are evaluated on the sheet its
// prefix names; the book's current sheet is put back afterwards.
class EvaluationSheet {
public:
    EvaluationSheet(XLS_BOOK& book, int32_t sheet) : book_(book), saved_(book.cur_sheet) {
        if (sheet >= 0) book.cur_sheet = sheet;
    }
    ~EvaluationSheet() { book_.cur_sheet = saved_; }
    EvaluationSheet(const EvaluationSheet&) = delete;
    EvaluationSheet& operator=(const EvaluationSheet&) = delete;

private:
    XLS_BOOK& book_;
    int32_t saved_;
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The index of the sheet a prefix names, removing the prefix; -1 leaves the text alone.
int32_t take_sheet_prefix(const XLS_BOOK& book, std::string& text) {
    if (text.size() <= kStrippedPrefixTextMax) {
        int32_t sheet = model::strip_sheet_prefix(book, text);
        if (sheet >= 0) return sheet;
    }
    size_t after_prefix = 0;
    int32_t sheet = model::find_sheet_prefix(book, text, after_prefix);
    text.erase(0, after_prefix);
    return sheet;
}

// (A1:C3) is the target A1:C3; ($CLMNUM+1)3 is a cell whose column is an expression.
bool unwrap_parentheses(std::string& text) {
    if (text.size() < 2 || text.front() != '(' || model::matching_parenthesis(text, 0) != text.size() - 1) return false;
    text = text.substr(1, text.size() - 2);
    return true;
}

int take_rectangles(const XLS_RANGE_LIST& list, TargetKind kind, PropertyKey& parsed) {
    std::copy(list.ranges, list.ranges + list.count, parsed.target.ranges);
    parsed.target.count = list.count;
    parsed.target_kind = kind;
    return 0;
}

int bad_cell(XLS_BOOK& book, std::string_view written) {
    return fail(book, kBadArgument, Msg::BadCell, {std::string_view(quoted(charset_of(book), written))});
}

// 0 with the target filled in, kNothing when the text is no reference, or -3
// (with the message) for a reference that cannot be.
int read_reference(XLS_BOOK& book, int32_t sheet, const std::string& text, std::string_view written,
                   PropertyKey& parsed) {
    XLS_RANGE_LIST list{};
    int rc = model::parse_range_list(book, text, list);
    if (rc == 0) return take_rectangles(list, TargetKind::RangeList, parsed);
    if (rc < 0) return fail(book, kBadArgument, Msg::BadRange, {std::string_view(quoted(charset_of(book), written))});
    if (model::parse_range_ref(book, text, list) == 0) return take_rectangles(list, TargetKind::Range, parsed);
    if (model::parse_column_range(book, text, list) == 0) return take_rectangles(list, TargetKind::ColumnRange, parsed);

    int32_t first = 0, last = 0;
    if (model::parse_row_range(text, first, last) == 0) {
        parsed.target.ranges[0] = XLS_RECT{first, 0, last, 0};
        parsed.target.count = 1;
        parsed.target_kind = TargetKind::RowRange;
        return 0;
    }
    int32_t row = 0, column = 0;
    if (model::parse_cell_ref(book, sheet, text, row, column) == 0) {
        parsed.target.row = row;
        parsed.target.column = column;
        parsed.target_kind = TargetKind::Cell;
        return 0;
    }
    if (!text.empty() && std::all_of(text.begin(), text.end(), is_digit)) {
        int64_t index = int64_t{model::leading_integer(text)} - 1;
        if (index < 0 || index > model::kLastRow) return bad_cell(book, written);
        parsed.target.row = static_cast<int32_t>(index);
        parsed.target_kind = TargetKind::Row;
        return 0;
    }
    if (!text.empty() && text.size() <= kMaxColumnLetters && std::all_of(text.begin(), text.end(), is_letter)) {
        column = model::column_from_letters(text);
        if (column < 0) return bad_cell(book, written);
        parsed.target.column = column;
        parsed.target_kind = TargetKind::Column;
        return 0;
    }
    return kNothing;
}

}  // namespace

int parse_target(XLS_BOOK& book, std::string_view written, bool whole_key, PropertyKey& parsed) {
    parsed.target_text.assign(written);
    // Sheet names are kept in UTF-8.
    const std::string utf8 = enc::conv_charset(charset_of(book), enc::kUtf8, written);
    std::string text = utf8;
    int32_t sheet = take_sheet_prefix(book, text);
    if (unwrap_parentheses(text) && sheet < 0) sheet = take_sheet_prefix(book, text);
    parsed.target.sheet = sheet;

    int rc;
    {
        EvaluationSheet evaluation(book, sheet);
        rc = read_reference(book, sheet, text, written, parsed);
    }
    if (rc != kNothing) return rc;
    // Only a key that is nothing but a name defines a variable; before other words it is a bad target.
    if (!whole_key || utf8.empty()) return bad_cell(book, written);
    if (utf8.find_first_of("!$:") != std::string::npos)
        return fail(book, kBadArgument, Msg::BadVariableName, {std::string_view(quoted(charset_of(book), written))});
    parsed.target_kind = TargetKind::Variable;
    parsed.code = stmt::kVariable;
    return 0;
}

}  // namespace tova::property
