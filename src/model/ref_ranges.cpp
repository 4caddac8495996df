// Sheet prefixes, ranges, column ranges and lists of ranges.
#include <cstring>

#include "api/arglist.hpp"
#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "model/cell_ref.hpp"
#include "model/cell_ref_expression.hpp"

namespace tova::model {
namespace {

constexpr size_t kExactPrefixTextMax = 173;
constexpr size_t kExactPrefixNameMax = 90;
constexpr size_t kStatementPrefixNameMax = 93;

int32_t sheet_named(const XLS_BOOK& book, std::string_view name) {
    const WorkArea* area = work_area(book);
    if (area == nullptr) return -1;
    const auto& sheets = area->book.sheets;
    for (size_t i = 0; i < sheets.size(); ++i)
        if (sheets[i].name == name) return static_cast<int32_t>(i);
    return -1;
}

// Leaves nothing of an earlier or partial result in the fields the range parsers own.
void clear_ranges(XLS_RANGE_LIST& list) {
    list.sheet = 0;
    std::memset(list.ranges, 0, sizeof list.ranges);
    list.count = 0;
}

// The sheet a range text names by an exact prefix, else the current sheet;
// `body` is the text past the prefix.
int32_t sheet_of_range(const XLS_BOOK& book, std::string_view text, std::string_view& body) {
    size_t after_prefix = 0;
    int32_t sheet = find_sheet_prefix(book, text, after_prefix);
    body = text.substr(after_prefix);
    return sheet >= 0 ? sheet : book.cur_sheet;
}

// Two full cell references joined by the first ":".
int parse_corners(XLS_BOOK& book, int32_t sheet, std::string_view text, XLS_RECT& rect) {
    size_t colon = text.find(':');
    if (colon == std::string_view::npos) return -1;
    XLS_RECT parsed{};
    if (parse_cell_ref(book, sheet, text.substr(0, colon), parsed.first_row, parsed.first_column) != 0 ||
        parse_cell_ref(book, sheet, text.substr(colon + 1), parsed.last_row, parsed.last_column) != 0)
        return -1;
    rect = parsed;
    return 0;
}

// A column side names its column by letters or a column expression; a digit
// elsewhere would make A1:C3 (or A:C3) read as whole columns.
bool has_row_digits(std::string_view side) {
    if (!side.empty() && side.front() == '$') side.remove_prefix(1);
    if (!side.empty() && side.front() == '(') {
        size_t close = matching_parenthesis(side, 0);
        if (close != std::string_view::npos) side.remove_prefix(close + 1);
    }
    return side.find_first_of("0123456789") != std::string_view::npos;
}

int parse_column_side(XLS_BOOK& book, int32_t sheet, std::string_view side, int32_t& row, int32_t& column) {
    if (has_row_digits(side)) return -1;
    return parse_cell_ref(book, sheet, std::string(side) + "1", row, column);
}

}  // namespace

const Sheet* referenced_sheet(const XLS_BOOK& book, int32_t sheet) {
    const WorkArea* area = work_area(book);
    if (area == nullptr) return nullptr;
    int32_t index = sheet < 0 ? book.cur_sheet : sheet;
    if (index < 0 || static_cast<size_t>(index) >= area->book.sheets.size()) return nullptr;
    return &area->book.sheets[index];
}

int32_t find_sheet_prefix(const XLS_BOOK& book, std::string_view text, size_t& after_prefix) {
    after_prefix = 0;
    if (text.size() > kExactPrefixTextMax) return -1;
    size_t bang = text.find('!');
    if (bang == std::string_view::npos || bang < 1 || bang > kExactPrefixNameMax) return -1;
    int32_t sheet = sheet_named(book, text.substr(0, bang));
    if (sheet >= 0) after_prefix = bang + 1;
    return sheet;
}

int32_t strip_sheet_prefix(const XLS_BOOK& book, std::string& text) {
    // A quoted name may hold "." itself; otherwise a "." or ":" comes after the
    // reference, so a "!" behind it belongs to something else.
    size_t bang;
    if (!text.empty() && text.front() == '\'') {
        size_t close = text.find('\'', 1);
        bang = close == std::string::npos ? close : close + 1;
    } else {
        bang = text.find_first_of(".:!");
    }
    if (bang >= text.size() || text[bang] != '!' || bang > kStatementPrefixNameMax) return -1;
    std::string_view name(text.data(), bang);
    if (name.size() >= 2 && name.front() == '\'' && name.back() == '\'') name = name.substr(1, name.size() - 2);
    int32_t sheet = sheet_named(book, name);
    if (sheet >= 0) text.erase(0, bang + 1);
    return sheet;
}

int parse_range_ref(XLS_BOOK& book, std::string_view text, XLS_RANGE_LIST& list) {
    clear_ranges(list);
    if (text.size() > kRangeRefMax) return -3;
    std::string_view body;
    int32_t sheet = sheet_of_range(book, text, body);
    XLS_RECT rect{};
    if (parse_corners(book, sheet, body, rect) != 0) return -1;
    list.sheet = sheet;
    list.ranges[0] = rect;
    list.count = 1;
    return 0;
}

int parse_column_range(XLS_BOOK& book, std::string_view text, XLS_RANGE_LIST& list) {
    clear_ranges(list);
    if (text.size() > kRangeRefMax) return -3;
    std::string_view body;
    int32_t sheet = sheet_of_range(book, text, body);
    size_t colon = body.find(':');
    if (colon == std::string_view::npos) return -1;
    XLS_RECT rect{};
    if (parse_column_side(book, sheet, body.substr(0, colon), rect.first_row, rect.first_column) != 0 ||
        parse_column_side(book, sheet, body.substr(colon + 1), rect.last_row, rect.last_column) != 0)
        return -1;
    list.sheet = sheet;
    list.ranges[0] = rect;
    list.count = 1;
    return 0;
}

int parse_range_list(XLS_BOOK& book, std::string_view text, XLS_RANGE_LIST& list) {
    clear_ranges(list);
    auto reject = [&list](int code) {
        clear_ranges(list);
        return code;
    };
    if (text.find(',') == std::string_view::npos) return kNothing;
    int32_t first_sheet = 0;
    int32_t count = 0;
    std::string item;
    for (size_t position = 0;;) {
        int rc = args::next_list_item(text, position, item);
        if (rc == args::kNoToken) break;
        if (count == XLS_RANGE_LIST_MAX) return reject(-1);
        if (rc != 0 || item.size() > kRangeRefMax) return reject(kNothing);
        std::string_view body;
        int32_t sheet = sheet_of_range(book, item, body);
        if (parse_corners(book, sheet, body, list.ranges[count]) != 0) return reject(kNothing);
        if (count++ == 0) first_sheet = sheet;
    }
    if (count == 0) return kNothing;
    list.sheet = first_sheet;
    list.count = count;
    return 0;
}

}  // namespace tova::model
