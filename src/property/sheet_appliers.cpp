// Statements on the book, its sheets and their pages: one table joined from
// the tables of each theme.
#include <vector>

#include "property/applier_support.hpp"

namespace tova::property {

std::span<const ApplierEntry> sheet_appliers() {
    static const std::vector<ApplierEntry> joined = [] {
        std::vector<ApplierEntry> all;
        for (auto theme : {book_appliers(), sheet_view_appliers(), page_appliers(), header_footer_appliers()})
            all.insert(all.end(), theme.begin(), theme.end());
        return all;
    }();
    return joined;
}

}  // namespace tova::property
