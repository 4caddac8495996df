#include "api/diagnostic_log.hpp"

#include <algorithm>
#include <cstdio>

#include "platform/encoding.hpp"

namespace tova {
namespace {

struct PelEntry {
    int code;
    std::string_view text;
};

constexpr PelEntry kPelTable[] = {
    {0, "%s"},
    {1, "%s初期化エラー。処理を中断します。"},
    {2, "メモリ不足です。処理を中断します。"},
    {3, "引数が不正です(\"%s\")。処理を中断します。"},
    {4, "引数(\"%s\")が指定されていません。処理を中断します。"},
    {5, "引数が長すぎます。処理を中断します。"},
    {6, "不明なパラメータ名です(\"%s\")。処理を中断します。"},
    {7, "サポート外のキャラクタセットです(\"%s\")。処理を中断します。"},
    {8, "ファイル数が制限を超えました。処理を中断します。"},
    {100, "データソースファイルがオープンできません。処理を中断します。"},
    {200, "データソースDBMSに接続できません。処理を中断します。"},
    {900, "サポート外のファイルです。処理を中断します。"},
    {901, "パスワード保護されたファイルです。処理を中断します。"},
    {1000, "処理が終了しました。"},
    {2000, "コマンドが不正です。"},
    {2001, "SQL文が不正です。"},
    {2002, "サポート外のSQL文です。"},
    {3000, "Officeファイルオープンエラー(\"%s\")。処理を中断します。"},
    {3001, "一時ファイルオープンエラー。処理を中断します。"},
    {3002, "Officeファイル読み込みエラー。処理を中断します。"},
    {3003, "Officeファイル書込みエラー。処理を中断します。"},
    {3004, "一時ファイル読み込みエラー。処理を中断します。"},
    {3005, "一時ファイル書込みエラー。処理を中断します。"},
    {3006, "マスクファイル書込みエラー。処理を中断します。"},
    {3007, "Officeファイル(ZIP)解凍エラー。処理を中断します。"},
    {3010, "サポート外のファイル形式です。処理を中断します。"},
    {3100, "Excelファイルオープンエラー(\"%s\")。処理を中断します。"},
    {3101, "カードファイルオープンエラー(\"%s\")。処理を中断します。"},
    {3102, "カードファイル読み込みエラー(\"%s\")。処理を中断します。"},
    {3103, "Excelファイル書込みエラー(\"%s\")。処理を中断します。"},
    {3104, "Excelファイル書込みエラー(\"2003形式\")。処理を中断します。"},
    {3105, "イメージファイルオープンエラー(\"%s\")。処理を中断します。"},
    {3106, "サポート外のファイル形式です(\"%s\")。処理を中断します。"},
    {3110, "指定されたシートが見つかりませんでした。処理を中断します。"},
    {3500, "SQLエラー(%s)。処理を中断します。"},
    {4000, "内部処理バッファ(\"%s\")がオーバーフローしました。処理を中断します。"},
    {4090, "内部処理エラー(\"%s\")。"},
    {4100, "圧縮／解凍処理でエラーが発生しました(\"%s\")。処理を中断します。"},
};

}  // namespace

std::string_view pel_text(int code) {
    for (const auto& entry : kPelTable)
        if (entry.code == code) return entry.text;
    return {};
}

void DiagnosticLog::add(std::string_view text) {
    // Cut to 200 bytes without splitting a character, then at the first line feed.
    text = text.substr(0, enc::char_boundary(enc::kShiftJis, text, kMaxText));
    if (size_t lf = text.find('\n'); lf != std::string_view::npos) text = text.substr(0, lf);

    std::string line;
    if (code_ != 0) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "PEL-%05d: ", code_);
        line = prefix;
        std::string_view table = pel_text(code_);
        // The text goes where the table's "%s" stands (looked for from the seventh byte on).
        size_t hole = table.size() > 6 ? table.find("%s", 6) : std::string_view::npos;
        if (!table.empty() && hole != std::string_view::npos) {
            line += enc::conv_charset(enc::kUtf8, enc::kShiftJis, table.substr(0, hole));
            line += text;
            line += enc::conv_charset(enc::kUtf8, enc::kShiftJis, table.substr(hole + 2));
        } else {
            line += text;
        }
        code_ = 0;
    } else {
        line.assign(text);
    }
    if (lines_.size() == kMaxLines) lines_.pop_front();
    lines_.push_back(std::move(line));
}

}  // namespace tova
