// Temporary file names of a book. Each book gets its own owner-only directory
// under the temporary base, unique to the process and the book.
#pragma once

#include <string>

#include "tova_api.h"

namespace tova {

enum TempKind : int { kTempStrings = 0, kTempRows = 1, kTempDirectory = 9 };

// kTempStrings: ".../SST.tmp"; kTempRows: ".../Sheet%d.tmp" for cur_sheet + 1;
// kTempDirectory: the directory itself. Creates the directory, stores it in
// book.temp_dir. 0; -1 (message TOVA-03600) when the directory cannot be made; -3 bad kind.
int tob_tempfile_path(XLS_BOOK& book, int kind, std::string& out);

}  // namespace tova
