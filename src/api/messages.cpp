#include "api/messages.hpp"

#include <array>
#include <charconv>

#include "platform/encoding.hpp"

namespace tova {
namespace {

struct Entry {
    Msg id;
    std::string_view text;
};

// The texts, in the order of Msg. Texts printed to a stream end with a line feed.
constexpr Entry kCatalogue[] = {
    {Msg::OutOfMemory, "TOVA-00002 メモリ不足です。処理を中断します。"},
    {Msg::FileNameTooLong, "TOVA-00005 ファイル名が長すぎます。"},
    {Msg::DataSourceOpen, "TOVA-00100 データソースファイルがオープンできません(\"%s\")。処理を中断します。"},
    {Msg::UnsupportedFile, "TOVA-00900 サポート外のファイルです(\"%s\")。"},
    {Msg::VersionMismatch, "TOVA-00901 呼び出し側(\"%s\")と共有ライブラリ側(\"2.1.0.0\")でバージョンが異なります。"},
    {Msg::BookSizeMismatch, "TOVA-00902 構造体XLS_BOOKのサイズが異なります。(\"%s\")。"},
    {Msg::RangeNotAllowed, "TOVA-02100 セル範囲指定(RANGE)は使用できません(\"%s\")。"},
    {Msg::RangeRequired, "TOVA-02101 セル範囲指定(RANGE)が必要です(\"%s\")。"},
    {Msg::UnsupportedKeyword, "TOVA-02200 サポート外のキーワードです(\"%s\")。"},
    {Msg::UnsupportedOperator, "TOVA-02201 サポート外の演算子です(\"%s\")。"},
    {Msg::UnsupportedFunction, "TOVA-02202 サポート外の関数です(\"%s\")。\n"},
    {Msg::TemplateKeyword, "TOVA-02209 テンプレートモードではサポート外のキーワードです(\"%s\")。"},
    {Msg::TemplateAddSheet, "TOVA-02209 テンプレートモードではシートを追加することはできません。"},
    {Msg::KeywordTooLong, "TOVA-02210 キーワードが長すぎます(\"%s\")。最大長は(%d)バイトです。"},
    {Msg::TooManyDots, "TOVA-02211 ドット(.)で区切られたキーワードが多すぎます(\"%s\")。"},
    {Msg::BadCell, "TOVA-02300 セル指定値が不正です(\"%s\")。"},
    {Msg::BadRange, "TOVA-02301 セル範囲指定値が不正です(\"%s\")。"},
    {Msg::BadNumber, "TOVA-02302 数値が不正です(\"%s\")。"},
    {Msg::BadEquals, "TOVA-02303 引数列のイコール(=)部分が不正です(\"%s\")。"},
    {Msg::UnbalancedParentheses, "TOVA-02304 式の括弧の対応が不正です(\"%s\")。"},
    {Msg::BadVariableName, "TOVA-02305 変数名の形式が不正です(\"%s\")。"},
    {Msg::BadTab, "TOVA-02310 タブ(TAB)の指定内容が不正です。"},
    {Msg::BadFormat, "TOVA-02311 書式指定値が不正です(\"%s\")。"},
    {Msg::BadValidation, "TOVA-02312 入力規則(VALIDATION)の指定内容が不正です(\"%s\")。"},
    {Msg::BadZoom, "TOVA-02313 ズーム(ZOOM)値の範囲(10～400)が不正です(\"%s\")。"},
    {Msg::BadDirection, "TOVA-02314 方向(DIRECTION)値の範囲(-90～90)が不正です(\"%s\")。"},
    {Msg::BadIndent, "TOVA-02315 インデント(INDENT)値の範囲(0～250)が不正です(\"%s\")。"},
    {Msg::TooManyFormats, "TOVA-02319 書式指定が最大数(%d)を超えました。"},
    {Msg::BadSheetName, "TOVA-02320 シート名が不正です(\"%s\")。"},
    {Msg::DuplicateSheetName, "TOVA-02321 既に存在しているシート名です(\"%s\")。"},
    {Msg::NoTemplateSheetName, "TOVA-02322 テンプレートシート名が指定されていません。"},
    {Msg::BadColor, "TOVA-02401 色(COLOR)の指定内容が不正です(\"%s\")。"},
    {Msg::BadOffset, "TOVA-02402 オフセット(OFFSET)値の指定内容が不正です。"},
    {Msg::BadFont, "TOVA-02403 フォント(FONT)の指定内容が不正です(\"%s\")。"},
    {Msg::BadAlign, "TOVA-02405 配置(ALIGN)の指定内容が不正です(\"%s\")。"},
    {Msg::BadFill, "TOVA-02406 塗りつぶし(FILL)の指定内容が不正です。"},
    {Msg::BadPattern, "TOVA-02407 パターン(PATTERN)の指定内容が不正です。"},
    {Msg::BadBorder, "TOVA-02408 罫線(BORDER)の指定内容が不正です(\"%s\")。"},
    {Msg::BadGradation, "TOVA-02409 グラデーション(GRADATION)の指定内容が不正です(\"%s\")。"},
    {Msg::AlreadyMerged, "TOVA-02410 結合(MERGE)は既に結合したセルに対して定義できません。"},
    {Msg::BadImage, "TOVA-02420 イメージ(IMAGE)の指定内容が不正です。"},
    {Msg::BadGraph, "TOVA-02430 グラフ(GRAPH)の指定内容が不正です(\"%s\")。"},
    {Msg::TooManySeries, "TOVA-02431 グラフ(GRAPH)の最大系統数を超えました(%d)。"},
    {Msg::TooManyDataPoints, "TOVA-02432 グラフ(GRAPH)の最大データ要素数を超えました(%d)。"},
    {Msg::BadMargin, "TOVA-02500 余白(MARGIN)の指定内容が不正です。"},
    {Msg::BadPaper, "TOVA-02501 用紙(PAPER)の指定内容が不正です。"},
    {Msg::BadPrintTitleRow, "TOVA-02504 印刷タイトル行(PRINT_TITLE_ROW)の指定内容が不正です(\"%s\")。"},
    {Msg::BadPrintTitleColumn, "TOVA-02505 印刷タイトル列(PRINT_TITLE_COLUMN)の指定内容が不正です(\"%s\")。"},
    {Msg::BadFrozenSplit, "TOVA-02506 ウィンドウ枠固定(FROZEN_SPLIT)の指定内容が不正です(\"%s\")。"},
    {Msg::BadPrintPageFit, "TOVA-02507 印刷ページ数合わせ(PRINT_PAGE_FIT)の指定内容が不正です(\"%s\")。"},
    {Msg::BadBackground, "TOVA-02510 背景(BACKGROUND)の指定内容が不正です。"},
    {Msg::BadThumbnail, "TOVA-02511 サムネイル(THUMBNAIL)の指定内容が不正です。"},
    {Msg::BadAutoshape, "TOVA-02600 オートシェイプ(AUTOSHAPE)の指定内容が不正です(\"%s\")。"},
    {Msg::NoAutoshapeBefore, "TOVA-02601 (\"%s\")の前にオートシェイプが指定されていません。"},
    {Msg::BadAutoshapeLine, "TOVA-02602 オートシェイプ枠線(LINE)の指定内容が不正です。"},
    {Msg::BadAutoshapeArrow, "TOVA-02603 オートシェイプ矢印(ARROW)の指定内容が不正です。"},
    {Msg::BadAutoshapeShadow, "TOVA-02604 オートシェイプ影(SHADOW)の指定内容が不正です。"},
    {Msg::BadAdjust, "TOVA-02605 アジャスト(ADJUST)値の指定内容が不正です。"},
    {Msg::NoSparklineBefore, "TOVA-02621 (\"%s\")の前にスパークラインが指定されていません。"},
    {Msg::BadSparkline, "TOVA-02622 スパークライン(SPARKLINE)の指定内容が不正です(\"%s\")。"},
    {Msg::BadControl, "TOVA-02623 コントロール(CONTROL)の指定内容が不正です(\"%s\")。"},
    {Msg::NoTableFormatBefore, "TOVA-02631 (\"%s\")の前に表書式(TABLE_FORMAT)が指定されていません。"},
    {Msg::TableFormatOverlap, "TOVA-02632 表書式(TABLE_FORMAT)は既に定義したセル範囲に対して定義できません。"},
    {Msg::TableFormatFormulaInHeader, "TOVA-02633 表書式(TABLE_FORMAT)の一行目に計算式が含まれています。"},
    {Msg::VariableUnavailable, "TOVA-03001 変数の値が取得できません(\"%s\")。"},
    {Msg::TemplateSheetUnavailable, "TOVA-03002 テンプレートシート(\"%s\")が取得できません。"},
    {Msg::CountLimit, "TOVA-03008 (\"%s\")の数が制限(\"%d\")を超えました。"},
    {Msg::BufferOverflow, "TOVA-03009 バッファサイズ(\"%d\")オーバー(\"%s\")。"},
    {Msg::FileOpen, "TOVA-03100 ファイルオープンエラー(\"%s\")。"},
    {Msg::ExcelFileOpen, "TOVA-03101 Excelファイルオープンエラー(\"%s\")。"},
    {Msg::ImageFileOpen, "TOVA-03102 イメージファイルオープンエラー(\"%s\")。"},
    {Msg::OutputFileOpen, "TOVA-03103 イメージファイルオープンエラー(\"%s\")。"},
    {Msg::XlsRead, "TOVA-03110 Excelファイル読み込みエラー(\"2003形式\")。"},
    {Msg::FileWrite, "TOVA-03120 ファイル書込みエラー(\"%s\")。"},
    {Msg::ExcelFileWrite, "TOVA-03121 Excelファイル書込みエラー(\"%s\")。"},
    {Msg::TempFileWrite, "TOVA-03122 一時ファイル書込みエラー(\"%s\")。"},
    {Msg::ImageUnsupported, "TOVA-03190 イメージファイルがサポート外のファイル形式です(\"%s\")。"},
    {Msg::CircularReference, "TOVA-03200 セルの循環参照が設定されています(\"%s\")。"},
    {Msg::TooFewArguments, "TOVA-03201 関数の引数が不足しています(\"%s\")。"},
    {Msg::TooManyArguments, "TOVA-03202 関数の引数が多すぎます(\"%s\")。"},
    {Msg::TemplateFormulaCell, "TOVA-03203 テンプレートモードでは式の含まれたセル(\"%s\")を上書きすることはできません。"},
    {Msg::InternalError, "TOVA-03600 内部処理エラー(\"%s\")。"},
    {Msg::SavingForRecalc, "TOVA-04100 オープン時再計算モードで保存します。\n"},
    {Msg::InfoTooLong, "TOVA-4000 book->log.error_info too long"},
};

constexpr size_t kCount = static_cast<size_t>(Msg::Count_);
static_assert(std::size(kCatalogue) == kCount, "one catalogue text per message");

constexpr bool catalogue_in_order() {
    for (size_t i = 0; i < kCount; ++i)
        if (static_cast<size_t>(kCatalogue[i].id) != i) return false;
    return true;
}
static_assert(catalogue_in_order(), "catalogue entries follow the order of Msg");

const std::array<std::string, kCount>& sjis_catalogue() {
    static const std::array<std::string, kCount> texts = [] {
        std::array<std::string, kCount> out;
        for (size_t i = 0; i < kCount; ++i)
            out[i] = enc::conv_charset(enc::kUtf8, enc::kShiftJis, kCatalogue[i].text);
        return out;
    }();
    return texts;
}

void append_number(std::string& out, long long value) {
    char digits[24];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, end);
}

}  // namespace

const std::string& message_text(Msg id) { return sjis_catalogue()[static_cast<size_t>(id)]; }

std::string_view message_text_utf8(Msg id) { return kCatalogue[static_cast<size_t>(id)].text; }

std::string format_message(Msg id, std::initializer_list<MsgArg> args) {
    const std::string& format = message_text(id);
    std::string out;
    out.reserve(format.size() + 64);
    const MsgArg* next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        // Shift-JIS trail bytes never equal '%', so a byte scan is safe here.
        if (c != '%' || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        char spec = format[++i];
        if (spec == '%') {
            out += '%';
            continue;
        }
        if (next != args.end()) {
            if (const auto* text = std::get_if<std::string_view>(next)) {
                out.append(*text);
            } else {
                append_number(out, std::get<long long>(*next));
            }
            ++next;
        }
    }
    return out;
}

}  // namespace tova
