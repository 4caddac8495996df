// <sheetData>: one <row> per row that carries cells, height or visibility;
// cells from memory or read back from the sheet's rows file.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "api/call_frame.hpp"
#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "model/cell_store.hpp"
#include "model/row_stream.hpp"
#include "writer/worksheet_part.hpp"

namespace tova::writer {
namespace {

using model::Cell;
using model::StreamedCell;

// What a cell element needs, whether the cell is in memory or streamed.
struct CellView {
    uint8_t kind;
    int32_t style;
    int32_t number;
    std::string_view text;        // value text, or the formula for formula kinds
    std::string_view result;      // stored result (kind 51)
    std::string_view attributes;  // extra attributes of a formula cell
};

// The serial of a date-time cell: its day plus its time fraction. The fraction
// is kept with six decimals; times are whole seconds, so it snaps back to the
// second it stood for (24:30 is 1.0208333..., not 1.020833). A fraction of a
// day or more keeps its whole part.
double serial_of(int32_t day, std::string_view fraction_text) {
    double fraction = 0.0;
    std::from_chars(fraction_text.data(), fraction_text.data() + fraction_text.size(), fraction);
    return day + std::round(fraction * 86400.0) / 86400.0;
}

class CellWriter {
public:
    CellWriter(XmlOut& out, const XLS_BOOK& book, const SharedStringIndex& strings)
        : out_(out), book_(book), strings_(strings), template_mode_(flag_on(book, XLS_FLAG_TEMPLATE_MODE)) {}

    // Writes one <c>; false for a kind the writer does not know.
    bool write(int32_t row, int32_t column, const CellView& cell) {
        out_.raw("<c r=\"").cell_ref(row, column).raw('"');
        write_style(cell);
        switch (cell.kind) {
            case model::kEmpty:
                out_.raw("/>");
                return true;
            case model::kInteger:
            case model::kDecimal:
            case model::kPercent:
                out_.raw("><v>").raw(cell.text).raw("</v></c>");
                return true;
            case model::kDate:
                out_.raw("><v>").number(cell.number).raw("</v></c>");
                return true;
            case model::kDateTime:
            case model::kTime:
            case model::kTimeSeconds:
                out_.raw("><v>").real(serial_of(cell.number, cell.text)).raw("</v></c>");
                return true;
            case model::kSharedString:
                out_.raw(" t=\"s\"><v>").number(strings_.written(cell.number)).raw("</v></c>");
                return true;
            case model::kLiteralText:
                write_inline_string(cell.text);
                return true;
            case model::kFormula:
            case model::kFormulaResult:
                write_formula(cell);
                return true;
            default:
                return false;
        }
    }

private:
    // The cell's format, else (outside template mode) the built-in one for its kind.
    void write_style(const CellView& cell) {
        int32_t style = cell.style;
        if (style <= 0 && !template_mode_) {
            switch (cell.kind) {
                case model::kPercent: style = book_.builtin_xf[5]; break;
                case model::kDate: style = book_.builtin_xf[0]; break;
                case model::kDateTime: case model::kTime: case model::kTimeSeconds: style = book_.builtin_xf[1]; break;
                default: break;
            }
        }
        if (style > 0) out_.raw(" s=\"").number(style).raw('"');
    }

    void write_inline_string(std::string_view text) {
        if (text.empty()) {
            out_.raw("/>");
            return;
        }
        bool preserve = text.front() == ' ' || text.back() == ' ' || text.front() == '\t' || text.back() == '\t' ||
                        text.front() == '\n' || text.back() == '\n' || text.front() == '\r' || text.back() == '\r';
        out_.raw(preserve ? " t=\"inlineStr\"><is><t xml:space=\"preserve\">" : " t=\"inlineStr\"><is><t>");
        out_.escaped(text, enc::XML_ESCAPE_KEEP_NL).raw("</t></is></c>");
    }

