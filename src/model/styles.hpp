// The style registry: interned cell formats, fonts, fills, borders and number
// formats. Entries are append-only and never change (only the book's default
// font, font 0, is changed in place), so any number of cells share one entry
// and a change of format always finds or appends another one.
// Running out of memory throws std::bad_alloc and leaves the tables as they were.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "model/cell.hpp"
#include "tova_api.h"

namespace tova::model {

constexpr int32_t MAX_XF = 64000;
constexpr int32_t MAX_FONT = 512;
constexpr int32_t TOB_MAX_NUMFORMAT = 500;

// A text of at most N bytes kept inside its record; it ends at its first NUL.
template <size_t N>
class BoundedText {
public:
    // False, leaving the text as it was, when the text is longer than N bytes.
    bool assign(std::string_view text) noexcept {
        if (text.size() > N) return false;
        std::memcpy(bytes_, text.data(), text.size());
        std::memset(bytes_ + text.size(), 0, N + 1 - text.size());
        return true;
    }
    std::string_view view() const noexcept { return std::string_view(bytes_); }
    const char* c_str() const noexcept { return bytes_; }
    bool empty() const noexcept { return bytes_[0] == '\0'; }
    bool operator==(const BoundedText& other) const noexcept { return view() == other.view(); }

private:
    char bytes_[N + 1] = {};  // bytes_[N] stays NUL
};

// A colour: code 0 is automatic, kExplicitRgb means the bytes beside it hold
// the colour, any other code is one of the colour vocabulary.
constexpr uint32_t kExplicitRgb = 0xFFFFFFFF;

struct ColorRef {
    uint32_t code = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const ColorRef&) const = default;
};

constexpr ColorRef rgb(uint8_t red, uint8_t green, uint8_t blue) { return {kExplicitRgb, red, green, blue}; }

// Font style bits.
constexpr uint8_t kItalic = 1;
constexpr uint8_t kBold = 2;
constexpr uint8_t kUnderline = 4;
constexpr uint8_t kHyperlinkLook = 8;  // underline and the theme's hyperlink colour

constexpr uint8_t kDefaultFontCode = 10;
constexpr uint8_t kOwnFontName = 255;  // the font's name field names it

struct XLS_FONT {
    uint8_t code = kDefaultFontCode;
    uint16_t size = 11;  // points
    uint8_t style = 0;
    ColorRef color{};
    BoundedText<80> name{};  // UTF-8, as the caller wrote it; used with code kOwnFontName
    bool operator==(const XLS_FONT&) const = default;
};

// Fill pattern codes the registry itself relies on; the others come from the pattern vocabulary.
constexpr int32_t kPatternNone = 0;
constexpr int32_t kPatternSolid = 1;
constexpr int32_t kPatternGray125 = 5;
constexpr int32_t kPatternGradient = 100;

struct XLS_FILL {
    int32_t pattern = kPatternNone;
    uint32_t pattern_color = 0;  // a vocabulary code only
    ColorRef color{};              // fill colour; the first colour of a gradient
    uint8_t gradient_kind = 0;
    uint8_t gradient_variation = 0;
    ColorRef second_color{};       // second colour of a gradient
    bool operator==(const XLS_FILL&) const = default;
};

// Line-style codes of the border-style vocabulary; 0 draws no line. One colour serves every line.
struct XLS_BORDER {
    uint8_t left = 0;
    uint8_t right = 0;
    uint8_t top = 0;
    uint8_t bottom = 0;
    uint8_t diagonal_up = 0;
    uint8_t diagonal_down = 0;
    ColorRef color{};
    bool operator==(const XLS_BORDER&) const = default;
};

struct XLS_NUMFMT {
    uint16_t kind = 0;    // display kind, e.g. 109 decimals, 302 date, 404 elapsed time, 501 percentage
    uint16_t id = 0;      // number-format id, assigned by the styles writer
    int8_t decimals = 0;
    BoundedText<256> text{};
    bool operator==(const XLS_NUMFMT&) const = default;
};

// How a cell format's numfmt field reads.
constexpr uint8_t kNumFmtBuiltinId = 0;
constexpr uint8_t kNumFmtTableIndex = 1;  // 1-based index into the number-format table
constexpr uint8_t kNumFmtQuotedText = 2;

// Text control bits.
constexpr uint8_t kVerticalText = 1;
constexpr uint8_t kWrapText = 2;
constexpr uint8_t kShrinkToFit = 4;

