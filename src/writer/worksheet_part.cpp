// A worksheet part, element by element in the order the schema requires.
#include "writer/worksheet_part.hpp"

#include "api/call_frame.hpp"
#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "writer/package_parts.hpp"
#include "writer/printer_settings_part.hpp"
#include "writer/sheet_order.hpp"
#include "writer/sheet_relationships.hpp"
#include "writer/style_codes.hpp"

namespace tova::writer {
namespace {

using model::Sheet;

// The smallest rectangle holding every cell the sheet writes, streamed rows included.
XLS_RECT sheet_extent(const Sheet& sheet) {
    XLS_RECT e = sheet.streamed_extent;
    for (int32_t r = 0; r < sheet.rows_in_use(); ++r) {
        const model::Row& row = sheet.rows[r];
        for (int32_t c = 0; c < static_cast<int32_t>(row.cells.size()); ++c) {
            if (!row.cells[c].is_written()) continue;
            if (e.first_row < 0) {
                e = {r, c, r, c};
                continue;
            }
            e.first_row = std::min(e.first_row, r);
            e.last_row = std::max(e.last_row, r);
            e.first_column = std::min(e.first_column, c);
            e.last_column = std::max(e.last_column, c);
        }
    }
    return e;
}

void write_sheet_pr(XmlOut& out, const XLS_BOOK& book, const Sheet& sheet, int part_number) {
    const model::SheetView& view = sheet.properties.view;
    std::string children;
    if (view.tab_color >= -1) {
        children += "<tabColor rgb=\"FF";
        children += view.tab_color == -1 ? rgb_hex(view.tab_rgb) : palette_hex(view.tab_color);
        children += "\"/>";
    }
    if (sheet.properties.page.fit_to_page) children += "<pageSetUpPr fitToPage=\"1\"/>";
    if (flag_on(book, XLS_FLAG_MACRO_ENABLED)) {
        out.raw("<sheetPr codeName=\"");
        if (sheet.code_name.empty()) out.raw("Sheet").number(part_number);
        else out.escaped(sheet.code_name, enc::XML_ESCAPE);
        out.raw('"');
        if (children.empty()) out.raw(" />");
        else out.raw('>').raw(children).raw("</sheetPr>");
    } else if (!children.empty()) {
        out.raw("<sheetPr>").raw(children).raw("</sheetPr>");
    }
}

void write_dimension(XmlOut& out, const Sheet& sheet) {
    XLS_RECT e = sheet_extent(sheet);
    out.raw("<dimension ref=\"");
    if (e.first_row < 0) {
        out.raw("A1");
    } else {
        out.cell_ref(e.first_row, e.first_column);
        if (e.first_row != e.last_row || e.first_column != e.last_column) out.raw(':').cell_ref(e.last_row, e.last_column);
    }
    out.raw("\"/>");
}

void write_pane(XmlOut& out, const model::SheetView& view) {
    if (view.split_row > 0 || view.split_column > 0) {
        // Frozen at a cell; a split in one direction only is a one-direction pane.
        out.raw("<pane");
        if (view.split_column > 0) out.raw(" xSplit=\"").number(view.split_column).raw('"');
        if (view.split_row > 0) out.raw(" ySplit=\"").number(view.split_row).raw('"');
        const char* pane = view.split_row > 0 && view.split_column > 0 ? "bottomRight"
                           : view.split_row > 0                         ? "bottomLeft"
                                                                        : "topRight";
        out.raw(" topLeftCell=\"").cell_ref(view.split_row, view.split_column);
        out.raw("\" activePane=\"").raw(pane).raw("\" state=\"frozen\"/><selection pane=\"").raw(pane).raw("\"/>");
    } else if (view.frozen & 2) {
        out.raw("<pane xSplit=\"1\" topLeftCell=\"B1\" activePane=\"topRight\" state=\"frozen\"/><selection pane=\"topRight\"/>");
    } else if (view.frozen & 1) {
        out.raw("<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/><selection pane=\"bottomLeft\"/>");
    } else {
        std::string_view sqref = view.selection.empty() ? std::string_view("A1") : std::string_view(view.selection);
        std::string_view active = sqref.substr(0, sqref.find_first_of(": "));
        out.raw("<selection activeCell=\"").escaped(active, enc::XML_ESCAPE).raw("\" sqref=\"");
        out.escaped(sqref, enc::XML_ESCAPE).raw("\" />");
    }
}

void write_sheet_views(XmlOut& out, const Sheet& sheet, bool selected) {
    const model::SheetView& view = sheet.properties.view;
    out.raw("<sheetViews><sheetView tabSelected=\"").number(selected ? 1 : 0);
    out.raw("\" zoomScale=\"").number(view.zoom).raw("\" workbookViewId=\"0\" showGridLines=\"");
    out.number(view.hide_grid ? 0 : 1).raw('"');
    if (view.hide_headings) out.raw(" showRowColHeaders=\"0\"");
    if (view.mode == 1) out.raw(" view=\"pageLayout\"");
    if (view.mode == 2) out.raw(" view=\"pageBreakPreview\"");
    out.raw('>');
    write_pane(out, view);
    out.raw("</sheetView></sheetViews>");
}

void write_cols(XmlOut& out, const Sheet& sheet) {
    if (!sheet.properties.columns_sized() || sheet.column_widths.empty()) return;
    out.raw("<cols>");
    for (size_t i = 0; i < sheet.column_widths.size(); ++i) {
        double width = sheet.column_widths[i];
        width = width == 0 ? 8.38 : width < 0 ? 0 : width;
        out.raw("<col min=\"").number(static_cast<int64_t>(i) + 1).raw("\" max=\"").number(static_cast<int64_t>(i) + 1);
        out.raw("\" width=\"").fixed(width, 3).raw("\" bestFit=\"1\" customWidth=\"1\"/>");
    }
    out.raw("</cols>");
}

// In the order of model::ProtectionOption.
constexpr std::string_view kProtectionAttributes[] = {
    "formatCells", "formatColumns", "formatRows", "insertColumns", "insertRows", "insertHyperlinks", "deleteColumns",
    "deleteRows", "sort", "autoFilter", "pivotTables", "objects", "scenarios",
};
static_assert(std::size(kProtectionAttributes) == model::kProtectionOptions);

void write_protection_and_filter(XmlOut& out, const Sheet& sheet) {
    const model::SheetProperties& p = sheet.properties;
    if (p.is_protected) {
        out.raw("<sheetProtection sheet=\"1\"");
        for (size_t i = 0; i < model::kProtectionOptions; ++i) out.attribute(kProtectionAttributes[i], p.protection[i]);
        if (!p.password.empty()) out.raw(" password=\"").raw(legacy_password_hash(p.password)).raw('"');
        out.raw("/>");
    }
    if (p.filter[0] >= 0 && p.filter[1] >= 0 && p.filter[2] >= 0 && p.filter[3] >= 0) {
        out.raw("<autoFilter ref=\"").cell_ref(p.filter[0], p.filter[1]).raw(':').cell_ref(p.filter[2], p.filter[3]);
        out.raw("\" />");
    }
}

void write_merge_cells(XmlOut& out, const XLS_BOOK& book, int32_t sheet_index) {
    const auto& merges = work_area(book)->book.merges;
    int64_t count = 0;
    for (const auto& m : merges) count += m.sheet == sheet_index;
    if (count == 0) return;
    out.raw("<mergeCells count=\"").number(count).raw("\">");
    for (const auto& m : merges) {
        if (m.sheet != sheet_index) continue;
        out.raw("<mergeCell ref=\"").cell_ref(m.area.first_row, m.area.first_column).raw(':');
        out.cell_ref(m.area.last_row, m.area.last_column).raw("\"/>");
    }
    out.raw("</mergeCells>");
}

void write_hyperlinks(XmlOut& out, const Sheet& sheet, const SheetRelationships& rels) {
    bool any = false;
    for (const auto& link : sheet.hyperlinks) any = any || link.kind != model::LinkKind::Image;
    if (!any) return;
    out.raw("<hyperlinks>");
    for (size_t i = 0; i < sheet.hyperlinks.size(); ++i) {
        const model::Hyperlink& link = sheet.hyperlinks[i];
        if (link.kind == model::LinkKind::External) {
            out.raw("<hyperlink ref=\"").cell_ref(link.row, link.column).raw("\" r:id=\"rId").number(rels.hyperlink_ids[i]).raw("\"/>");
        } else if (link.kind == model::LinkKind::Sheet) {
            std::string location = quoted_sheet_name(link.target_sheet) + "!";
            append_column_letters(location, link.target_column - 1);
            location += std::to_string(link.target_row);
            out.raw("<hyperlink ref=\"").cell_ref(link.row, link.column).raw("\" location=\"");
            out.escaped(location, enc::XML_ESCAPE).raw("\" display=\"").escaped(link.target_sheet, enc::XML_ESCAPE).raw("\"/>");
        }
    }
    out.raw("</hyperlinks>");
}

void write_page_setup(XmlOut& out, const Sheet& sheet, const SheetRelationships& rels) {
    const model::PageSetup& page = sheet.properties.page;
    constexpr double kInchPerCm = 0.3937;
    out.raw("<pageMargins left=\"").fixed(page.margins.left * kInchPerCm, 6);
    out.raw("\" right=\"").fixed(page.margins.right * kInchPerCm, 6);
    out.raw("\" top=\"").fixed(page.margins.top * kInchPerCm, 6);
    out.raw("\" bottom=\"").fixed(page.margins.bottom * kInchPerCm, 6);
    out.raw("\" header=\"").fixed(page.margins.header * kInchPerCm, 6);
    out.raw("\" footer=\"").fixed(page.margins.footer * kInchPerCm, 6).raw("\" />");
    out.raw("<pageSetup paperSize=\"").number(paper_number(page.paper)).raw("\" ");
    if (page.fit_width > 0 || page.fit_height > 0) {
        // A fit value given alone leaves the other direction free (0), not one page.
        out.raw("fitToWidth=\"").number(std::max(page.fit_width, 0)).raw("\" ");
        out.raw("fitToHeight=\"").number(std::max(page.fit_height, 0)).raw("\" ");
    } else {
        out.raw("scale=\"").number(page.scale).raw("\" ");
    }
    out.raw("orientation=\"").raw(page.landscape ? "landscape" : "portrait").raw("\" verticalDpi=\"");
    out.number(page.print_quality).raw("\" r:id=\"rId").number(rels.printer_settings_id).raw("\"/>");
}

// The weight some built-in fonts are named with before their style word.
struct FontWeight {
    uint8_t code;
    std::string_view word;
};
constexpr FontWeight kFontWeights[] = {{31, "ﾍﾋﾞｰ "}, {32, "ﾒﾃﾞｨｳﾑ "}, {33, "ﾒﾃﾞｨｳﾑ "}};

// &"name,style"&size&Kcolour, with &U before it for an underlined font.
std::string font_code(const model::XLS_FONT& font) {
    std::string code = (font.style & model::kUnderline) ? "&U&\"" : "&\"";
    code += font.code == model::kOwnFontName ? font.name.view() : font_name(font.code);
    code += ',';
    for (const FontWeight& weight : kFontWeights)
        if (weight.code == font.code) code += weight.word;
    const bool bold = font.style & model::kBold, italic = font.style & model::kItalic;
    code += bold && italic ? "太字 斜体" : bold ? "太字" : italic ? "斜体" : "標準";
    code += "\"&" + std::to_string(font.size) + "&K" + color_hex(font.color);
    return code;
}

// The left, centre and right sections of one side after their position codes.
std::string header_footer_side(const model::SheetProperties& p, model::HeaderFooterSection first) {
    constexpr std::string_view kPositions[] = {"&L", "&C", "&R"};
    std::string side;
    for (int i = 0; i < 3; ++i) {
        const model::HeaderFooterText& section = p.header_footer[first + i];
        if (section.text.empty()) continue;
        side += kPositions[i];
        side += font_code(section.font);
        side += section.text;
    }
    return side;
}

void write_header_footer(XmlOut& out, const Sheet& sheet) {
    const std::string header = header_footer_side(sheet.properties, model::kHeaderLeft);
    const std::string footer = header_footer_side(sheet.properties, model::kFooterLeft);
    if (header.empty() && footer.empty()) return;
    out.raw("<headerFooter alignWithMargins=\"0\"><oddHeader>").escaped(header, enc::XML_ESCAPE_KEEP_NL);
    out.raw("</oddHeader><oddFooter>").escaped(footer, enc::XML_ESCAPE_KEEP_NL).raw("</oddFooter></headerFooter>");
}

void write_breaks(XmlOut& out, const Sheet& sheet) {
    int64_t rows = 0;
    for (const auto& row : sheet.rows) rows += row.page_break();
    if (rows > 0) {
        out.raw("<rowBreaks count=\"").number(rows).raw("\" manualBreakCount=\"").number(rows).raw("\">");
        for (int32_t r = 0; r < sheet.rows_in_use(); ++r)
            if (sheet.rows[r].page_break()) out.raw("<brk id=\"").number(r + 1).raw("\" max=\"16383\" man=\"1\" />");
        out.raw("</rowBreaks>");
    }
    int64_t columns = 0;
    for (uint8_t option : sheet.column_options) columns += (option & model::kColumnPageBreak) != 0;
    if (columns > 0) {
        out.raw("<colBreaks count=\"").number(columns).raw("\" manualBreakCount=\"").number(columns).raw("\">");
        for (size_t c = 0; c < sheet.column_options.size(); ++c)
            if (sheet.column_options[c] & model::kColumnPageBreak)
                out.raw("<brk id=\"").number(static_cast<int64_t>(c) + 1).raw("\" max=\"1048575\" man=\"1\" />");
        out.raw("</colBreaks>");
    }
}

int write_worksheet(const PartTarget& target, XLS_BOOK& book, const SharedStringIndex& strings, int32_t sheet_index,
                    int part_number, bool selected) {
    Sheet& sheet = work_area(book)->book.sheets[sheet_index];
    SheetRelationships rels = plan_sheet_relationships(sheet);
    XmlOut out;
    if (int rc = out.open(target, "xl/worksheets/sheet" + std::to_string(part_number) + ".xml")) return rc;
    out.raw("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
            "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
            "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">");
    write_sheet_pr(out, book, sheet, part_number);
    write_dimension(out, sheet);
    write_sheet_views(out, sheet, selected);
    out.raw("<sheetFormatPr defaultRowHeight=\"").fixed(sheet.properties.default_row_height / 100.0, 1).raw("\"/>");
    write_cols(out, sheet);
    if (int rc = write_sheet_data(out, book, sheet, strings)) return rc;
    write_protection_and_filter(out, sheet);
    write_merge_cells(out, book, sheet_index);
    write_data_validations(out, book, sheet_index);
    write_hyperlinks(out, sheet, rels);
    write_page_setup(out, sheet, rels);
    write_header_footer(out, sheet);
    write_breaks(out, sheet);
    out.raw("</worksheet>");
    return out.close();
}

}  // namespace

int tob_xml_worksheet(const PartTarget& target, XLS_BOOK& book, const SharedStringIndex& strings) {
    std::vector<int32_t> order = sheet_order(book);
    const size_t active = active_sheet_position(book);
    for (size_t i = 0; i < order.size(); ++i)
        if (int rc = write_worksheet(target, book, strings, order[i], static_cast<int>(i) + 1, i == active)) return rc;
    return 0;
}

}  // namespace tova::writer
