// Shared by the loading suites: a scratch directory for the files a test
// writes, and readers of what a book's cells hold.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "api/work_area.hpp"
#include "model/cell_store.hpp"
#include "support/test_support.hpp"
#include "tova_api.h"

namespace tova::test {

class LoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        dir_ = make_scratch_dir(name);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Writes the bytes into the scratch directory and returns the file's path.
    std::string write_file(const std::string& name, const std::string& bytes) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::string dir_;
};

inline model::Sheet& sheet_of(XLS_BOOK& book, int sheet = 0) { return work_area(book)->book.sheets.at(sheet); }

// The text a cell's value prints as, shared strings included; empty for a missing cell.
inline std::string cell_text(XLS_BOOK& book, int row, int column, int sheet = 0) {
    const model::Cell* cell = model::find_cell(sheet_of(book, sheet), row, column);
    if (cell == nullptr) return {};
    if (cell->kind == model::kSharedString) return std::string(work_area(book)->book.strings.at(cell->number));
    return model::cell_value_text(*cell);
}

inline std::string message_of(const XLS_BOOK& book) { return utf8_of_sjis(book.log.error_info); }

}  // namespace tova::test
