// The exported reference functions; rows and columns are one-based here.
#include <cstring>
#include <initializer_list>
#include <string>

#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "model/cell_ref.hpp"
#include "platform/encoding.hpp"
#include "tova_api.h"

using namespace tova;

namespace {

// Zero-based position of a one-based number; -1 (out of bounds) for 0 and below.
int32_t zero_based(int one_based) { return one_based > 0 ? one_based - 1 : -1; }

// The caller's buffer holds at least 11 (a cell) or 23 (a range) bytes, and no
// printed name is longer than 21.
int copy_name(int printed, const std::string& name, char* out) {
    if (printed != 0) return kBadArgument;
    std::memcpy(out, name.c_str(), name.size() + 1);
    return 0;
}

// The caller's reference text, refused (-3) beyond kReferenceTextMax bytes.
int reference_text(const char* reference, std::string& text) {
    size_t length = strnlen(reference, model::kReferenceTextMax + 1);
    if (length > model::kReferenceTextMax) return kBadArgument;
    text.assign(reference, length);
    return 0;
}

void clear_outputs(std::initializer_list<int*> outputs) {
    for (int* output : outputs)
        if (output != nullptr) *output = 0;
}

const model::Sheet* current_sheet(XLS_BOOK& book) { return model::referenced_sheet(book, -1); }

}  // namespace

extern "C" {

TOVA_API int TOVA_cell_name(int row, int column, char* name) {
    if (name == nullptr) return kBadArgument;
    name[0] = '\0';
    return guarded_free(kNoMemory, [&]() -> int {
        std::string printed;
        return copy_name(model::format_cell_name(zero_based(row), zero_based(column), printed), printed, name);
    });
}

TOVA_API int TOVA_cell_range(int first_row, int first_column, int last_row, int last_column, char* range) {
    if (range == nullptr) return kBadArgument;
    range[0] = '\0';
    return guarded_free(kNoMemory, [&]() -> int {
        std::string printed;
        int rc = model::format_range_name(zero_based(first_row), zero_based(first_column), zero_based(last_row),
                                          zero_based(last_column), printed);
        return copy_name(rc, printed, range);
    });
}

TOVA_API int TOVA_is_cell(XLS_BOOK* book, const char* reference, int* row, int* column) {
    clear_outputs({row, column});
    return guarded(book, [&]() -> int {
        std::string text;
        if (reference == nullptr || row == nullptr || column == nullptr || work_area(*book) == nullptr ||
            reference_text(reference, text) != 0)
            return kBadArgument;
        model::substitute_rownum(*book, text);
        model::substitute_clmnum(*book, text);
        int32_t parsed_row = 0, parsed_column = 0;
        if (model::parse_cell_ref(*book, -1, text, parsed_row, parsed_column) != 0) return kNoSuchSheet;
        *row = parsed_row + 1;
        *column = parsed_column + 1;
        return 0;
    });
}

TOVA_API int TOVA_is_range(XLS_BOOK* book, const char* reference, int* first_row, int* first_column,
                           int* last_row, int* last_column) {
    clear_outputs({first_row, first_column, last_row, last_column});
    return guarded(book, [&]() -> int {
        std::string text;
        if (reference == nullptr || !first_row || !first_column || !last_row || !last_column ||
            work_area(*book) == nullptr || reference_text(reference, text) != 0)
            return kBadArgument;
        // Sheet names are kept in UTF-8.
        text = enc::conv_charset(charset_of(*book), enc::kUtf8, text);
        model::substitute_rownum(*book, text);
        XLS_RANGE_LIST list{};
        if (model::parse_range_ref(*book, text, list) != 0) return kNoSuchSheet;
        const XLS_RECT& rect = list.ranges[0];
        *first_row = rect.first_row + 1;
        *first_column = rect.first_column + 1;
        *last_row = rect.last_row + 1;
        *last_column = rect.last_column + 1;
        return 0;
    });
}

TOVA_API int TOVA_row_num(XLS_BOOK* book) {
    return guarded(book, [&]() -> int {
        if (work_area(*book) == nullptr) return kBadArgument;
        const model::Sheet* sheet = current_sheet(*book);
        return sheet ? sheet->rows_in_use() : 0;
    });
}

TOVA_API int TOVA_column_num(XLS_BOOK* book, int row) {
    return guarded(book, [&]() -> int {
        if (work_area(*book) == nullptr) return kBadArgument;
        const model::Sheet* sheet = current_sheet(*book);
        if (sheet == nullptr || row < 0 || row >= sheet->rows_in_use()) return 0;
        const auto& cells = sheet->rows[row].cells;
        size_t used = cells.size();
        while (used > 0 && cells[used - 1].kind == model::kEmpty) --used;
        return static_cast<int>(used);
    });
}

}  // extern "C"
