// xl/styles.xml from the book's style registry.
#pragma once

#include "tova_api.h"
#include "writer/xml_out.hpp"

namespace tova::writer {

// 0, or a part result; assigns the ids of the custom number formats as it writes them.
int tob_xml_styles(const PartTarget& target, XLS_BOOK& book);

}  // namespace tova::writer
