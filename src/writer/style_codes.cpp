#include "writer/style_codes.hpp"

#include <charconv>

#include "model/styles.hpp"
#include "property/vocab.hpp"

namespace tova::writer {
namespace {

struct Named {
    int32_t code;
    std::string_view name;
};

constexpr Named kFontNames[] = {
    {11, "ＭＳゴシック"},  {20, "ＭＳ Ｐ明朝"},   {21, "ＭＳ明朝"},     {31, "HGP創英角ﾎﾟｯﾌﾟ体"},
    {32, "HGP教科書体"},   {33, "HGP行書体"},     {100, "フォント1"},  {101, "フォント2"},
    {102, "フォント3"},
};
constexpr std::string_view kDefaultFont = "ＭＳ Ｐゴシック";

// Custom number formats by display kind. In a code, {d} stands for the
// decimal text ("0", "0.0", "0.00", ...) and {c} for the currency text: a
// quoted backslash, which a Japanese font shows as the yen sign.
struct NumberFormatTemplate {
    uint16_t kind;
    std::string_view code;
    bool spaced_close = false;
};

constexpr NumberFormatTemplate kNumberFormats[] = {
    {101, R"~({d}_);\({d}\))~"},
    {102, R"~({d}_);[Red]\({d}\))~"},
    {103, R"~({d};[Red]{d})~"},
    {104, R"~({d}_ ;[Red]\-{d}\ )~"},
    {105, R"~({d};"△ "{d})~"},
    {106, R"~({d};"▲ "{d})~"},
    {107, R"~(#,##{d}_ )~"},
    {108, R"~(#,##{d}_);[Red]\(#,##{d}\))~"},
    {201, R"~({c}#,##{d};{c}\-#,##{d})~"},
    {202, R"~({c}#,##{d};[Red]{c}\-#,##{d})~"},
    {203, R"~({c}#,##{d};[Red]{c}#,##{d})~"},
    {204, R"~({c}#,##{d}_);\({c}#,##{d}\))~"},
    {205, R"~({c}#,##{d};[Red]{c};#,##{d})~"},
    {302, R"~(yyyy/m/d;@)~"},
    {303, R"~(yyyy/m/d\ h:mm;@)~"},
    {331, R"~(m"月"d"日";@)~"},
    {333, R"~(yyyy"年"m"月"d"日";@)~"},
    {334, R"~([$-411]ge\.m\.d;@)~"},
    {335, R"~([$-411]ggge"年"m"月"d"日";@)~"},
    {400, R"~(h"時"mm"分";@)~"},
    {402, R"~(h"時"mm"分";@)~"},
    {500, R"~({d}%)~"},
    {501, R"~({d}%)~"},
    {510, R"~([<=999]000;[<=9999]000\-00;000\-0000)~", true},
    {511, R"~("△"\ #,##0;"▲"\ #,##0)~", true},
    {512, R"~([DBNum1][$-411]General)~", true},
    {513, R"~([DBNum2][$-411]General)~", true},
    {514, R"~([DBNum3][$-411]0)~", true},
    {515, R"~([DBNum3][$-411]#,##0)~", true},
};
constexpr NumberFormatTemplate kPlainDecimals{0, "{d}"};
constexpr uint16_t kBuiltinKinds[] = {100, 200, 300, 404};

constexpr std::string_view kCurrencyText = R"~("\")~";

const NumberFormatTemplate& number_format_template(uint16_t kind) {
    for (const auto& entry : kNumberFormats)
        if (entry.kind == kind) return entry;
    return kPlainDecimals;
}

std::string decimal_text(int8_t decimals) {
    if (decimals <= 0) return "0";
    return "0." + std::string(static_cast<size_t>(decimals), '0');
}

std::string expand(std::string_view code, std::string_view decimals) {
    std::string out;
    for (size_t i = 0; i < code.size(); ++i) {
        if (code.substr(i, 3) == "{d}") {
            out += decimals;
            i += 2;
        } else if (code.substr(i, 3) == "{c}") {
            out += kCurrencyText;
            i += 2;
        } else {
            out += code[i];
        }
    }
    return out;
}

// The palette is the colour vocabulary's: each word carries its RGB digits.
uint32_t palette_value(int32_t code) {
    const vocab::VocabWord* word = code >= 0 ? vocab::word_of_code(vocab::Vocab::Color, code) : nullptr;
    uint32_t rgb = 0;
    if (word != nullptr) std::from_chars(word->token.data(), word->token.data() + word->token.size(), rgb, 16);
    return rgb;
}

std::string hex6(uint32_t rgb, bool lower = false) {
    const char* digits = lower ? "0123456789abcdef" : "0123456789ABCDEF";
    std::string out(6, '0');
    for (int i = 5; i >= 0; --i, rgb >>= 4) out[i] = digits[rgb & 0xF];
    return out;
}

}  // namespace

std::string palette_hex(int32_t code) { return hex6(palette_value(code)); }

std::string palette_hex_lower(int32_t code) { return hex6(palette_value(code), true); }

std::string color_hex(const model::ColorRef& color) {
    if (color.code != model::kExplicitRgb) return palette_hex(static_cast<int32_t>(color.code));
    const uint8_t bytes[3] = {color.red, color.green, color.blue};
    return rgb_hex(bytes);
}

std::string rgb_hex(const uint8_t rgb[3]) {
    return hex6((static_cast<uint32_t>(rgb[0]) << 16) | (static_cast<uint32_t>(rgb[1]) << 8) | rgb[2]);
}

void palette_rgb(int32_t code, uint8_t rgb[3]) {
    uint32_t value = palette_value(code);
    rgb[0] = static_cast<uint8_t>(value >> 16);
    rgb[1] = static_cast<uint8_t>(value >> 8);
    rgb[2] = static_cast<uint8_t>(value);
}

// Pattern and line-style names are the English words of their vocabularies.
std::string_view pattern_name(int32_t code) {
    const vocab::VocabWord* word = vocab::word_of_code(vocab::Vocab::FillPattern, code);
    return word != nullptr ? word->english : "none";
}

std::string_view border_style_name(int32_t code) {
    const vocab::VocabWord* word = vocab::word_of_code(vocab::Vocab::BorderStyle, code);
    return word != nullptr ? word->english : "thin";
}

std::string_view font_name(int32_t code) {
    for (const auto& entry : kFontNames)
        if (entry.code == code) return entry.name;
    return kDefaultFont;
}

std::optional<NumberFormatCode> number_format_code(uint16_t kind, int8_t decimals) {
    for (uint16_t builtin : kBuiltinKinds)
        if (builtin == kind) return std::nullopt;
    const NumberFormatTemplate& entry = number_format_template(kind);
    return NumberFormatCode{expand(entry.code, decimal_text(decimals)), entry.spaced_close};
}

}  // namespace tova::writer
