// TOVA_open_book: the argument list, the record's initialisation and, by mode,
// reading the workbook into the book.
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <string>

#include "api/arglist.hpp"
#include "api/book_lifecycle.hpp"
#include "api/call_frame.hpp"
#include "api/close_book.hpp"
#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "platform/ascii.hpp"
#include "platform/encoding.hpp"
#include "platform/file_type.hpp"
#include "reader/readers.hpp"
#include "tova_api.h"

namespace tova {
namespace {

enum KeywordId { kBook, kMode, kList, kTemplate, kCharset, kVersion, kBookSize, kReadMemory, kWriteMemory, kRawStream };

constexpr args::Keyword kKeywords[] = {
    {kBook, "EXCEL"},
    {kBook, "BOOK", {"ブック"}},
    {kMode, "MODE", {"モード"}},
    {kList, "LIST", {"リスト"}},
    {kTemplate, "TEMPLATE", {"テンプレート"}},
    {kCharset, "CHARSET", {"キャラクタセット"}},
    {kVersion, "VERSION"},
    {kBookSize, "XLS_BOOK"},
    {kReadMemory, "READ_MEMORY"},
    {kWriteMemory, "WRITE_MEMORY"},
    {kRawStream, "TEMP_WORKBOOK_PATH"},
};

enum Mode { kModeRead, kModeCreate, kModeUpdate, kModeLoad, kModeUnload, kModeList, kModeUnloadName };

constexpr args::Keyword kModes[] = {
    {kModeRead, "READ", {"読込", "読み込み"}, false},
    {kModeCreate, "CREATE", {"新規"}, false},
    {kModeUpdate, "UPDATE", {"更新"}, false},
    {kModeLoad, "LOAD", {"ロード"}, false},
    {kModeUnload, "UNLOAD", {"アンロード"}, false},
    {kModeList, "LIST", {"一覧"}, false},
    {kModeUnloadName, "UNLOAD_NAME", {"名前アンロード"}, false},
};

constexpr args::Keyword kCharsets[] = {
    {enc::kShiftJis, "SJIS", {}, false},
    {enc::kEucJp, "EUC", {}, false},
    {enc::kUtf8, "UTF8", {}, false},
};

constexpr size_t kMaxNameBytes = 256;

struct OpenOptions {
    std::string book_name;
    int mode = -1;
    std::string list_name = "/tmp/K-VANTO_name.log";
    std::string template_name;
    bool read_memory = false;
    bool write_memory = false;
    std::string raw_stream_path;
};


// A name without a workbook ending gets ".xlsx"; a longer name that names a
// directory or carries any ending of its own is kept.
void apply_extension_rule(std::string& name) {
    if (ends_with_ignoring_case(name, ".xls")) return;
    if (name.size() > 5) {
        if (ends_with_ignoring_case(name, ".xlsx") || ends_with_ignoring_case(name, ".xlsm")) return;
        if (name.find_first_of("/\\.") != std::string::npos) return;
    }
    name += ".xlsx";
}

// File names are handed to the operating system, whose names are UTF-8 here.
std::string file_name_value(int charset, std::string value) {
    args::remove_quotes(value);
    return enc::conv_charset(charset, enc::kUtf8, value);
}

std::string sjis_value(int charset, const std::string& value) { return enc::conv_charset(charset, enc::kShiftJis, value); }

int parse_options(XLS_BOOK& book, const char* list, int& charset, OpenOptions& options) {
    args::ArgumentReader reader(book, list, charset);
    for (int id; (id = reader.next_keyword(kKeywords)) != args::ArgumentReader::kEnd;) {
        if (id == args::ArgumentReader::kUnknown)
            return fail(book, kBadArgument, Msg::UnsupportedKeyword, {std::string_view(reader.token())});
        if (id < 0) return fail_silently(book, id);
        std::string value = reader.value();
        switch (id) {
            case kBook:
                options.book_name = file_name_value(charset, value);
                apply_extension_rule(options.book_name);
                if (options.book_name.size() > kMaxNameBytes) return fail(book, kBadArgument, Msg::FileNameTooLong);
                break;
            case kMode: {
                std::string word = sjis_value(charset, value);
                options.mode = args::find_keyword(word, kModes);
                if (options.mode < 0) return fail(book, kBadArgument, Msg::UnsupportedKeyword, {std::string_view(word)});
                break;
            }
            case kList:
            case kTemplate: {
                std::string name = file_name_value(charset, value);
                if (name.size() > kMaxNameBytes) return fail(book, kBadArgument, Msg::FileNameTooLong);
                (id == kList ? options.list_name : options.template_name) = name;
                break;
            }
            case kCharset: {
                args::remove_quotes(value);
                int code = args::find_keyword(value, kCharsets);
                if (code > 0) charset = code;
                break;
            }
            case kVersion:
                args::remove_quotes(value);
                if (value != TOVA_VERSION_TEXT)
                    return fail(book, kFailed, Msg::VersionMismatch, {std::string_view(sjis_value(charset, value))});
                break;
            case kBookSize: {
                args::remove_quotes(value);
                long long size = 0;
                auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), size);
                if (ec != std::errc() || size != static_cast<long long>(sizeof(XLS_BOOK))) {
                    char sizes[96];
                    std::snprintf(sizes, sizeof sizes, "CALL側:%lldbyte DLL側:%dbyte", size, static_cast<int>(sizeof(XLS_BOOK)));
                    return fail(book, kFailed, Msg::BookSizeMismatch,
                                {std::string_view(enc::conv_charset(enc::kUtf8, enc::kShiftJis, sizes))});
                }
                break;
            }
            case kReadMemory:
            case kWriteMemory:
                args::remove_quotes(value);
                if (args::is_word(value, "TRUE")) (id == kReadMemory ? options.read_memory : options.write_memory) = true;
                break;
            case kRawStream:
                args::remove_quotes(value);
                if (value.size() >= sizeof book.temp_workbook_path) return fail(book, kBadArgument, Msg::FileNameTooLong);
                options.raw_stream_path = value;
                break;
        }
    }
    return 0;
}

