#include "writer/package_parts.hpp"

#include <cstdio>
#include <cstring>

#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "platform/encoding.hpp"
#include "writer/sheet_order.hpp"
#include "writer/xml_out.hpp"

namespace tova::writer {
namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
constexpr std::string_view kRelationshipsOpen =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
constexpr std::string_view kOfficeRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr std::string_view kPackageRel = "http://schemas.openxmlformats.org/package/2006/relationships/";
constexpr std::string_view kSheetMl = "application/vnd.openxmlformats-officedocument.spreadsheetml.";

std::string escaped(std::string_view text) {
    std::string out;
    enc::xml_escape_append(out, text, enc::XML_ESCAPE);
    return out;
}

template <size_t N>
std::string_view field(const char (&text)[N]) {
    return std::string_view(text, strnlen(text, N));
}

void relationship(std::string& out, int id, std::string_view base, std::string_view type, std::string_view target) {
    out += "<Relationship Id=\"rId";
    out += std::to_string(id);
    out += "\" Type=\"";
    out += base;
    out += type;
    out += "\" Target=\"";
    out += target;
    out += "\"/>";
}

void override_part(std::string& out, std::string_view part, std::string_view type, bool space_before_close = false) {
    out += "<Override PartName=\"";
    out += part;
    out += "\" ContentType=\"";
    out += type;
    out += space_before_close ? "\" />" : "\"/>";
}

void numbered_overrides(std::string& out, int count, std::string_view prefix, std::string_view suffix,
                        std::string_view type, bool space_before_close = false) {
    for (int k = 1; k <= count; ++k)
        override_part(out, std::string(prefix) + std::to_string(k) + std::string(suffix), type, space_before_close);
}

struct ImageDefault {
    int type;
    std::string_view extension;
};
constexpr ImageDefault kImageDefaults[] = {
    {201, "bmp"}, {202, "jpeg"}, {203, "png"}, {204, "gif"}, {205, "tiff"}, {207, "wmf"}, {206, "emf"},
};

void image_default(std::string& out, std::string_view extension) {
    out += "<Default Extension=\"";
    out += extension;
    out += "\" ContentType=\"image/";
    out += extension;
    out += "\"/>";
}

bool has_type(const std::vector<int>& types, int type) {
    for (int t : types)
        if (t == type) return true;
    return false;
}

// One sheet's print-title reference: rows and/or columns, joined by ",".
std::string print_titles(const model::Sheet& sheet) {
    const model::PageSetup& p = sheet.properties.page;
    std::string name = quoted_sheet_name(sheet.name);
    std::string text;
    if (p.title_first_row > 0) {
        int32_t last = p.title_last_row > 0 ? p.title_last_row : p.title_first_row;
        text += name + "!$" + std::to_string(p.title_first_row) + ":$" + std::to_string(last);
    }
    if (p.title_first_column > 0) {
        int32_t last = p.title_last_column > 0 ? p.title_last_column : p.title_first_column;
        if (!text.empty()) text += ',';
        text += name + "!$";
        append_column_letters(text, p.title_first_column - 1);
        text += ":$";
        append_column_letters(text, last - 1);
    }
    return text;
}

std::string w3cdtf_utc(std::time_t now) {
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

void optional_element(std::string& out, std::string_view tag, std::string_view value) {
    if (value.empty()) return;
    out += '<';
    out += tag;
    out += '>';
    out += escaped(value);
    out += "</";
    out += tag;
    out += '>';
}

}  // namespace

std::string content_types_part(const XLS_BOOK& book, const PackageContents& contents) {
    const int sheets = static_cast<int>(work_area(book)->book.sheets.size());
    std::string out(kDeclaration);
    out += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">";
    for (const auto& image : kImageDefaults)
        if (has_type(contents.image_types, image.type)) image_default(out, image.extension);
    if (contents.thumbnail && !has_type(contents.image_types, 202)) image_default(out, "jpeg");

    override_part(out, "/xl/theme/theme1.xml", "application/vnd.openxmlformats-officedocument.theme+xml");
    override_part(out, "/xl/styles.xml", std::string(kSheetMl) + "styles+xml");
    out += "<Default Extension=\"bin\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.printerSettings\"/>";
    out += "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>";
    out += "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
    override_part(out, "/xl/workbook.xml", std::string(kSheetMl) + "sheet.main+xml");
    override_part(out, "/docProps/app.xml", "application/vnd.openxmlformats-officedocument.extended-properties+xml");

    numbered_overrides(out, contents.comment_sheets, "/xl/comments", ".xml", std::string(kSheetMl) + "comments+xml", true);
    numbered_overrides(out, contents.tables, "/xl/tables/table", ".xml", std::string(kSheetMl) + "table+xml", true);
    numbered_overrides(out, contents.controls, "/xl/ctrlProps/ctrlProp", ".xml", "application/vnd.ms-excel.controlproperties+xml");
    if (contents.comment_sheets || contents.tables || contents.controls)
        out += "<Default Extension=\"vml\" ContentType=\"application/vnd.openxmlformats-officedocument.vmlDrawing\"/>";

    if (contents.final)
        override_part(out, "/docProps/custom.xml", "application/vnd.openxmlformats-officedocument.custom-properties+xml");
    numbered_overrides(out, contents.charts, "/xl/charts/chart", ".xml", "application/vnd.openxmlformats-officedocument.drawingml.chart+xml");
    numbered_overrides(out, contents.drawing_sheets, "/xl/drawings/drawing", ".xml", "application/vnd.openxmlformats-officedocument.drawing+xml");
    numbered_overrides(out, sheets, "/xl/worksheets/sheet", ".xml", std::string(kSheetMl) + "worksheet+xml");

    override_part(out, "/xl/sharedStrings.xml", std::string(kSheetMl) + "sharedStrings+xml");
    override_part(out, "/docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml");
    out += "</Types>";
    return out;
}

std::string package_rels_part(const PackageContents& contents) {
    std::string out(kDeclaration);
    out += kRelationshipsOpen;
    if (contents.final) relationship(out, contents.thumbnail ? 5 : 4, kOfficeRel, "custom-properties", "docProps/custom.xml");
    if (contents.thumbnail) relationship(out, 4, kPackageRel, "metadata/thumbnail", "docProps/thumbnail.jpeg");
    relationship(out, 3, kOfficeRel, "extended-properties", "docProps/app.xml");
    relationship(out, 2, kPackageRel, "metadata/core-properties", "docProps/core.xml");
    relationship(out, 1, kOfficeRel, "officeDocument", "xl/workbook.xml");
    out += "</Relationships>";
    return out;
}

std::string app_part(const XLS_BOOK& book) {
    const auto& sheets = work_area(book)->book.sheets;
    const int n = static_cast<int>(sheets.size());
    std::vector<int32_t> order = sheet_order(book);
    int titled = 0;
    for (const auto& sheet : sheets) titled += sheet.properties.has_print_titles();

    std::string out(kDeclaration);
    out += "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
           "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
           "<Application>Microsoft Excel</Application><DocSecurity>0</DocSecurity><ScaleCrop>false</ScaleCrop>";
    out += "<HeadingPairs><vt:vector size=\"" + std::to_string(titled > 0 ? 4 : 2) + "\" baseType=\"variant\">";
    out += "<vt:variant><vt:lpstr>ワークシート</vt:lpstr></vt:variant><vt:variant><vt:i4>" + std::to_string(n) +
           "</vt:i4></vt:variant>";
    if (titled > 0)
        out += "<vt:variant><vt:lpstr>名前付き一覧</vt:lpstr></vt:variant><vt:variant><vt:i4>" +
               std::to_string(titled) + "</vt:i4></vt:variant>";
    out += "</vt:vector></HeadingPairs>";
    out += "<TitlesOfParts><vt:vector size=\"" + std::to_string(n + titled) + "\" baseType=\"lpstr\">";
    for (int i = 1; i <= n; ++i) out += "<vt:lpstr>Sheet" + std::to_string(i) + "</vt:lpstr>";
    for (int32_t index : order)
        if (sheets[index].properties.has_print_titles())
            out += "<vt:lpstr>" + escaped(quoted_sheet_name(sheets[index].name)) + "!Print_Titles</vt:lpstr>";
    out += "</vt:vector></TitlesOfParts>";
    optional_element(out, "Manager", field(book.manager));
    out += "<Company>" + escaped(field(book.company)) + "</Company>";
    out += "<LinksUpToDate>false</LinksUpToDate><SharedDoc>false</SharedDoc><HyperlinksChanged>false</HyperlinksChanged>";
    out += book.target_version == 30 ? "<AppVersion>14.0000</AppVersion>" : "<AppVersion>12.0000</AppVersion>";
    out += "</Properties>";
    return out;
}

std::string core_part(const XLS_BOOK& book, std::time_t now) {
    const std::string stamp = w3cdtf_utc(now);
    std::string out(kDeclaration);
    out += "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
           "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">";
    optional_element(out, "dc:title", field(book.title));
    optional_element(out, "dc:subject", field(book.subject));
    optional_element(out, "cp:keywords", field(book.keywords));
    optional_element(out, "dc:description", field(book.description));
    out += "<dc:creator>" + escaped(field(book.creator)) + "</dc:creator>";
    out += "<cp:lastModifiedBy>" + escaped(field(book.creator)) + "</cp:lastModifiedBy>";
    out += "<dcterms:created xsi:type=\"dcterms:W3CDTF\">" + stamp + "</dcterms:created>";
    out += "<dcterms:modified xsi:type=\"dcterms:W3CDTF\">" + stamp + "</dcterms:modified>";
    out += "</cp:coreProperties>";
    return out;
}

std::string_view custom_part() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
           "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/custom-properties\" "
           "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
           "<property fmtid=\"{D5CDD505-2E9C-101B-9397-08002B2CF9AE}\" pid=\"2\" name=\"_MarkAsFinal\">"
           "<vt:bool>true</vt:bool></property></Properties>";
}

