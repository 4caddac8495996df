// Temporary file names of a book. Each book gets its own owner-only directory
// under the temporary base, unique to the process and the book.
#pragma once

#include <string>

#include "tova_api.h"

namespace tova {

enum TempKind : int { kTempStrings = 0, kTempRows = 1, kTempDirectory = 9 };

// kTempStrings: ".../SST.tmp"; kTempRows: ".../Sheet%d.tmp" for cur_sheet + 1;
// kTempDirectory: the directory itself, "tova-<pid>-<serial>-<stem>" below
// qfs::temp_base() with the stem of the book's file name. Creates the directory
// (again, should it have gone), records it in the work area and in
// book.temp_dir. Every path fits 256 bytes. 0; -3 bad kind (no message); -1
// (message TOVA-03600) without a work area or when the directory cannot be made.
int tob_tempfile_path(XLS_BOOK& book, int kind, std::string& out);

}  // namespace tova
