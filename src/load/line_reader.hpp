// Reading statement files and data sources line by line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/qfs.hpp"

namespace tova::load {

// A text file opened for reading through the OS file layer, read in large
// blocks. The first bytes can be looked at without a rewind, so pipes work too.
class TextFile {
public:
    // False when the file cannot be opened for reading or is a directory.
    bool open(const std::string& path);

    // Passes over a UTF-8 byte order mark at the very start; true when there was
    // one. Only before the first byte is taken; later it finds nothing.
    bool skip_byte_order_mark();

    // The next byte, or -1 at the end of the file.
    int next_byte();

    // The next byte without taking it, or -1 at the end of the file.
    int peek_byte();

private:
    bool fill();

    struct Closer {
        void operator()(qfs::QfsFile* file) const { qfs::qfs_close(file); }
    };
    std::unique_ptr<qfs::QfsFile, Closer> file_;
    std::vector<char> block_;
    size_t position_ = 0;
    size_t filled_ = 0;
    bool started_ = false;
};

// Where a line reader stands: the one-based number of the physical line the
// last line read began on, for messages.
struct LinePosition {
    int64_t line_breaks = 0;  // line breaks taken so far, quoted ones too
    int64_t line_number = 0;
};

// Reads the next line into `line` (without its line break): 1, or 0 at the end
// of the file. LF, CR and CR LF end a line; a double quote opens a section in
// which line breaks are part of the line, up to the next double quote. The
// line grows as far as it needs, so no line is ever cut.
int tob_read_line(TextFile& file, std::string& line, LinePosition& position);

}  // namespace tova::load
