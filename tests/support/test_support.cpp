#include "support/test_support.hpp"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "api/book_lifecycle.hpp"
#include "api/work_area.hpp"
#include "model/cell_store.hpp"
#include "platform/encoding.hpp"

namespace tova::test {

void BookDeleter::operator()(XLS_BOOK* book) const {
    TOVA_free_book(book);
    std::free(book);
}

BookPtr make_zeroed_book() { return BookPtr(static_cast<XLS_BOOK*>(std::calloc(1, sizeof(XLS_BOOK)))); }

BookPtr make_open_book(int sheets, int charset) {
    BookPtr book = make_zeroed_book();
    WorkArea& area = create_work_area(*book);
    area.charset = charset;
    initialise_book(*book, kFileTypeXlsx);
    for (int i = 0; i < sheets; ++i) model::ensure_sheet(area.book, i).name = "Sheet" + std::to_string(i + 1);
    return book;
}

std::string utf8_of_sjis(const std::string& sjis) { return enc::conv_charset(enc::kShiftJis, enc::kUtf8, sjis); }

std::string make_scratch_dir(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("tova-test-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

}  // namespace tova::test
