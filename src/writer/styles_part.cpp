// Provisional: a fixed style sheet. Replaced by the writer of the registry.
#include "writer/styles_part.hpp"

namespace tova::writer {

int tob_xml_styles(const PartTarget& target, XLS_BOOK&) {
    return write_part(target, "xl/styles.xml",
                      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                      "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                      "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
                      "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill></fills>"
                      "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
                      "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
                      "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs>"
                      "</styleSheet>");
}

}  // namespace tova::writer