std::string workbook_rels_part(int sheets) {
    std::string out(kDeclaration);
    out += kRelationshipsOpen;
    for (int i = sheets; i >= 1; --i)
        relationship(out, i, kOfficeRel, "worksheet", "worksheets/sheet" + std::to_string(i) + ".xml");
    relationship(out, sheets + 3, kOfficeRel, "sharedStrings", "sharedStrings.xml");
    relationship(out, sheets + 2, kOfficeRel, "styles", "styles.xml");
    relationship(out, sheets + 1, kOfficeRel, "theme", "theme/theme1.xml");
    out += "</Relationships>";
    return out;
}

std::string workbook_part(const XLS_BOOK& book) {
    const model::Workbook& model = work_area(book)->book;
    std::vector<int32_t> order = sheet_order(book);

    std::string out(kDeclaration);
    out += "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
           "<fileVersion appName=\"xl\" lastEdited=\"4\" lowestEdited=\"4\" rupBuild=\"4506\"/>";
    if (!model.write_password.empty())
        out += "<fileSharing userName=\"" + escaped(field(book.creator)) + "\" reservationPassword=\"" +
               legacy_password_hash(model.write_password) + "\"/>";
    out += flag_on(book, XLS_FLAG_BACKUP) ? "<workbookPr backupFile=\"1\" defaultThemeVersion=\"124226\"/>"
                                          : "<workbookPr  defaultThemeVersion=\"124226\"/>";
    const size_t active = active_sheet_position(book);
    out += "<bookViews><workbookView xWindow=\"" + std::to_string(book.window_x) + "\" yWindow=\"" +
           std::to_string(book.window_y) + "\" windowWidth=\"" + std::to_string(book.window_width) +
           "\" windowHeight=\"" + std::to_string(book.window_height) + "\"";
    if (active > 0) out += " activeTab=\"" + std::to_string(active) + "\"";
    out += "/></bookViews><sheets>";
    for (size_t i = 0; i < order.size(); ++i) {
        const model::Sheet& sheet = model.sheets[order[i]];
        out += "<sheet name=\"" + escaped(sheet.name) + "\" sheetId=\"" + std::to_string(i + 1) + "\" r:id=\"rId" +
               std::to_string(i + 1) + "\"" + (written_hidden(book, i) ? " state=\"hidden\"" : "") + "/>";
    }
    out += "</sheets>";

    std::string names;
    for (size_t i = 0; i < order.size(); ++i) {
        const model::Sheet& sheet = model.sheets[order[i]];
        if (!sheet.properties.has_print_titles()) continue;
        std::string titles = print_titles(sheet);
        if (titles.empty()) continue;
        names += "<definedName name=\"_xlnm.Print_Titles\" localSheetId=\"" + std::to_string(i) + "\">" +
                 escaped(titles) + "</definedName>";
    }
    if (!names.empty()) out += "<definedNames>" + names + "</definedNames>";
    out += flag_on(book, XLS_FLAG_RECALC) ? "<calcPr calcId=\"145621\"/>" : "<calcPr calcId=\"114210\"/>";
    out += "</workbook>";
    return out;
}

