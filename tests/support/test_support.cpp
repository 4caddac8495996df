#include "support/test_support.hpp"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/encoding.hpp"

namespace tova::test {

void BookDeleter::operator()(XLS_BOOK* book) const {
    TOVA_free_book(book);
    std::free(book);
}

BookPtr make_zeroed_book() { return BookPtr(static_cast<XLS_BOOK*>(std::calloc(1, sizeof(XLS_BOOK)))); }

std::string utf8_of_sjis(const std::string& sjis) { return enc::conv_charset(enc::kShiftJis, enc::kUtf8, sjis); }

std::string make_scratch_dir(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("tova-test-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

}  // namespace tova::test
