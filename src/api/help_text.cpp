// Provisional banner; the full overview follows.
#include "api/help_text.hpp"

#include <string>

#include "platform/encoding.hpp"
#include "tova_api.h"

namespace tova {

void print_help(std::FILE* out) {
    std::fprintf(out, "\n%s: Release %s\n", "PEL K-VANTO", TOVA_VERSION_TEXT);
    std::fprintf(out, "Copyright (c) the tova_api authors.\n\n");
}

}  // namespace tova
