#include "writer/shared_strings_part.hpp"

#include <cstdio>

#include "api/call_frame.hpp"
#include "api/flags.hpp"
#include "api/work_area.hpp"

namespace tova::writer {
namespace {

bool is_xml_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Readers drop white space at the ends of a text unless told to keep it.
bool needs_preserve(std::string_view text) {
    if (text.empty()) return false;
    return text.find(' ') != std::string_view::npos || is_xml_space(text.front()) || is_xml_space(text.back());
}

void write_si(XmlOut& out, std::string_view text) {
    out.raw(needs_preserve(text) ? "<si><t xml:space=\"preserve\">" : "<si><t>");
    out.escaped(text, enc::XML_ESCAPE_KEEP_NL);
    out.raw("</t><phoneticPr fontId=\"1\"/></si>");
}

bool read_streamed(std::FILE* file, std::string& text) {
    unsigned char prefix[4];
    if (std::fread(prefix, 1, 4, file) != 4) return false;
    uint32_t length = prefix[0] | (prefix[1] << 8) | (prefix[2] << 16) | (static_cast<uint32_t>(prefix[3]) << 24);
    if (length > (1u << 26)) return false;
    text.resize(length);
    return length == 0 || std::fread(text.data(), 1, length, file) == length;
}

}  // namespace

int tob_xml_sst(const PartTarget& target, XLS_BOOK& book) {
    model::SharedStrings& strings = work_area(book)->book.strings;
    const bool streamed = flag_on(book, XLS_FLAG_STRINGS_STREAMED);
    std::FILE* file = strings.file().stream();
    if (streamed) {
        if (file == nullptr)
            return fail(book, kFailed, Msg::InternalError, {std::string_view("tob_xml_sst() tempfile pointer is NULL")});
        std::fflush(file);
        std::rewind(file);
    }

    XmlOut out;
    if (int rc = out.open(target, "xl/sharedStrings.xml")) return rc;
    const int32_t count = strings.count();
    out.raw("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
            "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"")
        .number(count)
        .raw("\" uniqueCount=\"")
        .number(count)
        .raw("\">");
    std::string text;
    for (int32_t i = 0; i < count; ++i) {
        if (!streamed || i < strings.in_memory()) {
            write_si(out, strings.at(i));
        } else if (read_streamed(file, text)) {
            write_si(out, text);
        } else {
            out.close();
            return fail(book, -102, Msg::InternalError, {std::string_view("tob_xml_sst() read tempfile")});
        }
    }
    out.raw("</sst>");
    return out.close();
}

}  // namespace tova::writer
