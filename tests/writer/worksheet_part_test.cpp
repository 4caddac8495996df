#include "writer/worksheet_part.hpp"

#include <gtest/gtest.h>

#include "api/work_area.hpp"
#include "model/cell_store.hpp"
#include "platform/mfile.hpp"
#include "support/test_support.hpp"
#include "tova_api.h"

namespace tova::writer {
namespace {

class WorksheetPart : public ::testing::Test {
protected:
    void SetUp() override {
        book_ = test::make_open_book(1);
        mem::mfreeall();
    }
    void TearDown() override { mem::mfreeall(); }

    model::Sheet& sheet() { return work_area(*book_)->book.sheets[0]; }

    std::string written() {
        EXPECT_EQ(tob_xml_worksheet(PartTarget{}, *book_, SharedStringIndex{}), 0);
        const mem::MFILE* part = mem::mfind("xl/worksheets/sheet1.xml");
        if (part == nullptr) return {};
        return std::string(part->data.data(), part->size);
    }

    bool has(const std::string& piece) {
        std::string text = written();
        bool found = text.find(piece) != std::string::npos;
        if (!found) ADD_FAILURE() << "missing " << piece << " in " << text;
        return found;
    }

    test::BookPtr book_;
};

TEST_F(WorksheetPart, EmptySheet) {
    EXPECT_TRUE(has("<dimension ref=\"A1\"/>"));
    EXPECT_TRUE(has("<sheetData></sheetData>"));
    EXPECT_TRUE(has("<sheetView tabSelected=\"1\" zoomScale=\"100\" workbookViewId=\"0\" showGridLines=\"1\"><selection activeCell=\"A1\" sqref=\"A1\" /></sheetView>"));
}

TEST_F(WorksheetPart, RowHeightSpansAndDimension) {
    ASSERT_EQ(TOVA_put_values(book_.get(), "B3=1 C3=x"), 0);
    sheet().rows[2].height = 1800;
    EXPECT_TRUE(has("<dimension ref=\"B3:C3\"/>"));
    EXPECT_TRUE(has("<row r=\"3\" spans=\"1:3\"  ht=\"18.000000\" customHeight=\"1\">"));
}

TEST_F(WorksheetPart, AHeightAloneStillWritesTheRow) {
    model::ensure_row(sheet(), 4)->height = 2400;
    sheet().rows[4].options[0] = 0;
    EXPECT_TRUE(has("<row r=\"5\" spans=\"1:1\" hidden=\"1\" ht=\"24.000000\" customHeight=\"1\"/>"));
}

TEST_F(WorksheetPart, ColumnsMarginsAndProtection) {
    ASSERT_EQ(TOVA_put_values(book_.get(), "C1=1"), 0);
    sheet().properties.options[0] = 0;
    sheet().column_widths[1] = 12.5;
    sheet().properties.page.margins.left = 2.5;
    sheet().properties.is_protected = true;
    std::string text = written();
    EXPECT_NE(text.find("<col min=\"1\" max=\"1\" width=\"8.380\" bestFit=\"1\" customWidth=\"1\"/><col min=\"2\" max=\"2\" width=\"12.500\""), std::string::npos) << text;
    EXPECT_NE(text.find("<pageMargins left=\"0.984250\""), std::string::npos);
    EXPECT_NE(text.find("pivotTables=\"0\" objects=\"0\" scenarios=\"0\"/>"), std::string::npos);  // no password attribute
}

TEST_F(WorksheetPart, Panes) {
    struct Case { uint8_t frozen; int row, column; const char* pane; };
    const Case cases[] = {
        {3, 0, 0, "<pane xSplit=\"1\" topLeftCell=\"B1\" activePane=\"topRight\" state=\"frozen\"/>"},
        {1, 0, 0, "<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"},
        {0, 2, 1, "<pane xSplit=\"1\" ySplit=\"2\" topLeftCell=\"B3\" activePane=\"bottomRight\" state=\"frozen\"/>"},
        {0, 1, 0, "<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"},
    };
    for (const auto& c : cases) {
        auto& view = sheet().properties.view;
        view.frozen = c.frozen;
        view.split_row = c.row;
        view.split_column = c.column;
        EXPECT_TRUE(has(c.pane));
    }
}

TEST_F(WorksheetPart, FitToPageWritesBothDirections) {
    sheet().properties.page.fit_width = 1;
    EXPECT_TRUE(has("fitToWidth=\"1\" fitToHeight=\"0\" orientation=\"portrait\""));
}

TEST_F(WorksheetPart, MergesAndInternalLinks) {
    ASSERT_EQ(TOVA_put_values(book_.get(), "A1=go"), 0);
    work_area(*book_)->book.merges.push_back({0, {0, 0, 1, 2}});
    ASSERT_EQ(TOVA_sheet_hyperlink(book_.get(), "A1", "It's", "B2"), 0);
    EXPECT_TRUE(has("<mergeCells count=\"1\"><mergeCell ref=\"A1:C2\"/></mergeCells>"));
    EXPECT_TRUE(has("<hyperlink ref=\"A1\" location=\"&apos;It&apos;&apos;s&apos;!B2\" display=\"It&apos;s\"/>"));
}

TEST_F(WorksheetPart, LiteralTextCellsAreInlineStrings) {
    model::Cell* cell = model::ensure_cell(sheet(), 0, 0);
    model::store_value(*cell, {.kind = model::kLiteralText, .text = " kept "});
    model::Cell* empty = model::ensure_cell(sheet(), 0, 1);
    model::store_value(*empty, {.kind = model::kLiteralText, .text = ""});
    empty->style = 2;
    EXPECT_TRUE(has("<c r=\"A1\" t=\"inlineStr\"><is><t xml:space=\"preserve\"> kept </t></is></c><c r=\"B1\" s=\"2\"/>"));
}

TEST_F(WorksheetPart, HiddenHeadingsAndProtectionOptions) {
    sheet().properties.view.hide_headings = true;
    sheet().properties.is_protected = true;
    sheet().properties.password = "test";
    sheet().properties.protection[model::kProtectFormatColumns] = 1;
    sheet().properties.protection[model::kProtectScenarios] = 1;
    EXPECT_TRUE(has("showGridLines=\"1\" showRowColHeaders=\"0\">"));
    EXPECT_TRUE(has("<sheetProtection sheet=\"1\" formatCells=\"0\" formatColumns=\"1\" formatRows=\"0\" "
                    "insertColumns=\"0\" insertRows=\"0\" insertHyperlinks=\"0\" deleteColumns=\"0\" deleteRows=\"0\" "
                    "sort=\"0\" autoFilter=\"0\" pivotTables=\"0\" objects=\"0\" scenarios=\"1\" password=\"CBEB\"/>"));
}

TEST_F(WorksheetPart, HeaderAndFooterWithTheirFonts) {
    auto& sections = sheet().properties.header_footer;
    EXPECT_EQ(written().find("<headerFooter"), std::string::npos);
    sections[model::kHeaderCenter].text = "R&D <月次> &P/&N";
    sections[model::kFooterRight].text = "&D";
    sections[model::kFooterRight].font = {.code = 31, .size = 9, .style = model::kBold | model::kUnderline,
                                          .color = model::ColorRef{11}};
    sections[model::kFooterLeft].text = "x";
    sections[model::kFooterLeft].font = {.code = 32, .style = model::kItalic, .color = model::rgb(1, 2, 3)};
    // A section without a font statement is written with the default font.
    EXPECT_TRUE(has("<headerFooter alignWithMargins=\"0\"><oddHeader>&amp;C&amp;&quot;ＭＳ Ｐゴシック,標準&quot;"
                    "&amp;11&amp;K000000R&amp;D &lt;月次&gt; &amp;P/&amp;N</oddHeader>"));
    EXPECT_TRUE(has("<oddFooter>&amp;L&amp;&quot;HGP教科書体,ﾒﾃﾞｨｳﾑ 斜体&quot;&amp;11&amp;K010203x"
                    "&amp;R&amp;U&amp;&quot;HGP創英角ﾎﾟｯﾌﾟ体,ﾍﾋﾞｰ 太字&quot;&amp;9&amp;KFF0000&amp;D</oddFooter></headerFooter>"));
    sections[model::kHeaderCenter].text.clear();
    EXPECT_TRUE(has("<headerFooter alignWithMargins=\"0\"><oddHeader></oddHeader><oddFooter>"));
    // The element stands between the page setup and the breaks.
    std::string text = written();
    EXPECT_LT(text.find("<pageSetup"), text.find("<headerFooter"));
}

TEST(WorksheetSelection, TheFirstVisibleSheetIsSelected) {
    auto book = test::make_open_book(3);
    auto& sheets = work_area(*book)->book.sheets;
    auto selected = [&](int part) {
        mem::mfreeall();
        EXPECT_EQ(tob_xml_worksheet(PartTarget{}, *book, SharedStringIndex{}), 0);
        const mem::MFILE* file = mem::mfind("xl/worksheets/sheet" + std::to_string(part) + ".xml");
        std::string text = file ? std::string(file->data.data(), file->size) : std::string();
        mem::mfreeall();
        return text.find("tabSelected=\"1\"") != std::string::npos;
    };
    sheets[0].properties.hidden = true;
    EXPECT_FALSE(selected(1));
    EXPECT_TRUE(selected(2));
    sheets[1].properties.hidden = sheets[2].properties.hidden = true;
    EXPECT_TRUE(selected(1));  // every sheet hidden: the first is shown after all
}

}  // namespace
}  // namespace tova::writer

