// Statements on the book, its sheets and their pages. (Filled in as they are written.)
#include "property/appliers.hpp"

namespace tova::property {

std::span<const ApplierEntry> sheet_appliers() { return {}; }

}  // namespace tova::property
