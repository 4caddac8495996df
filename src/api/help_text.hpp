// The keyword overview that TOVA_help prints.
#pragma once

#include <cstdio>

namespace tova {

// The overview in Shift-JIS, the character set of the library's own texts.
void print_help(std::FILE* out);

// The same overview in UTF-8, for terminals that expect it.
void print_help_utf8(std::FILE* out);

}  // namespace tova
