// Vocabularies of sheet and book statements: yes and no, paper, orientation,
// sheet view and sheet order.
#include "property/vocab_themes.hpp"

namespace tova::vocab {
namespace {

constexpr VocabWord kYesNo[] = {
    {1, "TRUE", {"する"}},
    {0, "FALSE", {"しない"}},
};

constexpr VocabWord kPaperSizes[] = {
    {0, "A0"}, {1, "A1"}, {2, "A2"}, {3, "A3"}, {4, "A4"}, {5, "A5"},
    {11, "B1"}, {12, "B2"}, {13, "B3"}, {14, "B4"}, {15, "B5"},
};

constexpr VocabWord kOrientations[] = {
    {0, "PORTRAIT", {"縦"}},
    {1, "LANDSCAPE", {"横"}},
};

constexpr VocabWord kSheetViews[] = {
    {1, "pageLayout", {"ページレイアウト"}},
    {2, "pageBreakPreview", {"改ページプレビュー"}},
};

constexpr VocabWord kSheetOrders[] = {
    {0, "ASC", {"正"}},
    {1, "DESC", {"逆"}},
};

constexpr Vocabulary kSheetVocabularies[] = {
    {Vocab::YesNo, "yes or no", kYesNo, Msg::UnsupportedKeyword},
    {Vocab::PaperSize, "paper size", kPaperSizes, std::nullopt},
    {Vocab::Orientation, "orientation", kOrientations, std::nullopt},
    {Vocab::SheetView, "sheet view", kSheetViews, std::nullopt},
    {Vocab::SheetOrder, "sheet order", kSheetOrders, Msg::UnsupportedKeyword},
};

}  // namespace

std::span<const Vocabulary> sheet_vocabularies() { return kSheetVocabularies; }

}  // namespace tova::vocab
