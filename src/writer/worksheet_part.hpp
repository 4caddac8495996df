// xl/worksheets/sheet%d.xml for every sheet, in package order.
#pragma once

#include "tova_api.h"
#include "writer/shared_strings_part.hpp"
#include "writer/xml_out.hpp"

namespace tova::model {
struct Sheet;
}

namespace tova::writer {

struct SheetRelationships;

// Writes every worksheet part; 0, a part result, or a negative code with its message.
int tob_xml_worksheet(const PartTarget& target, XLS_BOOK& book, const SharedStringIndex& strings);

// The cells of one sheet, rows in memory and rows streamed to its rows file.
int write_sheet_data(XmlOut& out, XLS_BOOK& book, model::Sheet& sheet, const SharedStringIndex& strings);

// The sheet's data validations, when it has any.
void write_data_validations(XmlOut& out, const XLS_BOOK& book, int32_t sheet_index);

}  // namespace tova::writer