    void write_formula(const CellView& cell) {
        if (!cell.attributes.empty()) out_.raw(' ').raw(cell.attributes);
        if (!cell.text.empty() && cell.text.front() == '<') {
            out_.raw('>').raw(cell.text).raw("<v></v></c>");  // a whole formula element kept by a reader
            return;
        }
        out_.raw("><f>").raw(cell.text).raw("</f>");
        if (cell.kind == model::kFormulaResult) out_.raw("<v>").raw(cell.result).raw("</v>");
        out_.raw("</c>");
    }

    XmlOut& out_;
    const XLS_BOOK& book_;
    const SharedStringIndex& strings_;
    bool template_mode_;
};

void write_row_open(XmlOut& out, int32_t row, const model::Row& r, size_t slots, bool closed) {
    out.raw("<row r=\"").number(static_cast<int64_t>(row) + 1).raw("\" spans=\"1:").number(static_cast<int64_t>(std::max<size_t>(slots, 1))).raw('"');
    if (r.has_height()) {
        out.raw(' ').raw(r.hidden() ? "hidden=\"1\"" : "").raw(" ht=\"").fixed(r.height / 100.0, 6).raw("\" customHeight=\"1\"");
    } else if (r.hidden()) {
        out.raw(" hidden=\"1\"");
    }
    out.raw(closed ? "/>" : ">");
}

CellView view_of(const Cell& cell, std::string& scratch) {
    CellView view{cell.kind, cell.style, cell.number, {}, {}, {}};
    if (cell.kind == model::kInteger) {
        scratch = model::cell_value_text(cell);
        view.text = scratch;
    } else if (cell.formula) {
        view.text = cell.formula->formula;
        view.result = cell.formula->result;
        view.attributes = cell.formula->attributes;
    } else {
        view.text = cell.text.view();
    }
    return view;
}

}  // namespace

int write_sheet_data(XmlOut& out, XLS_BOOK& book, model::Sheet& sheet, const SharedStringIndex& strings) {
    CellWriter cells(out, book, strings);
    std::FILE* rows_file = sheet.rows_file.stream();
    if (rows_file != nullptr) {
        std::fflush(rows_file);
        std::rewind(rows_file);
    }
    std::vector<StreamedCell> streamed;
    std::string scratch;

    out.raw("<sheetData>");
    for (int32_t r = 0; r < sheet.rows_in_use(); ++r) {
        const model::Row& row = sheet.rows[r];
        if (row.streamed) {
            if (rows_file == nullptr)
                return fail(book, -102, Msg::InternalError, {std::string_view("tob_xml_worksheet() tempfile pointer is NULL")});
            if (!model::read_row_block(rows_file, streamed))
                return fail(book, -102, Msg::InternalError, {std::string_view("tob_xml_worksheet() read sheet tempfile")});
            bool any = false;
            for (const StreamedCell& c : streamed) any = any || c.kind != model::kEmpty || c.style > 0;
            if (!any && !row.has_height() && !row.hidden()) continue;
            write_row_open(out, r, row, streamed.size(), !any);
            if (!any) continue;
            for (int32_t c = 0; c < static_cast<int32_t>(streamed.size()); ++c) {
                const StreamedCell& cell = streamed[c];
                if (cell.kind == model::kEmpty && cell.style <= 0) continue;
                std::string_view no_result;
                if (!cells.write(r, c, {cell.kind, cell.style, cell.number, cell.text, no_result, {}}))
                    return fail(book, kFailed, Msg::InternalError, {std::string_view("tob_xml_tempfile_cell() cell type error")});
            }
            out.raw("</row>");
            continue;
        }

        bool any = false;
        for (const Cell& c : row.cells) any = any || c.is_written();
        if (!any && !row.has_height() && !row.hidden()) continue;
        write_row_open(out, r, row, row.cells.size(), !any);
        if (!any) continue;
        for (int32_t c = 0; c < static_cast<int32_t>(row.cells.size()); ++c) {
            const Cell& cell = row.cells[c];
            if (!cell.is_written()) continue;
            if (!cells.write(r, c, view_of(cell, scratch)))
                return fail(book, kFailed, Msg::InternalError, {std::string_view("tob_xml_memcell() cell type error")});
        }
        out.raw("</row>");
    }
    out.raw("</sheetData>");
    return out.status();
}

}  // namespace tova::writer
