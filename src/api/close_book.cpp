// TOVA_close_book: save the book (a new package, or an update of the package
// it came from), then release it.
#include "api/close_book.hpp"

#include <string>

#include "api/arglist.hpp"
#include "api/book_lifecycle.hpp"
#include "api/call_frame.hpp"
#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "platform/encoding.hpp"
#include "platform/mfile.hpp"
#include "platform/zip_package.hpp"
#include "writer/package_writer.hpp"
#include "writer/template_writer.hpp"

namespace tova {
namespace {

enum Action { kSave, kDestroy };
constexpr args::Keyword kActions[] = {
    {kSave, "SAVE", {"保存"}, false},
    {kDestroy, "DESTROY", {"破棄"}, false},
};

// The last action word of the list decides; other words are ignored.
bool wants_save(XLS_BOOK& book, const char* list) {
    const int charset = charset_of(book);
    std::string token;
    size_t position = 0;
    bool save = false;
    while (args::next_argument(charset, list, position, token) == 0) {
        int action = args::find_keyword(enc::conv_charset(charset, enc::kShiftJis, token), kActions);
        if (action >= 0) save = action == kSave;
    }
    return save;
}

// Failures of a save leave the book open; the writer's message stays when it wrote one.
int save_failed(XLS_BOOK& book, int rc) {
    const bool has_message = book.log.error_info[0] != '\0';
    const std::string file = quoted(enc::kUtf8, book.file_name);
    switch (rc) {
        case -101: case -103: case -105:
            return has_message ? fail_silently(book, kCannotWriteTemp)
                               : fail(book, kCannotWriteTemp, Msg::ExcelFileWrite, {std::string_view(file)});
        case -9:
            return has_message ? fail_silently(book, kDoesNotFit)
                               : fail(book, kDoesNotFit, Msg::BufferOverflow, {0LL, std::string_view("tob_create_excel2007()")});
        case -4:
            return has_message ? fail_silently(book, kUnsupportedFile)
                               : fail(book, kUnsupportedFile, Msg::ExcelFileWrite, {std::string_view(file)});
        case -2:
            return has_message ? fail_silently(book, kNoMemory) : fail(book, kNoMemory, Msg::OutOfMemory);
        default:
            return fail_silently(book, kFailed);
    }
}

// After a save into a memory archive, that archive is what the caller asked
// for: it stays (for a following READ_MEMORY opening); every other memory file goes.
void discard_memory_files(const std::string& keep) {
    if (keep.empty() || zip::archive_on_disk()) {
        mem::mfreeall();
        return;
    }
    for (const std::string& name : mem::mlist())
        if (name != keep) mem::mremove(name);
}

void release(XLS_BOOK& book, const std::string& keep_archive) {
    release_book(book);
    discard_memory_files(keep_archive);
}

int close_book(XLS_BOOK& book, const char* list) {
    if (list == nullptr || work_area(book) == nullptr || !wants_save(book, list)) {
        release(book, {});
        return 0;
    }
    const std::string output = book.file_name;
    // The message of a failed save must be this save's, not one an earlier call left.
    book.log.error_info[0] = '\0';
    int rc;
    if (flag_on(book, XLS_FLAG_TEMPLATE_MODE)) {
        rc = writer::tob_update_excel2007(book, output);
    } else {
        mem::mfreeall();
        rc = writer::tob_create_excel2007(book, output);
    }
    if (rc != 0) return save_failed(book, rc);
    release(book, output);
    return 0;
}

}  // namespace

void discard_book(XLS_BOOK& book) {
    book.log.error_code = 0;
    release(book, {});
}

}  // namespace tova

extern "C" TOVA_API int TOVA_close_book(XLS_BOOK* book, const char* list) {
    return tova::guarded(book, [&] { return tova::close_book(*book, list); });
}
