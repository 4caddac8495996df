// The vocabularies by theme, each defined beside the helpers of its theme.
#pragma once

#include <span>

#include "property/vocab.hpp"

namespace tova::vocab {

std::span<const Vocabulary> cell_vocabularies();   // colours, fills, borders, fonts, alignment, formats
std::span<const Vocabulary> shape_vocabularies();  // lines, arrows, autoshapes, effects, controls
std::span<const Vocabulary> chart_vocabularies();  // charts, sparklines, validation
std::span<const Vocabulary> sheet_vocabularies();  // yes/no, paper, orientation, sheet view and order

}  // namespace tova::vocab
