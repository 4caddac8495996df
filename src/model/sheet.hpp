// Sheets, rows and the hyperlinks a sheet carries.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/cell.hpp"
#include "model/styles.hpp"
#include "model/temp_file.hpp"
#include "tova_api.h"

namespace tova::model {

constexpr int32_t kMaxRowRecords = 1048577;
constexpr int32_t kMaxCellRecords = 16385;
constexpr size_t kSheetNameMax = 93;  // XLS_SHEET_LEN, bytes of UTF-8

struct Row {
    std::vector<Cell> cells;   // size() is the count of slots in use
    uint16_t height = 0xFFFF;  // hundredths of a point; all ones when unset
    uint8_t options[2] = {0xFF, 0xFF};  // [0] hidden, [1] page break before the next row (0 = on)
    bool streamed = false;     // the cells went to the sheet's rows file

    bool has_height() const { return height != 0xFFFF && height > 0; }
    bool hidden() const { return options[0] == 0; }
    bool page_break() const { return options[1] == 0; }
};

// Bits of Sheet::column_options.
constexpr uint8_t kColumnPageBreak = 1;

enum class LinkKind : int32_t { Sheet = 0, External = 1, Image = 2 };

struct Hyperlink {
    LinkKind kind = LinkKind::Sheet;
    int32_t row = 0;            // zero-based cell the link sits on
    int32_t column = 0;
    std::string target_sheet;   // UTF-8, kind Sheet
    int32_t target_row = 0;     // one-based, kind Sheet
    int32_t target_column = 0;
    std::string address;        // kinds External and Image
};

struct PageMargins {
    double top = 1.9, bottom = 1.9, left = 1.8, right = 1.8, header = 0.8, footer = 0.8;  // centimetres
};

struct SheetView {
    int32_t zoom = 100;
    bool hide_grid = false;
    bool hide_headings = false;  // row numbers and column letters
    int32_t mode = 0;            // 0 normal, 1 page layout, 2 page break preview
    uint8_t frozen = 0;          // bit 0 first row, bit 1 first column
    int32_t split_row = 0;       // frozen panes at a cell: rows and columns above and left of it
    int32_t split_column = 0;
    std::string selection;       // sqref text, empty for A1
    int32_t tab_color = -2;      // palette index; -1 RGB below; below -1 none
    uint8_t tab_rgb[3] = {0, 0, 0};
};

struct PageSetup {
    int32_t paper = 4;
    int32_t print_quality = 200;
    int32_t scale = 100;
    int32_t fit_width = 0;       // pages; 0 when not set
    int32_t fit_height = 0;
    bool fit_to_page = false;
    bool landscape = false;
    PageMargins margins;
    // Print titles, one-based; 0 for none. A last value of 0 means the first alone.
    int32_t title_first_row = 0, title_last_row = 0;
    int32_t title_first_column = 0, title_last_column = 0;
};

// What a protected sheet still locks, one flag each (1 locked), in this order.
enum ProtectionOption : uint8_t {
    kProtectFormatCells, kProtectFormatColumns, kProtectFormatRows, kProtectInsertColumns, kProtectInsertRows,
    kProtectInsertHyperlinks, kProtectDeleteColumns, kProtectDeleteRows, kProtectSort, kProtectAutoFilter,
    kProtectPivotTables, kProtectObjects, kProtectScenarios, kProtectionOptions
};

// The six header and footer sections, each side left to right.
enum HeaderFooterSection : uint8_t {
    kHeaderLeft, kHeaderCenter, kHeaderRight, kFooterLeft, kFooterCenter, kFooterRight, kHeaderFooterSections
};

struct HeaderFooterText {
    std::string text;  // UTF-8, the tokens already replaced by their codes (&P, &N, ...)
    XLS_FONT font;     // the default font until a font statement changes it
};

struct SheetProperties {
    SheetView view;
    PageSetup page;
    uint8_t options[5] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};  // [0] on once a column width was set
    bool hidden = false;
    bool is_protected = false;
    std::string password;        // sheet protection password (Shift-JIS, as hashed), empty for none
    std::array<uint8_t, kProtectionOptions> protection{};
    std::array<HeaderFooterText, kHeaderFooterSections> header_footer;
    int32_t default_row_height = 1350;        // hundredths of a point
    int32_t filter[4] = {-1, -1, -1, -1};     // auto filter corners, zero-based; -1 unset

    bool columns_sized() const { return options[0] == 0; }
    bool has_print_titles() const {
        return page.title_first_row || page.title_last_row || page.title_first_column || page.title_last_column;
    }
};

struct Sheet {
    std::string name;             // UTF-8, at most kSheetNameMax bytes
    int32_t template_sheet = -1;  // sheet this one was copied from in template mode
    std::string code_name;        // from a package; empty for a new sheet
    int32_t index = 0;

    std::vector<Row> rows;        // size() is the count of rows in use

    // Per-column arrays, grown together as cells reach further columns.
    std::vector<double> column_widths;   // characters, 0 = default
    std::vector<uint8_t> column_options;
    std::vector<int32_t> column_styles;  // one-based cell format, negative = always text

    std::vector<Hyperlink> hyperlinks;

    int32_t last_loaded_row = 0;  // one-based last row of the latest data load, 0 = none
    int32_t scroll_row = -1;
    int32_t last_streamed_row = -1;  // zero-based, -1 before the first streamed row
    XLS_RECT streamed_extent = {-1, -1, -1, -1};  // cells written to the rows file

    TempFile rows_file;
    SheetProperties properties;

    int32_t rows_in_use() const { return static_cast<int32_t>(rows.size()); }
};

}  // namespace tova::model
