// Slot setters: one changed part of a cell's format, interned.
#include <utility>

#include "api/work_area.hpp"
#include "model/cell_store.hpp"
#include "model/styles.hpp"

namespace tova::model {
namespace {

// Drops the fonts, fills and borders one change appended unless the change
// ends with a cell pointing at them, so a failure leaves the tables as they were.
class AppendRollback {
public:
    explicit AppendRollback(StyleRegistry& styles)
        : styles_(styles), fonts_(styles.fonts.size()), fills_(styles.fills.size()), borders_(styles.borders.size()) {}
    AppendRollback(const AppendRollback&) = delete;
    AppendRollback& operator=(const AppendRollback&) = delete;
    ~AppendRollback() {
        if (committed_) return;
        styles_.fonts.truncate(fonts_);
        styles_.fills.truncate(fills_);
        styles_.borders.truncate(borders_);
    }
    void commit() { committed_ = true; }

private:
    StyleRegistry& styles_;
    int32_t fonts_, fills_, borders_;
    bool committed_ = false;
};

const XLS_XF& current_xf(const StyleRegistry& styles, const Cell& cell) {
    return cell.style > 0 && styles.xfs.contains(cell.style - 1) ? styles.xfs[cell.style - 1] : styles.default_xf;
}

// The record a format refers to, or a fresh one when the index names none.
template <class Record>
Record referred(const InternTable<Record>& table, int32_t index) {
    return table.contains(index) ? table[index] : Record{};
}

template <class Record>
int32_t intern(XLS_BOOK& book, const Record& record, int32_t (*find)(const XLS_BOOK&, const Record&),
               int32_t (*append)(XLS_BOOK&, const Record&)) {
    int32_t index = find(book, record);
    return index >= 0 ? index : append(book, record);
}

// Builds the cell's new format with `change` (which may intern the records it
// refers to and answers 0 or a failure), interns it and points the cell at it.
template <class Change>
int change_format(XLS_BOOK& book, Cell& cell, Change&& change) {
    StyleRegistry& styles = styles_of(book);
    AppendRollback rollback(styles);
    XLS_XF xf = current_xf(styles, cell);
    if (int rc = change(xf); rc < 0) return rc;
    int32_t index = intern(book, xf, find_xf, tob_set_xf);
    if (index < 0) return index;
    rollback.commit();
    cell.style = index + 1;
    return 0;
}

XLS_FONT masked_font(XLS_FONT font, const XLS_FONT& value, uint32_t mask) {
    if (mask & kFontName) {
        font.code = value.code;
        font.name = value.name;
    }
    if (mask & kFontSize) font.size = value.size;
    if (mask & kFontStyle) font.style = value.style;
    if (mask & kFontColor) font.color = value.color;
    return font;
}

constexpr uint32_t kGradientParts = kFillGradientColor1 | kFillGradientColor2 | kFillGradientKind | kFillGradientVariation;

XLS_FILL masked_fill(XLS_FILL fill, const XLS_FILL& value, uint32_t mask) {
    if (mask & kFillPattern) fill.pattern = value.pattern;
    if (mask & (kFillColor | kFillGradientColor1)) fill.color = value.color;
    if ((mask & kFillColor) && fill.pattern == kPatternNone) fill.pattern = kPatternSolid;
    if (mask & kFillPatternColor) fill.pattern_color = value.pattern_color;
    if (mask & kFillGradientColor2) fill.second_color = value.second_color;
    if (mask & kFillGradientKind) fill.gradient_kind = value.gradient_kind;
    if (mask & kFillGradientVariation) fill.gradient_variation = value.gradient_variation;
    if (mask & kGradientParts) fill.pattern = kPatternGradient;
    return fill;
}

constexpr std::pair<uint32_t, uint8_t XLS_BORDER::*> kBorderLines[] = {
    {kBorderLeft, &XLS_BORDER::left},
    {kBorderRight, &XLS_BORDER::right},
    {kBorderTop, &XLS_BORDER::top},
    {kBorderBottom, &XLS_BORDER::bottom},
    {kBorderDiagonalUp, &XLS_BORDER::diagonal_up},
    {kBorderDiagonalDown, &XLS_BORDER::diagonal_down},
};

XLS_BORDER merged_border(const StyleRegistry& styles, const XLS_XF& xf, const XLS_BORDER& value, uint32_t mask) {
    if (xf.border <= 0 || !styles.borders.contains(xf.border - 1)) return value;
    XLS_BORDER border = styles.borders[xf.border - 1];
    for (const auto& [bit, line] : kBorderLines)
        if (mask & bit) border.*line = value.*line;
    if (mask & kBorderColor) border.color = value.color;
    return border;
}

int set_xf_border(XLS_BOOK& book, Cell& cell, const XLS_BORDER& value, uint32_t mask) {
    return change_format(book, cell, [&](XLS_XF& xf) {
        xf.border = intern(book, merged_border(styles_of(book), xf, value, mask), find_border, add_border);
        return 0;
    });
}

}  // namespace

int set_xf_alignment(XLS_BOOK& book, Cell& cell, uint8_t alignment) {
    return change_format(book, cell, [&](XLS_XF& xf) { xf.alignment = alignment; return 0; });
}

int set_xf_text_control(XLS_BOOK& book, Cell& cell, uint8_t bits) {
    return change_format(book, cell, [&](XLS_XF& xf) { xf.text_control = bits; return 0; });
}

int set_xf_unlocked(XLS_BOOK& book, Cell& cell, uint8_t unlocked) {
    return change_format(book, cell, [&](XLS_XF& xf) { xf.unlocked = unlocked; return 0; });
}

int set_xf_rotation(XLS_BOOK& book, Cell& cell, int32_t rotation) {
    return change_format(book, cell, [&](XLS_XF& xf) { xf.rotation = rotation; return 0; });
}

int set_xf_indent(XLS_BOOK& book, Cell& cell, int32_t indent) {
    return change_format(book, cell, [&](XLS_XF& xf) { xf.indent = indent; return 0; });
}

int set_xf_numfmt(XLS_BOOK& book, Cell& cell, int32_t numfmt_index) {
    return change_format(book, cell, [&](XLS_XF& xf) {
        xf.numfmt = numfmt_index;
        xf.numfmt_kind = kNumFmtTableIndex;
        return 0;
    });
}

int set_xf_font(XLS_BOOK& book, Cell& cell, const XLS_FONT& font, uint32_t mask) {
    return change_format(book, cell, [&](XLS_XF& xf) {
        int32_t index = intern(book, masked_font(referred(styles_of(book).fonts, xf.font), font, mask), find_font,
                               tob_set_font);
        if (index < 0) return index;
        xf.font = index;
        return 0;
    });
}

int set_xf_fill(XLS_BOOK& book, Cell& cell, const XLS_FILL& fill, uint32_t mask) {
    return change_format(book, cell, [&](XLS_XF& xf) {
        xf.fill = intern(book, masked_fill(referred(styles_of(book).fills, xf.fill), fill, mask), find_fill, add_fill);
        return 0;
    });
}

int set_border_range(XLS_BOOK& book, int32_t r1, int32_t r2, int32_t c1, int32_t c2, uint32_t mask,
                     const XLS_BORDER& border) {
    std::vector<Sheet>& sheets = work_area(book)->book.sheets;
    if (book.cur_sheet < 0 || book.cur_sheet >= static_cast<int32_t>(sheets.size())) return -1;
    if (r1 > r2 || c1 > c2) return 0;
    Sheet& sheet = sheets[book.cur_sheet];

    // The new format depends only on the old one, and a range mostly shares one.
    bool remembered = false;
    int32_t last_old = 0, last_new = 0;
    for (int32_t r = r1; r <= r2; ++r) {
        for (int32_t c = c1; c <= c2; ++c) {
            Cell* cell = ensure_cell(sheet, r, c);
            if (cell == nullptr) return -1;
            if (remembered && cell->style == last_old) {
                cell->style = last_new;
                continue;
            }
            int32_t old_style = cell->style;
            if (int rc = set_xf_border(book, *cell, border, mask); rc < 0) return rc;
            remembered = true;
            last_old = old_style;
            last_new = cell->style;
        }
    }
    return 0;
}

}  // namespace tova::model
