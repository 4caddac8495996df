#include "api/call_frame.hpp"

#include <cstring>

#include "api/work_area.hpp"
#include "platform/encoding.hpp"

namespace tova {

void set_error_info(XLS_BOOK& book, std::string_view sjis_text) {
    constexpr size_t kRoom = sizeof(book.log.error_info) - 1;
    size_t keep = enc::char_boundary(enc::kShiftJis, sjis_text, kRoom);
    std::memcpy(book.log.error_info, sjis_text.data(), keep);
    book.log.error_info[keep] = '\0';
}

int fail(XLS_BOOK& book, int code, Msg id, std::initializer_list<MsgArg> args) {
    set_error_info(book, format_message(id, args));
    book.log.error_code = code;
    return code;
}

int fail_silently(XLS_BOOK& book, int code) {
    book.log.error_code = code;
    return code;
}

int out_of_memory(XLS_BOOK& book) noexcept {
    try {
        set_error_info(book, message_text(Msg::OutOfMemory));
    } catch (...) {
        set_error_info(book, "TOVA-00002");
    }
    book.log.error_code = kNoMemory;
    return kNoMemory;
}

int internal_error(XLS_BOOK& book, std::string_view what) noexcept {
    try {
        return fail(book, kFailed, Msg::InternalError, {what});
    } catch (...) {
        return out_of_memory(book);
    }
}

std::string quoted(int charset, std::string_view text) {
    return enc::conv_charset(charset, enc::kShiftJis, text);
}

}  // namespace tova
