// What the appliers share: the statement's sheet, refusing a value, reading
// numbers, yes/no and font values; and the tables of the sheet statements.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "api/call_frame.hpp"
#include "model/sheet.hpp"
#include "property/appliers.hpp"

namespace tova::property {

// The tables of each theme; sheet_appliers() joins them.
std::span<const ApplierEntry> book_appliers();
std::span<const ApplierEntry> sheet_view_appliers();
std::span<const ApplierEntry> page_appliers();
std::span<const ApplierEntry> header_footer_appliers();

// TEMPLATE: builds the book on a template package.
int apply_template(StatementContext& c);

// The statement's sheet, or null when the book has no sheet.
model::Sheet* statement_sheet(StatementContext& c);

// Runs a statement on its sheet; -901 when the book has none.
template <int (*Apply)(StatementContext&, model::Sheet&)>
int on_sheet(StatementContext& c) {
    model::Sheet* sheet = statement_sheet(c);
    return sheet ? Apply(c, *sheet) : fail_silently(c.book, kNoCurrentSheet);
}

// Fails with a message that quotes the statement's value.
int refuse(StatementContext& c, int code, Msg id);

// A text that passes is_number_text, read as a number (commas ignored); its
// integer part (saturated to int32_t).
std::optional<double> number_of(std::string_view text);
std::optional<int32_t> integer_of(std::string_view text);

// The value as yes or no; otherwise TOVA-02200, -3.
int read_yes_no(StatementContext& c, bool& yes);
// The value's integer part, or the value as a decimal; otherwise TOVA-02302, -3.
int read_integer(StatementContext& c, int32_t& out);
int read_decimal(StatementContext& c, double& out);

// One field of a font record from a font statement's value. A name outside the
// font-name vocabulary is the font's own name only where own_names allows it.
// 0, or TOVA-02403 (TOVA-02401 for a colour) with the font unchanged.
enum class FontField { Name, Size, Style, Color };
struct FontRules {
    bool own_names;
    int bad_size;  // the code a bad size fails with
};
int set_font_field(StatementContext& c, model::XLS_FONT& font, FontField field, const FontRules& rules);

}  // namespace tova::property