namespace tova::writer {
namespace {

TEST(SharedStringsPart, EqualTextsAreWrittenOnce) {
    auto book = test::make_open_book(1);
    mem::mfreeall();
    ASSERT_EQ(TOVA_put_values(book.get(), "A1=same B1=other"), 0);
    book->streamed_row = 1;
    ASSERT_EQ(TOVA_write_row(book.get(), 2), 0);  // strings stream from here on
    ASSERT_EQ(TOVA_put_values(book.get(), "A3=same B3=new C3=new"), 0);

    SharedStringIndex strings;
    ASSERT_EQ(tob_xml_sst(PartTarget{}, *book, strings), 0);
    const mem::MFILE* part = mem::mfind("xl/sharedStrings.xml");
    ASSERT_NE(part, nullptr);
    std::string text(part->data.data(), part->size);
    EXPECT_NE(text.find("count=\"5\" uniqueCount=\"3\">"), std::string::npos) << text;
    EXPECT_NE(text.find("<si><t>same</t><phoneticPr fontId=\"1\"/></si><si><t>other</t><phoneticPr fontId=\"1\"/></si>"
                        "<si><t>new</t><phoneticPr fontId=\"1\"/></si></sst>"),
              std::string::npos)
        << text;
    for (auto [index, place] : {std::pair{0, 0}, {1, 1}, {2, 0}, {3, 2}, {4, 2}}) EXPECT_EQ(strings.written(index), place);

    ASSERT_EQ(tob_xml_worksheet(PartTarget{}, *book, strings), 0);
    const mem::MFILE* sheet = mem::mfind("xl/worksheets/sheet1.xml");
    std::string xml(sheet->data.data(), sheet->size);
    EXPECT_NE(xml.find("<c r=\"A3\" t=\"s\"><v>0</v></c><c r=\"B3\" t=\"s\"><v>2</v></c><c r=\"C3\" t=\"s\"><v>2</v></c>"),
              std::string::npos) << xml;
    mem::mfreeall();
}

}  // namespace
}  // namespace tova::writer
