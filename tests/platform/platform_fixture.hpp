// Shared by the platform suites: environment variables set for one test, and
// a scratch directory that goes with the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/mfile.hpp"
#include "support/test_support.hpp"

namespace tova::test {

// Sets (or, with nullopt, unsets) a variable and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        apply(value);
    }
    ~ScopedEnv() { apply(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void apply(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(name_, value->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

inline std::string read_disk_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void write_disk_file(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// A scratch directory and empty memory-file tables (active and saved) around each test.
class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        clear_tables();
        scratch_ = make_scratch_dir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override {
        clear_tables();
        std::error_code ignored;
        std::filesystem::remove_all(scratch_, ignored);
    }
    static void clear_tables() {
        mem::mcopy(1);
        mem::mfreeall();
    }
    std::string path(const std::string& name) const { return scratch_ + "/" + name; }

    std::string scratch_;
};

}  // namespace tova::test
