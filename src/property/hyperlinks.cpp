#include "property/hyperlinks.hpp"

#include "api/work_area.hpp"
#include "model/cell_store.hpp"
#include "model/styles.hpp"

namespace tova::property {

std::string link_address(std::string_view utf8_address) {
    std::string address(utf8_address);
    size_t at = address.find('@');
    bool mail = at != std::string::npos && address.find('.', at) != std::string::npos;
    if (mail && address.rfind("mailto:", 0) != 0) address.insert(0, "mailto:");
    return address;
}

int add_external_hyperlink(XLS_BOOK& book, int32_t sheet, int32_t row, int32_t column, std::string_view utf8_address) {
    auto& sheets = work_area(book)->book.sheets;
    if (sheet < 0 || sheet >= static_cast<int32_t>(sheets.size())) return -1;
    model::Cell* cell = model::find_cell(sheets[sheet], row, column);
    if (cell == nullptr) return -1;
    model::Hyperlink link;
    link.kind = model::LinkKind::External;
    link.row = row;
    link.column = column;
    link.address = link_address(utf8_address);
    sheets[sheet].hyperlinks.push_back(std::move(link));
    cell->style = book.builtin_xf[model::kBuiltinHyperlink];
    return 0;
}

}  // namespace tova::property
