// TOVA_read_file: a statement file, one statement list a line, run through TOVA_put_values.
#include <string>

#include "api/arglist.hpp"
#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "load/line_reader.hpp"
#include "load/load_nesting.hpp"
#include "platform/encoding.hpp"
#include "tova_api.h"

namespace tova::load {
namespace {

constexpr size_t kMaxPathBytes = 256;

enum ArgumentId { kFile, kCharset };

constexpr args::Keyword kArguments[] = {
    {kFile, "FILE", {"ファイル"}},
    {kCharset, "CHARSET", {"文字コード"}},
};

constexpr args::Keyword kCharsets[] = {
    {enc::kShiftJis, "SJIS"}, {enc::kShiftJis, "ShiftJIS"}, {enc::kShiftJis, "Shift-JIS"},
    {enc::kShiftJis, "Shift JIS"}, {enc::kEucJp, "EUC"}, {enc::kUtf8, "UTF8"}, {enc::kUtf8, "UTF-8"},
};

struct StatementFile {
    std::string path;  // as written, the book's character set
    int charset = enc::kShiftJis;
};

int read_arguments(XLS_BOOK& book, const char* list, StatementFile& out) {
    const int charset = charset_of(book);
    args::ArgumentReader reader(book, list, charset);
    bool named = false;
    for (;;) {
        const int id = reader.next_keyword(kArguments);
        if (id == args::ArgumentReader::kEnd) break;
        if (id == args::ArgumentReader::kUnknown)
            return fail(book, kBadArgument, Msg::UnsupportedKeyword, {std::string_view(reader.token())});
        if (id < 0) return id;
        std::string value = reader.value();
        args::remove_quotes(value);
        if (id == kFile) {
            if (value.size() > kMaxPathBytes) return fail(book, kBadArgument, Msg::FileNameTooLong);
            out.path = std::move(value);
            named = true;
            continue;
        }
        const std::string word = quoted(charset, value);
        const int code = args::find_keyword(word, kCharsets);
        if (code < 0) return fail(book, kBadArgument, Msg::UnsupportedKeyword, {std::string_view(word)});
        out.charset = code;
    }
    return named ? 0 : fail_silently(book, kBadArgument);
}

int read_statement_file(XLS_BOOK& book, const char* list) {
    if (list == nullptr || work_area(book) == nullptr) return fail_silently(book, kBadArgument);
    StatementFile request;
    if (int rc = read_arguments(book, list, request)) return rc;
    const std::string path = enc::conv_charset(charset_of(book), enc::kUtf8, request.path);

    LoadNesting nesting;
    if (nesting.too_deep()) return fail_too_deep(book, path);
    TextFile file;
    if (!file.open(path))
        return fail(book, kCannotOpen, Msg::FileOpen, {std::string_view(quoted(charset_of(book), request.path))});
    const int file_charset = file.skip_byte_order_mark() ? enc::kUtf8 : request.charset;

    std::string line;
    LinePosition position;
    while (tob_read_line(file, line, position)) {
        if (!line.empty() && line[0] == '!') continue;  // a comment
        const std::string statements = enc::conv_charset(file_charset, charset_of(book), line);
        const int rc = TOVA_put_values(&book, statements.c_str());
        if (rc != 0) return fail_silently(book, rc == kNoMemory ? kNoMemory : kFailed);  // its message stays
    }
    return 0;
}

}  // namespace
}  // namespace tova::load

extern "C" {

TOVA_API int TOVA_read_file(XLS_BOOK* book, const char* list) {
    return tova::guarded(book, [&] { return tova::load::read_statement_file(*book, list); });
}

}  // extern "C"
