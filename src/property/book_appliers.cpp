// Statements on the whole book: its file name, document properties, passwords
// and options, the default font, the window and the thumbnail.
#include <cstring>
#include <string>

#include "api/arglist.hpp"
#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "platform/ascii.hpp"
#include "platform/encoding.hpp"
#include "platform/file_type.hpp"
#include "property/applier_support.hpp"

namespace tova::property {
namespace {

constexpr size_t kMaxFileName = 256;
constexpr size_t kMaxPassword = 16;

template <size_t N>
void store_text(char (&field)[N], std::string_view text) {
    const size_t n = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

// A name without the book's ending gets it. A macro-enabled book stays one,
// so its package keeps ".xlsm" even when the name asks for ".xlsx".
int apply_book_name(StatementContext& c) {
    std::string name = c.value.utf8();  // file names are UTF-8 here
    const bool macro = flag_on(c.book, XLS_FLAG_MACRO_ENABLED);
    const std::string_view ending = macro ? ".xlsm" : ".xlsx";
    if (macro && name.size() > 5 && ends_with_ignoring_case(name, ".xlsx")) name.resize(name.size() - 5);
    if (name.size() <= 5 || !ends_with_ignoring_case(name, ending)) name += ending;
    if (name.size() > kMaxFileName) return fail(c.book, kDoesNotFit, Msg::FileNameTooLong);
    store_text(c.book.file_name, name);
    return 0;
}

// The record keeps these texts in UTF-8; the limit leaves room for the terminator.
struct DocumentProperty {
    int32_t code;
    size_t limit;
    char* (*field)(XLS_BOOK&);
};
constexpr DocumentProperty kDocumentProperties[] = {
    {stmt::kBookCompany, 150, [](XLS_BOOK& b) { return b.company; }},
    {stmt::kBookCreator, 150, [](XLS_BOOK& b) { return b.creator; }},
    {stmt::kBookManager, 150, [](XLS_BOOK& b) { return b.manager; }},
    {stmt::kBookTitle, 300, [](XLS_BOOK& b) { return b.title; }},
    {stmt::kBookSubject, 300, [](XLS_BOOK& b) { return b.subject; }},
    {stmt::kBookTag, 300, [](XLS_BOOK& b) { return b.keywords; }},
    {stmt::kBookComment, 300, [](XLS_BOOK& b) { return b.description; }},
};

int apply_document_property(StatementContext& c) {
    for (const DocumentProperty& property : kDocumentProperties) {
        if (property.code != c.code) continue;
        const std::string text = c.value.utf8();
        if (text.size() > property.limit)
            return fail(c.book, kDoesNotFit, Msg::KeywordTooLong,
                        {std::string_view(c.value.sjis()), static_cast<long long>(property.limit)});
        char* field = property.field(c.book);
        std::memcpy(field, text.data(), text.size());
        field[text.size()] = '\0';
    }
    return 0;
}

// Kept as the Shift-JIS bytes, which the legacy verifier hashes as the application does.
int apply_write_password(StatementContext& c) {
    const std::string& password = c.value.sjis();
    if (password.size() > kMaxPassword)
        return fail(c.book, kBadArgument, Msg::KeywordTooLong,
                    {std::string_view(password), static_cast<long long>(kMaxPassword)});
    work_area(c.book)->book.write_password = password;
    return 0;
}

struct BookOption {
    int32_t code;
    int flag;
};
constexpr BookOption kBookOptions[] = {
    {stmt::kBookRecalc, XLS_FLAG_RECALC},
    {stmt::kBookBackup, XLS_FLAG_BACKUP},
    {stmt::kBookFinal, XLS_FLAG_FINAL},
};

int apply_book_option(StatementContext& c) {
    bool yes = false;
    if (int rc = read_yes_no(c, yes)) return rc;
    for (const BookOption& option : kBookOptions)
        if (option.code == c.code) set_flag(c.book, option.flag, yes);
    return 0;
}

int apply_thumbnail(StatementContext& c) {
    std::string path = c.value.utf8();
    args::remove_quotes(path);
    if (path.size() > kMaxFileName) return fail(c.book, kBadArgument, Msg::FileNameTooLong);
    const std::string shown = quoted(enc::kUtf8, path);
    int type = kTypeUnknown;
    if (pel_file_type(kProbeDiskFile, path.c_str(), &type) != 0)
        return fail(c.book, kCannotOpen, Msg::ImageFileOpen, {std::string_view(shown)});
    if (type != kTypeJpeg) return fail(c.book, kBadArgument, Msg::ImageUnsupported, {std::string_view(shown)});
    store_text(c.book.thumbnail_path, path);
    return 0;
}

// Font 0 is the font of every cell without one of its own; changed in place, they all follow.
int apply_book_font(StatementContext& c) {
    static constexpr FontRules kRules{.own_names = true, .bad_size = kBadArgument};
    static constexpr FontField kFields[] = {FontField::Name, FontField::Size, FontField::Color, FontField::Style};
    auto& fonts = model::styles_of(c.book).fonts;
    if (fonts.size() == 0) fonts.append({});
    model::XLS_FONT font = fonts[0];
    if (int rc = set_font_field(c, font, kFields[c.code - stmt::kBookFontName], kRules)) return rc;
    fonts.replace(0, font);
    return 0;
}

// Window sizes are unsigned in the package.
struct WindowField {
    int32_t code;
    int32_t XLS_BOOK::*field;
    bool size;
};
constexpr WindowField kWindowFields[] = {
    {stmt::kBookX, &XLS_BOOK::window_x, false},
    {stmt::kBookY, &XLS_BOOK::window_y, false},
    {stmt::kBookWidth, &XLS_BOOK::window_width, true},
    {stmt::kBookHeight, &XLS_BOOK::window_height, true},
};

int apply_window(StatementContext& c) {
    int32_t value = 0;
    if (int rc = read_integer(c, value)) return rc;
    for (const WindowField& w : kWindowFields) {
        if (w.code != c.code) continue;
        if (w.size && value < 0) return refuse(c, kBadArgument, Msg::BadNumber);
        c.book.*w.field = value;
    }
    return 0;
}

// Only a yes changes anything: automatic widths, once on, stay on.
int apply_auto_width(StatementContext& c) {
    if (vocab::yes_no(c.value.sjis()) == true) set_flag(c.book, XLS_FLAG_AUTO_WIDTH, true);
    return 0;
}

constexpr ApplierEntry kBookAppliers[] = {
    {stmt::kBook, stmt::kBook, apply_book_name},
    {stmt::kBookCompany, stmt::kBookComment, apply_document_property},
    {stmt::kTemplate, stmt::kTemplate, apply_template},
    {stmt::kBookWritePassword, stmt::kBookWritePassword, apply_write_password},
    {stmt::kBookRecalc, stmt::kBookBackup, apply_book_option},
    {stmt::kBookThumbnailPath, stmt::kBookThumbnailPath, apply_thumbnail},
    {stmt::kBookFinal, stmt::kBookFinal, apply_book_option},
    {stmt::kBookFontName, stmt::kBookFontStyle, apply_book_font},
    {stmt::kBookX, stmt::kBookHeight, apply_window},
    {stmt::kAutoWidth, stmt::kAutoWidth, apply_auto_width},
};

}  // namespace

std::span<const ApplierEntry> book_appliers() { return kBookAppliers; }

}  // namespace tova::property
