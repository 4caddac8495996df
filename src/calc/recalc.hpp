// Formula recalculation before a book is saved.
#pragma once

#include "tova_api.h"

namespace tova::calc {

// Gives each formula cell of the book its result (the cell then holds a
// formula with a cached value) where the formula can be computed here. A
// formula that cannot keeps no result and turns the book's recalculation
// option off, so the package is marked for recalculation on opening. Nothing
// is done when the option is off; rows streamed to a rows file turn it off.
// 0, or -1 when a formula error (TOVA-02201, TOVA-02304, TOVA-03200,
// TOVA-03201, TOVA-03202) stops the save, with its message.
int tob_recalculate(XLS_BOOK& book);

}  // namespace tova::calc
