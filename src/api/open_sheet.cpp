// Selecting, adding and naming sheets.
#include <cstring>
#include <string>

#include "api/arglist.hpp"
#include "api/call_frame.hpp"
#include "api/flags.hpp"
#include "api/sheet_names.hpp"
#include "api/work_area.hpp"
#include "model/cell_store.hpp"
#include "platform/encoding.hpp"
#include "tova_api.h"

namespace tova {
namespace {

enum KeywordId { kSheetName, kMode, kTemplateName };
constexpr args::Keyword kKeywords[] = {
    {kSheetName, "SHEET_NAME", {"シート"}},
    {kMode, "MODE", {"モード"}},
    {kTemplateName, "TEMPLATE", {"テンプレート"}},
};

enum Mode { kSelect, kCreate, kFromTemplate };
constexpr args::Keyword kModes[] = {
    {kSelect, "READ", {"読込", "読み込み"}, false},
    {kCreate, "CREATE", {"新規"}, false},
    {kSelect, "UPDATE", {"更新"}, false},
    {kFromTemplate, "TEMPLATE", {"テンプレート"}, false},
};

struct SheetRequest {
    int mode = kCreate;
    bool named = false;
    std::string name;           // UTF-8
    std::string template_name;  // UTF-8
};

// Quotes removed, UTF-8, and no longer than a sheet name may be (31 characters).
int prepare_name(XLS_BOOK& book, std::string value, std::string& out) {
    args::remove_quotes(value);
    out = enc::conv_charset(charset_of(book), enc::kUtf8, value);
    if (out.size() >= 31 && enc::utf8_char_count(out) > 31) {
        bool quoted_start = out.front() == '"';
        size_t at = 0;
        for (int n = 0; n < 30; ++n) at = enc::next_char(enc::kUtf8, out, at);
        out.resize(at);
        if (quoted_start) out += '"';
    }
    if (out.size() > model::kSheetNameMax)
        return fail(book, kDoesNotFit, Msg::BufferOverflow, {93LL, std::string_view("XLS_SHEET_LEN")});
    return 0;
}

int parse_request(XLS_BOOK& book, const char* list, SheetRequest& request) {
    WorkArea& area = *work_area(book);
    args::ArgumentReader reader(book, list, area.charset);
    for (int id; (id = reader.next_keyword(kKeywords)) != args::ArgumentReader::kEnd;) {
        if (id == args::ArgumentReader::kUnknown)
            return fail(book, kBadArgument, Msg::UnsupportedKeyword, {std::string_view(reader.token())});
        if (id < 0) return fail_silently(book, id);
        switch (id) {
            case kSheetName:
                if (int rc = prepare_name(book, reader.value(), request.name)) return rc;
                request.named = true;
                break;
            case kTemplateName:
                if (int rc = prepare_name(book, reader.value(), request.template_name)) return rc;
                break;
            case kMode: {
                int mode = args::find_keyword(enc::conv_charset(area.charset, enc::kShiftJis, reader.value()), kModes);
                if (mode < 0) return fail_silently(book, kBadArgument);
                request.mode = mode;
                break;
            }
        }
    }
    return 0;
}

int add_sheet(XLS_BOOK& book, const std::string& name, int32_t template_sheet) {
    model::Workbook& wb = work_area(book)->book;
    model::Sheet& sheet = model::ensure_sheet(wb, static_cast<int32_t>(wb.sheets.size()));
    sheet.name = name;
    sheet.template_sheet = template_sheet;
    book.cur_sheet = sheet.index;
    return 0;
}

int open_sheet(XLS_BOOK& book, const char* list) {
    if (list == nullptr || work_area(book) == nullptr) return fail_silently(book, kBadArgument);
    SheetRequest request;
    if (int rc = parse_request(book, list, request)) return rc;
    const model::Workbook& wb = work_area(book)->book;

    switch (request.mode) {
        case kSelect: {
            int32_t index = find_sheet(wb, request.name);
            if (index < 0)
                return fail(book, kNoSuchSheet, Msg::BadSheetName, {std::string_view(quoted(enc::kUtf8, request.name))});
            book.cur_sheet = index;
            return 0;
        }
        case kCreate: {
            if (flag_on(book, XLS_FLAG_TEMPLATE_MODE)) return fail(book, kBadArgument, Msg::TemplateAddSheet);
            std::string name = request.named ? request.name : next_free_sheet_name(wb);
            if (int rc = check_new_sheet_name(book, name)) return rc;
            return add_sheet(book, name, -1);
        }
        default: {
            if (request.template_name.empty()) return fail(book, kBadArgument, Msg::NoTemplateSheetName);
            std::string name = request.named ? request.name : next_free_sheet_name(wb);
            if (int rc = check_new_sheet_name(book, name)) return rc;
            int32_t source = find_sheet(wb, request.template_name);
            if (source < 0)
                return fail(book, kNoSuchSheet, Msg::TemplateSheetUnavailable,
                            {std::string_view(quoted(enc::kUtf8, request.template_name))});
            return add_sheet(book, name, source);
        }
    }
}

int32_t sheet_count(const XLS_BOOK& book) {
    const WorkArea* area = work_area(book);
    return area ? static_cast<int32_t>(area->book.sheets.size()) : 0;
}

int sheet_name(XLS_BOOK& book, int index, char* out) {
    if (out == nullptr) return fail_silently(book, kBadArgument);
    out[0] = '\0';
    if (index < 0 || index >= sheet_count(book)) return fail_silently(book, kNoSuchSheet);
    std::string name = enc::conv_charset(enc::kUtf8, charset_of(book), work_area(book)->book.sheets[index].name);
    size_t keep = enc::char_boundary(charset_of(book), name, model::kSheetNameMax);
    std::memcpy(out, name.data(), keep);
    out[keep] = '\0';
    return 0;
}

}  // namespace
}  // namespace tova

using namespace tova;

extern "C" {

TOVA_API int TOVA_open_sheet(XLS_BOOK* book, const char* list) {
    return guarded(book, [&] { return open_sheet(*book, list); });
}

TOVA_API int TOVA_open_sheet2(XLS_BOOK* book, int index) {
    return guarded(book, [&] {
        if (index < 0 || index >= sheet_count(*book)) return fail_silently(*book, kNoSuchSheet);
        book->cur_sheet = index;
        return 0;
    });
}

TOVA_API int TOVA_sheet_num(XLS_BOOK* book) {
    if (book == nullptr) return 0;
    book->log.error_code = 0;
    return sheet_count(*book);
}

TOVA_API int TOVA_sheet_name(XLS_BOOK* book, int index, char* name) {
    return guarded(book, [&] { return sheet_name(*book, index, name); });
}

}  // extern "C"
