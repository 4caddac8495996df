// Saving a new book as an .xlsx package.
#pragma once

#include <string>

#include "tova_api.h"

namespace tova::writer {

// Writes every part straight into the package at `output_path` (a disk file
// written under a temporary name and renamed when whole, or a memory file once
// pel_zip_on_memory(0) was called). 0; -1; -2; -9; -101; -102; -103.
int tob_create_excel2007(XLS_BOOK& book, const std::string& output_path);

}  // namespace tova::writer