struct XLS_XF {
    int32_t numfmt = 0;
    int32_t font = 0;      // 0-based
    int32_t fill = 0;      // 0-based; 0 and 1 are the fixed fills
    int32_t border = 0;    // 0 none, n the n-th border record
    int32_t style_id = 0;  // 1 for the hyperlink cell style
    uint8_t alignment = 0; // tens vertical 1 top 2 centre 3 bottom, units horizontal 1 left 2 centre 3 right
    uint8_t reserved = 0;
    uint8_t numfmt_kind = kNumFmtBuiltinId;
    uint8_t text_control = 0;
    uint8_t unlocked = 0;
    int32_t rotation = 0;
    int32_t indent = 0;
    bool operator==(const XLS_XF&) const = default;
};

// The format a slot setter starts from when the cell has none.
constexpr XLS_XF kDefaultCellFormat{.alignment = 31};

// Field-by-field hashes of the interned records (strings up to their NUL).
struct RecordHash {
    size_t operator()(const XLS_XF& xf) const noexcept;
    size_t operator()(const XLS_FONT& font) const noexcept;
    size_t operator()(const XLS_FILL& fill) const noexcept;
    size_t operator()(const XLS_BORDER& border) const noexcept;
};

// An append-only table (see replace() for the one exception) that finds the first entry equal to a record in one hash look-up.
template <class Record>
class InternTable {
    static_assert(std::is_trivially_copyable_v<Record>);

public:
    int32_t size() const noexcept { return static_cast<int32_t>(records_.size()); }
    bool contains(int32_t index) const noexcept { return index >= 0 && index < size(); }
    const Record& operator[](int32_t index) const noexcept { return records_[static_cast<size_t>(index)]; }
    const std::vector<Record>& records() const noexcept { return records_; }

    // 0-based index of the first equal entry, or -1.
    int32_t find(const Record& record) const {
        auto it = first_.find(record);
        return it == first_.end() ? -1 : it->second;
    }

    // Appends even when an equal entry exists (a file's tables keep their
    // positions); returns the new 0-based index. Throws std::bad_alloc with the
    // table unchanged.
    int32_t append(const Record& record) {
        if (records_.size() == records_.capacity()) records_.reserve(records_.empty() ? 10 : records_.size() * 2);
        int32_t index = size();
        first_.try_emplace(record, index);
        records_.push_back(record);  // cannot throw: room is reserved
        return index;
    }

    // Changes one entry in place, so that everything referring to its index
    // follows (the book's default font). find() keeps returning the first
    // equal entry for both the old and the new record. Throws std::bad_alloc
    // with the table unchanged.
    void replace(int32_t index, const Record& record) {
        const Record old = records_[static_cast<size_t>(index)];
        if (old == record) return;
        auto [added, inserted] = first_.try_emplace(record, index);
        if (!inserted && added->second > index) added->second = index;
        auto previous = first_.find(old);
        if (previous != first_.end() && previous->second == index) {
            auto later = std::find(records_.begin() + index + 1, records_.end(), old);
            if (later == records_.end()) first_.erase(previous);
            else previous->second = static_cast<int32_t>(later - records_.begin());
        }
        records_[static_cast<size_t>(index)] = record;
    }

    // Drops the entries from `count` on, undoing appends whose result went unused.
    void truncate(int32_t count) noexcept {
        while (size() > count) {
            auto it = first_.find(records_.back());
            if (it != first_.end() && it->second == size() - 1) first_.erase(it);
            records_.pop_back();
        }
    }

private:
    std::vector<Record> records_;
    std::unordered_map<Record, int32_t, RecordHash> first_;
};

// Positions in XLS_BOOK::builtin_xf.
enum BuiltinXf : int {
    kBuiltinDate,
    kBuiltinDateTime,
    kBuiltinTime,
    kBuiltinElapsedTime,
    kBuiltinCurrency,
    kBuiltinPercent,
    kBuiltinHyperlink,
};

struct StyleRegistry {
    XLS_XF default_xf = kDefaultCellFormat;
    InternTable<XLS_XF> xfs;
    InternTable<XLS_FONT> fonts;
    InternTable<XLS_FILL> fills;
    InternTable<XLS_BORDER> borders;
    std::vector<XLS_NUMFMT> numfmts;  // at most TOB_MAX_NUMFORMAT; the writer stores the ids it assigns
    // The format numbers and formulas without one of their own receive (the
    // default aligned bottom right), 1-based; found once, as entries never change.
    int32_t number_style = 0;
};

StyleRegistry& styles_of(XLS_BOOK& book);
const StyleRegistry& styles_of(const XLS_BOOK& book);

// The cell's format, or the default one when it has none.
const XLS_XF& cell_format(const XLS_BOOK& book, const Cell& cell);

