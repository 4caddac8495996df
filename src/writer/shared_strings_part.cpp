#include "writer/shared_strings_part.hpp"

#include <cstdio>
#include <string>
#include <unordered_map>

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

// Visits every string of the table in index order, from memory or the strings file.
template <class Visit>
int for_each_string(XLS_BOOK& book, Visit&& visit) {
    model::SharedStrings& strings = work_area(book)->book.strings;
    const bool streamed = flag_on(book, XLS_FLAG_STRINGS_STREAMED);
    std::FILE* file = strings.file().stream();
    if (streamed) {
        if (file == nullptr)
            return fail(book, kFailed, Msg::InternalError, {std::string_view("tob_xml_sst() tempfile pointer is NULL")});
        std::fflush(file);
        std::rewind(file);
    }
    std::string text;
    for (int32_t i = 0; i < strings.count(); ++i) {
        if (!streamed || i < strings.in_memory()) {
            visit(i, strings.at(i));
        } else if (read_streamed(file, text)) {
            visit(i, std::string_view(text));
        } else {
            return fail(book, -102, Msg::InternalError, {std::string_view("tob_xml_sst() read tempfile")});
        }
    }
    return 0;
}

// Texts remembered for finding repeats; beyond this many bytes of streamed
// texts, new texts are written without being remembered (memory stays bounded).
constexpr size_t kRememberedBytes = size_t{16} << 20;

}  // namespace

int tob_xml_sst(const PartTarget& target, XLS_BOOK& book, SharedStringIndex& index) {
    const int32_t count = work_area(book)->book.strings.count();
    index.places_.assign(static_cast<size_t>(count), 0);
    std::vector<bool> first(static_cast<size_t>(count), false);

    // First pass: the place of every text, repeats sharing the place of their first.
    int32_t unique = 0;
    {
        std::unordered_map<std::string_view, int32_t> seen;
        model::SharedStrings copies;  // streamed texts, which the pass reads into a reused buffer
        size_t copied = 0;
        const int32_t in_memory = work_area(book)->book.strings.in_memory();
        const bool streamed = flag_on(book, XLS_FLAG_STRINGS_STREAMED);
        int rc = for_each_string(book, [&](int32_t i, std::string_view text) {
            if (auto found = seen.find(text); found != seen.end()) {
                index.places_[i] = found->second;
                return;
            }
            index.places_[i] = unique;
            first[i] = true;
            if (!streamed || i < in_memory) {
                seen.emplace(text, unique);
            } else if (copied + text.size() <= kRememberedBytes) {
                copied += text.size();
                seen.emplace(copies.at(copies.add_in_memory(text)), unique);
            }
            ++unique;
        });
        if (rc != 0) return rc;
    }

    XmlOut out;
    if (int rc = out.open(target, "xl/sharedStrings.xml")) return rc;
    out.raw("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
            "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"")
        .number(count)
        .raw("\" uniqueCount=\"")
        .number(unique)
        .raw("\">");
    int rc = for_each_string(book, [&](int32_t i, std::string_view text) {
        if (first[i]) write_si(out, text);
    });
    if (rc != 0) {
        out.close();
        return rc;
    }
    out.raw("</sst>");
    return out.close();
}

}  // namespace tova::writer
