// Vocabularies of drawing objects: autoshape lines, arrows, kinds, effects,
// fills, shadows and turns, and form controls.
#include "property/vocab_themes.hpp"

namespace tova::vocab {
namespace {

constexpr VocabWord kLineDashes[] = {
    {0, "SOLID", {"実線"}, "solid"},
    {1, "SYSDOT", {"点線", "丸点線"}, "sysDot"},
    {2, "SYSDASH", {"角点線"}, "sysDash"},
    {3, "DASH", {"破線"}, "dash"},
    {4, "DASHDOT", {"一点鎖線"}, "dashDot"},
    {5, "LGDASH", {"長破線"}, "lgDash"},
    {6, "LGDASHDOT", {"長鎖線"}, "lgDashDot"},
    {7, "LGDASHDOTDOT", {"長二点鎖線"}, "lgDashDotDot"},
    {kNoLine, "NONE", {"なし"}},
};

constexpr VocabWord kArrowHeads[] = {
    {1, "ARROW", {"矢印"}, "arrow"},
    {2, "TRIANGLE", {"三角"}, "triangle"},
    {3, "DIAMOND", {"四角"}, "diamond"},
    {4, "OVAL", {"丸"}, "oval"},
};

constexpr VocabWord kArrowSizes[] = {
    {1, "SMALL", {"小"}},
    {2, "MEDIUM", {"中"}},
    {3, "LARGE", {"大"}},
};

// The token is the preset geometry written; the Japanese word names the shape
// in its default display name. rect also stands for the text boxes, which the
// writer tells apart by code.
constexpr VocabWord kAutoshapes[] = {
    {101, "line", {"直線"}, "line"},
    {201, "triangle", {"二等辺三角形"}, "triangle"},
    {301, "rectangle", {"四角"}, "rect"},
    {302, "textbox", {"テキストボックス"}, "rect"},
    {303, "textbox2", {"縦書きテキストボックス"}, "rect"},
    {401, "ellipse", {"楕円"}, "ellipse"},
    {501, "rightArrow", {"右矢印"}, "rightArrow"},
    {502, "leftArrow", {"左矢印"}, "leftArrow"},
    {503, "upArrow", {"上矢印"}, "upArrow"},
    {504, "downArrow", {"下矢印"}, "downArrow"},
    {505, "leftRightArrow", {"左右矢印"}, "leftRightArrow"},
    {506, "upDownArrow", {"上下矢印"}, "upDownArrow"},
    {507, "quadArrow", {"四方向矢印"}, "quadArrow"},
    {508, "leftRightUpArrow", {"三方向矢印"}, "leftRightUpArrow"},
    {509, "bentArrow", {"曲折矢印"}, "bentArrow"},
    {510, "uturnArrow", {"Uターン矢印", "Ｕターン矢印"}, "uturnArrow"},
    {511, "leftUpArrow", {"二方向矢印"}, "leftUpArrow"},
    {512, "bentUpArrow", {"屈折矢印"}, "bentUpArrow"},
    {513, "curvedRightArrow", {"右カーブ矢印"}, "curvedRightArrow"},
    {514, "curvedLeftArrow", {"左カーブ矢印"}, "curvedLeftArrow"},
    {515, "curvedUpArrow", {"上カーブ矢印"}, "curvedUpArrow"},
    {516, "curvedDownArrow", {"下カーブ矢印"}, "curvedDownArrow"},
    {517, "circularArrow", {"環状矢印"}, "circularArrow"},
    {521, "bracePair", {"中かっこ"}, "bracePair"},
    {522, "bracketPair", {"大かっこ"}, "bracketPair"},
    {523, "leftBrace", {"左中かっこ"}, "leftBrace"},
    {524, "rightBrace", {"右中かっこ"}, "rightBrace"},
    {525, "leftBracket", {"左大かっこ"}, "leftBracket"},
    {526, "rightBracket", {"右大かっこ"}, "rightBracket"},
    {531, "wedgeRectCallout", {"四角形吹き出し"}, "wedgeRectCallout"},
    {532, "wedgeRoundRectCallout", {"角丸四角形吹き出し"}, "wedgeRoundRectCallout"},
    {533, "wedgeEllipseCallout", {"円形吹き出し"}, "wedgeEllipseCallout"},
    {534, "cloudCallout", {"雲形吹き出し"}, "cloudCallout"},
    {701, "heart", {"ハート"}, "heart"},
    {702, "cloud", {"雲"}, "cloud"},
    {703, "moon", {"月"}, "moon"},
    {704, "star", {"星"}, "star5"},
    {705, "sun", {"太陽"}, "sun"},
    {706, "smile", {"スマイル"}, "smileyFace"},
    {901, "Connector", {"結合子"}, "flowChartConnector"},
    {902, "Terminator", {"端子"}, "flowChartTerminator"},
    {903, "OffpageConnector", {"他ページ結合子"}, "flowChartOffpageConnector"},
    {910, "Process", {"処理"}, "flowChartProcess"},
    {911, "PredefinedProcess", {"定義済み処理"}, "flowChartPredefinedProcess"},
    {912, "AlternateProcess", {"代替処理"}, "flowChartAlternateProcess"},
    {913, "Preparation", {"準備"}, "flowChartPreparation"},
    {920, "Decision", {"判断"}, "flowChartDecision"},
    {930, "Data", {"データ"}, "flowChartInputOutput"},
    {931, "MagneticDisk", {"磁気ディスク"}, "flowChartMagneticDisk"},
    {932, "InternalStorage", {"内部記憶"}, "flowChartInternalStorage"},
    {933, "OnlineStorage", {"記憶データ"}, "flowChartOnlineStorage"},
    {934, "Card", {"カード"}, "flowChartPunchedCard"},
    {935, "PunchedTape", {"せん孔テープ"}, "flowChartPunchedTape"},
    {936, "MagneticTape", {"磁気テープ"}, "flowChartMagneticTape"},
    {937, "DirectAccessStorage", {"直接アクセス記憶"}, "flowChartMagneticDrum"},
    {941, "Document", {"書類"}, "flowChartDocument"},
    {942, "Multidocument", {"複数書類"}, "flowChartMultidocument"},
    {951, "ManualInput", {"手操作入力"}, "flowChartManualInput"},
    {952, "ManualOperation", {"手作業"}, "flowChartManualOperation"},
    {953, "Display", {"表示"}, "flowChartDisplay"},
    {961, "SummingJunction", {"和接合"}, "flowChartSummingJunction"},
    {962, "Or", {"論理和"}, "flowChartOr"},
    {963, "Collate", {"照合"}, "flowChartCollate"},
    {964, "Sort", {"分類"}, "flowChartSort"},
    {965, "Extract", {"抜出し"}, "flowChartExtract"},
    {966, "Merge", {"組合せ"}, "flowChartMerge"},
    {967, "Delay", {"論理積ゲート"}, "flowChartDelay"},
};

constexpr VocabWord kShapeEffects[] = {
    {1, "STANDARD_STYLE1", {"標準スタイル1", "標準スタイル１"}},
    {2, "STANDARD_STYLE2", {"標準スタイル2", "標準スタイル２"}},
    {3, "STANDARD_STYLE3", {"標準スタイル3", "標準スタイル３"}},
    {4, "STANDARD_STYLE4", {"標準スタイル4", "標準スタイル４"}},
    {5, "STANDARD_STYLE5", {"標準スタイル5", "標準スタイル５"}},
    {6, "STANDARD_STYLE6", {"標準スタイル6", "標準スタイル６"}},
    {7, "STANDARD_STYLE7", {"標準スタイル7", "標準スタイル７"}},
    {8, "STANDARD_STYLE8", {"標準スタイル8", "標準スタイル８"}},
    {9, "STANDARD_STYLE9", {"標準スタイル9", "標準スタイル９"}},
    {10, "STANDARD_STYLE10", {"標準スタイル10", "標準スタイル１０"}},
    {11, "STANDARD_STYLE11", {"標準スタイル11", "標準スタイル１１"}},
    {12, "STANDARD_STYLE12", {"標準スタイル12", "標準スタイル１２"}},
};

constexpr VocabWord kShapeFillKinds[] = {
    {0, "SINGLE_COLOR", {"単色"}},
    {1, "GRADATION", {"グラデーション"}},
    {kNoFill, "NONE", {"なし"}},
};

constexpr VocabWord kShapeGradients[] = {
    {0, "LINE", {"直線"}},
    {1, "CIRCLE", {"放射"}},
    {2, "RECT", {"四角"}},
    {3, "SHAPE", {"パス"}},
};

constexpr VocabWord kShadowKinds[] = {
    {1, "OUTER", {"外側"}},
    {2, "INNER", {"内側"}},
};

constexpr VocabWord kShapeRotations[] = {
    {kRotateRight90, "RIGHT90", {"右へ90度"}},
    {kRotateLeft90, "LEFT90", {"左へ90度"}},
    {kFlipVertical, "FLIP_V", {"上下反転"}},
    {kFlipHorizontal, "FLIP_H", {"左右反転"}},
};

// The token is the object type written (10 GBox comes only from read files).
constexpr VocabWord kControlKinds[] = {
    {1, "CHECKBOX", {"チェックボックス"}, "CheckBox"},
    {2, "RADIOBUTTON", {"ラジオボタン"}, "Radio"},
    {3, "SPINBUTTON", {"スピンボタン"}, "Spin"},
    {4, "SCROLLBAR", {"スクロールバー"}, "Scroll"},
    {5, "DROPBOX", {"ドロップボックス"}, "Drop"},
    {6, "LISTBOX", {"リストボックス"}, "List"},
};

constexpr Vocabulary kShapeVocabularies[] = {
    {Vocab::LineDash, "line dash", kLineDashes, std::nullopt},
    {Vocab::ArrowHead, "arrow head", kArrowHeads, std::nullopt},
    {Vocab::ArrowSize, "arrow size", kArrowSizes, std::nullopt},
    {Vocab::Autoshape, "autoshape", kAutoshapes, Msg::BadAutoshape},
    {Vocab::ShapeEffect, "autoshape effect", kShapeEffects, std::nullopt},
    {Vocab::ShapeFillKind, "autoshape fill kind", kShapeFillKinds, std::nullopt},
    {Vocab::ShapeGradient, "autoshape gradient", kShapeGradients, std::nullopt},
    {Vocab::ShadowKind, "shadow kind", kShadowKinds, Msg::BadAutoshapeShadow},
    {Vocab::ShapeRotation, "autoshape rotation", kShapeRotations, std::nullopt},
    {Vocab::ControlKind, "form control", kControlKinds, Msg::BadControl},
};

}  // namespace

std::span<const Vocabulary> shape_vocabularies() { return kShapeVocabularies; }

}  // namespace tova::vocab
