// Texts of any bytes convert between the character sets and through XML
// escaping without reading or writing out of bounds; escaping always gives
// text that decodes back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/encoding.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tova::enc;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (int from = 1; from <= 4; ++from)
        for (int to = 1; to <= 3; ++to) conv_charset(from, to, text);
    std::string escaped;
    xml_escape_append(escaped, text, XML_ESCAPE);
    xml_unescape(escaped);
    xml_unescape(text);
    std::string upper(text);
    upper_unquoted(kShiftJis, upper);
    char_boundary(kShiftJis, text, size / 2);
    return 0;
}
