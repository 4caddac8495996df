// Book and sheet settings in saved workbooks, judged by openpyxl, by the
// schemas and by LibreOffice printing the books to PDF.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "support/readers.hpp"
#include "support/saved_books.hpp"
#include "support/test_support.hpp"
#include "tova_api.h"

namespace tova {
namespace {

using SavedSettings = test::SavedBooks;

// Every statement of the book, sheet, page and header families at once (the
// thumbnail is a JPEG header only: the package carries its bytes unread).
std::string every_statement(const std::string& thumbnail) {
    return "BOOK.COMPANY=\"R&D <Lab>\" BOOK.CREATOR=山田 BOOK.MANAGER=Boss BOOK.TITLE=月次報告 BOOK.SUBJECT=売上 "
           "BOOK.TAG=\"q1 q2\" BOOK.COMMENT=メモ BOOK.WRITE_PASSWORD=secret BOOK.RECALC=FALSE BOOK.BACKUP=TRUE "
           "BOOK.FINAL=TRUE BOOK.THUMBNAIL.PATH=\"" + thumbnail + "\" BOOK.FONT.NAME=明朝 BOOK.FONT.SIZE=12 "
           "BOOK.FONT.COLOR=NAVY BOOK.FONT.STYLE=regular BOOK.X=100 BOOK.Y=50 BOOK.WIDTH=20000 BOOK.HEIGHT=12000 "
           "AUTO_WIDTH=TRUE "
           "SHEET=Hidden SHEET.HIDDEN=TRUE "
           "SHEET=\"売上 R&D's\" A1=100 B1=Title ZOOM=80 SHEET.DISPLAY=pageLayout SHEET.HIDDEN_GRID=TRUE "
           "SHEET.HIDDEN_HEADER=TRUE SHEET.FROZEN_SPLIT=B3 SHEET.TAB.COLOR=RED SHEET.PASSWORD=test "
           "SHEET.Protect.formatCells=TRUE SHEET.Protect.formatColumns=TRUE SHEET.Protect.formatRows=TRUE "
           "SHEET.Protect.insColumns=TRUE SHEET.Protect.insRows=TRUE SHEET.Protect.insHyperlinks=TRUE "
           "SHEET.Protect.delColumns=TRUE SHEET.Protect.delRows=TRUE SHEET.Protect.sort=TRUE "
           "SHEET.Protect.autoFilter=TRUE SHEET.Protect.pivotTables=TRUE SHEET.Protect.objects=TRUE "
           "SHEET.Protect.scenarios=TRUE SHEET.SCROLL_ROW=3 "
           "PAPER.SIZE=A4 PAPER.ORIENTATION=LANDSCAPE PAPER.SCALE=85 PAPER.DPI=300 PAPER.MARGIN.TOP=2.5 "
           "PAPER.MARGIN.BOTTOM=2 PAPER.MARGIN.LEFT=1.5 PAPER.MARGIN.RIGHT=1 PAPER.MARGIN.HEADER=0.5 "
           "PAPER.MARGIN.FOOTER=0.7 SHEET.PRINT_TITLE_ROW=1:2 SHEET.PRINT_TITLE_COLUMN=A:B "
           "SHEET.HEADER.LEFT=\"&[SHEET_NAME]\" SHEET.HEADER.CENTER=\"Page &[PAGE_NO] of &[PAGE_TOTAL]\" "
           "SHEET.HEADER.CENTER.FONT.NAME=ゴシック SHEET.HEADER.CENTER.FONT.SIZE=14 "
           "SHEET.HEADER.CENTER.FONT.STYLE=bold SHEET.HEADER.CENTER.FONT.COLOR=RED "
           "SHEET.HEADER.RIGHT=\"&[DATE] &[TIME]\" SHEET.FOOTER.LEFT=\"&[FILE_NAME]&\" "
           "SHEET.FOOTER.CENTER=\"R&&D <&[PATH]>\" SHEET.FOOTER.RIGHT=右 SHEET.FOOTER.RIGHT.FONT.SIZE=8 "
           "SHEET.FOOTER.RIGHT.FONT.COLOR=0000FF "
           "SHEET=Top SHEET.FROZEN_TOP=TRUE SHEET.Protect=TRUE PAPER.SIZE=B4 SHEET.PRINT_TITLE_ROW=3 "
           "A1=\"='売上 R&D''s'!A1*2\" "
           "SHEET=Left SHEET.FROZEN_LEFT=TRUE PRINT_PAGE_FIT.HORIZONTAL=1 SHEET.PRINT_TITLE_COLUMN=c "
           "SHEET=Fit PRINT_PAGE_FIT.VERTICAL=2 PRINT_PAGE_FIT.HORIZONTAL=3 SHEET.ORDER=ASC";
}

TEST_F(SavedSettings, EverySettingReadsBackAndPassesTheSchemas) {
    const std::string thumbnail = dir_ + "/thumb.jpeg";
    std::ofstream(thumbnail, std::ios::binary) << std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01\x01\0\0\x01", 16);
    auto book = new_book("settings.xlsx");
    put(book.get(), every_statement(thumbnail));
    const std::string path = save(book.get());

    auto schema = test::check_schemas({path});
    if (schema.status != 77) EXPECT_EQ(schema.status, 0) << path;
    auto result = test::openpyxl_properties(path);
    if (result.status == 77) GTEST_SKIP() << "openpyxl is not available";
    ASSERT_EQ(result.status, 0);
    auto read = test::key_values(result.output);

    const std::pair<const char*, const char*> expected[] = {
        {"book.creator", "山田"}, {"book.lastModifiedBy", "山田"}, {"book.title", "月次報告"},
        {"book.subject", "売上"}, {"book.keywords", "q1 q2"}, {"book.description", "メモ"},
        {"book.Company", "R&D <Lab>"}, {"book.Manager", "Boss"}, {"book.calcId", "114210"},
        {"book.reservationPassword", "DAA7"}, {"book.backupFile", "1"}, {"book.final", "True"},
        {"book.xWindow", "100"}, {"book.yWindow", "50"}, {"book.windowWidth", "20000"},
        {"book.windowHeight", "12000"},
        // The hidden first sheet is not the one the book opens on.
        {"book.activeTab", "1"},
        {"sheet1.title", "Hidden"}, {"sheet1.state", "hidden"}, {"sheet1.tabSelected", "False"},

        {"sheet2.title", "売上 R&D's"}, {"sheet2.state", "visible"}, {"sheet2.tabSelected", "True"},
        {"sheet2.zoomScale", "80"}, {"sheet2.view", "pageLayout"}, {"sheet2.showGridLines", "False"},
        {"sheet2.showRowColHeaders", "False"}, {"sheet2.pane", "1.0 2.0 B3 bottomRight frozen"},
        {"sheet2.tabColor", "FFFF0000"}, {"sheet2.protection.sheet", "True"},
        {"sheet2.protection.password", "CBEB"}, {"sheet2.protection.formatCells", "True"},
        {"sheet2.protection.insertHyperlinks", "True"}, {"sheet2.protection.deleteRows", "True"},
        {"sheet2.protection.pivotTables", "True"}, {"sheet2.protection.objects", "True"},
        {"sheet2.protection.scenarios", "True"},
        {"sheet2.paperSize", "9"}, {"sheet2.orientation", "landscape"}, {"sheet2.scale", "85"},
        {"sheet2.verticalDpi", "300"}, {"sheet2.fitToWidth", "None"}, {"sheet2.margin.top", "0.98425"},
        {"sheet2.margin.left", "0.59055"}, {"sheet2.margin.footer", "0.27559"},
        {"sheet2.print_title_rows", "$1:$2"}, {"sheet2.print_title_cols", "$A:$B"},
        {"sheet2.header.left", "&A|ＭＳ Ｐゴシック,標準|11|000000"},
        {"sheet2.header.center", "Page &P of &N|ＭＳ Ｐゴシック,太字|14|FF0000"},
        {"sheet2.header.right", "&D &T|ＭＳ Ｐゴシック,標準|11|000000"},
        {"sheet2.footer.left", "&F|ＭＳ Ｐゴシック,標準|11|000000"},
        {"sheet2.footer.center", "RD <&Z>|ＭＳ Ｐゴシック,標準|11|000000"},
        {"sheet2.footer.right", "右|ＭＳ Ｐゴシック,標準|8|0000FF"},

        {"sheet3.title", "Top"}, {"sheet3.pane", "None 1.0 A2 bottomLeft frozen"},
        {"sheet3.protection.sheet", "True"}, {"sheet3.protection.password", "None"},
        {"sheet3.protection.sort", "False"}, {"sheet3.paperSize", "12"}, {"sheet3.orientation", "portrait"},
        {"sheet3.print_title_rows", "$3:$3"}, {"sheet3.tabSelected", "False"},

        {"sheet4.title", "Left"}, {"sheet4.pane", "1.0 None B1 topRight frozen"}, {"sheet4.fitToPage", "True"},
        {"sheet4.fitToWidth", "1"}, {"sheet4.fitToHeight", "0"}, {"sheet4.print_title_cols", "$C:$C"},
        {"sheet4.protection.sheet", "False"}, {"sheet4.header.center", "None"},

        {"sheet5.title", "Fit"}, {"sheet5.fitToWidth", "3"}, {"sheet5.fitToHeight", "2"}, {"sheet5.scale", "None"},
    };
    for (const auto& [key, value] : expected) EXPECT_EQ(read[key], value) << key;
}

TEST_F(SavedSettings, SheetNamesWithSpacesAmpersandsAndApostrophesWorkEverywhere) {
    auto book = new_book("names.xlsx");
    put(book.get(), "SHEET=\"R&D 'Plan' 1\" A1=100 A2=Head SHEET.PRINT_TITLE_ROW=2 SHEET.PRINT_TITLE_COLUMN=A "
                    "SHEET=Use A1=\"='R&D ''Plan'' 1'!A1*2\"");
    ASSERT_EQ(TOVA_sheet_hyperlink(book.get(), "A1", "R&D 'Plan' 1", "A2"), 0);
    const std::string path = save(book.get());
    auto schema = test::check_schemas({path});
    if (schema.status != 77) EXPECT_EQ(schema.status, 0) << path;

    auto result = test::openpyxl_properties(path);
    if (result.status == 77) GTEST_SKIP() << "openpyxl is not available";
    auto read = test::key_values(result.output);
    EXPECT_EQ(read["sheet1.title"], "R&D 'Plan' 1");
    EXPECT_EQ(read["sheet1.print_title_rows"], "$2:$2");
    EXPECT_EQ(read["sheet1.print_title_cols"], "$A:$A");
    auto computed = test::office_recalc(dir_, path);
    if (computed.status == 77) GTEST_SKIP() << "LibreOffice is not available";
    EXPECT_NE(computed.output.find("Use!A1\t"), std::string::npos) << computed.output;
    EXPECT_NE(computed.output.find("\t200\t'R&D ''Plan'' 1'!A1*2"), std::string::npos) << computed.output;
}

// What LibreOffice prints: one "pageN.KEY" value of the pdf report.
std::string page_value(const std::map<std::string, std::string>& pdf, int page, const std::string& key) {
    auto it = pdf.find("page" + std::to_string(page) + "." + key);
    return it == pdf.end() ? std::string() : it->second;
}

// A sheet of 150 numbered rows under two title rows.
std::string report_rows() {
    std::string list = "SHEET=Report A1=\"Title Row\" A2=Units B2=Price";
    for (int r = 3; r <= 152; ++r)
        list += " A" + std::to_string(r) + "=item" + std::to_string(r) + " B" + std::to_string(r) + "=" +
                std::to_string(r * 10);
    return list;
}

TEST_F(SavedSettings, PrintedPagesFollowThePageSetup) {
    auto landscape = new_book("landscape.xlsx");
    put(landscape.get(), report_rows() +
                             " PAPER.SIZE=A4 PAPER.ORIENTATION=LANDSCAPE SHEET.PRINT_TITLE_ROW=1 "
                             "SHEET.HEADER.CENTER=\"Page &[PAGE_NO] of &[PAGE_TOTAL]\" "
                             "SHEET.FOOTER.LEFT=\"Sheet &[SHEET_NAME] &\"");
    const std::string landscape_path = save(landscape.get());
    auto fitted = new_book("fitted.xlsx");
    put(fitted.get(), report_rows() + " PAPER.SIZE=B4 PRINT_PAGE_FIT.VERTICAL=1 PRINT_PAGE_FIT.HORIZONTAL=1");
    const std::string fitted_path = save(fitted.get());

    auto printed = test::office_to_pdf(dir_, landscape_path);
    if (printed.status == 77) GTEST_SKIP() << "LibreOffice or poppler-utils is not available";
    ASSERT_EQ(printed.status, 0);
    auto pdf = test::key_values(printed.output);
    const int pages = std::stoi(pdf["pages"]);
    ASSERT_GE(pages, 3);
    for (int page = 1; page <= pages; ++page) {
        EXPECT_EQ(page_value(pdf, page, "size"), "842x595") << page;
        const std::string text = page_value(pdf, page, "text");
        EXPECT_NE(text.find("Title Row"), std::string::npos) << page;  // the title row repeats
        EXPECT_NE(text.find("Page " + std::to_string(page) + " of " + std::to_string(pages)), std::string::npos)
            << page << ": " << text;
        EXPECT_NE(text.find("Sheet Report"), std::string::npos) << page;
        EXPECT_EQ(text.find("Units") != std::string::npos, page == 1) << page;  // row 2 is no title row
    }

    printed = test::office_to_pdf(dir_, fitted_path);
    ASSERT_EQ(printed.status, 0);
    pdf = test::key_values(printed.output);
    EXPECT_EQ(pdf["pages"], "1");
    EXPECT_EQ(page_value(pdf, 1, "size"), "729x1032");
    EXPECT_NE(page_value(pdf, 1, "text").find("item152"), std::string::npos);
}

}  // namespace
}  // namespace tova
