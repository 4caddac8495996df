// Vocabularies of charts, sparklines, data validation and table styles.
#include <charconv>

#include "property/vocab_themes.hpp"
#include "property/word_table.hpp"

namespace tova::vocab {
namespace {

// The historic spellings (VERITICAL, PYRAMLID) come first; the correct ones follow as aliases.
constexpr VocabWord kChartTypes[] = {
    {3000, "LINE", {"折れ線"}},
    {3100, "LINE_3D", {"3D折れ線"}},
    {1000, "BAR_VERITICAL", {"縦棒"}},
    {1010, "BAR_3D_VERITICAL", {"3D縦棒"}},
    {1020, "BAR_CYLINDER", {"円柱"}},
    {1030, "BAR_CONE", {"円錐"}},
    {1040, "BAR_PYRAMLID", {"ピラミッド"}},
    {1100, "BAR_HORIZONTAL", {"横棒"}},
    {1110, "BAR_3D_HORIZONTAL", {"3D横棒"}},
    {1120, "BAR_CYLINDER_HORIZONTAL", {"円柱横棒"}},
    {1130, "BAR_CONE_HORIZONTAL", {"円錐横棒"}},
    {1140, "BAR_PYRAMLID_HORIZONTAL", {"ピラミッド横棒"}},
    {4000, "AREA", {"面"}},
    {4100, "AREA_3D", {"3D面"}},
    {2000, "PIE", {"円"}},
    {2100, "PIE_3D", {"3D円"}},
    {5000, "SCATTER", {"散布図"}},
    {6000, "STOCK", {"株価"}},
    {7000, "CONTOUR", {"等高線"}},
    {8000, "DOUGHNUT", {"ドーナツ"}},
    {10000, "RADAR", {"レーダー"}},
    {1000, "BAR_VERTICAL"},
    {1010, "BAR_3D_VERTICAL"},
    {1040, "BAR_PYRAMID"},
    {1140, "BAR_PYRAMID_HORIZONTAL"},
};

constexpr VocabWord kLegendPositions[] = {
    {0, "RIGHT", {"右端"}},
    {1, "LEFT", {"左端"}},
    {2, "TOP", {"上端"}},
    {3, "TOP_RIGHT", {"右上隅"}},
    {4, "BOTTOM", {"下端"}},
};

constexpr VocabWord kDataLabels[] = {
    {1, "SERIES", {"系列名"}},
    {2, "CLASS", {"分類名"}},
    {3, "VALUE", {"値"}},
    {4, "PERCENTAGE", {"パーセンテージ"}},
};

constexpr VocabWord kSparklineKinds[] = {
    {1, "LINE", {"折れ線"}},
    {2, "BAR", {"縦棒"}},
    {3, "STACK", {"勝敗"}},
};

// Display flags; NONE clears them.
constexpr VocabWord kSparklinePoints[] = {
    {1, "HIGH", {"山"}},
    {2, "LOW", {"谷"}},
    {4, "FIRST", {"始点"}},
    {8, "LAST", {"終点"}},
    {16, "NEGATIVE", {"負"}},
    {32, "MARKER", {"マーカー"}},
    {0, "NONE", {"なし"}},
};

constexpr VocabWord kValidationKinds[] = {
    {0, "LIST", {"リスト"}},
    {1, "WHOLE", {"整数"}},
    {2, "DECIMAL", {"小数点数"}},
    {3, "DATE", {"日付"}},
    {4, "TIME", {"時刻"}},
    {5, "TEXT", {"文字列"}},
};

constexpr VocabWord kValidationOperators[] = {
    {0, "BETWEEN", {"次の値の間"}},
    {1, "NOTBETWEEN", {"次の値の間以外"}},
    {2, "EQ", {"次の値に等しい"}},
    {3, "NOTEQ", {"次の値に等しくない"}},
    {4, "GT", {"次の値より大きい"}},
    {5, "LT", {"次の値より小さい"}},
    {6, "GE", {"次の値以上"}},
    {7, "LE", {"次の値より以下"}},
};

constexpr Vocabulary kChartVocabularies[] = {
    {Vocab::ChartType, "chart type", kChartTypes, Msg::BadGraph},
    {Vocab::LegendPosition, "legend position", kLegendPositions, Msg::BadGraph},
    {Vocab::DataLabel, "data label", kDataLabels, Msg::BadGraph},
    {Vocab::SparklineKind, "sparkline kind", kSparklineKinds, Msg::BadSparkline},
    {Vocab::SparklinePoint, "sparkline point", kSparklinePoints, Msg::BadSparkline},
    {Vocab::ValidationKind, "validation kind", kValidationKinds, Msg::BadValidation},
    {Vocab::ValidationOperator, "validation operator", kValidationOperators, Msg::BadValidation},
};

constexpr TableStyleFamily kTableStyleFamilies[] = {
    {1, "Light", "淡色", 21},
    {2, "Medium", "中間", 28},
    {3, "Dark", "濃色", 11},
};

// The style number written after a family word: digits without a leading zero.
std::optional<int32_t> style_number(std::string_view digits, int32_t count) {
    int32_t number = 0;
    if (digits.empty() || digits.front() == '0') return std::nullopt;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (ec != std::errc{} || number > count) return std::nullopt;
    return number;
}

}  // namespace

std::span<const Vocabulary> chart_vocabularies() { return kChartVocabularies; }

std::span<const TableStyleFamily> table_style_families() { return kTableStyleFamilies; }

std::optional<TableStyle> table_style(std::string_view sjis) {
    // No Shift-JIS trail byte is an ASCII digit, so the number is the run of digits at the end.
    size_t digits = sjis.find_last_not_of("0123456789") + 1;
    std::string_view family_word = sjis.substr(0, digits);
    for (const TableStyleFamily& family : kTableStyleFamilies) {
        if (!property::spelled(family_word, family.english, {&family.japanese, 1})) continue;
        if (auto number = style_number(sjis.substr(digits), family.count)) return TableStyle{family.family, *number};
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace tova::vocab
