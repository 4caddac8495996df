#include "api/book_lifecycle.hpp"

#include <unistd.h>

#include <cstring>
#include <string>

#include "api/work_area.hpp"
#include "model/styles.hpp"
#include "platform/qfs.hpp"

namespace tova {
namespace {

template <size_t N>
void set_text(char (&field)[N], const char* text) {
    std::strncpy(field, text, N - 1);
    field[N - 1] = '\0';
}

constexpr unsigned char kDefaultFlags[XLS_FLAG_COUNT] = {
    XLS_ON,  XLS_OFF, XLS_OFF, XLS_OFF, XLS_ON,  XLS_OFF, XLS_ON,  XLS_OFF, XLS_OFF, XLS_OFF,
    XLS_OFF, XLS_OFF, XLS_OFF, XLS_OFF, XLS_OFF, XLS_OFF, XLS_OFF, XLS_OFF, XLS_OFF,
};

}  // namespace

void initialise_book(XLS_BOOK& book, int file_type) {
    book.reserved0 = 0;
    book.window_x = 10;
    book.window_y = 10;
    book.window_height = 10000;
    book.window_width = 18000;
    std::memcpy(book.flags, kDefaultFlags, sizeof kDefaultFlags);
    book.streamed_row = 0;
    book.sst_in_memory = 0;
    book.max_rows = file_type == kFileTypeXls ? 65536 : 1048576;
    book.max_columns = file_type == kFileTypeXls ? 256 : 16384;
    book.max_cell_chars = 32768;
    book.max_string_bytes = 65534;
    book.file_type = file_type;
    book.target_version = file_type;
    set_text(book.company, "MyCompany");
    set_text(book.creator, "MyName");
    book.manager[0] = book.title[0] = book.subject[0] = book.keywords[0] = book.description[0] = '\0';
    book.thumbnail_path[0] = '\0';
    book.log.reserved = 0;
    book.log.debug = 0;
    book.cur_sheet = book.cur_row = book.cur_column = 0;
    std::memset(&book.registries, 0, sizeof book.registries);
    book.name_list = nullptr;
    // A book read from .xls takes its formats from the file.
    if (file_type != kFileTypeXls) model::initialise_styles(book);
}

void reset_book(XLS_BOOK& book, int file_type) {
    WorkArea& area = *work_area(book);
    area.book = model::Workbook{};
    initialise_book(book, file_type);
}

void release_book(XLS_BOOK& book) {
    std::string owned_dir;
    if (WorkArea* area = work_area(book)) owned_dir = area->temp_directory;
    destroy_work_area(book);  // closes and deletes the temporary files with the tables
    if (!owned_dir.empty()) qfs::qfs_rmtree(owned_dir);
    if (book.temp_workbook_path[0] != '\0') {
        ::unlink(book.temp_workbook_path);
        book.temp_workbook_path[0] = '\0';
    }
    std::memset(&book.registries, 0, sizeof book.registries);
    book.name_list = nullptr;
    book.cur_sheet = 0;
}

}  // namespace tova
