// The target of a property key: the first section when it is not a word.
#pragma once

#include <string_view>

#include "property/parser.hpp"
#include "tova_api.h"

namespace tova::property {

// Reads `written` (the first section, in the book's character set) into
// parsed.target, parsed.target_kind and parsed.target_text. `whole_key` tells
// that the section is the whole key, where a plain name defines a variable.
// 0, or -3 with the message in the book.
int parse_target(XLS_BOOK& book, std::string_view written, bool whole_key, PropertyKey& parsed);

}  // namespace tova::property
