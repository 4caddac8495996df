// Formula recalculation before a book is saved.
#pragma once

#include "tova_api.h"

namespace tova::calc {

// Gives formula cells their results where they can be computed; a book with a
// formula that cannot be computed is marked for recalculation on open (its
// recalculation option is turned off). 0, or a negative code with its message.
int tob_recalculate(XLS_BOOK& book);

}  // namespace tova::calc
