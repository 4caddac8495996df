// Saved workbooks judged by real readers: the schemas, openpyxl and LibreOffice.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "api/flags.hpp"
#include "support/readers.hpp"
#include "support/saved_books.hpp"
#include "api/work_area.hpp"
#include "platform/mfile.hpp"
#include "support/test_support.hpp"
#include "tova_api.h"

namespace tova {
namespace {

struct ReadCell {
    std::string type, value, format;
};

struct ReadSheet {
    std::string title, state;
    int cells = 0, streamed_cells = 0;
    std::map<std::string, ReadCell> by_ref;
};

std::vector<ReadSheet> parse_cells(const std::string& output) {
    std::vector<ReadSheet> sheets;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> f;
        std::stringstream fields(line);
        for (std::string part; std::getline(fields, part, '\t');) f.push_back(part);
        if (f.size() == 5 && f[0] == "#sheet") {
            sheets.push_back({f[1], f[2], std::stoi(f[3]), std::stoi(f[4]), {}});
        } else if (f.size() >= 3 && !sheets.empty()) {
            sheets.back().by_ref[f[0]] = {f[1], f[2], f.size() > 3 ? f[3] : ""};
        }
    }
    return sheets;
}

class SavedBook : public test::SavedBooks {
protected:
    std::vector<ReadSheet> read_back(const std::string& path) {
        auto result = test::openpyxl_cells(path);
        if (result.status == 77) return {};
        EXPECT_EQ(result.status, 0) << path;
        return parse_cells(result.output);
    }
};

TEST_F(SavedBook, EveryKindOfValueReadsBack) {
    auto book = new_book("values.xlsx");
    ASSERT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=\"売上 R&D's\""), 0);
    ASSERT_EQ(TOVA_put_values(book.get(),
                              "A1=100 A2=\"=A1*2\" A3=-9000000000 B1=日本語 B2=2024/02/29 B3=12.5% "
                              "C1=3.50 C2=\" lead\" C3=\"a\\nb\" D1=10:30:15 D2=\"2024/02/29 24:30\" D3=30:00 "
                              "E1=\"<tag> & 'q'\" E2=\"\x01" "ctl\" E3=😀"),
              0);
    ASSERT_EQ(TOVA_external_hyperlink(book.get(), "B1", "https://example.com/?a=1&b=2"), 0);
    std::string path = save(book.get());
    expect_valid(path);

    auto sheets = read_back(path);
    if (sheets.empty()) GTEST_SKIP() << "openpyxl is not available";
    ASSERT_EQ(sheets.size(), 1u);
    const ReadSheet& s = sheets[0];
    EXPECT_EQ(s.title, "売上 R&D's");
    EXPECT_EQ(s.cells, s.streamed_cells);
    struct Expect { const char* ref; const char* type; const char* value; };
    const Expect expected[] = {
        {"A1", "n", "100"}, {"A2", "f", "=A1*2"}, {"A3", "n", "-9000000000"}, {"B1", "s", "日本語"},
        {"B2", "d", "2024-02-29T00:00:00"}, {"B3", "n", "0.125"}, {"C1", "n", "3.5"},
        {"C2", "s", " lead"}, {"C3", "s", "a\\nb"}, {"E1", "s", "<tag> & 'q'"}, {"E2", "s", "_x0001_ctl"},  // openpyxl leaves the escape undecoded
        {"E3", "s", "😀"},
    };
    for (const auto& e : expected) {
        auto it = s.by_ref.find(e.ref);
        ASSERT_NE(it, s.by_ref.end()) << e.ref;
        EXPECT_EQ(it->second.type, e.type) << e.ref;
        EXPECT_EQ(it->second.value, e.value) << e.ref;
    }
    // 24:30 on a date keeps its day: the next day at 00:30.
    EXPECT_EQ(s.by_ref.at("D2").value, "2024-03-01T00:30:00");
}

TEST_F(SavedBook, NewBookWithoutSheetsGetsThree) {
    auto book = new_book("empty.xlsx");
    std::string path = save(book.get());
    expect_valid(path);
    auto sheets = read_back(path);
    if (sheets.empty()) GTEST_SKIP() << "openpyxl is not available";
    ASSERT_EQ(sheets.size(), 3u);
    EXPECT_EQ(sheets[2].title, "Sheet3");
}

TEST_F(SavedBook, StreamedRowsAndStringsAreAllThere) {
    auto book = new_book("streamed.xlsx");
    ASSERT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=Rows"), 0);
    book->streamed_row = 2;
    for (int r = 1; r <= 3000; ++r) {
        std::string list = "A" + std::to_string(r) + "=" + std::to_string(r) + " B" + std::to_string(r) +
                           "=text" + std::to_string(r) + " D" + std::to_string(r) + "=" + std::to_string(r) + ".5";
        ASSERT_EQ(TOVA_put_values(book.get(), list.c_str()), 0);
        ASSERT_EQ(TOVA_write_row(book.get(), r), 0);
    }
    std::string path = save(book.get());
    expect_valid(path);
    auto sheets = read_back(path);
    if (sheets.empty()) GTEST_SKIP() << "openpyxl is not available";
    const ReadSheet& s = sheets.at(0);
    EXPECT_EQ(s.cells, 9000);
    EXPECT_EQ(s.streamed_cells, 9000);  // the dimension covers the streamed rows
    EXPECT_EQ(s.by_ref.at("A3000").value, "3000");
    EXPECT_EQ(s.by_ref.at("B2999").value, "text2999");
    EXPECT_EQ(s.by_ref.at("D1").value, "1.5");
}