// Replaces the registry with the contents of a book created for writing
// (fonts 0-2, fills 0-1, one date number format, the seven built-in cell
// formats) and records book.builtin_font (0-based, the hyperlink font) and
// book.builtin_xf (1-based).
void initialise_styles(XLS_BOOK& book);

// Appenders: the new entry's 0-based index (add_border: 1-based, as a cell
// format refers to it), or -9 with TOVA-03009 at the table's limit.
int32_t tob_set_xf(XLS_BOOK& book, const XLS_XF& xf);
int32_t tob_set_font(XLS_BOOK& book, const XLS_FONT& font);
int32_t add_fill(XLS_BOOK& book, const XLS_FILL& fill);
int32_t add_border(XLS_BOOK& book, const XLS_BORDER& border);

// 1-based index of the first number format of that kind, appended (id 0, no
// decimals, empty text) when missing; -9 with TOVA-03009 when the table is full.
int32_t tob_set_num_format(XLS_BOOK& book, uint16_t kind);

// Index of the first equal entry (0-based; find_border 1-based), or -1.
int32_t find_xf(const XLS_BOOK& book, const XLS_XF& xf);
int32_t find_font(const XLS_BOOK& book, const XLS_FONT& font);
int32_t find_fill(const XLS_BOOK& book, const XLS_FILL& fill);
int32_t find_border(const XLS_BOOK& book, const XLS_BORDER& border);

// The format a cell takes when a value is stored in a column that has a
// default format: the column's format when the cell has none (0) and the
// column's is one of the book's (1-based), else the cell's own.
int32_t combine_xf(const XLS_BOOK& book, int32_t cell_style, int32_t column_style);

// Slot setters: each replaces one part of the cell's format (cell.style,
// 1-based, 0 = none, which starts from StyleRegistry::default_xf), interns the
// result and points the cell at it. 0, or -9 at a table's limit with the cell
// and the tables unchanged.
int set_xf_alignment(XLS_BOOK& book, Cell& cell, uint8_t alignment);
int set_xf_text_control(XLS_BOOK& book, Cell& cell, uint8_t bits);
int set_xf_unlocked(XLS_BOOK& book, Cell& cell, uint8_t unlocked);
int set_xf_rotation(XLS_BOOK& book, Cell& cell, int32_t rotation);
int set_xf_indent(XLS_BOOK& book, Cell& cell, int32_t indent);
int set_xf_numfmt(XLS_BOOK& book, Cell& cell, int32_t numfmt_index);  // 1-based table index

// Font fields taken from `font` by mask.
constexpr uint32_t kFontName = 1;  // code and name
constexpr uint32_t kFontSize = 2;
constexpr uint32_t kFontStyle = 4;
constexpr uint32_t kFontColor = 8;
int set_xf_font(XLS_BOOK& book, Cell& cell, const XLS_FONT& font, uint32_t mask);

// Fill fields taken from `fill` by mask. kFillColor turns pattern 0 into solid;
// the gradient bits make the pattern a gradient.
constexpr uint32_t kFillPattern = 2;
constexpr uint32_t kFillColor = 4;
constexpr uint32_t kFillPatternColor = 8;
constexpr uint32_t kFillGradientColor1 = 16;  // the fill colour field
constexpr uint32_t kFillGradientColor2 = 32;
constexpr uint32_t kFillGradientKind = 64;
constexpr uint32_t kFillGradientVariation = 128;
int set_xf_fill(XLS_BOOK& book, Cell& cell, const XLS_FILL& fill, uint32_t mask);

// Border parts taken from `border` by mask when a cell's format already has a
// border; a cell without one takes `border` whole.
constexpr uint32_t kBorderLeft = 1;
constexpr uint32_t kBorderRight = 2;
constexpr uint32_t kBorderTop = 4;
constexpr uint32_t kBorderBottom = 8;
constexpr uint32_t kBorderColor = 16;
constexpr uint32_t kBorderDiagonalUp = 32;
constexpr uint32_t kBorderDiagonalDown = 64;

// Gives every cell of rows r1..r2 and columns c1..c2 (0-based, inclusive) of
// the current sheet the border, creating rows and cells as needed. 0; -1 when
// there is no current sheet or a cell cannot be made (out of range, or its row
// was streamed); -9 at the cell-format limit. Cells visited before a failure
// keep their new format.
int set_border_range(XLS_BOOK& book, int32_t r1, int32_t r2, int32_t c1, int32_t c2, uint32_t mask,
                     const XLS_BORDER& border);

}  // namespace tova::model
