#include "property/word_table.hpp"

#include <algorithm>

#include "api/arglist.hpp"

namespace tova::property {
namespace {

using W = Word;

constexpr WordEntry kWords[] = {
    {W::Book, "BOOK", {"ブック"}},
    {W::Template, "TEMPLATE", {"テンプレート"}},
    {W::Sheet, "SHEET", {"シート"}},
    {W::Zoom, "ZOOM", {"ズーム"}},
    {W::Width, "WIDTH", {"幅"}},
    {W::Height, "HEIGHT", {"高さ"}},
    {W::Length, "LENGTH", {"長さ"}},
    {W::Start, "START", {"始点"}},
    {W::End, "END", {"終点"}},
    {W::High, "HIGH", {"山"}},
    {W::Low, "LOW", {"谷"}},
    {W::Negative, "NEGATIVE", {"負"}},
    {W::Marker, "MARKER", {"マーカー"}},
    {W::Rotation, "ROTATION", {"回転"}},
    {W::Direction, "DIRECTION", {"方向"}},
    {W::Indent, "INDENT", {"インデント"}},
    {W::Degree, "DEGREE", {"角度"}},
    {W::Transparent, "TRANSPARENT", {"透過性", "透過率"}},
    {W::Blur, "BLUR", {"ぼかし"}},
    {W::Dist, "DIST", {"距離"}},
    {W::Effect, "EFFECT", {"効果"}},
    {W::NewPage, "NEWPAGE", {"改ページ"}},
    {W::ThreeD, "3D"},
    {W::Checked, "CHECKED", {"チェック"}},
    {W::Comment, "COMMENT", {"コメント"}},
    {W::Control, "CONTROL", {"コントロール"}},
    {W::AutoWidth, "AUTO_WIDTH", {"列幅自動調整"}},
    {W::Recalc, "RECALC", {"再計算"}},
    {W::Backup, "BACKUP", {"バックアップ"}},
    {W::Color, "COLOR", {"色"}},
    {W::Size, "SIZE", {"サイズ"}},
    {W::Style, "STYLE", {"スタイル"}},
    {W::Accent, "ACCENT", {"アクセント"}},
    {W::Reset, "RESET", {"リセット"}},
    {W::Name, "NAME", {"名"}},
    {W::Path, "PATH", {"ファイル名"}},
    {W::Ratio, "RATIO", {"倍率"}},
    {W::Color1, "COLOR1", {"色1", "色１"}},
    {W::Color2, "COLOR2", {"色2", "色２"}},
    {W::Kind, "KIND", {"種類"}},
    {W::Variation, "VARIATION", {"バリエーション"}},
    {W::Hidden, "HIDDEN", {"非表示"}},
    {W::Display, "DISPLAY", {"表示"}},
    {W::Password, "PASSWORD", {"パスワード"}},
    {W::Final, "FINAL", {"最終版"}},
    {W::Version, "VERSION", {"バージョン"}},
    {W::WritePassword, "WRITE_PASSWORD", {"書込パスワード", "書込みパスワード", "書き込みパスワード"}},
    {W::FormatCells, "formatCells", {"セルの書式設定"}},
    {W::FormatColumns, "formatColumns", {"列の書式設定"}},
    {W::FormatRows, "formatRows", {"行の書式設定"}},
    {W::InsColumns, "insColumns", {"列の挿入"}},
    {W::InsRows, "insRows", {"行の挿入"}},
    {W::InsHyperlinks, "insHyperLinks", {"ハイパーリンクの挿入"}},
    {W::DelColumns, "delColumns", {"列の削除"}},
    {W::DelRows, "delRows", {"行の削除"}},
    {W::Sort, "sort", {"並び替え"}},
    {W::AutoFilter, "autoFilter", {"オートフィルター"}},
    {W::PivotTables, "pivotTables", {"ピポットテーブル"}},
    {W::Objects, "objects", {"オブジェクト"}},
    {W::Scenarios, "scenarios", {"シナリオ"}},
    {W::Protect, "Protect", {"保護"}},
    {W::Unprotect, "UNPROTECT", {"保護解除"}},
    {W::Order, "ORDER", {"順"}},
    {W::HiddenGrid, "HIDDEN_GRID", {"枠線非表示"}},
    {W::HiddenHeader, "HIDDEN_HEADER", {"ヘッダー非表示"}},
    {W::FrozenTop, "FROZEN_TOP", {"先頭行固定"}},
    {W::FrozenLeft, "FROZEN_LEFT", {"先頭列固定"}},
    {W::FrozenSplit, "FROZEN_SPLIT", {"ウィンドウ枠固定"}},
    {W::Thumbnail, "THUMBNAIL", {"サムネイル"}, Msg::BadThumbnail},
    {W::Background, "BACKGROUND", {"背景"}, Msg::BadBackground},
    {W::AxisX, "AXIS_X", {"X軸"}},
    {W::AxisY, "AXIS_Y", {"Y軸"}},
    {W::Rotate3dX, "3D_ROTATE_X", {"3D角度X"}},
    {W::Rotate3dY, "3D_ROTATE_Y", {"3D角度Y"}},
    {W::Depth3d, "3D_DEPTH", {"3D深さ"}},
    {W::Perspective3d, "3D_PERSPECTIVE", {"3D透視投影"}},
    {W::Location, "LOCATION", {"位置"}},
    {W::Type, "TYPE", {"タイプ"}},
    {W::Min, "MIN", {"最小"}},
    {W::Max, "MAX", {"最大"}},
    {W::List, "LIST", {"リスト"}},
    {W::Operator, "OPERATOR", {"条件"}},
    {W::BackColor, "BACK_COLOR", {"背景色"}},
    {W::Offset, "OFFSET", {"オフセット"}, Msg::BadOffset},
    {W::Adjust, "ADJUST", {"アジャスト"}, Msg::BadAdjust},
    {W::Left, "LEFT", {"左", "左側"}},
    {W::Right, "RIGHT", {"右", "右側"}},
    {W::Top, "TOP", {"上"}},
    {W::Bottom, "BOTTOM", {"下"}},
    {W::DiagonalUp, "DIAGONAL_UP", {"斜上"}},
    {W::DiagonalDown, "DIAGONAL_DOWN", {"斜下"}},
    {W::Center, "CENTER", {"中央部"}},
    {W::X, "X", {"Ｘ"}},
    {W::Y, "Y", {"Ｙ"}},
    {W::Horizontal, "HORIZONTAL", {"横"}},
    {W::Vertical, "VERTICAL", {"縦"}},
    {W::Header, "HEADER", {"ヘッダー"}},
    {W::Footer, "FOOTER", {"フッター"}},
    {W::Pattern, "PATTERN", {"パターン"}, Msg::BadPattern},
    {W::Gradation, "GRADATION", {"グラデーション"}},
    {W::Orientation, "ORIENTATION", {"方向"}},
    {W::Scale, "SCALE", {"拡大／縮小"}},
    {W::Dpi, "DPI", {"印刷品質"}},
    {W::DataSource, "DATASOURCE", {"データソース"}},
    {W::RowNum, "ROWNUM", {"行数"}},
    {W::Switch, "SWITCH", {"行列切替", "行/列の切り替え"}},
    {W::Date, "DATE", {"日付"}},
    {W::HostName, "HOSTNAME", {"ホスト名"}},
    {W::Company, "COMPANY", {"会社名"}},
    {W::Creator, "CREATOR", {"作成者"}},
    {W::Manager, "MANAGER", {"管理者"}},
    {W::Title, "TITLE", {"タイトル"}},
    {W::Subject, "SUBJECT", {"サブタイトル"}},
    {W::Tag, "TAG", {"タグ"}},
    {W::ScrollRow, "SCROLL_ROW", {"スクロール開始行"}},
    {W::PrintTitleRow, "PRINT_TITLE_ROW", {"印刷タイトル行"}},
    {W::PrintTitleColumn, "PRINT_TITLE_COLUMN", {"印刷タイトル列"}},
    {W::Legend, "LEGEND", {"凡例"}},
    {W::Position, "POSITION", {"表示位置"}},
    {W::SeriesLine, "SERIES_LINE", {"区分線表示"}},
    {W::MajorUnit, "MAJOR_UNIT", {"目盛間隔"}},
    {W::DataLabel, "DATA_LABEL", {"データラベル"}},
    {W::Text, "TEXT", {"文字列"}},
    {W::GapWidth, "GAP_WIDTH", {"棒の間隔"}},
    {W::ColumnName, "COLUMN_NAME", {"列名", "カラム名"}},
    {W::Align, "ALIGN", {"配置"}},
    {W::Font, "FONT", {"フォント"}},
    {W::Fill, "FILL", {"塗りつぶし"}, Msg::BadFill},
    {W::Border, "BORDER", {"罫線"}},
    {W::Validation, "VALIDATION", {"入力規則"}},
    {W::Tab, "TAB", {"タブ"}, Msg::BadTab},
    {W::Paper, "PAPER", {"用紙"}, Msg::BadPaper},
    {W::Margin, "MARGIN", {"余白"}, Msg::BadMargin},
    {W::PrintPageFit, "PRINT_PAGE_FIT", {"印刷ページ数合わせ"}, Msg::BadPrintPageFit},
    {W::Merge, "MERGE", {"結合"}},
    {W::Wrap, "WRAP", {"折り返し"}},
    {W::Shrink, "SHRINK", {"縮小"}},
    {W::Rotation, "ROTATION", {"縦書き"}},
    {W::Format, "FORMAT", {"書式"}},
    {W::Filter, "FILTER", {"フィルター"}},
    {W::TableFormat, "TABLE_FORMAT", {"表書式"}},
    {W::Image, "IMAGE", {"イメージ"}, Msg::BadImage},
    {W::Chart, "CHART", {"グラフ"}},
    {W::Csv, "CSV"},
    {W::Tsv, "TSV"},
    {W::Line, "LINE", {"枠線"}, Msg::BadAutoshapeLine},
    {W::Arrow, "ARROW", {"矢印"}, Msg::BadAutoshapeArrow},
    {W::Shadow, "SHADOW", {"影"}, Msg::BadAutoshapeShadow},
    {W::Autoshape, "AUTOSHAPE", {"オートシェイプ"}},
    {W::Sparkline, "SPARKLINE", {"スパークライン"}},
    {W::Hyperlink, "HYPERLINK", {"ハイパーリンク"}},
};

const WordEntry* first_entry(Word word) {
    auto found = std::find_if(std::begin(kWords), std::end(kWords), [word](const WordEntry& e) { return e.word == word; });
    return found == std::end(kWords) ? nullptr : found;
}

}  // namespace

std::span<const WordEntry> word_entries() { return kWords; }

bool spelled(std::string_view sjis, std::string_view english, std::span<const std::string_view> japanese) {
    if (args::is_word(sjis, english)) return true;
    return std::any_of(japanese.begin(), japanese.end(), [sjis](std::string_view form) {
        return !form.empty() && args::is_word(sjis, {}, form);
    });
}

std::vector<Word> words_spelled(std::string_view sjis) {
    std::vector<Word> words;
    for (const WordEntry& entry : kWords)
        if (std::find(words.begin(), words.end(), entry.word) == words.end() &&
            spelled(sjis, entry.english, entry.japanese))
            words.push_back(entry.word);
    return words;
}

std::optional<Msg> group_message(Word word) {
    const WordEntry* entry = first_entry(word);
    return entry ? entry->group_message : std::nullopt;
}

std::string_view english_of(Word word) {
    const WordEntry* entry = first_entry(word);
    return entry ? entry->english : std::string_view{};
}

}  // namespace tova::property
