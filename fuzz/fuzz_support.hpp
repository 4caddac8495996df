// What the fuzz targets share: a book opened for one input, released after it.
#pragma once

#include <cstdlib>
#include <string>

#include "platform/mfile.hpp"
#include "tova_api.h"

namespace tova::fuzz {

class ScratchBook {
public:
    explicit ScratchBook(const char* open_list) : book_(static_cast<XLS_BOOK*>(std::calloc(1, sizeof(XLS_BOOK)))) {
        TOVA_open_book(book_, open_list);
        TOVA_open_sheet(book_, "SHEET_NAME=Fuzz");
    }
    ~ScratchBook() {
        TOVA_free_book(book_);
        std::free(book_);
        mem::mfreeall();
    }
    XLS_BOOK* get() { return book_; }

private:
    XLS_BOOK* book_;
};

}  // namespace tova::fuzz