bool is_absolute(std::string_view path) { return !path.empty() && path.front() == '/'; }

// Joins a relative name to the current directory; false when the result does not fit file_name.
bool resolve_path(const std::string& name, bool bare, std::string& path) {
    if (bare || is_absolute(name)) {
        path = name;
    } else {
        std::array<char, PATH_MAX> cwd{};
        if (::getcwd(cwd.data(), cwd.size()) == nullptr) return false;
        path = std::string(cwd.data()) + "/" + name;
    }
    return path.size() < sizeof(XLS_BOOK::file_name);
}

void set_file_name(XLS_BOOK& book, const std::string& name) {
    size_t n = std::min(name.size(), sizeof book.file_name - 1);
    std::memcpy(book.file_name, name.data(), n);
    book.file_name[n] = '\0';
}

// A macro-enabled package keeps its kind: the extension after the last "." becomes ".xlsm".
void make_macro_enabled_name(XLS_BOOK& book) {
    std::string name = book.file_name;
    if (ends_with_ignoring_case(name, ".xlsm")) return;
    size_t slash = name.find_last_of('/');
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = name.size();
    name = name.substr(0, dot) + ".xlsm";
    if (name.size() < sizeof book.file_name) set_file_name(book, name);
}

void set_mode_flags(XLS_BOOK& book, int mode) {
    if (mode == kModeLoad || mode == kModeUnload || mode == kModeUnloadName) set_flag(book, XLS_FLAG_LOAD, true);
    if (mode == kModeUnload || mode == kModeUnloadName) set_flag(book, XLS_FLAG_UNLOAD, true);
    if (mode == kModeUnloadName) set_flag(book, XLS_FLAG_UNLOAD_NAMES, true);
}

// Releases the book; the message written after it stays in the record.
int discard_and_fail(XLS_BOOK& book, int code, Msg id, std::initializer_list<MsgArg> args) {
    std::string message = format_message(id, args);
    discard_book(book);
    set_error_info(book, message);
    return fail_silently(book, code);
}

