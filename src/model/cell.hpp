// One cell of the cell store: a kind, its style and the value fields the kind uses.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace tova::model {

enum CellKind : uint8_t {
    kLiteralText = 0,      // text kept in the cell itself; values put here stay text
    kInteger = 11,
    kDecimal = 12,
    kPercent = 13,
    kDate = 20,
    kDateTime = 21,
    kTime = 23,            // hours and minutes
    kTimeSeconds = 24,
    kSharedString = 41,
    kFormula = 50,
    kFormulaResult = 51,   // formula with a stored result, from a package
    kEmpty = 0xFF,
};

// An owned NUL-terminated text in one allocation: a cell pays one pointer for it.
class HeapText {
public:
    HeapText() = default;
    explicit HeapText(std::string_view text) { assign(text); }
    HeapText(HeapText&& other) noexcept : data_(std::move(other.data_)) {}
    HeapText& operator=(HeapText&& other) noexcept {
        data_ = std::move(other.data_);
        return *this;
    }

    void assign(std::string_view text) {
        auto fresh = std::make_unique<char[]>(text.size() + 1);
        std::memcpy(fresh.get(), text.data(), text.size());
        fresh[text.size()] = '\0';
        data_ = std::move(fresh);
    }
    void reset() { data_.reset(); }
    bool empty() const { return !data_ || data_[0] == '\0'; }
    std::string_view view() const { return data_ ? std::string_view(data_.get()) : std::string_view(); }
    const char* c_str() const { return data_ ? data_.get() : ""; }

private:
    std::unique_ptr<char[]> data_;
};

// The formula of a formula cell, with the result and extra attributes a reader kept.
struct FormulaText {
    std::string formula;      // XML-escaped formula text without "="
    std::string result;       // cached result (kind 51)
    std::string attributes;   // extra attribute text of the cell element, or empty
};

struct Cell {
    uint8_t kind = kEmpty;
    int16_t flags = 0;
    int32_t style = 0;        // one-based cell format, 0 = none
    int32_t number = 0;       // low 32 bits of an integer, a serial day or a string index
    int32_t number_high = 0;  // high 32 bits of an integer (kind 11)
    HeapText text;            // by kind: literal text, decimal text, time fraction text
    std::unique_ptr<FormulaText> formula;

    int64_t integer() const {
        return static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(number_high)) << 32) |
                                    static_cast<uint32_t>(number));
    }
    void set_integer(int64_t value) {
        number = static_cast<int32_t>(static_cast<uint32_t>(value));
        number_high = static_cast<int32_t>(static_cast<uint64_t>(value) >> 32);
    }
    // A cell the worksheet carries: a value, or at least a format.
    bool is_written() const { return kind != kEmpty || style > 0; }
    bool has_formula() const { return kind == kFormula || kind == kFormulaResult || formula != nullptr; }

    // Empties the value; the style stays.
    void clear_value() {
        kind = kEmpty;
        number = number_high = 0;
        text.reset();
        formula.reset();
    }
};

}  // namespace tova::model
