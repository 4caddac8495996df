#include "writer/package_parts.hpp"

#include <gtest/gtest.h>

#include <cstring>

#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "support/test_support.hpp"
#include "writer/printer_settings_part.hpp"

namespace tova::writer {
namespace {

bool contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

TEST(PackageParts, WorkbookRelationshipsNumberSheetsFirst) {
    std::string rels = workbook_rels_part(3);
    const char* order[] = {"rId3\"", "rId2\"", "rId1\"", "rId6\"", "rId5\"", "rId4\""};
    size_t at = 0;
    for (const char* id : order) {
        size_t found = rels.find(id, at);
        ASSERT_NE(found, std::string::npos) << id;
        at = found;
    }
    EXPECT_TRUE(contains(rels, "Id=\"rId6\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\""));
}

TEST(PackageParts, PackageRelationshipsForFinalAndThumbnail) {
    EXPECT_TRUE(contains(package_rels_part({.thumbnail = true, .final = true}), "Id=\"rId5\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/custom-properties\""));
    EXPECT_TRUE(contains(package_rels_part({.thumbnail = true, .final = true}), "Id=\"rId4\" Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/thumbnail\""));
    EXPECT_TRUE(contains(package_rels_part({.final = true}), "Id=\"rId4\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/custom-properties\""));
    EXPECT_FALSE(contains(package_rels_part({}), "rId4"));
}

TEST(PackageParts, ContentTypesOfImagesAndThumbnail) {
    auto book = test::make_open_book(2);
    std::string types = content_types_part(*book, {.image_types = {203}, .thumbnail = true});
    EXPECT_TRUE(contains(types, "<Default Extension=\"png\" ContentType=\"image/png\"/><Default Extension=\"jpeg\" ContentType=\"image/jpeg\"/>"));
    EXPECT_TRUE(contains(types, "<Override PartName=\"/xl/worksheets/sheet2.xml\""));
    EXPECT_FALSE(contains(types, "sheet3.xml"));
}

TEST(PackageParts, WorkbookSheetsPrintTitlesAndRecalculation) {
    auto book = test::make_open_book(2);
    auto& sheets = work_area(*book)->book.sheets;
    sheets[0].name = "R&D 'plan'";
    sheets[0].properties.page.title_first_row = 1;
    sheets[0].properties.page.title_last_row = 2;
    sheets[0].properties.page.title_first_column = 1;
    sheets[0].properties.page.title_last_column = 2;
    sheets[1].properties.page.title_first_row = 3;
    sheets[1].properties.hidden = true;

    std::string workbook = workbook_part(*book);
    EXPECT_TRUE(contains(workbook, "<sheet name=\"R&amp;D &apos;plan&apos;\" sheetId=\"1\" r:id=\"rId1\"/>"));
    EXPECT_TRUE(contains(workbook, "<sheet name=\"Sheet2\" sheetId=\"2\" r:id=\"rId2\" state=\"hidden\"/>"));
    EXPECT_TRUE(contains(workbook, "<definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">"
                                   "&apos;R&amp;D &apos;&apos;plan&apos;&apos;&apos;!$1:$2,"
                                   "&apos;R&amp;D &apos;&apos;plan&apos;&apos;&apos;!$A:$B</definedName>"));
    EXPECT_TRUE(contains(workbook, "localSheetId=\"1\">&apos;Sheet2&apos;!$3:$3</definedName>"));
    EXPECT_TRUE(contains(workbook, "<calcPr calcId=\"145621\"/>"));
    set_flag(*book, XLS_FLAG_RECALC, false);
    EXPECT_TRUE(contains(workbook_part(*book), "<calcPr calcId=\"114210\"/>"));

    std::string app = app_part(*book);
    EXPECT_TRUE(contains(app, "<vt:vector size=\"4\" baseType=\"variant\">"));
    EXPECT_TRUE(contains(app, "<vt:vector size=\"4\" baseType=\"lpstr\"><vt:lpstr>Sheet1</vt:lpstr><vt:lpstr>Sheet2</vt:lpstr>"));
}

TEST(PackageParts, AHiddenFirstSheetIsNotTheActiveOne) {
    auto book = test::make_open_book(3);
    auto& sheets = work_area(*book)->book.sheets;
    sheets[0].properties.hidden = true;
    std::string workbook = workbook_part(*book);
    EXPECT_TRUE(contains(workbook, "windowHeight=\"10000\" activeTab=\"1\"/>"));
    EXPECT_TRUE(contains(workbook, "<sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\" state=\"hidden\"/>"));
    // The last visible sheet cannot be hidden: with every sheet hidden the first stays visible.
    sheets[1].properties.hidden = sheets[2].properties.hidden = true;
    workbook = workbook_part(*book);
    EXPECT_FALSE(contains(workbook, "activeTab"));
    EXPECT_TRUE(contains(workbook, "<sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/>"));
    EXPECT_TRUE(contains(workbook, "<sheet name=\"Sheet3\" sheetId=\"3\" r:id=\"rId3\" state=\"hidden\"/>"));
    // In descending order the package's first sheet is the book's last.
    set_flag(*book, XLS_FLAG_DESCENDING_SHEETS, true);
    sheets[2].properties.hidden = false;
    EXPECT_EQ(active_sheet_position(*book), 0u);
    EXPECT_TRUE(written_hidden(*book, 2));
}

TEST(PackageParts, DescendingSheetOrder) {
    auto book = test::make_open_book(3);
    set_flag(*book, XLS_FLAG_DESCENDING_SHEETS, true);
    std::string workbook = workbook_part(*book);
    EXPECT_TRUE(contains(workbook, "<sheet name=\"Sheet3\" sheetId=\"1\" r:id=\"rId1\"/>"));
    EXPECT_EQ(work_area(*book)->book.sheets[0].name, "Sheet1");  // the book keeps its own order
}

TEST(PackageParts, DocumentPropertiesAreEscapedAndUtc) {
    auto book = test::make_open_book();
    std::strcpy(book->title, "Q&A <2026>");
    std::string core = core_part(*book, 0);
    EXPECT_TRUE(contains(core, "<dc:title>Q&amp;A &lt;2026&gt;</dc:title>"));
    EXPECT_TRUE(contains(core, "<dcterms:created xsi:type=\"dcterms:W3CDTF\">1970-01-01T00:00:00Z</dcterms:created>"));
    EXPECT_FALSE(contains(core, "<dc:subject>"));
}

TEST(PackageParts, LegacyPasswordHashAgreesWithOpenpyxl) {
    // Values from openpyxl.utils.protection.hash_password.
    struct { const char* password; const char* hash; } cases[] = {
        {"test", "CBEB"}, {"password", "83AF"}, {"abc", "CC1A"}, {"", "CE4B"}, {"secret1234567", "EE25"},
    };
    for (auto [password, hash] : cases) EXPECT_EQ(legacy_password_hash(password), hash) << password;
}

TEST(PrinterSettings, RecordCarriesOrientationAndPaper) {
    std::string landscape_a3 = printer_settings(true, 3);
    ASSERT_EQ(landscape_a3.size(), kPrinterSettingsSize);
    auto u16 = [](const std::string& r, size_t at) {
        return static_cast<uint8_t>(r[at]) | (static_cast<uint8_t>(r[at + 1]) << 8);
    };
    EXPECT_EQ(u16(landscape_a3, 76), 2);
    EXPECT_EQ(u16(landscape_a3, 78), 8);
    std::string portrait_a4 = printer_settings(false, 4);
    EXPECT_EQ(u16(portrait_a4, 76), 1);
    EXPECT_EQ(u16(portrait_a4, 78), 9);
    EXPECT_EQ(u16(portrait_a4, 68), 220);
    EXPECT_EQ(portrait_a4.substr(0, 4), std::string("M\0i\0", 4));
    EXPECT_EQ(portrait_a4.substr(1064, 10), std::string("\x0C\0\0\0MXDW\x01\x01", 10));
    EXPECT_EQ(portrait_a4.substr(792, 8), std::string("\x10\x01\0\0SMTJ", 8));
    struct { int code, paper; } papers[] = {{0, 4401}, {2, 66}, {5, 11}, {14, 12}, {15, 13}, {99, 9}};
    for (auto [code, paper] : papers) EXPECT_EQ(paper_number(code), paper) << code;
}

}  // namespace
}  // namespace tova::writer
