#include "property/cell_statements.hpp"

#include <cstdlib>
#include <ctime>
#include <string>

#include "api/arglist.hpp"
#include "api/call_frame.hpp"
#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "model/cell_ref.hpp"
#include "model/cell_store.hpp"
#include "model/styles.hpp"
#include "platform/ascii.hpp"
#include "platform/encoding.hpp"
#include "property/value_classifier.hpp"

namespace tova::property {
namespace {

using model::Cell;
using model::Sheet;

constexpr size_t kMaxValueBytes = 65534;        // XLS_CELL_LEN
constexpr size_t kMaxCellCharacters = 32767;    // what a spreadsheet cell holds
constexpr size_t kCutCellCharacters = 32766;
constexpr int32_t kTextNumberFormat = 49;       // "@"

bool is_text_format(const XLS_BOOK& book, int32_t style) {
    const auto& xfs = model::styles_of(book).xfs;
    if (style <= 0 || !xfs.contains(style - 1)) return false;
    const model::XLS_XF& xf = xfs[style - 1];
    return xf.numfmt_kind == model::kNumFmtBuiltinId && xf.numfmt == kTextNumberFormat;
}

int32_t column_style(const Sheet& sheet, int32_t column) {
    return column < static_cast<int32_t>(sheet.column_styles.size()) ? sheet.column_styles[column] : 0;
}

// "\n" becomes a line break and "\\" one backslash; true when a line break was made.
bool unescape_line_breaks(std::string& text) {
    std::string out;
    out.reserve(text.size());
    bool broke = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
            if (text[i + 1] == 'n') {
                out += "\r\n";
                broke = true;
            } else {
                out += '\\';
            }
            ++i;
        } else {
            out += text[i];
        }
    }
    text.swap(out);
    return broke;
}

model::Value value_of(const Classified& c, uint8_t kind) {
    model::Value v;
    v.kind = kind;
    v.integer = c.integer;
    v.real = c.real;
    v.decimals = c.decimals;
    v.date = c.date;
    return v;
}

uint8_t date_kind(ValueKind kind) {
    switch (kind) {
        case ValueKind::Date: return model::kDate;
        case ValueKind::DateTime: return model::kDateTime;
        case ValueKind::Time: return model::kTime;
        default: return model::kTimeSeconds;
    }
}

int builtin_for(uint8_t kind) {
    switch (kind) {
        case model::kDate: return model::kBuiltinDate;
        case model::kDateTime: return model::kBuiltinDateTime;
        case model::kTime: return model::kBuiltinTime;
        default: return model::kBuiltinElapsedTime;
    }
}

// Display width of a value: 1.25 per single-byte character, 2.5 per wider one.
double display_width(std::string_view text) {
    double width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        int trail = enc::mb_trail_bytes(enc::kUtf8, static_cast<unsigned char>(text[i]), i);
        width += trail == 0 ? 1.25 : 2.5;
    }
    return static_cast<int>(width);
}

void widen_column(Sheet& sheet, int32_t column, std::string_view text) {
    double w = display_width(text);
    if (column >= static_cast<int32_t>(sheet.column_widths.size())) return;
    if (w > sheet.column_widths[column]) {
        sheet.column_widths[column] = w + 0.625;
        sheet.properties.options[0] = 0;
    }
}

// Numbers and formulas without a format are aligned bottom right.
int give_number_style(XLS_BOOK& book, Cell& cell) {
    int32_t& memo = model::styles_of(book).number_style;
    if (memo > 0) {
        cell.style = memo;
        return 0;
    }
    int rc = model::set_xf_alignment(book, cell, 33);
    if (rc == 0) memo = cell.style;
    return rc;
}

int store_text(XLS_BOOK& book, Cell& cell, std::string text) {
    if (unescape_line_breaks(text)) {
        uint8_t bits = model::cell_format(book, cell).text_control | model::kWrapText;
        if (int rc = model::set_xf_text_control(book, cell, bits)) return rc;
    }
    int32_t index = model::tob_add_sst(book, text);
    if (index < 0) return index;
    model::Value v;
    v.kind = model::kSharedString;
    v.string_index = index;
    return model::store_value(cell, v);
}

}  // namespace

