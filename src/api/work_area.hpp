// The private work area a book's handle points to: its character set, streams,
// diagnostic log and all the tables of the book.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "api/diagnostic_log.hpp"
#include "model/workbook.hpp"
#include "tova_api.h"

namespace tova {

struct WorkArea {
    int32_t charset = 1;  // 1 Shift-JIS, 2 EUC-JP, 3 UTF-8
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    DiagnosticLog log;
    uint64_t serial = 0;  // unique per work area in this process; names its temporary directory
    std::string temp_directory;  // the temporary directory made for this book, removed on release
    model::Workbook book;
};

// The work area of an open book, or null.
WorkArea* work_area(XLS_BOOK& book);
const WorkArea* work_area(const XLS_BOOK& book);

// The book's character set; Shift-JIS when the book has no work area.
int charset_of(const XLS_BOOK& book);

// Gives the book a fresh work area. A work area this process made earlier for
// the record is released first; a stray pointer in a record that was not
// zero-filled is never followed.
WorkArea& create_work_area(XLS_BOOK& book);

// Releases the work area (if it is one of ours) and sets handle to null.
void destroy_work_area(XLS_BOOK& book);

}  // namespace tova
