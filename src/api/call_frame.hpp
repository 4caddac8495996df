// The call frame shared by every export: reset the code, run one routine,
// turn exhaustion into -2, leave the code in the record.
#pragma once

#include <new>
#include <string_view>

#include "api/messages.hpp"
#include "tova_api.h"

namespace tova {

// Result codes the exports return (0 is success).
enum Code : int {
    kOk = 0,
    kFailed = -1,
    kNoMemory = -2,
    kBadArgument = -3,
    kUnsupportedFile = -4,
    kCannotOpen = -101,
    kCannotWriteTemp = -103,
    kNoSuchSheet = -801,
    kNoCurrentSheet = -901,
    kNoSuchRow = -902,
    kNoSuchColumn = -903,
    kDoesNotFit = -909,
    kPasswordProtected = -910,
};

// Internal results that never leave the library.
constexpr int kNothing = 1403;     // no more tokens, empty value
constexpr int kGrowFailed = 1234;  // a memory file failed to grow

// Writes a formatted catalogue message into log.error_info (cut on a Shift-JIS
// character boundary), stores the code and returns it.
int fail(XLS_BOOK& book, int code, Msg id, std::initializer_list<MsgArg> args = {});

// Stores a code without touching the message.
int fail_silently(XLS_BOOK& book, int code);

// Replaces log.error_info with an already formatted Shift-JIS text.
void set_error_info(XLS_BOOK& book, std::string_view sjis_text);

// Leaves the out-of-memory message without needing memory for it.
int out_of_memory(XLS_BOOK& book) noexcept;

// Leaves an internal-error message naming what went wrong; never throws.
int internal_error(XLS_BOOK& book, std::string_view what) noexcept;

// Quotes a text of the given character set into a message (messages are Shift-JIS).
std::string quoted(int charset, std::string_view text);

// Runs an export's body: a null book gives -3; log.error_code is reset first and
// receives every negative result; std::bad_alloc becomes -2 with its message and
// any other escaping exception an internal error. Nothing is thrown past here.
template <class Body>
int guarded(XLS_BOOK* book, Body&& body) noexcept {
    if (book == nullptr) return kBadArgument;
    book->log.error_code = 0;
    try {
        int rc = body();
        if (rc < 0) book->log.error_code = rc;
        return rc;
    } catch (const std::bad_alloc&) {
        return out_of_memory(*book);
    } catch (...) {
        return internal_error(*book, "unexpected exception");
    }
}

// For exports that need no book: exhaustion and stray exceptions become `on_error`.
template <class Body>
int guarded_free(int on_error, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return on_error;
    }
}

}  // namespace tova
