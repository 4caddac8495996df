// TEMPLATE: the book is rebuilt from a template package, or left as it was.
#include <memory>
#include <string>

#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "platform/ascii.hpp"
#include "platform/encoding.hpp"
#include "platform/file_type.hpp"
#include "property/applier_support.hpp"
#include "reader/readers.hpp"

namespace tova::property {
namespace {

// The book's record and tables as they were before the package was read:
// put back unless the read succeeded, so that a book whose template could not
// be read is the same new book as before (never in template mode without a
// package behind it).
class BookSnapshot {
public:
    explicit BookSnapshot(XLS_BOOK& book)
        : book_(book), record_(std::make_unique<XLS_BOOK>(book)), tables_(std::move(work_area(book)->book)) {
        work_area(book)->book = model::Workbook{};
    }
    ~BookSnapshot() {
        if (!kept_) restore();
    }
    BookSnapshot(const BookSnapshot&) = delete;
    BookSnapshot& operator=(const BookSnapshot&) = delete;

    void keep() { kept_ = true; }
    void restore() {
        work_area(book_)->book = std::move(tables_);
        book_ = *record_;
        kept_ = true;
    }

private:
    XLS_BOOK& book_;
    std::unique_ptr<XLS_BOOK> record_;
    model::Workbook tables_;
    bool kept_ = false;
};

}  // namespace

int apply_template(StatementContext& c) {
    XLS_BOOK& book = c.book;
    std::string path = c.value.utf8();  // file names are UTF-8 here
    if (!ends_with_ignoring_case(path, ".xlsx")) path += ".xlsx";
    const std::string shown = quoted(enc::kUtf8, path);
    int type = kTypeUnknown;
    if (pel_file_type(kProbeDiskFile, path.c_str(), &type) != 0)
        return fail(book, kCannotOpen, Msg::ExcelFileOpen, {std::string_view(shown)});
    if (type != kTypeXlsx) return fail(book, kCannotOpen, Msg::UnsupportedFile, {std::string_view(shown)});

    // The reader fills a book as the opening call leaves it: no sheets, the initial styles.
    BookSnapshot snapshot(book);
    model::initialise_styles(book);
    book.cur_sheet = 0;
    set_flag(book, XLS_FLAG_TEMPLATE_MODE, true);
    book.log.error_info[0] = '\0';
    const int rc = reader::tob_read_excel2007(book, path, false);
    if (rc == 0) {
        snapshot.keep();
        c.selected_sheet = 0;
        return 0;
    }
    const std::string reader_message = book.log.error_info;
    snapshot.restore();
    switch (rc) {
        case -101:
        case -102: return fail(book, kCannotOpen, Msg::ExcelFileOpen, {std::string_view(shown)});
        case -2: return fail(book, kNoMemory, Msg::OutOfMemory);
        case -4:
            if (reader_message.empty()) return fail(book, kUnsupportedFile, Msg::UnsupportedFile, {std::string_view(shown)});
            [[fallthrough]];
        default:
            set_error_info(book, reader_message);
            return fail_silently(book, rc);
    }
}

}  // namespace tova::property
