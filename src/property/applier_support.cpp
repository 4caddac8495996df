#include "property/applier_support.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "api/work_area.hpp"
#include "model/cell_ref.hpp"

namespace tova::property {

constexpr int32_t kLargestFontSize = 409;  // points, as the spreadsheet application allows

model::Sheet* statement_sheet(StatementContext& c) {
    auto& sheets = work_area(c.book)->book.sheets;
    return c.sheet >= 0 && c.sheet < static_cast<int32_t>(sheets.size()) ? &sheets[c.sheet] : nullptr;
}

int refuse(StatementContext& c, int code, Msg id) { return fail(c.book, code, id, {std::string_view(c.value.sjis())}); }

std::optional<double> number_of(std::string_view text) {
    if (!model::is_number_text(text)) return std::nullopt;
    std::string digits;
    for (char ch : text)
        if (ch != ',' && ch != '+') digits += ch;
    double value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int32_t> integer_of(std::string_view text) {
    auto number = number_of(text);
    if (!number) return std::nullopt;
    constexpr double kLow = std::numeric_limits<int32_t>::min(), kHigh = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(std::trunc(*number), kLow, kHigh));
}

int read_yes_no(StatementContext& c, bool& yes) {
    auto answer = vocab::yes_no(c.value.sjis());
    if (!answer) return refuse(c, kBadArgument, Msg::UnsupportedKeyword);
    yes = *answer;
    return 0;
}

int read_integer(StatementContext& c, int32_t& out) {
    auto number = integer_of(c.value.sjis());
    if (!number) return refuse(c, kBadArgument, Msg::BadNumber);
    out = *number;
    return 0;
}

int read_decimal(StatementContext& c, double& out) {
    auto number = number_of(c.value.sjis());
    if (!number) return refuse(c, kBadArgument, Msg::BadNumber);
    out = *number;
    return 0;
}

int set_font_field(StatementContext& c, model::XLS_FONT& font, FontField field, const FontRules& rules) {
    const std::string& sjis = c.value.sjis();
    switch (field) {
        case FontField::Name: {
            if (auto code = vocab::lookup(vocab::Vocab::FontName, sjis)) {
                font.code = static_cast<uint8_t>(*code);
                font.name = {};
                return 0;
            }
            if (!rules.own_names || !font.name.assign(c.value.utf8())) return refuse(c, kFailed, Msg::BadFont);
            font.code = model::kOwnFontName;
            return 0;
        }
        case FontField::Size: {
            auto size = integer_of(sjis);
            if (!size || *size < 1 || *size > kLargestFontSize) return refuse(c, rules.bad_size, Msg::BadFont);
            font.size = static_cast<uint16_t>(*size);
            return 0;
        }
        case FontField::Style: {
            auto style = vocab::lookup(vocab::Vocab::FontStyle, sjis);
            if (!style) return refuse(c, kFailed, Msg::BadFont);
            font.style = static_cast<uint8_t>(*style);
            return 0;
        }
        case FontField::Color: {
            vocab::ColorValue color = vocab::color(sjis);
            if (!color.is_color()) return refuse(c, kFailed, Msg::BadColor);
            font.color = color.ref();
            return 0;
        }
    }
    return 0;
}

}  // namespace tova::property
