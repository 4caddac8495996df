// Data sources and statement files read as Python's csv module reads the same
// files, in every character set and with every line end. The files keep to
// what both rules agree on: quotes only around whole fields, never inside.
#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "load/data_source.hpp"
#include "load_fixture.hpp"
#include "model/cell_ref.hpp"
#include "platform/encoding.hpp"
#include "support/readers.hpp"

namespace tova {
namespace {

using Record = std::vector<std::string>;

// UTF-8 texts that cells store as they are; JIS X 0208 and half-width kana only,
// so that every character set holds them ("表" and "ソ" end in a backslash byte in Shift-JIS).
const std::vector<Record> kRecords = {
    {"name", "city", "note"},
    {"山田 太郎", "東京", "表示,ソフト"},
    {"ｱｲｳ ｴｵ", "大阪", "two\nlines"},
    {"", "x", ""},
    {},
    {"tab\there", "a b", "末尾"},
    {"データ", "漢字\r\n改行", "lone\rcr"},
};
const Record kUtf8Only = {"é", "😀", "汉字"};

struct Encoding {
    const char* name;      // the CHARSET word of statement files
    int file_charset;      // what the file is written in
    int stated_charset;    // what the loader is told
    bool byte_order_mark;
    const char* python;    // Python's codec
};

constexpr Encoding kEncodings[] = {
    {"SJIS", enc::kShiftJis, enc::kShiftJis, false, "cp932"},
    {"EUC", enc::kEucJp, enc::kEucJp, false, "euc_jp"},
    {"UTF8", enc::kUtf8, enc::kUtf8, false, "utf-8"},
    {"SJIS", enc::kUtf8, enc::kShiftJis, true, "utf-8-sig"},  // the mark wins
};

constexpr const char* kLineEnds[] = {"\n", "\r\n", "\r"};

const char* kPythonReader =
    "import csv, sys\n"
    "path, codec, separator = sys.argv[1:4]\n"
    "with open(path, newline='', encoding=codec) as f:\n"
    "    for row in csv.reader(f, delimiter='\\t' if separator == 't' else ','):\n"
    "        print('R', len(row))\n"
    "        for field in row: print('F', field.encode('utf-8').hex() or '-')\n";

bool have_python() { return ::access("/usr/bin/python3", X_OK) == 0; }

std::string from_hex(const std::string& hex) {
    std::string out;
    if (hex == "-") return out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

std::vector<Record> python_records(const std::string& path, const char* codec, char separator) {
    test::CommandResult result = test::run_command("/usr/bin/python3 -c " + test::shell_quote(kPythonReader) + " " +
                                                   test::shell_quote(path) + " " + codec + " " +
                                                   (separator == '\t' ? "t" : "c"));
    EXPECT_EQ(result.status, 0) << path;
    std::vector<Record> records;
    std::istringstream in(result.output);
    for (std::string tag, value; in >> tag >> value;) {
        if (tag == "R") records.emplace_back();
        else if (!records.empty()) records.back().push_back(from_hex(value));
    }
    return records;
}

std::string csv_field(const std::string& field, char separator) {
    return field.find_first_of(std::string("\"\r\n") + separator) == std::string::npos ? field : "\"" + field + "\"";
}

std::string data_file(const std::vector<Record>& records, char separator, const std::string& line_end) {
    std::string out;
    for (const Record& record : records) {
        for (size_t i = 0; i < record.size(); ++i) out += (i ? std::string(1, separator) : "") + csv_field(record[i], separator);
        out += line_end;
    }
    return out;
}

// The same records as cell statements, one line each, every value quoted.
std::string statement_file(const std::vector<Record>& records, const std::string& line_end) {
    std::string out;
    for (size_t r = 0; r < records.size(); ++r) {
        for (size_t c = 0; c < records[r].size(); ++c) {
            if (records[r][c].empty()) continue;
            std::string name;
            model::format_cell_name(static_cast<int32_t>(r), static_cast<int32_t>(c), name);
            out += name + "=\"" + records[r][c] + "\" ";
        }
        out += line_end;
    }
    return out;
}

std::string encoded(const std::string& utf8, const Encoding& e) {
    return (e.byte_order_mark ? "\xEF\xBB\xBF" : "") + enc::conv_charset(enc::kUtf8, e.file_charset, utf8);
}

class CsvOracle : public test::LoadTest {
protected:
    void SetUp() override {
        if (!have_python()) GTEST_SKIP() << "no /usr/bin/python3";
        LoadTest::SetUp();
    }

    // The book's cells hold the records, nothing more.
    void expect_cells(XLS_BOOK& book, const std::vector<Record>& records, const std::string& what) {
        for (size_t r = 0; r < records.size(); ++r) {
            for (size_t c = 0; c < records[r].size(); ++c)
                EXPECT_EQ(test::cell_text(book, static_cast<int>(r), static_cast<int>(c)), records[r][c])
                    << what << " row " << r << " column " << c;
            for (size_t c = records[r].size(); c < 8; ++c)
                EXPECT_EQ(test::cell_text(book, static_cast<int>(r), static_cast<int>(c)), "") << what << " row " << r;
        }
        EXPECT_EQ(test::cell_text(book, static_cast<int>(records.size()), 0), "") << what;
    }
};

TEST_F(CsvOracle, DataSourcesReadAsPythonReadsThem) {
    for (const Encoding& e : kEncodings) {
        std::vector<Record> records = kRecords;
        if (e.file_charset == enc::kUtf8) records.push_back(kUtf8Only);
        for (char separator : {',', '\t'}) {
            for (const char* line_end : kLineEnds) {
                const std::string what = std::string(e.python) + (separator == ',' ? " csv" : " tsv") +
                                         (line_end[0] == '\r' ? (line_end[1] ? " crlf" : " cr") : " lf");
                const std::string path = write_file("data", encoded(data_file(records, separator, line_end), e));
                const std::vector<Record> expected = python_records(path, e.python, separator);
                ASSERT_EQ(expected, records) << what << ": the oracle reads what was meant";

                test::BookPtr book = test::make_open_book(1, enc::kUtf8);
                load::DataSourceRequest request;
                request.path = path;
                request.separator = separator == ',' ? load::kComma : load::kTab;
                request.charset = e.stated_charset;
                ASSERT_EQ(load::tob_load_datasource(*book, 0, request, {}), 0) << what << ": " << test::message_of(*book);
                expect_cells(*book, expected, what);
                EXPECT_EQ(test::sheet_of(*book).rows_in_use(), static_cast<int32_t>(expected.size())) << what;
                EXPECT_EQ(test::sheet_of(*book).last_loaded_row, static_cast<int32_t>(expected.size())) << what;
            }
        }
    }
}

TEST_F(CsvOracle, StatementFilesHoldTheSameRecords) {
    for (const Encoding& e : kEncodings) {
        std::vector<Record> records = kRecords;
        if (e.file_charset == enc::kUtf8) records.push_back(kUtf8Only);
        for (const char* line_end : kLineEnds) {
            const std::string what = std::string(e.python) + (line_end[0] == '\r' ? (line_end[1] ? " crlf" : " cr") : " lf");
            const std::vector<Record> expected =
                python_records(write_file("data", encoded(data_file(records, ',', line_end), e)), e.python, ',');
            const std::string path = write_file("statements", encoded(statement_file(records, line_end), e));

            test::BookPtr book = test::make_open_book(1, enc::kUtf8);
            const std::string list = "FILE=\"" + path + "\" CHARSET=" + e.name;
            ASSERT_EQ(TOVA_read_file(book.get(), list.c_str()), 0) << what << ": " << test::message_of(*book);
            expect_cells(*book, expected, what);
        }
    }
}

}  // namespace
}  // namespace tova
