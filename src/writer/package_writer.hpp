// Saving a new book as an .xlsx package.
#pragma once

#include <string>

#include "tova_api.h"

namespace tova::writer {

// Writes every part (as memory files; when memory runs out and the book allows
// it, as files in its temporary directory) and packs them into `output_path`.
// 0; -1; -2; -9; -101; -102; -103 (the closing call maps them).
int tob_create_excel2007(XLS_BOOK& book, const std::string& output_path);

}  // namespace tova::writer
