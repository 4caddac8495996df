// Conversions between code page 932 and Unicode through glibc iconv.
#include <errno.h>
#include <iconv.h>

#include <optional>

#include "platform/encoding.hpp"
#include "platform/utf8.hpp"

namespace tova::enc {
namespace {

// Single bytes that Windows maps although they are no characters of code page
// 932; glibc rejects them, so they are mapped here, in both directions alike.
struct SingleByte {
    unsigned char byte;
    char32_t code;
};
constexpr SingleByte kWindowsSingleBytes[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3},
};

std::optional<char32_t> windows_code_of(unsigned char byte) {
    for (const auto& entry : kWindowsSingleBytes)
        if (entry.byte == byte) return entry.code;
    return std::nullopt;
}

std::optional<char> windows_byte_of(char32_t code) {
    for (const auto& entry : kWindowsSingleBytes)
        if (entry.code == code) return static_cast<char>(entry.byte);
    return std::nullopt;
}

bool is_sjis_trail(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

bool is_ascii(std::string_view text) {
    unsigned char any = 0;
    for (char c : text) any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

// One conversion descriptor per direction and thread: opening one costs far
// more than converting a cell text.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

const Converter& cp932_decoder() {
    thread_local const Converter converter("UTF-8", "CP932");
    return converter;
}

const Converter& cp932_encoder() {
    thread_local const Converter converter("CP932", "UTF-8");
    return converter;
}

// Handles the input iconv stopped at: writes what stands for it and returns
// the number of bytes it takes up (at least 1).
using Repair = size_t (*)(std::string_view text, size_t at, std::string& out);

size_t repair_cp932(std::string_view text, size_t at, std::string& out) {
    auto byte = static_cast<unsigned char>(text[at]);
    if (auto code = windows_code_of(byte)) {
        append_utf8(out, *code);
        return 1;
    }
    out += kReplacementUtf8;
    // An unassigned pair is one bad character, not a bad byte and an ASCII one.
    bool pair = trail_bytes(kShiftJis, byte) == 1 && at + 1 < text.size() &&
                is_sjis_trail(static_cast<unsigned char>(text[at + 1]));
    return pair ? 2 : 1;
}

size_t repair_utf8(std::string_view text, size_t at, std::string& out) {
    Utf8Char ch = decode_utf8(text, at);
    out += ch.valid ? windows_byte_of(ch.code).value_or('?') : '?';
    return ch.length;
}

std::string convert(const Converter& converter, std::string_view text, Repair repair) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
    char chunk[4096];
    size_t at = 0;
    while (at < text.size()) {
        char* in = const_cast<char*>(text.data() + at);  // iconv does not write its input
        size_t in_left = text.size() - at;
        char* produced = chunk;
        size_t room = sizeof chunk;
        size_t result = iconv(converter.get(), &in, &in_left, &produced, &room);
        int error = errno;
        out.append(chunk, static_cast<size_t>(produced - chunk));
        at = text.size() - in_left;
        if (result == static_cast<size_t>(-1) && error != E2BIG) at += repair(text, at, out);
    }
    return out;
}

std::string convert_or_keep(const Converter& converter, std::string_view text, Repair repair) {
    if (is_ascii(text) || !converter.ok()) return std::string(text);
    return convert(converter, text, repair);
}

}  // namespace

std::string sjis_to_utf8(std::string_view text) { return convert_or_keep(cp932_decoder(), text, repair_cp932); }

std::string utf8_to_sjis(std::string_view text) { return convert_or_keep(cp932_encoder(), text, repair_utf8); }

std::string utf16be_to_sjis(std::string_view bytes) { return utf8_to_sjis(utf16be_to_utf8(bytes)); }

}  // namespace tova::enc
