// Closing a book: saving it, then releasing everything it holds.
#pragma once

#include "tova_api.h"

namespace tova {

// Releases the book without saving (what a failed opening does) and discards
// the process's memory files.
void discard_book(XLS_BOOK& book);

}  // namespace tova
