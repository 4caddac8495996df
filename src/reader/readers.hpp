// Reading workbooks into a book: .xls files and .xlsx/.xlsm packages.
#pragma once

#include <string>

#include "tova_api.h"

namespace tova::reader {

// Reads an .xls workbook at `path`: 0; 1002 or -4 password protected; -2; -9
// (message left); other negative codes for read errors.
int tob_read_excel2003(XLS_BOOK& book, const std::string& path);

// Reads a package (a memory file when `from_memory`): 0; -101/-102 cannot be
// opened; -4 unsupported; -2; other negative codes.
int tob_read_excel2007(XLS_BOOK& book, const std::string& path, bool from_memory);

// Creates one sheet record per sheet of a package: 0; -2; other negative codes.
int tob_list_excel2007(XLS_BOOK& book, const std::string& path, bool from_memory);

}  // namespace tova::reader
