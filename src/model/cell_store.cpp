#include "model/cell_store.hpp"

#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "api/call_frame.hpp"
#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "model/row_stream.hpp"
#include "platform/temp_paths.hpp"

namespace tova::model {
namespace {

std::string print_fixed(double value, int decimals) {
    char buffer[512];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return std::string(buffer, static_cast<size_t>(std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value)));
    return std::string(buffer, end);
}

// The time of day as the fraction of a day the store keeps as text.
std::string time_fraction_text(const calc::DateTime& t) {
    return print_fixed((t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0, 6);
}

int store_date(Cell& cell, const Value& value) {
    const calc::DateTime& d = value.date;
    bool has_date = d.year >= 1900;
    if (has_date && !calc::date_exists(d.year, d.month, d.day)) return kNoSuchDate;
    if (value.kind != kDate && (d.hour < 0 || d.minute < 0 || d.minute > 60 || d.second < 0 || d.second > 60))
        return kNoSuchDate;
    double serial = 0;
    if (has_date && calc::tob_date_to_serial({d.year, d.month, d.day, 0, 0, 0}, serial) != 0) return kNoSuchDate;
    cell.clear_value();
    cell.kind = value.kind;
    cell.number = static_cast<int32_t>(serial);
    if (value.kind != kDate) cell.text.assign(time_fraction_text(d));
    return 0;
}

}  // namespace

Sheet& ensure_sheet(Workbook& book, int32_t index) {
    while (static_cast<int32_t>(book.sheets.size()) <= index) {
        book.sheets.emplace_back();
        book.sheets.back().index = static_cast<int32_t>(book.sheets.size()) - 1;
    }
    return book.sheets[index];
}

Row* ensure_row(Sheet& sheet, int32_t row) {
    if (row < 0 || row >= kMaxRowRecords) return nullptr;
    if (row >= sheet.rows_in_use()) sheet.rows.resize(static_cast<size_t>(row) + 1);
    return &sheet.rows[row];
}

Cell* ensure_cell(Sheet& sheet, int32_t row, int32_t column) {
    if (column < 0 || column >= kMaxCellRecords) return nullptr;
    Row* r = ensure_row(sheet, row);
    if (r == nullptr || r->streamed) return nullptr;
    if (column >= static_cast<int32_t>(r->cells.size())) r->cells.resize(static_cast<size_t>(column) + 1);
    if (column >= static_cast<int32_t>(sheet.column_widths.size())) {
        sheet.column_widths.resize(r->cells.size(), 0.0);
        sheet.column_options.resize(r->cells.size(), 0);
    }
    return &r->cells[column];
}

const Cell* find_cell(const Sheet& sheet, int32_t row, int32_t column) {
    if (row < 0 || row >= sheet.rows_in_use() || column < 0) return nullptr;
    const Row& r = sheet.rows[row];
    if (r.streamed || column >= static_cast<int32_t>(r.cells.size())) return nullptr;
    return &r.cells[column];
}

Cell* find_cell(Sheet& sheet, int32_t row, int32_t column) {
    return const_cast<Cell*>(find_cell(static_cast<const Sheet&>(sheet), row, column));
}

int store_value(Cell& cell, const Value& value) {
    switch (value.kind) {
        case kEmpty:
            cell.clear_value();
            return 0;
        case kLiteralText:
            cell.clear_value();
            cell.kind = kLiteralText;
            cell.text.assign(value.text);
            return 0;
        case kInteger:
            cell.clear_value();
            cell.kind = kInteger;
            cell.set_integer(value.integer);
            return 0;
        case kDecimal:
        case kPercent: {
            std::string text = print_fixed(value.real, value.kind == kPercent ? 6 : value.decimals);
            cell.clear_value();
            cell.kind = value.kind;
            double whole = std::trunc(value.real);
            cell.number = whole >= INT32_MIN && whole <= INT32_MAX ? static_cast<int32_t>(whole) : 0;
            cell.text.assign(text);
            return 0;
        }
        case kDate:
        case kDateTime:
        case kTime:
        case kTimeSeconds:
            return store_date(cell, value);
        case kSharedString:
            cell.clear_value();
            cell.kind = kSharedString;
            cell.number = value.string_index;
            return 0;
        case kFormula:
        case kFormulaResult: {
            auto formula = std::make_unique<FormulaText>();
            formula->formula.assign(value.text);
            if (value.kind == kFormulaResult) formula->result.assign(value.result);
            cell.clear_value();
            cell.kind = value.kind;
            cell.formula = std::move(formula);
            return 0;
        }
        default:
            return -1;
    }
}

std::string cell_value_text(const Cell& cell) {
    switch (cell.kind) {
        case kInteger: {
            char digits[24];
            auto [end, ec] = std::to_chars(digits, digits + sizeof digits, cell.integer());
            return std::string(digits, end);
        }
        case kLiteralText: case kDecimal: case kPercent:
        case kDateTime: case kTime: case kTimeSeconds:
            return std::string(cell.text.view());
        case kFormula: case kFormulaResult:
            return cell.formula ? cell.formula->formula : std::string();
        default:
            return {};
    }
}

int32_t tob_add_sst(XLS_BOOK& book, std::string_view text) {
    SharedStrings& strings = work_area(book)->book.strings;
    if (flag_on(book, XLS_FLAG_STRINGS_STREAMED) && strings.file().is_open()) {
        uint32_t length = static_cast<uint32_t>(text.size());
        unsigned char prefix[4] = {static_cast<unsigned char>(length), static_cast<unsigned char>(length >> 8),
                                   static_cast<unsigned char>(length >> 16), static_cast<unsigned char>(length >> 24)};
        std::FILE* f = strings.file().stream();
        if (std::fwrite(prefix, 1, 4, f) != 4 || std::fwrite(text.data(), 1, text.size(), f) != text.size())
            return fail(book, kFailed, Msg::InternalError, {std::string_view("tob_add_sst() fwrite()")});
        return strings.count_streamed();
    }
    return strings.add_in_memory(text);
}

int tob_put_resource(XLS_BOOK& book, std::string_view name, std::string_view value) {
    if (name.size() > Variables::kNameMax)
        return fail(book, -9, Msg::BufferOverflow,
                    {static_cast<long long>(name.size()), std::string_view("tob_put_resource() XLS_KEY_LEN")});
    if (value.size() > Variables::kValueMax)
        return fail(book, -9, Msg::BufferOverflow,
                    {static_cast<long long>(value.size()), std::string_view("tob_put_resource() XLS_KEY_VALUE_LEN")});
    work_area(book)->book.variables.put(name, value);
    return 0;
}

std::optional<std::string_view> tob_get_resource(const XLS_BOOK& book, std::string_view name) {
    const WorkArea* area = work_area(book);
    if (area == nullptr) return std::nullopt;
    return area->book.variables.get(name);
}

void release_row(Row& row) {
    std::vector<Cell>().swap(row.cells);
}

namespace {

// Opens a temporary file of the book, with the failure messages of row streaming.
int open_stream_file(XLS_BOOK& book, TempFile& file, int kind, std::string_view path_failure) {
    std::string path;
    if (tob_tempfile_path(book, kind, path) != 0) return fail(book, kFailed, Msg::InternalError, {path_failure});
    if (!file.create(path)) return fail(book, kCannotOpen, Msg::OutputFileOpen, {std::string_view(path)});
    return 0;
}

// The worksheet's dimension must cover streamed cells, which are gone from memory by then.
void extend_streamed_extent(Sheet& sheet, int32_t row, const std::vector<Cell>& cells) {
    int32_t first = -1, last = -1;
    for (int32_t c = 0; c < static_cast<int32_t>(cells.size()); ++c) {
        if (!cells[c].is_written()) continue;
        if (first < 0) first = c;
        last = c;
    }
    if (first < 0) return;
    XLS_RECT& e = sheet.streamed_extent;
    if (e.first_row < 0) e = {row, first, row, last};
    e.first_column = std::min(e.first_column, first);
    e.last_column = std::max(e.last_column, last);
    e.last_row = row;
}

}  // namespace

int stream_row(XLS_BOOK& book, int32_t row_one_based) {
    if (book.streamed_row == 0 || row_one_based <= book.streamed_row) return 0;
    if (row_one_based < 1 || row_one_based > 1048576) return fail_silently(book, kBadArgument);

    WorkArea& area = *work_area(book);
    if (book.cur_sheet < 0 || book.cur_sheet >= static_cast<int32_t>(area.book.sheets.size()))
        return fail_silently(book, kBadArgument);
    Sheet& sheet = area.book.sheets[book.cur_sheet];
    const int32_t row = row_one_based - 1;
    if (row <= sheet.last_streamed_row) {
        // The rows file holds rows in ascending order only; an earlier row cannot be added.
        return fail(book, kBadArgument, Msg::BadNumber, {std::string_view(std::to_string(row_one_based))});
    }

    SharedStrings& strings = area.book.strings;
    if (!strings.file().is_open()) {
        if (int rc = open_stream_file(book, strings.file(), kTempStrings, "TOVA_write_row(() tob_tempfile_path()"))
            return rc;
        book.sst_in_memory = strings.in_memory();
        set_flag(book, XLS_FLAG_STRINGS_STREAMED, true);
    }
    if (!sheet.rows_file.is_open()) {
        if (int rc = open_stream_file(book, sheet.rows_file, kTempRows, "TOVA_write_row() tob_tempfile_path()"))
            return rc;
        set_flag(book, XLS_FLAG_ROWS_STREAMED, true);
    }

    Row& target = *ensure_row(sheet, row);
    extend_streamed_extent(sheet, row, target.cells);
    std::string block;
    encode_row_block(target.cells, block);
    if (std::fwrite(block.data(), 1, block.size(), sheet.rows_file.stream()) != block.size())
        return fail(book, kCannotWriteTemp, Msg::TempFileWrite, {std::string_view(sheet.rows_file.path())});
    release_row(target);
    target.streamed = true;
    sheet.last_streamed_row = row;
    return 0;
}

}  // namespace tova::model
