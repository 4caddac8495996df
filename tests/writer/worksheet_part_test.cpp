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
        EXPECT_EQ(tob_xml_worksheet(PartTarget{}, *book_), 0);
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
    EXPECT_NE(text.find("autoFilter=\"0\" pivotTables=\"0\"/>"), std::string::npos);  // no password attribute
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

}  // namespace
}  // namespace tova::writer
