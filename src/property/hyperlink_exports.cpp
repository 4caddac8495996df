// Hyperlinks on cells and pictures handed over in memory.
#include <string>

#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "model/cell_ref.hpp"
#include "model/cell_store.hpp"
#include "model/styles.hpp"
#include "platform/encoding.hpp"
#include "property/hyperlinks.hpp"
#include "tova_api.h"

namespace tova::property {
namespace {

// The current sheet and the cell named by `reference`, which must already hold a value.
model::Cell* existing_cell(XLS_BOOK& book, const char* reference, int32_t& row, int32_t& column) {
    WorkArea* area = work_area(book);
    if (area == nullptr || reference == nullptr) return nullptr;
    if (book.cur_sheet < 0 || book.cur_sheet >= static_cast<int32_t>(area->book.sheets.size())) return nullptr;
    if (model::parse_cell_simple(reference, row, column) != 0) return nullptr;
    model::Cell* cell = model::find_cell(area->book.sheets[book.cur_sheet], row, column);
    return cell != nullptr && cell->kind != model::kEmpty ? cell : nullptr;
}

model::Sheet& current_sheet(XLS_BOOK& book) { return work_area(book)->book.sheets[book.cur_sheet]; }

int sheet_hyperlink(XLS_BOOK& book, const char* cell_ref, const char* sheet_name, const char* target) {
    int32_t row, column, target_row, target_column;
    model::Cell* cell = existing_cell(book, cell_ref, row, column);
    if (cell == nullptr || sheet_name == nullptr || target == nullptr) return fail_silently(book, kBadArgument);
    if (model::parse_cell_simple(target, target_row, target_column) != 0) return fail_silently(book, kBadArgument);
    std::string name = enc::conv_charset(charset_of(book), enc::kUtf8, sheet_name);
    if (name.size() > model::kSheetNameMax) {
        fail(book, kBadArgument, Msg::BufferOverflow,
             {static_cast<long long>(name.size()), std::string_view("tob_set_hyperlink() XLS_SHEET_LEN")});
        return kBadArgument;
    }
    model::Hyperlink link;
    link.kind = model::LinkKind::Sheet;
    link.row = row;
    link.column = column;
    link.target_sheet = name;
    link.target_row = target_row + 1;
    link.target_column = target_column + 1;
    current_sheet(book).hyperlinks.push_back(std::move(link));
    cell->style = book.builtin_xf[model::kBuiltinHyperlink];
    return 0;
}

int external_hyperlink(XLS_BOOK& book, const char* cell_ref, const char* address) {
    int32_t row, column;
    model::Cell* cell = existing_cell(book, cell_ref, row, column);
    if (cell == nullptr || address == nullptr) return fail_silently(book, kBadArgument);
    return add_external_hyperlink(book, book.cur_sheet, row, column,
                                  enc::conv_charset(charset_of(book), enc::kUtf8, address));
}

int put_image_memory(XLS_BOOK& book, const char* cell_ref, int type, const void* bytes, int count, int width,
                     int height, double scale, double offset_x, double offset_y, const char* address) {
    WorkArea* area = work_area(book);
    int32_t row, column;
    if (area == nullptr || cell_ref == nullptr || model::parse_cell_simple(cell_ref, row, column) != 0 ||
        book.cur_sheet < 0 || book.cur_sheet >= static_cast<int32_t>(area->book.sheets.size()) ||
        (bytes == nullptr && count != 0) || count < 0)
        return fail_silently(book, kBadArgument);
    model::DrawingObject picture;
    picture.kind = model::kDrawPicture;
    picture.sheet = book.cur_sheet;
    picture.row = row;
    picture.column = column;
    picture.image_type = type;
    picture.bytes.assign(static_cast<const unsigned char*>(bytes), static_cast<const unsigned char*>(bytes) + count);
    picture.width = width;
    picture.height = height;
    picture.scale = scale;
    picture.offset_x = offset_x;
    picture.offset_y = offset_y;
    model::Sheet& sheet = current_sheet(book);
    if (address != nullptr && address[0] != '\0') {
        model::Hyperlink link;
        link.kind = model::LinkKind::Image;
        link.row = row;
        link.column = column;
        link.address = link_address(enc::conv_charset(area->charset, enc::kUtf8, address));
        sheet.hyperlinks.push_back(std::move(link));
        picture.hyperlink = static_cast<int32_t>(sheet.hyperlinks.size()) - 1;
    }
    area->book.drawings.push_back(std::move(picture));
    return 0;
}

}  // namespace
}  // namespace tova::property

using namespace tova;

extern "C" {

TOVA_API int TOVA_sheet_hyperlink(XLS_BOOK* book, const char* cell, const char* sheet_name, const char* target) {
    return guarded(book, [&] { return property::sheet_hyperlink(*book, cell, sheet_name, target); });
}

TOVA_API int TOVA_external_hyperlink(XLS_BOOK* book, const char* cell, const char* address) {
    return guarded(book, [&] { return property::external_hyperlink(*book, cell, address); });
}

TOVA_API int TOVA_put_image_memory(XLS_BOOK* book, const char* cell, int type, const void* bytes, int count,
                                   int width, int height, double scale, double offset_x, double offset_y,
                                   const char* address) {
    return guarded(book, [&] {
        return property::put_image_memory(*book, cell, type, bytes, count, width, height, scale, offset_x, offset_y,
                                          address);
    });
}

}  // extern "C"
