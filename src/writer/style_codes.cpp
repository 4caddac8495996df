#include "writer/style_codes.hpp"

namespace tova::writer {
namespace {

struct PaletteEntry {
    int32_t code;
    uint32_t rgb;
};

constexpr PaletteEntry kPalette[] = {
    {1, 0x808080},  {2, 0xC0C0C0},  {3, 0xFFFFFF},  {11, 0xFF0000}, {12, 0xFFFF00}, {13, 0x00FF00},
    {14, 0x00FFFF}, {15, 0x0000FF}, {16, 0xFF00FF}, {21, 0x800000}, {22, 0x808000}, {23, 0x008000},
    {24, 0x008080}, {25, 0x000080}, {26, 0x800080}, {31, 0xFFCCCC}, {32, 0xFFFFCC}, {33, 0xCCFFCC},
    {34, 0xCCFFFF}, {35, 0xCCCCFF}, {36, 0xFFCCFF},
};

constexpr std::string_view kPatterns[] = {
    "none",         "solid",         "darkGray",       "mediumGray",   "lightGray",  "gray125",    "gray0625",
    "darkHorizontal", "darkVertical", "darkDown",       "darkUp",       "darkGrid",   "darkTrellis", "lightHorizontal",
    "lightVertical", "lightDown",     "lightUp",        "lightGrid",    "lightTrellis",
};

struct Named {
    int32_t code;
    std::string_view name;
};

constexpr Named kBorderStyles[] = {
    {1, "thin"},          {2, "hair"},           {3, "thick"},          {4, "dotted"},
    {5, "medium"},        {6, "double"},         {11, "dashed"},        {12, "dashDot"},
    {13, "dashDotDot"},   {21, "mediumDashed"},  {22, "mediumDashDot"}, {23, "mediumDashDotDot"},
    {31, "slantDashDot"},
};

constexpr Named kFontNames[] = {
    {11, "ＭＳゴシック"},  {20, "ＭＳ Ｐ明朝"},   {21, "ＭＳ明朝"},     {31, "HGP創英角ﾎﾟｯﾌﾟ体"},
    {32, "HGP教科書体"},   {33, "HGP行書体"},     {100, "フォント1"},  {101, "フォント2"},
    {102, "フォント3"},
};
constexpr std::string_view kDefaultFont = "ＭＳ Ｐゴシック";

uint32_t palette_value(int32_t code) {
    for (const auto& entry : kPalette)
        if (entry.code == code) return entry.rgb;
    return 0;
}

std::string hex6(uint32_t rgb) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out(6, '0');
    for (int i = 5; i >= 0; --i, rgb >>= 4) out[i] = kDigits[rgb & 0xF];
    return out;
}

}  // namespace

std::string palette_hex(int32_t code) { return hex6(palette_value(code)); }

std::string rgb_hex(const uint8_t rgb[3]) {
    return hex6((static_cast<uint32_t>(rgb[0]) << 16) | (static_cast<uint32_t>(rgb[1]) << 8) | rgb[2]);
}

void palette_rgb(int32_t code, uint8_t rgb[3]) {
    uint32_t value = palette_value(code);
    rgb[0] = static_cast<uint8_t>(value >> 16);
    rgb[1] = static_cast<uint8_t>(value >> 8);
    rgb[2] = static_cast<uint8_t>(value);
}

std::string_view pattern_name(int32_t code) {
    return code >= 1 && code < static_cast<int32_t>(std::size(kPatterns)) ? kPatterns[code] : kPatterns[0];
}

std::string_view border_style_name(int32_t code) {
    for (const auto& entry : kBorderStyles)
        if (entry.code == code) return entry.name;
    return "thin";
}

std::string_view font_name(int32_t code) {
    for (const auto& entry : kFontNames)
        if (entry.code == code) return entry.name;
    return kDefaultFont;
}

}  // namespace tova::writer
