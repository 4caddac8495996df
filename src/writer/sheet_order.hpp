// The order in which sheets go into a package: the book's order, or the
// reverse when descending sheet order is on. The book itself is never reordered.
#pragma once

#include <cstdint>
#include <vector>

#include "tova_api.h"

namespace tova::writer {

std::vector<int32_t> sheet_order(const XLS_BOOK& book);

}  // namespace tova::writer
