#include "platform/file_type.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/mfile.hpp"
#include "support/test_support.hpp"
#include "tova_api.h"

namespace tova {
namespace {

std::string utf16le(std::string_view ascii) {
    std::string out;
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

// A compound document: header sector, then a directory sector whose first
// entry is "Root Entry" and whose second is `stream` (when not empty).
std::string compound_document(std::string_view stream) {
    std::string doc("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    doc.resize(512, '\0');
    std::string directory = utf16le("Root Entry");
    directory.resize(128, '\0');
    if (!stream.empty()) {
        std::string entry = utf16le(stream);
        entry.resize(128, '\0');
        directory += entry;
    }
    directory.resize(512, '\xFF');
    return doc + directory;
}

std::string zip_header() { return std::string("PK\x03\x04", 4) + std::string(60, '\0'); }
std::string png_header() { return std::string("\x89PNG\r\n\x1A\n", 8) + std::string(24, '\0'); }

class FileTypeTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = test::make_scratch_dir("file-type"); }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& bytes) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::string dir_;
};

struct Case {
    const char* name;
    std::string (*content)();
    int rc;
    int type;
};

const Case kCases[] = {
    {"Book.XLSX", zip_header, 0, 20},
    {"book.xlsm", zip_header, 0, 25},
    {"book.xlsb", zip_header, 0, 21},
    {"a.zip", zip_header, 0, 301},
    {"a.xls", zip_header, 0, -1},
    {"a.xls", [] { return compound_document(""); }, 0, 11},
    {"sheetxls", [] { return compound_document(""); }, 0, 11},
    {"a.xlsx", [] { return compound_document("EncryptedPackage"); }, 0, 26},
    {"a.xlsx", [] { return compound_document("Workbook"); }, -1, -1},
    {"a.docx", [] { return compound_document("EncryptedPackage"); }, 0, 49},
    {"data.csv", [] { return std::string(16, 'x'); }, 0, 0},
    {"short.csv", [] { return std::string(10, 'x'); }, 0, -1},
    {"a.jpg", png_header, 0, -1},
    {"a.png", png_header, 0, 203},
};

TEST_F(FileTypeTest, DiskFilesByHeaderAndEnding) {
    for (const auto& c : kCases) {
        std::string path = write(c.name, c.content());
        int type = 99;
        EXPECT_EQ(pel_file_type(kProbeDiskFile, path.c_str(), &type), c.rc) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
        std::filesystem::remove(path);
    }
}

TEST_F(FileTypeTest, MemoryFilesAndMissingFiles) {
    mem::MFILE* file = mem::mopen("in/memory.xlsx", "wb");
    ASSERT_NE(file, nullptr);
    std::string bytes = zip_header();
    mem::mwrite(bytes.data(), 1, bytes.size(), file);
    mem::mclose(file);
    int type = 0;
    EXPECT_EQ(pel_file_type(kProbeMemoryFile, "in/memory.xlsx", &type), 0);
    EXPECT_EQ(type, 20);
    mem::mfreeall();

    std::string missing = dir_ + "/missing.xlsx";
    EXPECT_EQ(pel_file_type(kProbeDiskFile, missing.c_str(), &type), -101);
    EXPECT_EQ(type, -1);
    EXPECT_EQ(pel_file_type(kProbeMemoryFile, missing.c_str(), &type), -101);
}

TEST(FileTypeHeader, HeaderBytesIgnoreTheName) {
    int type = 0;
    std::string png = png_header();
    EXPECT_EQ(pel_file_type(kProbeHeaderBytes, png.data(), &type), 0);
    EXPECT_EQ(type, 203);
    std::string compound = compound_document("");
    pel_file_type(kProbeHeaderBytes, compound.data(), &type);
    EXPECT_EQ(type, 11);
    std::string zip = zip_header();
    pel_file_type(kProbeHeaderBytes, zip.data(), &type);
    EXPECT_EQ(type, 301);
    std::string nothing(16, 'q');
    EXPECT_EQ(pel_file_type(kProbeHeaderBytes, nothing.data(), &type), 0);
    EXPECT_EQ(type, -1);
}

}  // namespace
}  // namespace tova
