// The small exports of the call frame.
#include <cstdio>
#include <cstring>

#include "api/book_lifecycle.hpp"
#include "api/call_frame.hpp"
#include "api/help_text.hpp"
#include "api/work_area.hpp"
#include "platform/encoding.hpp"
#include "tova_api.h"

using namespace tova;

namespace {

// Fills log.error_mesg with log.error_info in the book's character set,
// cut on a character boundary when the conversion grew past the buffer.
void fill_error_mesg(XLS_BOOK& book) {
    auto& log = book.log;
    size_t info_length = strnlen(log.error_info, sizeof log.error_info);
    std::string_view source = info_length < sizeof log.error_info - 1
                                  ? std::string_view(log.error_info, info_length)
                                  : message_text(Msg::InfoTooLong);
    int charset = charset_of(book);
    std::string converted = enc::conv_charset(enc::kShiftJis, charset, source);
    size_t keep = enc::char_boundary(charset, converted, sizeof log.error_mesg - 1);
    std::memcpy(log.error_mesg, converted.data(), keep);
    log.error_mesg[keep] = '\0';
}

}  // namespace

extern "C" {

TOVA_API int TOVA_error_code(XLS_BOOK* book) { return book ? book->log.error_code : kBadArgument; }

TOVA_API char* TOVA_error_mesg(XLS_BOOK* book) {
    if (book == nullptr) return nullptr;
    try {
        fill_error_mesg(*book);
    } catch (...) {
        std::strcpy(book->log.error_mesg, "TOVA-00002");
    }
    return book->log.error_mesg;
}

TOVA_API int TOVA_version(XLS_BOOK* book, char* version) {
    if (book != nullptr) book->log.error_code = 0;
    if (version == nullptr) return book ? fail_silently(*book, kBadArgument) : kBadArgument;
    std::memcpy(version, TOVA_VERSION_TEXT, sizeof TOVA_VERSION_TEXT);
    return 0;
}

TOVA_API int TOVA_help(void) {
    return guarded_free(0, [] {
        print_help(stdout);
        return 0;
    });
}

TOVA_API int TOVA_debug(const char* text) {
    std::printf("%s\n", text ? text : "");
    return 0;
}

TOVA_API int TOVA_free_book(XLS_BOOK* book) {
    if (book == nullptr) return kBadArgument;
    book->log.error_code = 0;
    release_book(*book);
    return 0;
}

TOVA_API int TOVA_set_property(XLS_BOOK*, const char*) { return 0; }
TOVA_API int TOVA_open_datasource(XLS_BOOK*, const char*) __attribute__((alias("TOVA_set_property")));
TOVA_API int TOVA_paste_datasource(XLS_BOOK*, const char*) __attribute__((alias("TOVA_set_property")));
TOVA_API int TOVA_close_datasource(XLS_BOOK*, const char*) __attribute__((alias("TOVA_set_property")));

}  // extern "C"
