// Statements on cells, rows and columns. (Filled in as they are written.)
#include "property/appliers.hpp"

namespace tova::property {

std::span<const ApplierEntry> cell_appliers() { return {}; }

}  // namespace tova::property
