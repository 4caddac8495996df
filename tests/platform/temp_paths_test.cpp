#include "platform/temp_paths.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <optional>
#include <string>

#include "api/call_frame.hpp"
#include "api/messages.hpp"
#include "api/work_area.hpp"
#include "platform/encoding.hpp"
#include "platform/platform_fixture.hpp"
#include "platform/qfs.hpp"

namespace tova {
namespace {

using test::BookPtr;
using test::ScopedEnv;

constexpr std::string_view kWhat = "tob_tempfile_path() tob_tempfile_path()";

class TempPath : public test::PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        temp_.emplace("TEMP", scratch_);
    }

    static BookPtr open_book(const std::string& file_name, int charset = enc::kShiftJis) {
        BookPtr book = test::make_zeroed_book();
        create_work_area(*book).charset = charset;
        std::strncpy(book->file_name, file_name.c_str(), sizeof book->file_name - 1);
        return book;
    }

    std::string expected_dir(const XLS_BOOK& book, const std::string& stem) const {
        return path("tova-" + std::to_string(::getpid()) + "-" + std::to_string(work_area(book)->serial) + "-" +
                    stem);
    }

    std::optional<ScopedEnv> temp_;
};

TEST_F(TempPath, KindsNameTheFilesOfTheBooksDirectory) {
    BookPtr book = open_book("/data/report.xlsx");
    book->cur_sheet = 1;
    const std::string dir = expected_dir(*book, "report");
    struct Case {
        int kind;
        int rc;
        const char* suffix;
    };
    constexpr Case kCases[] = {
        {kTempStrings, 0, "/SST.tmp"}, {kTempRows, 0, "/Sheet2.tmp"}, {kTempDirectory, 0, ""},
        {7, kBadArgument, nullptr},    {-1, kBadArgument, nullptr},   {2, kBadArgument, nullptr},
    };
    for (const Case& c : kCases) {
        std::string out = "unchanged";
        EXPECT_EQ(tob_tempfile_path(*book, c.kind, out), c.rc) << c.kind;
        EXPECT_EQ(out, c.suffix ? dir + c.suffix : "unchanged") << c.kind;
    }
    EXPECT_STREQ(book->temp_dir, dir.c_str());
    EXPECT_EQ(work_area(*book)->temp_directory, dir);
    struct stat status {};
    ASSERT_EQ(::lstat(dir.c_str(), &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_EQ(book->log.error_code, 0);
}

TEST_F(TempPath, StemIsTheFileNameWithoutDirectoryAndExtension) {
    struct Case {
        const char* file_name;
        const char* stem;
    };
    constexpr Case kCases[] = {
        {"Book1.xlsx", "Book1"},         {"/a.b/c/report.xlsx", "report"}, {"/dir/noext", "noext"},
        {"/d/archive.tar.gz", "archive.tar"}, {"", ""},                    {"/dir/.hidden", ""},
        {"/dir/", ""},
    };
    for (const Case& c : kCases) {
        BookPtr book = open_book(c.file_name);
        std::string out;
        ASSERT_EQ(tob_tempfile_path(*book, kTempStrings, out), 0) << c.file_name;
        EXPECT_EQ(out, expected_dir(*book, c.stem) + "/SST.tmp") << c.file_name;
    }
}

TEST_F(TempPath, EachBookHasItsOwnDirectory) {
    BookPtr first = open_book("Book1.xlsx");
    BookPtr second = open_book("Book1.xlsx");
    std::string a, b;
    ASSERT_EQ(tob_tempfile_path(*first, kTempDirectory, a), 0);
    ASSERT_EQ(tob_tempfile_path(*second, kTempDirectory, b), 0);
    EXPECT_NE(a, b);
    // The first directory is kept even when the file name changes later.
    std::strcpy(first->file_name, "Other.xlsx");
    std::string again;
    ASSERT_EQ(tob_tempfile_path(*first, kTempDirectory, again), 0);
    EXPECT_EQ(again, a);
}

TEST_F(TempPath, LongNamesAreCutToFit) {
    struct Case {
        int charset;
        std::string unit;  // repeated to make the file name
    };
    const Case cases[] = {{enc::kUtf8, "\xE3\x81\x82"}, {enc::kShiftJis, "\x82\xA0"}, {enc::kUtf8, "x"}};
    for (const Case& c : cases) {
        std::string name = "/";
        while (name.size() + c.unit.size() + 5 < 259) name += c.unit;
        BookPtr book = open_book(name + ".xlsx", c.charset);
        book->cur_sheet = -INT_MAX;
        std::string dir, rows;
        ASSERT_EQ(tob_tempfile_path(*book, kTempDirectory, dir), 0);
        ASSERT_EQ(tob_tempfile_path(*book, kTempRows, rows), 0);
        EXPECT_LE(rows.size(), qfs::kMaxPathBytes);
        EXPECT_EQ(rows, dir + "/Sheet-2147483646.tmp");
        // The stem was cut on a character boundary.
        std::string prefix = expected_dir(*book, "");
        ASSERT_EQ(dir.compare(0, prefix.size(), prefix), 0);
        EXPECT_EQ((dir.size() - prefix.size()) % c.unit.size(), 0u);
        EXPECT_GT(dir.size(), prefix.size());
    }
}

TEST_F(TempPath, DirectoryThatWentIsMadeAgain) {
    BookPtr book = open_book("Book1.xlsx");
    std::string dir;
    ASSERT_EQ(tob_tempfile_path(*book, kTempDirectory, dir), 0);
    qfs::qfs_rmtree(dir);
    std::string again;
    ASSERT_EQ(tob_tempfile_path(*book, kTempStrings, again), 0);
    EXPECT_EQ(again, dir + "/SST.tmp");
    EXPECT_TRUE(std::filesystem::is_directory(dir));
}

TEST_F(TempPath, FailureLeavesTheInternalErrorMessage) {
    const std::string expected = format_message(Msg::InternalError, {kWhat});
    struct Case {
        const char* what;
        bool plant_link;
        bool work_area;
    };
    constexpr Case kCases[] = {
        {"a link sits at the directory's path", true, true},
        {"no work area", false, false},
    };
    for (const Case& c : kCases) {
        BookPtr book = open_book("Book1.xlsx");
        if (c.plant_link) {
            ASSERT_EQ(::symlink(scratch_.c_str(), expected_dir(*book, "Book1").c_str()), 0);
        }
        if (!c.work_area) destroy_work_area(*book);
        std::string out = "unchanged";
        EXPECT_EQ(tob_tempfile_path(*book, kTempRows, out), kFailed) << c.what;
        EXPECT_EQ(out, "unchanged") << c.what;
        EXPECT_EQ(std::string(book->log.error_info), expected) << c.what;
        EXPECT_EQ(book->log.error_code, kFailed) << c.what;
        EXPECT_STREQ(book->temp_dir, "") << c.what;
    }
}

TEST_F(TempPath, MissingBaseFails) {
    ScopedEnv missing("TEMP", path("missing"));
    BookPtr book = open_book("Book1.xlsx");
    std::string out;
    EXPECT_EQ(tob_tempfile_path(*book, kTempStrings, out), kFailed);
    EXPECT_EQ(work_area(*book)->temp_directory, "");
}

TEST_F(TempPath, FreeingTheBookRemovesItsDirectory) {
    BookPtr book = open_book("Book1.xlsx");
    std::string rows;
    ASSERT_EQ(tob_tempfile_path(*book, kTempRows, rows), 0);
    test::write_disk_file(rows, "rows");
    std::string dir = book->temp_dir;
    EXPECT_EQ(TOVA_free_book(book.get()), 0);
    EXPECT_FALSE(std::filesystem::exists(dir));
}

}  // namespace
}  // namespace tova
