// Saving a new book as an .xlsx package.
#pragma once

#include <cstddef>
#include <string>

#include "tova_api.h"

namespace tova::writer {

// Writes every part (as memory files; when memory runs out and the book allows
// it, as files in its temporary directory) and packs them into `output_path`.
// 0; -1; -2; -9; -101; -102; -103 (the closing call maps them).
int tob_create_excel2007(XLS_BOOK& book, const std::string& output_path);

// Parts beyond this many bytes in memory files go to temporary files instead
// (on systems that overcommit memory, running out would kill the process
// rather than fail an allocation). The default is 256 MiB.
void set_memory_parts_limit(size_t bytes);

}  // namespace tova::writer
