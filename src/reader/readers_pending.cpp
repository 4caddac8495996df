// Workbooks cannot be read yet: every reader reports the file as unsupported.
#include "reader/readers.hpp"

namespace tova::reader {

int tob_read_excel2003(XLS_BOOK&, const std::string&) { return -4; }
int tob_read_excel2007(XLS_BOOK&, const std::string&, bool) { return -4; }
int tob_list_excel2007(XLS_BOOK&, const std::string&, bool) { return -4; }

}  // namespace tova::reader
