// Statements that change the format of cells: fonts, fills, borders,
// alignment and text control, protection and number formats.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "api/work_area.hpp"
#include "model/styles.hpp"
#include "property/cell_appliers.hpp"

namespace tova::property {
namespace {

using model::Cell;

// A cell-format change on every cell of the rectangle; a full table is reported with the statement's word.
template <class Change>
int format_cells(StatementContext& ctx, std::string_view table, Change&& change) {
    return format_limit(ctx, for_each_cell(ctx, change), table, model::MAX_XF);
}

// Fonts.

constexpr int32_t kMaxFontSize = 409;

int apply_font_field(StatementContext& ctx, model::XLS_FONT& font, uint32_t& mask) {
    const std::string& value = ctx.value.sjis();
    switch (ctx.code) {
        case stmt::kFontName: {
            vocab::FontNameValue name = vocab::font_name(ctx.value);
            if (name.code == model::kOwnFontName && (name.name.empty() || !font.name.assign(name.name)))
                return refuse(ctx, kFailed, Msg::BadFont);
            font.code = static_cast<uint8_t>(name.code);
            mask = model::kFontName;
            return 0;
        }
        case stmt::kFontStyle: {
            auto style = vocab::lookup(vocab::Vocab::FontStyle, value);
            if (!style) return refuse(ctx, kFailed, Msg::BadFont);
            font.style = static_cast<uint8_t>(*style);
            mask = model::kFontStyle;
            return 0;
        }
        case stmt::kFontSize: {
            auto size = integer_of(value);
            if (!size || *size < 1 || *size > kMaxFontSize) return refuse(ctx, kBadArgument, Msg::BadFont);
            font.size = static_cast<uint16_t>(*size);
            mask = model::kFontSize;
            return 0;
        }
        default: {
            vocab::ColorValue color = vocab::color(value);
            if (!color.is_color()) return refuse(ctx, kFailed, Msg::BadColor);
            font.color = color.ref();
            mask = model::kFontColor;
            return 0;
        }
    }
}

// Fills.

int apply_fill_field(StatementContext& ctx, model::XLS_FILL& fill, uint32_t& mask) {
    const std::string& value = ctx.value.sjis();
    switch (ctx.code) {
        case stmt::kFillColor: {
            vocab::ColorValue color = vocab::color(value);
            if (!color.is_color()) return refuse(ctx, kFailed, Msg::BadColor);
            fill.pattern = model::kPatternSolid;
            fill.color = color.ref();
            mask = model::kFillColor;
            return 0;
        }
        case stmt::kFillPatternName:
            // A pattern outside the vocabulary is no pattern.
            fill.pattern = vocab::lookup(vocab::Vocab::FillPattern, value).value_or(model::kPatternNone);
            mask = model::kFillPattern;
            return 0;
        default: {
            // Only the colour words name a pattern colour; anything else is none.
            vocab::ColorValue color = vocab::color(value);
            fill.pattern_color = color.code >= 0 ? static_cast<uint32_t>(color.code) : 0;
            mask = model::kFillPatternColor;
            return 0;
        }
    }
}

// A gradient starts white to blue, horizontal, in its first variation.
constexpr model::ColorRef kGradientFirst{0, 0xFF, 0xFF, 0xFF};
constexpr model::ColorRef kGradientSecond{0, 0x4F, 0x81, 0xBD};
constexpr uint32_t kWholeGradient = model::kFillGradientColor1 | model::kFillGradientColor2 |
                                    model::kFillGradientKind | model::kFillGradientVariation;

int apply_gradient_field(StatementContext& ctx, model::XLS_FILL& fill, uint32_t& mask) {
    const std::string& value = ctx.value.sjis();
    switch (ctx.code) {
        case stmt::kFillGradationColor1:
        case stmt::kFillGradationColor2: {
            vocab::ColorValue color = vocab::color(value);
            if (!color.is_color()) return refuse(ctx, kFailed, Msg::BadColor);
            bool first = ctx.code == stmt::kFillGradationColor1;
            (first ? fill.color : fill.second_color) = color.ref_with_bytes();
            mask = first ? model::kFillGradientColor1 : model::kFillGradientColor2;
            return 0;
        }
        case stmt::kFillGradationKind: {
            auto kind = vocab::lookup(vocab::Vocab::GradientKind, value);
            if (!kind) return refuse(ctx, kFailed, Msg::BadGradation);
            fill.gradient_kind = static_cast<uint8_t>(*kind);
            mask = model::kFillGradientKind;
            return 0;
        }
        default: {
            auto variation = integer_of(value);
            if (!variation) return refuse(ctx, kBadArgument, Msg::BadGradation);
            fill.gradient_variation = static_cast<uint8_t>(*variation);  // kept in 8 bits
            mask = model::kFillGradientVariation;
            return 0;
        }
    }
}

bool has_gradient(const XLS_BOOK& book, const Cell& cell) {
    const auto& fills = model::styles_of(book).fills;
    int32_t fill = model::cell_format(book, cell).fill;
    return fills.contains(fill) && fills[fill].pattern == model::kPatternGradient;
}

// Borders.

struct BorderStatement {
    int32_t code;
    uint32_t lines;
};
constexpr BorderStatement kBorderStatements[] = {
    {stmt::kBorder, model::kBorderLeft | model::kBorderRight | model::kBorderTop | model::kBorderBottom},
    {stmt::kBorderLeft, model::kBorderLeft},
    {stmt::kBorderRight, model::kBorderRight},
    {stmt::kBorderTop, model::kBorderTop},
    {stmt::kBorderBottom, model::kBorderBottom},
    {stmt::kBorderDiagonalUp, model::kBorderDiagonalUp},
    {stmt::kBorderDiagonalDown, model::kBorderDiagonalDown},
};

struct BorderLine {
    uint32_t bit;
    uint8_t model::XLS_BORDER::*line;
};
constexpr BorderLine kBorderLines[] = {
    {model::kBorderLeft, &model::XLS_BORDER::left},
    {model::kBorderRight, &model::XLS_BORDER::right},
    {model::kBorderTop, &model::XLS_BORDER::top},
    {model::kBorderBottom, &model::XLS_BORDER::bottom},
    {model::kBorderDiagonalUp, &model::XLS_BORDER::diagonal_up},
    {model::kBorderDiagonalDown, &model::XLS_BORDER::diagonal_down},
};

int border_record(StatementContext& ctx, model::XLS_BORDER& border, uint32_t& mask) {
    if (ctx.code == stmt::kBorderColor) {
        vocab::ColorValue color = vocab::color(ctx.value.sjis());
        if (!color.is_color()) return refuse(ctx, kFailed, Msg::BadColor);
        border.color = color.ref();
        mask = model::kBorderColor;
        return 0;
    }
    auto style = vocab::lookup(vocab::Vocab::BorderStyle, ctx.value.sjis());
    if (!style) return refuse(ctx, kFailed, Msg::BadBorder);
    auto statement = std::find_if(std::begin(kBorderStatements), std::end(kBorderStatements),
                                  [&](const BorderStatement& s) { return s.code == ctx.code; });
    mask = statement->lines;
    for (const BorderLine& line : kBorderLines)
        if (mask & line.bit) border.*line.line = static_cast<uint8_t>(*style);
    return 0;
}

// Text control.

constexpr std::pair<int32_t, uint8_t> kTextControlBits[] = {
    {stmt::kWrap, model::kWrapText},
    {stmt::kRotation, model::kVerticalText},
    {stmt::kShrink, model::kShrinkToFit},
};

// Number formats.

// 1-based index of the number format of that kind and count of decimals,
// appended when missing; kTableFull with its message when the table is full.
int32_t number_format_index(StatementContext& ctx, uint16_t kind, int8_t decimals) {
    std::vector<model::XLS_NUMFMT>& numfmts = model::styles_of(ctx.book).numfmts;
    for (size_t i = 0; i < numfmts.size(); ++i)
        if (numfmts[i].kind == kind && numfmts[i].decimals == decimals) return static_cast<int32_t>(i) + 1;
    if (numfmts.size() >= model::TOB_MAX_NUMFORMAT)
        return fail(ctx.book, kTableFull, Msg::TooManyFormats, {static_cast<long long>(model::TOB_MAX_NUMFORMAT)});
    numfmts.push_back({.kind = kind, .decimals = decimals});
    return static_cast<int32_t>(numfmts.size());
}

// The cell becomes literal text, so that values stored in it later stay text.
// A text or number it holds stays what it shows; a date, time or formula keeps its value.
void make_literal_text(const XLS_BOOK& book, Cell& cell) {
    std::string shown;
    switch (cell.kind) {
        case model::kEmpty:
        case model::kLiteralText:
            shown = cell.text.view();
            break;
        case model::kSharedString: {
            const model::SharedStrings& strings = work_area(book)->book.strings;
            if (cell.number >= strings.in_memory()) return;  // streamed out: the text is no longer at hand
            shown = strings.at(cell.number);
            break;
        }
        case model::kInteger:
        case model::kDecimal:
            shown = model::cell_value_text(cell);
            break;
        default:
            return;
    }
    model::Value text;
    text.kind = model::kLiteralText;
    text.text = shown;
    model::store_value(cell, text);
}

// The column-style entry of a format: a cell format holding the number format, or -1 for text.
int column_style_of(StatementContext& ctx, int32_t numfmt_index, int32_t& style) {
    if (numfmt_index < 0) {
        style = -1;
        return 0;
    }
    Cell scratch;
    if (int rc = model::set_xf_numfmt(ctx.book, scratch, numfmt_index)) return format_limit(ctx, rc, "STYLE", model::MAX_XF);
    style = scratch.style;
    return 0;
}

int set_column_styles(StatementContext& ctx, int32_t numfmt_index) {
    int32_t style = 0;
    if (int rc = column_style_of(ctx, numfmt_index, style)) return rc;
    std::vector<int32_t>& styles = statement_sheet(ctx)->column_styles;
    const size_t needed = static_cast<size_t>(ctx.rect.last_column) + 1;
    if (styles.size() < needed) styles.resize(needed, 0);
    std::fill(styles.begin() + ctx.rect.first_column, styles.begin() + ctx.rect.last_column + 1, style);
    return 0;
}

}  // namespace

int apply_font(StatementContext& ctx) {
    model::XLS_FONT font;
    uint32_t mask = 0;
    if (int rc = apply_font_field(ctx, font, mask)) return rc;
    int rc = for_each_cell(ctx, [&](Cell& cell) { return model::set_xf_font(ctx.book, cell, font, mask); });
    const bool fonts_full = model::styles_of(ctx.book).fonts.size() >= model::MAX_FONT;
    return format_limit(ctx, rc, "Font Style", fonts_full ? model::MAX_FONT : model::MAX_XF);
}

int apply_fill(StatementContext& ctx) {
    model::XLS_FILL fill;
    uint32_t mask = 0;
    if (int rc = apply_fill_field(ctx, fill, mask)) return rc;
    return format_cells(ctx, "Fill Style", [&](Cell& cell) { return model::set_xf_fill(ctx.book, cell, fill, mask); });
}

int apply_gradient(StatementContext& ctx) {
    model::XLS_FILL fill{.pattern = model::kPatternGradient,
                         .color = kGradientFirst,
                         .gradient_variation = 1,
                         .second_color = kGradientSecond};
    uint32_t mask = 0;
    if (int rc = apply_gradient_field(ctx, fill, mask)) return rc;
    // A cell that has no gradient yet takes the whole record, so its other stops are the defaults.
    return format_cells(ctx, "Fill Style", [&](Cell& cell) {
        return model::set_xf_fill(ctx.book, cell, fill, has_gradient(ctx.book, cell) ? mask : kWholeGradient);
    });
}

int apply_border(StatementContext& ctx) {
    model::XLS_BORDER border;
    uint32_t mask = 0;
    if (int rc = border_record(ctx, border, mask)) return rc;
    const XLS_RECT& r = ctx.rect;
    int rc = model::set_border_range(ctx.book, r.first_row, r.last_row, r.first_column, r.last_column, mask, border);
    if (rc == kFailed) return internal_error(ctx.book, "set_border_range()");
    return format_limit(ctx, rc, "Border Style", model::MAX_XF);
}

int apply_alignment(StatementContext& ctx) {
    auto alignment = vocab::lookup(vocab::Vocab::Alignment, ctx.value.sjis());
    if (!alignment) return refuse(ctx, kFailed, Msg::BadAlign);
    return format_cells(ctx, "Align Style", [&](Cell& cell) {
        return model::set_xf_alignment(ctx.book, cell, static_cast<uint8_t>(*alignment));
    });
}

// The text-control byte holds one of wrap, vertical text and shrink: the last statement wins.
int apply_text_control(StatementContext& ctx) {
    auto yes = vocab::yes_no(ctx.value.sjis());
    if (!yes) return refuse(ctx, kBadArgument, Msg::UnsupportedKeyword);
    if (!*yes) return 0;
    auto entry = std::find_if(std::begin(kTextControlBits), std::end(kTextControlBits),
                              [&](const auto& e) { return e.first == ctx.code; });
    const uint8_t bits = entry->second;
    return format_cells(ctx, "STYLE", [&](Cell& cell) { return model::set_xf_text_control(ctx.book, cell, bits); });
}

int apply_unprotect(StatementContext& ctx) {
    const uint8_t unlocked = vocab::yes_no(ctx.value.sjis()).value_or(false) ? 1 : 0;
    return format_cells(ctx, "STYLE", [&](Cell& cell) { return model::set_xf_unlocked(ctx.book, cell, unlocked); });
}

int apply_direction(StatementContext& ctx) {
    auto degrees = integer_of(ctx.value.sjis());
    if (!degrees || *degrees < -90 || *degrees > 90) return refuse(ctx, kBadArgument, Msg::BadDirection);
    // Downward angles are kept as 91-180, the way the file writes them.
    const int32_t rotation = *degrees >= 0 ? *degrees : 90 - *degrees;
    return format_cells(ctx, "STYLE", [&](Cell& cell) { return model::set_xf_rotation(ctx.book, cell, rotation); });
}

int apply_indent(StatementContext& ctx) {
    auto indent = integer_of(ctx.value.sjis());
    if (!indent || *indent < 0 || *indent > 250) return refuse(ctx, kBadArgument, Msg::BadIndent);
    return format_cells(ctx, "STYLE", [&](Cell& cell) { return model::set_xf_indent(ctx.book, cell, *indent); });
}

int apply_format(StatementContext& ctx) {
    auto format = vocab::number_format(ctx.value.sjis());
    if (!format) return refuse(ctx, kFailed, Msg::BadFormat);
    int32_t index = -1;
    if (format->kind != vocab::kFormatText) {
        index = number_format_index(ctx, static_cast<uint16_t>(format->kind),
                                    static_cast<int8_t>(format->decimals.value_or(0)));
        if (index < 0) return index;
    }
    if (ctx.column_target)
        if (int rc = set_column_styles(ctx, index)) return rc;
    if (index < 0) {
        model::Sheet& sheet = *statement_sheet(ctx);
        for (int32_t row = ctx.rect.first_row; row <= ctx.rect.last_row; ++row)
            for (int32_t column = ctx.rect.first_column; column <= ctx.rect.last_column; ++column)
                if (Cell* cell = model::find_cell(sheet, row, column)) make_literal_text(ctx.book, *cell);
        return 0;
    }
    return format_cells(ctx, "STYLE", [&](Cell& cell) { return model::set_xf_numfmt(ctx.book, cell, index); });
}

}  // namespace tova::property
