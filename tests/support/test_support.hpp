// Helpers shared by the test suites.
#pragma once

#include <memory>
#include <string>

#include "tova_api.h"

namespace tova::test {

// A zero-filled book record on the heap (it is too large for comfortable stack use),
// released with TOVA_free_book when it goes.
struct BookDeleter {
    void operator()(XLS_BOOK* book) const;
};
using BookPtr = std::unique_ptr<XLS_BOOK, BookDeleter>;
BookPtr make_zeroed_book();

// A book with a work area, the record's defaults and `sheets` sheets named
// Sheet1, Sheet2, ...; the first is current. No file is read or written.
BookPtr make_open_book(int sheets = 1, int charset = 3);

// UTF-8 text of a Shift-JIS message, for readable assertions.
std::string utf8_of_sjis(const std::string& sjis);

// A fresh directory below the build's temporary area, removed by the caller's fixture.
std::string make_scratch_dir(const std::string& name);

}  // namespace tova::test
