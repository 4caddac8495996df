// A fixture for tests that save workbooks into a scratch directory and let the
// real readers judge them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/readers.hpp"
#include "support/test_support.hpp"
#include "tova_api.h"

namespace tova::test {

class SavedBooks : public ::testing::Test {
protected:
    void SetUp() override { dir_ = make_scratch_dir(::testing::UnitTest::GetInstance()->current_test_info()->name()); }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // A new UTF-8 book that saves to `name` in the scratch directory.
    BookPtr new_book(const std::string& name) {
        auto book = make_zeroed_book();
        std::string list = "CHARSET=UTF8 BOOK=\"" + dir_ + "/" + name + "\"";
        EXPECT_EQ(TOVA_open_book(book.get(), list.c_str()), 0);
        return book;
    }

    void put(XLS_BOOK* book, const std::string& list) {
        ASSERT_EQ(TOVA_put_values(book, list.c_str()), 0) << list << ": " << utf8_of_sjis(book->log.error_info);
    }

    // Saves and returns the path of the package.
    std::string save(XLS_BOOK* book) {
        std::string path = book->file_name;
        EXPECT_EQ(TOVA_close_book(book, "SAVE"), 0) << utf8_of_sjis(book->log.error_info);
        return path;
    }

    // The package's structure and schemas (skipped where the tools are missing).
    void expect_valid(const std::string& path) {
        auto verdict = check_schemas({path});
        if (verdict.status != 77) EXPECT_EQ(verdict.status, 0) << path;
    }

    std::string dir_;
};

}  // namespace tova::test
