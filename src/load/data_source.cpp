#include "load/data_source.hpp"

#include <algorithm>
#include <string_view>
#include <vector>

#include "api/call_frame.hpp"
#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "load/field_splitter.hpp"
#include "load/line_reader.hpp"
#include "load/load_nesting.hpp"
#include "model/cell_ref.hpp"
#include "model/cell_store.hpp"
#include "property/cell_statements.hpp"

namespace tova::load {
namespace {

struct SplitFailure {
    SplitResult result;
    Msg message;
    long long limit;
    std::string_view reason;
};

constexpr SplitFailure kSplitFailures[] = {
    {SplitResult::UnclosedQuote, Msg::BadCell, 0, "unclosed quote"},
    {SplitResult::FieldTooLong, Msg::CountLimit, static_cast<long long>(kMaxFieldBytes), "bytes of a field"},
    {SplitResult::TooManyFields, Msg::CountLimit, static_cast<long long>(kMaxFields), "fields"},
};

bool valid_sheet(XLS_BOOK& book, int32_t sheet) {
    const WorkArea* area = work_area(book);
    return area != nullptr && sheet >= 0 && sheet < static_cast<int32_t>(area->book.sheets.size());
}

// One run of tob_load_datasource. The sheet is looked up by index every time:
// a statement line may add sheets, which moves them.
class DataLoad {
public:
    DataLoad(XLS_BOOK& book, int32_t sheet, const DataSourceRequest& request, const DataTarget& target)
        : book_(book), sheet_(sheet), request_(request), target_(target) {}

    int run();

private:
    model::Sheet& sheet() { return work_area(book_)->book.sheets[sheet_]; }
    int run_statement(std::string_view text);
    int load_line(const std::string& line);
    int store_row(int32_t row, const std::vector<std::string_view>& fields);
    int store_field(int32_t row, int32_t column, std::string_view field);

    // "file:line: what", quoted for a message.
    std::string where(std::string_view what) const {
        return quoted(enc::kUtf8, request_.path) + ":" + std::to_string(position_.line_number) + ": " +
               std::string(what);
    }
    int fail_limit(std::string_view what, int32_t limit) {
        return fail(book_, kFailed, Msg::CountLimit, {std::string_view(where(what)), static_cast<long long>(limit)});
    }

