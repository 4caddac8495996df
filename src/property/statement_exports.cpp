// The exports that fill a book: values, statement lists, variables, streamed rows.
#include <string>

#include "api/arglist.hpp"
#include "api/call_frame.hpp"
#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "model/cell_ref.hpp"
#include "model/cell_store.hpp"
#include "platform/encoding.hpp"
#include "property/appliers.hpp"
#include "property/cell_statements.hpp"
#include "property/parser.hpp"
#include "tova_api.h"

namespace tova::property {
namespace {

bool has_open_sheet(const XLS_BOOK& book) {
    const WorkArea* area = work_area(book);
    return area && book.cur_sheet >= 0 && book.cur_sheet < static_cast<int32_t>(area->book.sheets.size());
}

// The current sheet for one statement, put back when the statement is done.
class SheetScope {
public:
    explicit SheetScope(XLS_BOOK& book) : book_(book), saved_(book.cur_sheet) {}
    ~SheetScope() {
        if (active_) book_.cur_sheet = saved_;
    }
    // Puts the sheet back now and leaves it to the statement from here on
    // (SHEET=name selects a sheet for the statements after it).
    void restore() {
        book_.cur_sheet = saved_;
        active_ = false;
    }

private:
    XLS_BOOK& book_;
    int32_t saved_;
    bool active_ = true;
};

int define_variable(XLS_BOOK& book, std::string_view name, std::string_view value) {
    return model::tob_put_resource(book, name, value) == 0 ? 0 : fail_silently(book, kBadArgument);
}

// A key that is not a cell: a property statement, or a variable definition.
int property_statement(XLS_BOOK& book, const std::string& key, const std::string& value) {
    const std::string shown = quoted(charset_of(book), key);
    PropertyKey parsed;
    if (int rc = tob_parse_property(book, key, parsed)) return rc;
    if (parsed.code == stmt::kNone) {
        XLS_RANGE_LIST range{};
        std::string utf8_key = enc::conv_charset(charset_of(book), enc::kUtf8, key);
        bool is_range = model::parse_range_ref(book, utf8_key, range) == 0;
        return fail(book, kBadArgument, is_range ? Msg::RangeNotAllowed : Msg::UnsupportedKeyword,
                    {std::string_view(shown)});
    }
    if (parsed.code == stmt::kVariable) {
        if (!flag_on(book, XLS_FLAG_VARIABLES)) return fail(book, kBadArgument, Msg::UnsupportedKeyword, {std::string_view(shown)});
        return define_variable(book, parsed.target_text, value);
    }
    if (flag_on(book, XLS_FLAG_TEMPLATE_MODE) && !allowed_in_template_mode(parsed.code))
        return fail(book, kBadArgument, Msg::TemplateKeyword, {std::string_view(shown)});
    return apply_property(book, parsed, value);
}

// The tokenizer gives 'My Sheet'!A1 as two tokens; a key is both when nothing stands between them.
int join_quoted_sheet_prefix(int charset, std::string_view source, size_t& position, std::string& key) {
    if (key.size() < 2 || key.front() != '\'' || key.back() != '\'' || position >= source.size() ||
        source[position] != '!')
        return 0;
    std::string rest;
    if (args::next_argument(charset, source, position, rest) != 0) return kBadArgument;
    key += rest;
    return 0;
}

int put_values(XLS_BOOK& book, const char* list) {
    if (work_area(book) == nullptr) return fail_silently(book, kBadArgument);
    if (list == nullptr) return 0;
    const int charset = charset_of(book);
    const std::string_view source(list);
    size_t position = 0;
    std::string key, equals, value;
    for (;;) {
        if (args::next_argument(charset, source, position, key) != 0) return 0;
        if (int rc = join_quoted_sheet_prefix(charset, source, position, key)) return fail_silently(book, rc);
        auto bad_key = [&] { return fail(book, kBadArgument, Msg::BadCell, {std::string_view(quoted(charset, key))}); };
        if (args::next_argument(charset, source, position, equals) != 0)
            return bad_key();
        if (equals != "=") return fail(book, kBadArgument, Msg::BadEquals, {std::string_view(quoted(charset, equals))});
        // A list that ends right after "=" gives the last key an empty value.
        int value_rc = args::next_statement(charset, source, position, value);
        if (value_rc == args::kNoToken) value.clear();
        else if (value_rc != 0) return bad_key();

        SheetScope scope(book);
        std::string target = key;
        if (key.find('!') != std::string::npos) {
            target = enc::conv_charset(charset, enc::kUtf8, key);
            int32_t sheet = model::strip_sheet_prefix(book, target);
            if (sheet >= 0) book.cur_sheet = sheet;
        }
        int32_t row = 0, column = 0;
        int rc;
        if (has_open_sheet(book) && model::parse_cell_ref(book, -1, target, row, column) == 0) {
            rc = put_cell_at(book, row, column, target, value);
        } else {
            scope.restore();
            rc = property_statement(book, key, value);
        }
        if (rc == -9) return fail_silently(book, kDoesNotFit);
        if (rc != 0) return rc;
    }
}

}  // namespace
}  // namespace tova::property

using namespace tova;

extern "C" {

TOVA_API int TOVA_put_cell(XLS_BOOK* book, const char* reference, const char* value, int /*unused*/) {
    return guarded(book, [&] {
        if (reference == nullptr || value == nullptr || work_area(*book) == nullptr)
            return fail_silently(*book, kBadArgument);
        return property::put_cell(*book, reference, value);
    });
}

TOVA_API int TOVA_put_values(XLS_BOOK* book, const char* list) {
    return guarded(book, [&] { return property::put_values(*book, list); });
}

TOVA_API int TOVA_put_variable(XLS_BOOK* book, const char* name, const char* value) {
    return guarded(book, [&] {
        if (name == nullptr || value == nullptr || work_area(*book) == nullptr) return fail_silently(*book, kBadArgument);
        return model::tob_put_resource(*book, name, value) == 0 ? 0 : fail_silently(*book, kFailed);
    });
}

TOVA_API int TOVA_write_row(XLS_BOOK* book, int row) {
    return guarded(book, [&] {
        if (work_area(*book) == nullptr) return fail_silently(*book, kBadArgument);
        return model::stream_row(*book, row);
    });
}

}  // extern "C"
