// Setting a record up for a new book and releasing everything it holds.
#pragma once

#include "tova_api.h"

namespace tova {

constexpr int kFileTypeXls = 11;
constexpr int kFileTypeXlsx = 20;

// Puts the record's defaults in place for a book of the given file type.
// The work area must exist; the book's tables start empty.
void initialise_book(XLS_BOOK& book, int file_type);

// Empties the book's tables and puts the defaults of another file type in
// place, keeping the work area and its character set.
void reset_book(XLS_BOOK& book, int file_type);

// Releases the work area and everything hanging off the record: temporary
// files and the book's temporary directory, the raw workbook stream file,
// the name list. Harmless on a record that holds nothing.
void release_book(XLS_BOOK& book);

}  // namespace tova
