#include "model/styles.hpp"

#include <algorithm>
#include <functional>
#include <iterator>
#include <type_traits>
#include <utility>

#include "api/call_frame.hpp"
#include "api/work_area.hpp"

namespace tova::model {
namespace {

// Order-sensitive mixing of one field after another (splitmix64 steps).
class HashBuilder {
public:
    HashBuilder& add(uint64_t value) noexcept {
        uint64_t z = state_ + 0x9E3779B97F4A7C15ULL + value;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        state_ = z ^ (z >> 31);
        return *this;
    }
    HashBuilder& add(const ColorRef& color) noexcept {
        return add(color.code).add(uint64_t{color.red} << 16 | uint64_t{color.green} << 8 | color.blue);
    }
    size_t value() const noexcept { return static_cast<size_t>(state_); }

private:
    uint64_t state_ = 0;
};

// Cell formats mix signed fields; their bit patterns are what count.
uint64_t bits(int32_t value) { return static_cast<uint32_t>(value); }

int limit_reached(XLS_BOOK& book, int32_t count, std::string_view what) {
    return fail(book, -9, Msg::BufferOverflow, {static_cast<long long>(count), what});
}

constexpr int32_t kHyperlinkFont = 2;

constexpr XLS_FONT kInitialFonts[] = {
    {},
    {.size = 9},
    {.style = kBold | kHyperlinkLook},
};

constexpr XLS_FILL kInitialFills[] = {
    {},
    {.pattern = kPatternGray125},
};

constexpr uint16_t kInitialNumFmtKind = 302;

// In the order of BuiltinXf.
constexpr XLS_XF kBuiltinFormats[] = {
    {.numfmt = 14, .alignment = 33},  // date
    {.numfmt = 22, .alignment = 33},  // date and time
    {.numfmt = 20, .alignment = 33},  // hours and minutes
    {.numfmt = 46, .alignment = 33},  // elapsed time
    {.numfmt = 5, .alignment = 33},   // currency
    {.numfmt = 9, .alignment = 33},   // percentage
    {.font = kHyperlinkFont, .style_id = 1, .alignment = 31},
};
static_assert(std::size(kBuiltinFormats) == std::extent_v<decltype(XLS_BOOK::builtin_xf)>);

}  // namespace

size_t RecordHash::operator()(const XLS_XF& xf) const noexcept {
    return HashBuilder()
        .add(bits(xf.numfmt)).add(bits(xf.font)).add(bits(xf.fill)).add(bits(xf.border)).add(bits(xf.style_id))
        .add(xf.alignment).add(xf.reserved).add(xf.numfmt_kind).add(xf.text_control).add(xf.unlocked)
        .add(bits(xf.rotation)).add(bits(xf.indent))
        .value();
}

size_t RecordHash::operator()(const XLS_FONT& font) const noexcept {
    return HashBuilder()
        .add(font.code).add(font.size).add(font.style).add(font.color)
        .add(std::hash<std::string_view>()(font.name.view()))
        .value();
}

size_t RecordHash::operator()(const XLS_FILL& fill) const noexcept {
    return HashBuilder()
        .add(bits(fill.pattern)).add(fill.pattern_color).add(fill.color)
        .add(fill.gradient_kind).add(fill.gradient_variation).add(fill.second_color)
        .value();
}

size_t RecordHash::operator()(const XLS_BORDER& border) const noexcept {
    return HashBuilder()
        .add(border.left).add(border.right).add(border.top).add(border.bottom)
        .add(border.diagonal_up).add(border.diagonal_down).add(border.color)
        .value();
}

StyleRegistry& styles_of(XLS_BOOK& book) { return work_area(book)->book.styles; }
const StyleRegistry& styles_of(const XLS_BOOK& book) { return work_area(book)->book.styles; }

void initialise_styles(XLS_BOOK& book) {
    StyleRegistry fresh;
    for (const XLS_FONT& font : kInitialFonts) fresh.fonts.append(font);
    for (const XLS_FILL& fill : kInitialFills) fresh.fills.append(fill);
    fresh.numfmts.push_back({.kind = kInitialNumFmtKind});
    int32_t builtin_xf[std::size(kBuiltinFormats)];
    for (size_t i = 0; i < std::size(kBuiltinFormats); ++i) builtin_xf[i] = fresh.xfs.append(kBuiltinFormats[i]) + 1;

    styles_of(book) = std::move(fresh);
    book.builtin_font = kHyperlinkFont;
    std::copy(std::begin(builtin_xf), std::end(builtin_xf), book.builtin_xf);
}

const XLS_XF& cell_format(const XLS_BOOK& book, const Cell& cell) {
    const StyleRegistry& styles = styles_of(book);
    return styles.xfs.contains(cell.style - 1) ? styles.xfs[cell.style - 1] : styles.default_xf;
}

int32_t tob_set_xf(XLS_BOOK& book, const XLS_XF& xf) {
    InternTable<XLS_XF>& xfs = styles_of(book).xfs;
    if (xfs.size() >= MAX_XF) return limit_reached(book, xfs.size(), "tob_set_xf() MAX_XF");
    return xfs.append(xf);
}

int32_t tob_set_font(XLS_BOOK& book, const XLS_FONT& font) {
    InternTable<XLS_FONT>& fonts = styles_of(book).fonts;
    if (fonts.size() >= MAX_FONT) return limit_reached(book, fonts.size(), "tob_set_font() MAX_FONT");
    return fonts.append(font);
}

int32_t add_fill(XLS_BOOK& book, const XLS_FILL& fill) { return styles_of(book).fills.append(fill); }

int32_t add_border(XLS_BOOK& book, const XLS_BORDER& border) { return styles_of(book).borders.append(border) + 1; }

int32_t tob_set_num_format(XLS_BOOK& book, uint16_t kind) {
    std::vector<XLS_NUMFMT>& numfmts = styles_of(book).numfmts;
    for (size_t i = 0; i < numfmts.size(); ++i)
        if (numfmts[i].kind == kind) return static_cast<int32_t>(i) + 1;
    int32_t count = static_cast<int32_t>(numfmts.size());
    if (count >= TOB_MAX_NUMFORMAT) return limit_reached(book, count, "tob_set_num_format()");
    numfmts.push_back({.kind = kind});
    return count + 1;
}

int32_t find_xf(const XLS_BOOK& book, const XLS_XF& xf) { return styles_of(book).xfs.find(xf); }
int32_t find_font(const XLS_BOOK& book, const XLS_FONT& font) { return styles_of(book).fonts.find(font); }
int32_t find_fill(const XLS_BOOK& book, const XLS_FILL& fill) { return styles_of(book).fills.find(fill); }

int32_t find_border(const XLS_BOOK& book, const XLS_BORDER& border) {
    int32_t index = styles_of(book).borders.find(border);
    return index < 0 ? -1 : index + 1;
}

int32_t combine_xf(const XLS_BOOK& book, int32_t cell_style, int32_t column_style) {
    bool column_format_exists = column_style > 0 && styles_of(book).xfs.contains(column_style - 1);
    return cell_style == 0 && column_format_exists ? column_style : cell_style;
}

}  // namespace tova::model
