// xl/sharedStrings.xml, streamed string by string from memory and from the
// strings file of a book whose table streamed.
#pragma once

#include "tova_api.h"
#include "writer/xml_out.hpp"

namespace tova::writer {

// 0, a part result (xml_out.hpp), or -102 when the strings file reads short.
int tob_xml_sst(const PartTarget& target, XLS_BOOK& book);

}  // namespace tova::writer
