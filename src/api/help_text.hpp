// The keyword overview that TOVA_help prints.
#pragma once

#include <cstdio>

namespace tova {

void print_help(std::FILE* out);

}  // namespace tova
