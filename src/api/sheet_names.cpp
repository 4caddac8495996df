#include "api/sheet_names.hpp"

#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "platform/ascii.hpp"
#include "platform/encoding.hpp"

namespace tova {

int32_t find_sheet(const model::Workbook& book, std::string_view name) {
    for (size_t i = 0; i < book.sheets.size(); ++i)
        if (book.sheets[i].name == name) return static_cast<int32_t>(i);
    return -1;
}

std::string next_free_sheet_name(const model::Workbook& book) {
    for (size_t n = book.sheets.size() + 1;; ++n) {
        std::string name = "Sheet" + std::to_string(n);
        if (find_sheet(book, name) < 0) return name;
    }
}

int check_new_sheet_name(XLS_BOOK& book, std::string_view name) {
    const std::string shown = quoted(enc::kUtf8, name);
    size_t characters = enc::utf8_char_count(name);
    if (characters == 0 || characters > 31 || name.find_first_of("[]:*?/\\") != std::string_view::npos ||
        name.front() == '\'' || name.back() == '\'')
        return fail(book, kBadArgument, Msg::BadSheetName, {std::string_view(shown)});
    for (const model::Sheet& sheet : work_area(book)->book.sheets)
        if (equals_ignoring_case(sheet.name, name))
            return fail(book, kBadArgument, Msg::DuplicateSheetName, {std::string_view(shown)});
    return 0;
}

}  // namespace tova
