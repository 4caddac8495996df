// The six header and footer texts of a sheet and their fonts.
#include <algorithm>
#include <iterator>
#include <string>

#include "platform/encoding.hpp"
#include "property/applier_support.hpp"

namespace tova::property {
namespace {

constexpr size_t kMaxText = 3999;  // bytes

// Each token and the code the page layout shows it by.
struct Token {
    std::string_view spelling;
    std::string_view code;
};
constexpr Token kTokens[] = {
    {"&[PATH]", "&Z"},       {"&[パス]", "&Z"},       {"&[FILE_NAME]", "&F"},  {"&[ファイル名]", "&F"},
    {"&[SHEET_NAME]", "&A"}, {"&[シート名]", "&A"},   {"&[PAGE_NO]", "&P"},    {"&[ページ番号]", "&P"},
    {"&[PAGE_TOTAL]", "&N"}, {"&[総ページ数]", "&N"}, {"&[DATE]", "&D"},       {"&[日付]", "&D"},
    {"&[TIME]", "&T"},       {"&[時刻]", "&T"},
};

// The tokens become their codes; any other "&" is dropped with the character
// after it, so the text carries no code of the caller's own. A UTF-8 trail
// byte is never "&", so the bytes between are copied as they are.
std::string with_codes(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (text[i] != '&') {
            out += text[i++];
            continue;
        }
        const Token* token = std::find_if(std::begin(kTokens), std::end(kTokens),
                                          [&](const Token& t) { return text.substr(i, t.spelling.size()) == t.spelling; });
        if (token != std::end(kTokens)) {
            out += token->code;
            i += token->spelling.size();
        } else {
            i = i + 1 < text.size() ? enc::next_char(enc::kUtf8, text, i + 1) : text.size();
        }
    }
    return out;
}

// Statement codes run 801, 811, ... 851 by section, with the font fields at +1 to +4.
constexpr model::HeaderFooterSection kSections[] = {
    model::kHeaderLeft, model::kHeaderRight, model::kHeaderCenter,
    model::kFooterLeft, model::kFooterRight, model::kFooterCenter,
};
constexpr FontField kFontFields[] = {FontField::Name, FontField::Size, FontField::Style, FontField::Color};

int apply_header_footer(StatementContext& c, model::Sheet& sheet) {
    const int32_t offset = c.code - stmt::kHeaderLeft;
    model::HeaderFooterText& section = sheet.properties.header_footer[kSections[offset / 10]];
    const int32_t field = offset % 10;
    if (field > 0) {
        static constexpr FontRules kRules{.own_names = false, .bad_size = kFailed};
        model::XLS_FONT font = section.font;
        if (int rc = set_font_field(c, font, kFontFields[field - 1], kRules)) return rc;
        section.font = font;
        return 0;
    }
    const std::string text = c.value.utf8();
    if (text.size() > kMaxText)
        return fail(c.book, kFailed, Msg::KeywordTooLong,
                    {std::string_view(c.value.sjis()), static_cast<long long>(kMaxText)});
    section.text = with_codes(text);
    return 0;
}

constexpr ApplierEntry kHeaderFooterAppliers[] = {
    {stmt::kHeaderLeft, stmt::kFooterCenterFontColor, on_sheet<apply_header_footer>},
};

}  // namespace

std::span<const ApplierEntry> header_footer_appliers() { return kHeaderFooterAppliers; }

}  // namespace tova::property