int read_xls(XLS_BOOK& book, const OpenOptions& options, const std::string& path) {
    reset_book(book, kFileTypeXls);
    std::memcpy(book.temp_workbook_path, options.raw_stream_path.c_str(), options.raw_stream_path.size() + 1);
    set_mode_flags(book, options.mode);
    int rc = reader::tob_read_excel2003(book, path);
    if (rc == 0) {
        set_file_name(book, path);
        return 0;
    }
    std::string message = rc == -2 ? message_text(Msg::OutOfMemory)
                          : rc == -9 || rc == 1002 || rc == -4 ? std::string(book.log.error_info)
                                                               : message_text(Msg::XlsRead);
    discard_book(book);
    set_error_info(book, message);
    if (rc == 1002 || rc == -4) return fail_silently(book, kPasswordProtected);
    return fail_silently(book, rc == -2 ? kNoMemory : kFailed);
}

int read_package(XLS_BOOK& book, const OpenOptions& options, const std::string& path) {
    set_flag(book, XLS_FLAG_TEMPLATE_MODE, true);
    set_mode_flags(book, options.mode);
    set_file_name(book, options.template_name.empty() ? path : options.book_name);
    if (flag_on(book, XLS_FLAG_MACRO_ENABLED)) make_macro_enabled_name(book);
    const std::string quoted_path = quoted(enc::kUtf8, path);
    int rc = reader::tob_read_excel2007(book, path, options.read_memory);
    switch (rc) {
        case 0:
            set_flag(book, XLS_FLAG_READ_MEMORY, options.read_memory);
            set_flag(book, XLS_FLAG_WRITE_MEMORY, options.write_memory);
            return 0;
        case -101:
        case -102:
            return discard_and_fail(book, kCannotOpen, Msg::ExcelFileOpen, {std::string_view(quoted_path)});
        case -4:
            return discard_and_fail(book, kUnsupportedFile, Msg::UnsupportedFile, {std::string_view(quoted_path)});
        case -2:
            return discard_and_fail(book, kNoMemory, Msg::OutOfMemory, {});
        default: {
            std::string what = "tob_read_excel2007() rc=" + std::to_string(rc);
            return discard_and_fail(book, kFailed, Msg::InternalError, {std::string_view(what)});
        }
    }
}

int open_book(XLS_BOOK& book, const char* list) {
    WorkArea& area = create_work_area(book);
    OpenOptions options;
    if (list != nullptr)
        if (int rc = parse_options(book, list, area.charset, options)) return rc;
    if (options.book_name.empty()) options.book_name = "Book1.xlsx";

    const std::string& source = options.template_name.empty() ? options.book_name : options.template_name;
    std::string path;
    if (!resolve_path(source, options.read_memory, path)) return fail(book, kBadArgument, Msg::FileNameTooLong);
    if (options.mode < 0) options.mode = kModeCreate;

    initialise_book(book, kFileTypeXlsx);
    set_flag(book, XLS_FLAG_TEMPLATE_MODE, !options.template_name.empty());

    switch (options.mode) {
        case kModeCreate:
            if (options.template_name.empty()) {
                set_file_name(book, path);
                return 0;
            }
            return read_package(book, options, path);
        case kModeList: {
            int rc = reader::tob_list_excel2007(book, path, options.read_memory);
            if (rc == 0) return 0;
            if (rc == -2) return discard_and_fail(book, kNoMemory, Msg::OutOfMemory, {});
            std::string what = "tob_list_excel2007() rc=" + std::to_string(rc);
            return discard_and_fail(book, kFailed, Msg::InternalError, {std::string_view(what)});
        }
        default: {
            int type = kTypeUnknown;
            const std::string quoted_path = quoted(enc::kUtf8, path);
            if (pel_file_type(options.read_memory ? kProbeMemoryFile : kProbeDiskFile, path.c_str(), &type) != 0)
                return discard_and_fail(book, kCannotOpen, Msg::ExcelFileOpen, {std::string_view(quoted_path)});
            switch (type) {
                case kTypeXls: return read_xls(book, options, path);
                case kTypeXlsm: set_flag(book, XLS_FLAG_MACRO_ENABLED, true); return read_package(book, options, path);
                case kTypeXlsx: return read_package(book, options, path);
                default:
                    return discard_and_fail(book, kUnsupportedFile, Msg::UnsupportedFile, {std::string_view(quoted_path)});
            }
        }
    }
}

}  // namespace
}  // namespace tova

extern "C" TOVA_API int TOVA_open_book(XLS_BOOK* book, const char* list) {
    return tova::guarded(book, [&] { return tova::open_book(*book, list); });
}
