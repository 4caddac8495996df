// Saving a book that came from a package back into that package.
#pragma once

#include <string>

#include "tova_api.h"

namespace tova::writer {

// 0, or the codes of tob_create_excel2007.
int tob_update_excel2007(XLS_BOOK& book, const std::string& output_path);

}  // namespace tova::writer