TEST_F(SavedBook, LibreOfficeOpensAndComputes) {
    auto book = new_book("office.xlsx");
    ASSERT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=Calc"), 0);
    ASSERT_EQ(TOVA_put_values(book.get(), "A1=2 A2=3 A3=\"=A1*A2\" B1=東京"), 0);
    std::string path = save(book.get());
    std::string out = dir_ + "/csv";
    std::filesystem::create_directories(out);
    auto converted = test::office_to_csv(out, {path});
    if (converted.status == 77) GTEST_SKIP() << "LibreOffice is not available";
    ASSERT_EQ(converted.status, 0);
    std::string csv;
    for (const auto& entry : std::filesystem::directory_iterator(out)) {
        std::ifstream in(entry.path());
        csv.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_EQ(csv, "2,東京\n3,\n6,\n");
}

TEST_F(SavedBook, SaveIntoAMissingDirectoryKeepsTheBookOpen) {
    auto book = test::make_zeroed_book();
    std::string list = "BOOK=\"" + dir_ + "/no/such/dir/x.xlsx\"";
    ASSERT_EQ(TOVA_open_book(book.get(), list.c_str()), 0);
    ASSERT_EQ(TOVA_put_values(book.get(), "A1=1"), -3);  // no sheet yet
    EXPECT_EQ(TOVA_close_book(book.get(), "SAVE"), -103);
    EXPECT_EQ(test::utf8_of_sjis(book->log.error_info),
              "TOVA-03121 Excelファイル書込みエラー(\"" + dir_ + "/no/such/dir/x.xlsx\")。");
    EXPECT_NE(book->handle, nullptr);
    EXPECT_EQ(TOVA_close_book(book.get(), "DESTROY"), 0);
    EXPECT_EQ(book->handle, nullptr);
}

TEST_F(SavedBook, CloseWordsDecideSaveOrDiscard) {
    struct Case { const char* words; bool saved; };
    const Case cases[] = {{"SAVE DESTROY", false}, {"DESTROY SAVE", true}, {"save", true}, {"KEEP", false}, {"保存", true}};
    int n = 0;
    for (const auto& c : cases) {
        auto book = new_book("close" + std::to_string(++n) + ".xlsx");
        std::string path = book->file_name;
        EXPECT_EQ(TOVA_close_book(book.get(), c.words), 0) << c.words;
        EXPECT_EQ(std::filesystem::exists(path), c.saved) << c.words;
        EXPECT_EQ(book->handle, nullptr);
    }
}

}  // namespace
}  // namespace tova

namespace tova {
namespace {

TEST_F(SavedBook, FailedSaveLeavesTheOldFile) {
    std::string path = dir_ + "/keep.xlsx";
    std::ofstream(path) << "previous contents";
    auto book = new_book("keep.xlsx");
    ASSERT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=S"), 0);
    ASSERT_EQ(TOVA_put_values(book.get(), "A1=1 A2=2"), 0);
    // A damaged rows file makes the save fail halfway through the sheet.
    book->streamed_row = 1;
    ASSERT_EQ(TOVA_write_row(book.get(), 2), 0);
    std::FILE* rows = work_area(*book)->book.sheets[0].rows_file.stream();
    std::rewind(rows);
    std::fwrite("\xFF\xFF\xFF\xFF", 1, 4, rows);
    EXPECT_EQ(TOVA_close_book(book.get(), "SAVE"), -1);
    EXPECT_NE(book->handle, nullptr);
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "previous contents");
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
        EXPECT_EQ(entry.path().extension(), ".xlsx") << entry.path();  // no partial file left behind
}

}  // namespace
}  // namespace tova

namespace tova {
namespace {

TEST_F(SavedBook, MemoryArchiveStaysForTheCaller) {
    pel_zip_on_memory(0);
    auto book = test::make_zeroed_book();
    ASSERT_EQ(TOVA_open_book(book.get(), "BOOK=in_memory.xlsx"), 0);
    ASSERT_EQ(TOVA_open_sheet(book.get(), "SHEET_NAME=S"), 0);
    ASSERT_EQ(TOVA_put_values(book.get(), "A1=42"), 0);
    std::string name = book->file_name;
    EXPECT_EQ(TOVA_close_book(book.get(), "SAVE"), 0);
    pel_zip_on_memory(-1);
    EXPECT_FALSE(std::filesystem::exists(name));
    ASSERT_EQ(mem::mlist(), std::vector<std::string>{name});
    const mem::MFILE* package = mem::mfind(name);
    ASSERT_NE(package, nullptr);
    EXPECT_GT(package->size, 100u);
    EXPECT_EQ(std::string(package->data.data(), 2), "PK");
    mem::mfreeall();
}

}  // namespace
}  // namespace tova