size_t active_sheet_position(const XLS_BOOK& book) {
    const auto& sheets = work_area(book)->book.sheets;
    std::vector<int32_t> order = sheet_order(book);
    for (size_t i = 0; i < order.size(); ++i)
        if (!sheets[order[i]].properties.hidden) return i;
    return 0;
}

bool written_hidden(const XLS_BOOK& book, size_t position) {
    std::vector<int32_t> order = sheet_order(book);
    return position != active_sheet_position(book) && work_area(book)->book.sheets[order[position]].properties.hidden;
}

std::string legacy_password_hash(std::string_view password) {
    uint16_t hash = 0;
    for (size_t i = 0; i < password.size(); ++i) {
        // Each byte sign-extended to 16 bits, rotated left by its position within 15 bits.
        uint64_t c = static_cast<uint16_t>(static_cast<int16_t>(static_cast<signed char>(password[i])));
        uint64_t v = i + 1 < 48 ? c << (i + 1) : 0;
        hash ^= static_cast<uint16_t>((v >> 15) | (v & 0x7FFF));
    }
    hash ^= static_cast<uint16_t>(password.size()) ^ 0xCE4B;
    char text[8];
    std::snprintf(text, sizeof text, "%04X", hash);
    return text;
}

std::string quoted_sheet_name(std::string_view name) {
    std::string out = "'";
    for (char c : name) {
        if (c == '\'') out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

}  // namespace tova::writer
