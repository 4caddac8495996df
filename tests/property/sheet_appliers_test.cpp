// Book, sheet, page and header statements as they land in the book.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "model/styles.hpp"
#include "support/test_support.hpp"
#include "tova_api.h"

namespace tova {
namespace {

class SheetStatements : public ::testing::Test {
protected:
    void SetUp() override {
        book_ = test::make_zeroed_book();
        ASSERT_EQ(TOVA_open_book(book_.get(), "CHARSET=UTF8"), 0);
        ASSERT_EQ(TOVA_open_sheet(book_.get(), "SHEET_NAME=Data"), 0);
    }

    int put(const std::string& list) { return TOVA_put_values(book_.get(), list.c_str()); }
    model::Workbook& wb() { return work_area(*book_)->book; }
    model::Sheet& sheet(int index = 0) { return wb().sheets.at(index); }
    model::SheetProperties& props() { return sheet().properties; }
    std::string message() { return test::utf8_of_sjis(book_->log.error_info); }
    std::string code() { return message().substr(0, 10); }

    test::BookPtr book_;
};

// A statement that fails: its result and the start of its message.
struct Refusal {
    const char* statement;
    int rc;
    const char* message;
};

const Refusal kRefusals[] = {
    {"ZOOM=9", -3, "TOVA-02313 ズーム(ZOOM)値の範囲(10～400)が不正です(\"9\")"},
    {"ZOOM=401", -3, "TOVA-02313"},
    {"ZOOM=big", -3, "TOVA-02313"},
    {"SHEET.HIDDEN=maybe", -3, "TOVA-02200 サポート外のキーワードです(\"maybe\")"},
    {"SHEET.ORDER=UP", -3, "TOVA-02200"},
    {"BOOK.RECALC=1", -3, "TOVA-02200"},
    {"SHEET.FROZEN_SPLIT=B", -3, "TOVA-02506"},
    {"SHEET.SCROLL_ROW=0", -3, "TOVA-02302 数値が不正です(\"0\")"},
    {"SHEET.SCROLL_ROW=top", -3, "TOVA-02302"},
    {"SHEET.TAB.COLOR=NONE", -1, "TOVA-02401"},
    {"SHEET.TAB.COLOR=12345", -1, "TOVA-02401"},
    {"SHEET.PASSWORD=12345678901234567", -3, "TOVA-02210 キーワードが長すぎます(\"12345678901234567\")。最大長は(16)バイトです。"},
    {"BOOK.WRITE_PASSWORD=12345678901234567", -3, "TOVA-02210 キーワードが長すぎます(\"12345678901234567\")。最大長は(16)バイトです。"},
    {"PAPER.SCALE=5", -3, "TOVA-02302"},
    {"PAPER.DPI=-1", -3, "TOVA-02302"},
    {"PAPER.MARGIN.TOP=1cm", -3, "TOVA-02302"},
    {"PRINT_PAGE_FIT.VERTICAL=0", -3, "TOVA-02507 印刷ページ数合わせ(PRINT_PAGE_FIT)の指定内容が不正です(\"0\")"},
    {"PRINT_PAGE_FIT.HORIZONTAL=x", -3, "TOVA-02507"},
    {"SHEET.PRINT_TITLE_ROW=0", -3, "TOVA-02504"},
    {"SHEET.PRINT_TITLE_ROW=A", -3, "TOVA-02504"},
    {"SHEET.PRINT_TITLE_COLUMN=ABCD", -3, "TOVA-02505"},
    {"SHEET.PRINT_TITLE_COLUMN=A1", -3, "TOVA-02505"},
    {"SHEET.PRINT_TITLE_COLUMN=XFE", -3, "TOVA-02505"},
    {"SHEET.HEADER.LEFT.FONT.NAME=Arial", -1, "TOVA-02403"},
    {"SHEET.HEADER.LEFT.FONT.SIZE=big", -1, "TOVA-02403"},
    {"SHEET.FOOTER.CENTER.FONT.STYLE=heavy", -1, "TOVA-02403"},
    {"SHEET.FOOTER.RIGHT.FONT.COLOR=NONE", -1, "TOVA-02401"},
    {"BOOK.FONT.SIZE=big", -3, "TOVA-02403"},
    {"BOOK.FONT.SIZE=0", -3, "TOVA-02403"},
    {"BOOK.FONT.STYLE=heavy", -1, "TOVA-02403"},
    {"BOOK.FONT.COLOR=NONE", -1, "TOVA-02401"},
    {"BOOK.WIDTH=-5", -3, "TOVA-02302"},
    {"BOOK.X=left", -3, "TOVA-02302"},
    {"SHEET=\"a/b\"", -3, "TOVA-02320"},
    {"SHEET=\"\"", -3, "TOVA-02320"},
    {"SHEET=\"12345678901234567890123456789012\"", -3, "TOVA-02320"},
    {"SHEET=data", -3, "TOVA-02321 既に存在しているシート名です(\"data\")"},
    {"SHEET=\"'quoted'\"", -3, "TOVA-02320"},
};

TEST_F(SheetStatements, RefusedValuesLeaveTheBookAsItWas) {
    const model::SheetProperties before = props();
    for (const Refusal& r : kRefusals) {
        EXPECT_EQ(put(r.statement), r.rc) << r.statement;
        EXPECT_EQ(message().rfind(r.message, 0), 0u) << r.statement << ": " << message();
    }
    EXPECT_EQ(wb().sheets.size(), 1u);
    EXPECT_EQ(props().view.zoom, before.view.zoom);
    EXPECT_EQ(props().page.scale, before.page.scale);
    EXPECT_EQ(props().page.title_first_row, 0);
    EXPECT_EQ(model::styles_of(*book_).fonts[0], model::XLS_FONT{});
}

TEST_F(SheetStatements, BookFileNames) {
    struct Case { const char* value; const char* stored; bool macro; };
    const Case cases[] = {
        {"report", "report.xlsx", false},         {"report.XLSX", "report.XLSX", false},
        {"a.x", "a.x.xlsx", false},               {".xlsx", ".xlsx.xlsx", false},
        {"/tmp/売上.xlsx", "/tmp/売上.xlsx", false}, {"report", "report.xlsm", true},
        {"report.xlsx", "report.xlsm", true},     {"report.XLSM", "report.XLSM", true},
    };
    for (const Case& c : cases) {
        set_flag(*book_, XLS_FLAG_MACRO_ENABLED, c.macro);
        ASSERT_EQ(put(std::string("BOOK=\"") + c.value + "\""), 0) << c.value;
        EXPECT_STREQ(book_->file_name, c.stored);
    }
    EXPECT_EQ(put("BOOK=" + std::string(252, 'n')), -909);
    EXPECT_EQ(code(), "TOVA-00005");
    EXPECT_STREQ(book_->file_name, "report.XLSM");
    EXPECT_EQ(put("BOOK.NAME=" + std::string(251, 'n')), 0);
}

TEST_F(SheetStatements, DocumentPropertiesAreUtf8WithTheirLimits) {
    ASSERT_EQ(put("BOOK.COMPANY=\"R&D 株式会社\" BOOK.CREATOR=山田 BOOK.MANAGER=boss BOOK.TITLE=売上 "
                  "BOOK.SUBJECT=月次 BOOK.TAG=\"a b\" BOOK.COMMENT=メモ"),
              0);
    EXPECT_STREQ(book_->company, "R&D 株式会社");
    EXPECT_STREQ(book_->creator, "山田");
    EXPECT_STREQ(book_->manager, "boss");
    EXPECT_STREQ(book_->title, "売上");
    EXPECT_STREQ(book_->subject, "月次");
    EXPECT_STREQ(book_->keywords, "a b");
    EXPECT_STREQ(book_->description, "メモ");
    // 50 characters of three UTF-8 bytes each fill the 150 bytes exactly; one more byte is too many.
    std::string fifty;
    for (int i = 0; i < 50; ++i) fifty += "あ";
    EXPECT_EQ(put("BOOK.COMPANY=" + fifty), 0);
    EXPECT_EQ(put("BOOK.COMPANY=" + fifty + "x"), -909);
    EXPECT_NE(message().find("最大長は(150)バイトです。"), std::string::npos) << message();
    EXPECT_EQ(put("BOOK.TITLE=" + std::string(301, 't')), -909);
    EXPECT_NE(message().find("(300)"), std::string::npos);
    EXPECT_STREQ(book_->company, fifty.c_str());
}

TEST_F(SheetStatements, BookOptionsPasswordsAndWindow) {
    ASSERT_EQ(put("BOOK.RECALC=FALSE BOOK.BACKUP=する BOOK.FINAL=TRUE SHEET.ORDER=DESC BOOK.WRITE_PASSWORD=secret "
                  "BOOK.X=20 BOOK.Y=30 BOOK.WIDTH=1,200 BOOK.HEIGHT=900.7"),
              0);
    EXPECT_FALSE(flag_on(*book_, XLS_FLAG_RECALC));
    EXPECT_TRUE(flag_on(*book_, XLS_FLAG_BACKUP));
    EXPECT_TRUE(flag_on(*book_, XLS_FLAG_FINAL));
    EXPECT_TRUE(flag_on(*book_, XLS_FLAG_DESCENDING_SHEETS));
    EXPECT_EQ(wb().write_password, "secret");
    EXPECT_EQ(book_->window_x, 20);
    EXPECT_EQ(book_->window_y, 30);
    EXPECT_EQ(book_->window_width, 1200);
    EXPECT_EQ(book_->window_height, 900);
    ASSERT_EQ(put("SHEET.ORDER=正 BOOK.RECALC=する"), 0);
    EXPECT_FALSE(flag_on(*book_, XLS_FLAG_DESCENDING_SHEETS));
    EXPECT_TRUE(flag_on(*book_, XLS_FLAG_RECALC));
}

TEST_F(SheetStatements, AutoWidthOnlyTurnsOn) {
    ASSERT_EQ(put("AUTO_WIDTH=FALSE AUTO_WIDTH=whatever"), 0);
    EXPECT_FALSE(flag_on(*book_, XLS_FLAG_AUTO_WIDTH));
    ASSERT_EQ(put("AUTO_WIDTH=TRUE AUTO_WIDTH=FALSE"), 0);
    EXPECT_TRUE(flag_on(*book_, XLS_FLAG_AUTO_WIDTH));
}

TEST_F(SheetStatements, BookFontChangesFontZeroInPlace) {
    ASSERT_EQ(put("A1=x A2=y A2.FONT.SIZE=20"), 0);
    auto& fonts = model::styles_of(*book_).fonts;
    const int32_t count = fonts.size();
    ASSERT_EQ(put("BOOK.FONT.NAME=明朝 BOOK.FONT.SIZE=14.9 BOOK.FONT.STYLE=bold BOOK.FONT.COLOR=RED"), 0);
    EXPECT_EQ(fonts.size(), count);
    EXPECT_EQ(fonts[0].code, 20);
    EXPECT_EQ(fonts[0].size, 14);
    EXPECT_EQ(fonts[0].style, model::kBold);
    EXPECT_EQ(fonts[0].color.code, 11u);
    EXPECT_EQ(model::find_font(*book_, fonts[0]), 0);
    EXPECT_EQ(model::find_font(*book_, model::XLS_FONT{}), -1);
    // A font that a cell asks for now finds the new font 0 instead of adding one.
    model::XLS_FONT same = fonts[0];
    EXPECT_EQ(model::find_font(*book_, same), 0);

    ASSERT_EQ(put("BOOK.FONT.NAME=\"Noto Sans\" BOOK.FONT.COLOR=#0080FF"), 0);
    EXPECT_EQ(fonts[0].code, model::kOwnFontName);
    EXPECT_EQ(fonts[0].name.view(), "Noto Sans");
    EXPECT_EQ(fonts[0].color, model::rgb(0x00, 0x80, 0xFF));
    EXPECT_EQ(put("BOOK.FONT.NAME=" + std::string(81, 'f')), -1);
    EXPECT_EQ(code(), "TOVA-02403");
    EXPECT_EQ(fonts[0].name.view(), "Noto Sans");
}

TEST_F(SheetStatements, SheetSelectsOrAppendsAndStaysCurrent) {
    ASSERT_EQ(put("SHEET=売上 A1=1"), 0);
    ASSERT_EQ(wb().sheets.size(), 2u);
    EXPECT_EQ(sheet(1).name, "売上");
    EXPECT_EQ(book_->cur_sheet, 1);
    EXPECT_EQ(sheet(1).rows.size(), 1u);
    EXPECT_TRUE(sheet(0).rows.empty());
    ASSERT_EQ(put("A2=2 SHEET.ZOOM=75"), 0);  // a later call stays on it
    EXPECT_EQ(sheet(1).rows.size(), 2u);
    EXPECT_EQ(sheet(1).properties.view.zoom, 75);
    ASSERT_EQ(put("SHEET=Data ZOOM=10 SHEET=売上"), 0);
    EXPECT_EQ(wb().sheets.size(), 2u);
    EXPECT_EQ(props().view.zoom, 10);
    EXPECT_EQ(book_->cur_sheet, 1);
    ASSERT_EQ(put("SHEET.NAME=\"R&D 'Plan' 2\" ZOOM=400"), 0);
    EXPECT_EQ(sheet(2).name, "R&D 'Plan' 2");
    EXPECT_EQ(sheet(2).properties.view.zoom, 400);
    // A failed statement leaves the current sheet where it was.
    EXPECT_EQ(put("SHEET=\"bad:name\""), -3);
    EXPECT_EQ(book_->cur_sheet, 2);
}

TEST_F(SheetStatements, TemplateModeKeepsToTheTemplatesSheets) {
    set_flag(*book_, XLS_FLAG_TEMPLATE_MODE, true);
    EXPECT_EQ(put("SHEET=Data SHEET.SCROLL_ROW=5"), 0);
    EXPECT_EQ(sheet().scroll_row, 4);
    EXPECT_EQ(put("SHEET=Other"), -3);
    EXPECT_EQ(message(), "TOVA-03002 テンプレートシート(\"Other\")が取得できません。");
    EXPECT_EQ(put("ZOOM=80"), -3);
    EXPECT_EQ(code(), "TOVA-02209");
}

TEST_F(SheetStatements, SheetStatementsNeedASheet) {
    auto empty = test::make_zeroed_book();
    ASSERT_EQ(TOVA_open_book(empty.get(), "CHARSET=UTF8"), 0);
    EXPECT_EQ(TOVA_put_values(empty.get(), "ZOOM=80"), -901);
    EXPECT_EQ(TOVA_put_values(empty.get(), "BOOK.TITLE=t SHEET.ORDER=DESC SHEET=First ZOOM=80"), 0);
    EXPECT_EQ(work_area(*empty)->book.sheets.at(0).properties.view.zoom, 80);
}

TEST_F(SheetStatements, ViewVisibilityAndTabColour) {
    ASSERT_EQ(put("SHEET.DISPLAY=pageLayout SHEET.HIDDEN=TRUE SHEET.HIDDEN_GRID=TRUE SHEET.HIDDEN_HEADER=する "
                  "SHEET.TAB.COLOR=BLUE"),
              0);
    EXPECT_EQ(props().view.mode, 1);
    EXPECT_TRUE(props().hidden);
    EXPECT_TRUE(props().view.hide_grid);
    EXPECT_TRUE(props().view.hide_headings);
    EXPECT_EQ(props().view.tab_color, 15);
    ASSERT_EQ(put("SHEET.DISPLAY=改ページプレビュー SHEET.TAB.COLOR=#A0B0C0 SHEET.HIDDEN=FALSE"), 0);
    EXPECT_EQ(props().view.mode, 2);
    EXPECT_FALSE(props().hidden);
    EXPECT_EQ(props().view.tab_color, -1);
    EXPECT_EQ(props().view.tab_rgb[2], 0xC0);
    ASSERT_EQ(put("SHEET.DISPLAY=normal"), 0);  // no word returns to the normal view
    EXPECT_EQ(props().view.mode, 2);
}

TEST_F(SheetStatements, FrozenPanesAndScrollRow) {
    ASSERT_EQ(put("SHEET.FROZEN_TOP=TRUE SHEET.FROZEN_LEFT=TRUE"), 0);
    EXPECT_EQ(props().view.frozen, 2);
    ASSERT_EQ(put("SHEET.FROZEN_LEFT=FALSE"), 0);
    EXPECT_EQ(props().view.frozen, 0);
    ASSERT_EQ(put("SHEET.FROZEN_SPLIT=$B$3 SHEET.SCROLL_ROW=1"), 0);
    EXPECT_EQ(props().view.split_row, 2);
    EXPECT_EQ(props().view.split_column, 1);
    EXPECT_EQ(sheet().scroll_row, 0);
}

TEST_F(SheetStatements, ProtectionAndItsThirteenOptions) {
    ASSERT_EQ(put("SHEET.Protect=TRUE"), 0);
    EXPECT_TRUE(props().is_protected);
    EXPECT_TRUE(props().password.empty());
    ASSERT_EQ(put("SHEET.Protect=FALSE SHEET.PASSWORD=1234567890123456"), 0);
    EXPECT_TRUE(props().is_protected);
    EXPECT_EQ(props().password, "1234567890123456");
    const char* options[] = {"formatCells", "formatColumns", "formatRows", "insColumns", "insRows",
                             "insHyperlinks", "delColumns", "delRows", "sort", "autoFilter",
                             "pivotTables", "objects", "scenarios"};
    for (size_t i = 0; i < std::size(options); ++i) {
        ASSERT_EQ(put(std::string("SHEET.Protect.") + options[i] + "=TRUE"), 0) << options[i];
        EXPECT_EQ(props().protection[i], 1) << options[i];
    }
    ASSERT_EQ(put("SHEET.Protect.sort=maybe"), 0);  // anything but yes clears the option
    EXPECT_EQ(props().protection[model::kProtectSort], 0);
}

TEST_F(SheetStatements, PaperAndPrinting) {
    ASSERT_EQ(put("PAPER.SIZE=b4 PAPER.ORIENTATION=横 PAPER.SCALE=85 PAPER.DPI=600 PAPER.MARGIN.TOP=2.5 "
                  "PAPER.MARGIN.BOTTOM=1 PAPER.MARGIN.LEFT=0.5 PAPER.MARGIN.RIGHT=0 PAPER.MARGIN.HEADER=1.25 "
                  "PAPER.MARGIN.FOOTER=+0.3"),
              0);
    const model::PageSetup& page = props().page;
    EXPECT_EQ(page.paper, 14);
    EXPECT_TRUE(page.landscape);
    EXPECT_EQ(page.scale, 85);
    EXPECT_EQ(page.print_quality, 600);
    EXPECT_DOUBLE_EQ(page.margins.top, 2.5);
    EXPECT_DOUBLE_EQ(page.margins.bottom, 1);
    EXPECT_DOUBLE_EQ(page.margins.left, 0.5);
    EXPECT_DOUBLE_EQ(page.margins.right, 0);
    EXPECT_DOUBLE_EQ(page.margins.header, 1.25);
    EXPECT_DOUBLE_EQ(page.margins.footer, 0.3);
    EXPECT_FALSE(page.fit_to_page);
    ASSERT_EQ(put("PAPER.SIZE=LETTER PAPER.ORIENTATION=PORTRAIT PRINT_PAGE_FIT.HORIZONTAL=1"), 0);
    EXPECT_EQ(page.paper, 4);
    EXPECT_FALSE(page.landscape);
    EXPECT_EQ(page.fit_width, 1);
    EXPECT_EQ(page.fit_height, 0);
    EXPECT_TRUE(page.fit_to_page);
    ASSERT_EQ(put("PRINT_PAGE_FIT.VERTICAL=3 PAPER.SIZE=a3"), 0);
    EXPECT_EQ(page.fit_height, 3);
    EXPECT_EQ(page.paper, 3);
}

TEST_F(SheetStatements, PrintTitles) {
    struct Case { const char* statement; int first_row, last_row, first_column, last_column; };
    const Case cases[] = {
        {"SHEET.PRINT_TITLE_ROW=3:1", 1, 3, 0, 0},
        {"SHEET.PRINT_TITLE_ROW=5:7 SHEET.PRINT_TITLE_ROW=2", 2, 2, 0, 0},  // never a reversed 7:2
        {"SHEET.PRINT_TITLE_COLUMN=b", 2, 2, 2, 2},
        {"SHEET.PRINT_TITLE_COLUMN=C:A", 2, 2, 1, 3},
        {"SHEET.PRINT_TITLE_COLUMN=A:D SHEET.PRINT_TITLE_COLUMN=XFD", 2, 2, 16384, 16384},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(put(c.statement), 0) << c.statement << ": " << message();
        const model::PageSetup& page = props().page;
        EXPECT_EQ(page.title_first_row, c.first_row) << c.statement;
        EXPECT_EQ(page.title_last_row, c.last_row) << c.statement;
        EXPECT_EQ(page.title_first_column, c.first_column) << c.statement;
        EXPECT_EQ(page.title_last_column, c.last_column) << c.statement;
    }
}

TEST_F(SheetStatements, HeaderAndFooterTokens) {
    struct Case { const char* value; const char* stored; };
    const Case cases[] = {
        {"Page &[PAGE_NO] of &[PAGE_TOTAL]", "Page &P of &N"},
        {"&[page_no]", "page_no]"},
        {"A&xB", "AB"},
        {"A&日B", "AB"},  // the character after "&" goes whole
        {"end&", "end"},
        {"&", ""},
        {"&[パス]&[ファイル名]/&[シート名] &[日付] &[時刻]", "&Z&F/&A &D &T"},
        {"&[PATH]&[FILE_NAME]&[SHEET_NAME]&[DATE]&[TIME]&[ページ番号]/&[総ページ数]", "&Z&F&A&D&T&P/&N"},
        {"R&&D", "RD"},
        {"売上 <月次>", "売上 <月次>"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(put(std::string("SHEET.HEADER.LEFT=\"") + c.value + "\""), 0) << c.value;
        EXPECT_EQ(props().header_footer[model::kHeaderLeft].text, c.stored) << c.value;
    }
    struct Section { const char* path; model::HeaderFooterSection section; };
    const Section sections[] = {
        {"SHEET.HEADER.LEFT", model::kHeaderLeft},     {"SHEET.HEADER.CENTER", model::kHeaderCenter},
        {"SHEET.HEADER.RIGHT", model::kHeaderRight},   {"SHEET.FOOTER.LEFT", model::kFooterLeft},
        {"SHEET.FOOTER.CENTER", model::kFooterCenter}, {"SHEET.FOOTER.RIGHT", model::kFooterRight},
    };
    for (const Section& s : sections) {
        ASSERT_EQ(put(std::string(s.path) + "=" + s.path), 0);
        EXPECT_EQ(props().header_footer[s.section].text, s.path);
    }
    EXPECT_EQ(put("SHEET.FOOTER.LEFT=" + std::string(3999, 'x')), 0);
    EXPECT_EQ(put("SHEET.FOOTER.LEFT=" + std::string(4000, 'x')), -1);
    EXPECT_EQ(code(), "TOVA-02210");
    EXPECT_EQ(props().header_footer[model::kFooterLeft].text.size(), 3999u);
}

TEST_F(SheetStatements, HeaderAndFooterFonts) {
    const model::XLS_FONT untouched = props().header_footer[model::kHeaderCenter].font;
    EXPECT_EQ(untouched.code, 10);
    EXPECT_EQ(untouched.size, 11);
    ASSERT_EQ(put("SHEET.HEADER.CENTER.FONT.NAME=ポップ SHEET.HEADER.CENTER.FONT.SIZE=16 "
                  "SHEET.HEADER.CENTER.FONT.STYLE=bold_italic_underline SHEET.HEADER.CENTER.FONT.COLOR=FF8000 "
                  "SHEET.FOOTER.RIGHT.FONT.COLOR=GREEN"),
              0);
    const model::XLS_FONT& font = props().header_footer[model::kHeaderCenter].font;
    EXPECT_EQ(font.code, 31);
    EXPECT_EQ(font.size, 16);
    EXPECT_EQ(font.style, model::kBold | model::kItalic | model::kUnderline);
    EXPECT_EQ(font.color, model::rgb(0xFF, 0x80, 0x00));
    EXPECT_EQ(props().header_footer[model::kFooterRight].font.color.code, 23u);
    EXPECT_EQ(props().header_footer[model::kHeaderLeft].font, untouched);
}

class TemplateStatement : public SheetStatements {
protected:
    void SetUp() override {
        SheetStatements::SetUp();
        dir_ = test::make_scratch_dir("template-statement");
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string file(const std::string& name, const std::string& bytes) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::string dir_;
};

TEST_F(TemplateStatement, MissingOrForeignFilesAreRefused) {
    EXPECT_EQ(put("TEMPLATE=\"" + dir_ + "/absent\""), -101);
    EXPECT_EQ(message(), "TOVA-03101 Excelファイルオープンエラー(\"" + dir_ + "/absent.xlsx\")。");
    std::string text = file("notes.txt", "just text");
    EXPECT_EQ(put("TEMPLATE=\"" + text + "\""), -101);
    EXPECT_EQ(code(), "TOVA-03101");  // notes.txt.xlsx does not exist
    file("fake.xlsx", "not a zip at all");
    EXPECT_EQ(put("TEMPLATE=\"" + dir_ + "/fake\""), -101);
    EXPECT_EQ(code(), "TOVA-00900");
    EXPECT_FALSE(flag_on(*book_, XLS_FLAG_TEMPLATE_MODE));
}

TEST_F(TemplateStatement, AnUnreadablePackageLeavesTheBookAsItWas) {
    // A real package, which this build cannot read yet.
    auto source = test::make_zeroed_book();
    std::string list = "CHARSET=UTF8 BOOK=\"" + dir_ + "/source.xlsx\"";
    ASSERT_EQ(TOVA_open_book(source.get(), list.c_str()), 0);
    ASSERT_EQ(TOVA_close_book(source.get(), "SAVE"), 0);

    ASSERT_EQ(put("A1=kept ZOOM=90 BOOK.TITLE=before"), 0);
    EXPECT_EQ(put("TEMPLATE=\"" + dir_ + "/source.xlsx\""), -4);
    EXPECT_EQ(code(), "TOVA-00900");
    EXPECT_FALSE(flag_on(*book_, XLS_FLAG_TEMPLATE_MODE));
    ASSERT_EQ(wb().sheets.size(), 1u);
    EXPECT_EQ(sheet().name, "Data");
    EXPECT_EQ(props().view.zoom, 90);
    EXPECT_EQ(sheet().rows.size(), 1u);
    EXPECT_STREQ(book_->title, "before");
    EXPECT_EQ(model::styles_of(*book_).fonts.size(), 3);
    // Statements that template mode forbids still run: the book is a new book.
    EXPECT_EQ(put("ZOOM=70"), 0);
}

TEST_F(TemplateStatement, ThumbnailMustBeAJpegFile) {
    EXPECT_EQ(put("BOOK.THUMBNAIL.PATH=\"" + dir_ + "/none.jpeg\""), -101);
    EXPECT_EQ(code(), "TOVA-03102");
    std::string png = file("t.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    EXPECT_EQ(put("BOOK.THUMBNAIL.PATH=\"" + png + "\""), -3);
    EXPECT_EQ(code(), "TOVA-03190");
    EXPECT_EQ(book_->thumbnail_path[0], '\0');
    std::string jpeg = file("t.jpeg", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01\x01\0\0\x01", 16));
    ASSERT_EQ(put("BOOK.THUMBNAIL.PATH=\"" + jpeg + "\""), 0) << message();
    EXPECT_EQ(book_->thumbnail_path, jpeg);
    EXPECT_EQ(put("BOOK.THUMBNAIL.PATH=" + std::string(257, 'p')), -3);
    EXPECT_EQ(code(), "TOVA-00005");
}

}  // namespace
}  // namespace tova
