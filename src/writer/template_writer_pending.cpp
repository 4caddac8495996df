// Books opened from packages cannot be read yet, so none reaches this writer;
// it reports the book as unsupported until the update writer is in.
#include "writer/template_writer.hpp"

namespace tova::writer {

int tob_update_excel2007(XLS_BOOK&, const std::string&) { return -4; }

}  // namespace tova::writer
