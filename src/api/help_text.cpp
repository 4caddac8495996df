#include "api/help_text.hpp"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "api/help_sections.hpp"
#include "platform/encoding.hpp"
#include "tova_api.h"

namespace tova {
namespace {

constexpr std::string_view kProduct = "PEL K-VANTO";
constexpr std::string_view kRights = "Copyright (c) the tova_api authors.";
constexpr size_t kKeywordColumn = 40;
constexpr size_t kRuleWidth = 76;
constexpr std::string_view kIndent = "  ";

// A table text in the output character set with its width on screen. The width
// is its length in Shift-JIS, where a full-width character takes two bytes, so
// both outputs line up alike.
struct Piece {
    std::string text;
    size_t width;
};

Piece piece(std::string_view utf8, int charset) {
    std::string sjis = enc::conv_charset(enc::kUtf8, enc::kShiftJis, utf8);
    const size_t width = sjis.size();
    if (charset == enc::kShiftJis) return {std::move(sjis), width};
    return {enc::conv_charset(enc::kUtf8, charset, utf8), width};
}

// Split in UTF-8, where no byte of a multibyte character can be taken for "|".
std::vector<std::string_view> split_items(std::string_view list) {
    std::vector<std::string_view> items;
    for (size_t start = 0;;) {
        const size_t bar = list.find('|', start);
        items.push_back(list.substr(start, bar - start));
        if (bar == std::string_view::npos) return items;
        start = bar + 1;
    }
}

void append_keyword_line(std::string& out, const help::Row& row, int charset) {
    const Piece english = piece(row.english, charset);
    const size_t used = english.width + row.choices.size();
    out += english.text;
    out.append(used < kKeywordColumn ? kKeywordColumn - used : 0, ' ');
    out += row.choices;
    out += ' ';
    out += piece(row.japanese, charset).text;
    out += '\n';
}

// Each item and its counterpart share a column as wide as the wider of the two.
void append_value_lines(std::string& out, const help::Row& row, int charset) {
    const auto english = split_items(row.english);
    const auto japanese = split_items(row.japanese);
    const size_t count = std::max(english.size(), japanese.size());
    std::string upper(kIndent), lower(kIndent);
    for (size_t i = 0; i < count; ++i) {
        const Piece top = piece(i < english.size() ? english[i] : "", charset);
        const Piece bottom = piece(i < japanese.size() ? japanese[i] : "", charset);
        if (i > 0) {
            upper += '|';
            lower += '|';
        }
        upper += top.text;
        lower += bottom.text;
        if (i + 1 < count) {
            const size_t width = std::max(top.width, bottom.width);
            upper.append(width - top.width, ' ');
            lower.append(width - bottom.width, ' ');
        }
    }
    out += upper + '\n' + lower + '\n';
}

std::string overview(int charset) {
    std::string out = "\n";
    out += kProduct;
    out += ": Release " TOVA_VERSION_TEXT "\n";
    out += kRights;
    out += "\n\n";
    for (const help::Section& section : help::sections()) {
        if (section.opening == help::Opening::Rule) out.append(kRuleWidth, '-');
        out += '\n';
        out += piece(section.heading, charset).text;
        out += '\n';
        for (const help::Row& row : section.rows) {
            switch (row.kind) {
            case help::RowKind::Keyword:
                append_keyword_line(out, row, charset);
                break;
            case help::RowKind::Values:
                append_value_lines(out, row, charset);
                break;
            case help::RowKind::Note:
                out += kIndent;
                out += piece(row.japanese, charset).text;
                out += '\n';
                break;
            }
        }
    }
    return out;
}

// Written as plain bytes: the table holds "%" signs that no format may see.
void write_overview(std::FILE* out, int charset) {
    const std::string text = overview(charset);
    std::fwrite(text.data(), 1, text.size(), out);
}

}  // namespace

void print_help(std::FILE* out) { write_overview(out, enc::kShiftJis); }

void print_help_utf8(std::FILE* out) { write_overview(out, enc::kUtf8); }

}  // namespace tova
