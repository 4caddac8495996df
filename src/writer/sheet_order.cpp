#include "writer/sheet_order.hpp"

#include <algorithm>
#include <numeric>

#include "api/flags.hpp"
#include "api/work_area.hpp"

namespace tova::writer {

std::vector<int32_t> sheet_order(const XLS_BOOK& book) {
    std::vector<int32_t> order(work_area(book)->book.sheets.size());
    std::iota(order.begin(), order.end(), 0);
    if (flag_on(book, XLS_FLAG_DESCENDING_SHEETS)) std::reverse(order.begin(), order.end());
    return order;
}

}  // namespace tova::writer