int tob_put_cell(XLS_BOOK& book, int32_t sheet_index, int32_t row, int32_t column, std::string_view value) {
    Sheet& sheet = work_area(book)->book.sheets[sheet_index];
    Cell* cell = model::ensure_cell(sheet, row, column);
    if (cell == nullptr) return kFailed;
    const bool template_mode = flag_on(book, XLS_FLAG_TEMPLATE_MODE);
    const int32_t col_style = column_style(sheet, column);

    const bool text_format =
        template_mode && is_text_format(book, cell->style > 0 ? cell->style : col_style);
    const bool force_text = text_format || cell->kind == model::kLiteralText || col_style < 0;
    Classified c = classify_value(value, text_format, force_text);
    if (c.kind == ValueKind::Empty) return kNothing;

    if (col_style > 0 && cell->style <= 0) cell->style = model::combine_xf(book, cell->style, col_style);
    const bool default_format = cell->style <= 0 && !template_mode;

    switch (c.kind) {
        case ValueKind::Integer:
        case ValueKind::Decimal: {
            model::store_value(*cell, value_of(c, c.kind == ValueKind::Integer ? model::kInteger : model::kDecimal));
            if (default_format)
                if (give_number_style(book, *cell) != 0) return kFailed;
            break;
        }
        case ValueKind::Percent:
            model::store_value(*cell, value_of(c, model::kPercent));
            break;
        case ValueKind::Date:
        case ValueKind::DateTime:
        case ValueKind::Time:
        case ValueKind::TimeSeconds: {
            uint8_t kind = date_kind(c.kind);
            if (model::store_value(*cell, value_of(c, kind)) != 0) {
                std::string text(value);
                args::remove_quotes(text);
                if (int rc = store_text(book, *cell, text)) return rc;
                break;
            }
            if (default_format) cell->style = book.builtin_xf[builtin_for(kind)];
            break;
        }
        case ValueKind::Formula: {
            std::string formula = c.text;
            model::substitute_rownum(book, formula);
            std::string escaped;
            enc::xml_escape_append(escaped, formula, enc::XML_ESCAPE);
            model::Value v;
            v.kind = model::kFormula;
            v.text = escaped;
            model::store_value(*cell, v);
            if (default_format)
                if (give_number_style(book, *cell) != 0) return kFailed;
            break;
        }
        default:
            if (int rc = store_text(book, *cell, c.text)) return rc;
            break;
    }

    if (flag_on(book, XLS_FLAG_AUTO_WIDTH) && c.kind != ValueKind::Percent && c.kind != ValueKind::Time &&
        c.kind != ValueKind::TimeSeconds && c.kind != ValueKind::Formula)
        widen_column(sheet, column, c.kind == ValueKind::Text ? std::string_view(c.text) : value);
    book.cur_row = row;
    book.cur_column = column;
    return 0;
}

std::string local_timestamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

namespace {


// "\$name" is the literal text; $SYSDATETIME and $SYSDATE the local time; any
// other "$name" an environment variable, else a book variable, else as written.
std::string substitute_dollar_name(const XLS_BOOK& book, std::string_view value) {
    if (value.size() >= 2 && value[0] == '\\' && value[1] == '$') return std::string(value.substr(1));
    if (value.empty() || value[0] != '$') return std::string(value);
    if (equals_ignoring_case(value, "$SYSDATETIME")) return local_timestamp();
    if (equals_ignoring_case(value, "$SYSDATE")) return local_timestamp().substr(0, 10);
    if (value.size() >= 82) return std::string(value);
    std::string name(value.substr(1));
    if (const char* env = std::getenv(name.c_str())) return env;
    if (auto variable = model::tob_get_resource(book, name)) return std::string(*variable);
    return std::string(value);
}

// Cuts a text of more characters than a cell holds, on a character boundary.
void limit_cell_length(std::string& text) {
    if (text.size() <= kMaxCellCharacters) return;
    if (enc::utf8_char_count(text) <= kMaxCellCharacters) return;
    size_t at = 0;
    for (size_t n = 0; n < kCutCellCharacters && at < text.size(); ++n) at = enc::next_char(enc::kUtf8, text, at);
    bool quoted = text.front() == '"';
    text.resize(at);
    if (quoted) text += '"';
}

}  // namespace

int put_cell(XLS_BOOK& book, std::string_view reference, std::string_view value) {
    int32_t row = 0, column = 0;
    if (model::parse_cell_ref(book, -1, reference, row, column) != 0)
        return fail(book, kBadArgument, Msg::BadCell, {std::string_view(quoted(charset_of(book), reference))});
    return put_cell_at(book, row, column, reference, value);
}

int put_cell_at(XLS_BOOK& book, int32_t row, int32_t column, std::string_view reference, std::string_view value) {
    WorkArea& area = *work_area(book);
    auto bad_cell = [&] { return fail(book, kBadArgument, Msg::BadCell, {std::string_view(quoted(area.charset, reference))}); };
    if (book.cur_sheet < 0 || book.cur_sheet >= static_cast<int32_t>(area.book.sheets.size())) return bad_cell();
    book.cur_row = row;
    book.cur_column = column;
    Cell* cell = model::ensure_cell(area.book.sheets[book.cur_sheet], row, column);
    if (cell == nullptr) return bad_cell();  // the row went to the rows file already
    if (flag_on(book, XLS_FLAG_TEMPLATE_MODE) && cell->has_formula()) {
        std::string name;
        model::format_cell_name(row, column, name);
        return fail(book, kBadArgument, Msg::TemplateFormulaCell, {std::string_view(name)});
    }
    if (value.size() > kMaxValueBytes)
        return fail(book, kDoesNotFit, Msg::BufferOverflow, {65534LL, std::string_view("XLS_CELL_LEN")});

    std::string text = enc::conv_charset(area.charset, enc::kUtf8, substitute_dollar_name(book, value));
    limit_cell_length(text);
    int rc = tob_put_cell(book, book.cur_sheet, row, column, text);
    if (rc == kNothing) {
        model::ensure_cell(area.book.sheets[book.cur_sheet], row, column)->clear_value();
        return 0;
    }
    if (rc == kNoMemory) return fail(book, kNoMemory, Msg::OutOfMemory);
    if (rc == -9) return kDoesNotFit;
    if (rc != 0) {
        std::string what = "tob_put_cell() return=" + std::to_string(rc);
        return fail(book, kFailed, Msg::InternalError, {std::string_view(what)});
    }
    return 0;
}

}  // namespace tova::property