    XLS_BOOK& book_;
    const int32_t sheet_;
    const DataSourceRequest& request_;
    const DataTarget& target_;
    int charset_ = enc::kShiftJis;
    LinePosition position_;
    int32_t loaded_ = 0;
    std::vector<std::string_view> fields_;
};

int DataLoad::run() {
    TextFile file;
    if (!file.open(request_.path))
        return fail(book_, kCannotOpen, Msg::DataSourceOpen, {std::string_view(quoted(enc::kUtf8, request_.path))});
    charset_ = file.skip_byte_order_mark() ? enc::kUtf8 : request_.charset;
    sheet().last_loaded_row = target_.first_row;
    std::string line;
    while (tob_read_line(file, line, position_)) {
        const bool statement = !line.empty() && line[0] == request_.statement_marker;
        if (int rc = statement ? run_statement(std::string_view(line).substr(1)) : load_line(line)) return rc;
    }
    return 0;
}

int DataLoad::run_statement(std::string_view text) {
    const std::string statement = enc::conv_charset(charset_, charset_of(book_), text);
    const int32_t caller_sheet = book_.cur_sheet;
    book_.cur_sheet = sheet_;
    const int rc = TOVA_put_values(&book_, statement.c_str());
    book_.cur_sheet = caller_sheet;
    if (rc == 0) return 0;
    return fail_silently(book_, rc == kNoMemory ? kNoMemory : kFailed);
}

int DataLoad::load_line(const std::string& line) {
    const int32_t row = target_.first_row + loaded_;
    if (target_.last_row >= 0 && row > target_.last_row) return 0;  // read on: statement lines may follow
    const std::string utf8 = enc::conv_charset(charset_, enc::kUtf8, line);
    const SplitResult split = tob_split_fields(request_.separator == kTab ? '\t' : ',', utf8, fields_);
    for (const SplitFailure& failure : kSplitFailures)
        if (failure.result == split)
            return fail(book_, kFailed, failure.message, {std::string_view(where(failure.reason)), failure.limit});
    if (int rc = store_row(row, fields_)) return rc;
    ++loaded_;
    sheet().last_loaded_row = target_.first_row + loaded_;
    return 0;
}

// Every bound is checked before the row changes, so a refused line leaves no trace.
int DataLoad::store_row(int32_t row, const std::vector<std::string_view>& fields) {
    size_t count = fields.size();
    if (target_.last_column >= 0)
        count = std::min(count, static_cast<size_t>(std::max(0, target_.last_column - target_.first_column + 1)));
    const int32_t row_limit = sheet_row_limit(book_);
    const int32_t column_limit = sheet_column_limit(book_);
    if (row >= row_limit) return fail_limit("rows", row_limit);
    if (count > 0 && static_cast<int64_t>(target_.first_column) + static_cast<int64_t>(count) > column_limit)
        return fail_limit("columns", column_limit);
    {
        model::Sheet& s = sheet();
        if (row <= s.last_streamed_row || (row < s.rows_in_use() && s.rows[row].streamed)) {
            std::string name;
            model::format_cell_name(row, target_.first_column, name);
            return fail(book_, kFailed, Msg::BadCell, {std::string_view(name)});
        }
        if (flag_on(book_, XLS_FLAG_TEMPLATE_MODE) && s.scroll_row >= 1 && row >= s.scroll_row)
            if (int rc = tob_scroll_rows(book_, sheet_, row)) return rc;
    }
    model::ensure_row(sheet(), row);
    for (size_t i = 0; i < count; ++i)
        if (int rc = store_field(row, target_.first_column + static_cast<int32_t>(i), fields[i])) return rc;
    return 0;
}

int DataLoad::store_field(int32_t row, int32_t column, std::string_view field) {
    model::Cell* cell = model::ensure_cell(sheet(), row, column);
    if (field.empty()) return 0;
    if (flag_on(book_, XLS_FLAG_TEMPLATE_MODE) && cell->has_formula()) return 0;  // the template's formula stays
    const int rc = property::tob_put_cell(book_, sheet_, row, column, field);
    if (rc == 0) return 0;
    if (rc == kNothing) {
        model::find_cell(sheet(), row, column)->clear_value();
        return 0;
    }
    if (rc == kNoMemory) return fail(book_, kNoMemory, Msg::OutOfMemory);
    if (rc == -9) return fail_silently(book_, kFailed);  // a format table is full; its message is there
    return internal_error(book_, "tob_put_cell() return=" + std::to_string(rc));
}

}  // namespace

int32_t sheet_row_limit(const XLS_BOOK& book) {
    constexpr int32_t kRows = model::kLastRow + 1;
    return book.max_rows > 0 ? std::min(book.max_rows, kRows) : kRows;
}

int32_t sheet_column_limit(const XLS_BOOK& book) {
    constexpr int32_t kColumns = model::kLastColumn + 1;
    return book.max_columns > 0 ? std::min(book.max_columns, kColumns) : kColumns;
}

DataTarget datasource_target(const XLS_RECT& range) {
    DataTarget target;
    target.first_row = std::min(range.first_row, range.last_row);
    target.first_column = std::min(range.first_column, range.last_column);
    if (range.first_row != range.last_row) target.last_row = std::max(range.first_row, range.last_row);
    if (range.first_column != range.last_column) target.last_column = std::max(range.first_column, range.last_column);
    return target;
}

int tob_load_datasource(XLS_BOOK& book, int32_t sheet, const DataSourceRequest& request, const DataTarget& target) {
    if (!valid_sheet(book, sheet) || (request.separator != kComma && request.separator != kTab) ||
        target.first_row < 0 || target.first_column < 0)
        return fail_silently(book, kBadArgument);
    LoadNesting nesting;
    if (nesting.too_deep()) return fail_too_deep(book, request.path);
    return DataLoad(book, sheet, request, target).run();
}

}  // namespace tova::load
