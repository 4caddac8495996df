// The buffered output every part writer uses: append text, numbers, cell
// references and escaped text, flushed in large pieces into the part's
// destination (a memory file, or a file in the temporary-file mode).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/encoding.hpp"

namespace tova::mem {
struct MFILE;
}

namespace tova::writer {

// Results of part writers, as the package writer maps them.
constexpr int kPartOk = 0;
constexpr int kPartOutOfMemory = 1234;  // a memory file could not grow
constexpr int kPartCannotOpen = -101;
constexpr int kPartShortWrite = -103;

// How much the parts of one package may hold in memory files before the
// writer moves to temporary files (reported as kPartOutOfMemory).
struct MemoryBudget {
    size_t limit;
    size_t used = 0;
};

// Where parts go: memory files named by their part names, or files below a directory.
struct PartTarget {
    bool to_files = false;
    std::string directory;           // used when to_files
    MemoryBudget* budget = nullptr;  // memory files only; null for no limit
};

class XmlOut {
public:
    XmlOut() = default;
    XmlOut(const XmlOut&) = delete;
    XmlOut& operator=(const XmlOut&) = delete;
    ~XmlOut();

    // Creates the part; kPartOk or kPartCannotOpen.
    int open(const PartTarget& target, const std::string& part_name);

    // Flushes and closes; the first failure of the part's life (kPartOutOfMemory,
    // kPartShortWrite) or kPartOk.
    int close();

    XmlOut& raw(std::string_view text) {
        buffer_.append(text);
        if (buffer_.size() >= kFlushAt) flush();
        return *this;
    }
    XmlOut& raw(char c) {
        buffer_.push_back(c);
        return *this;
    }
    XmlOut& number(int64_t value);
    XmlOut& unsigned_number(uint64_t value);
    // Fixed notation with the given number of decimals, as "%.*f" writes it.
    XmlOut& fixed(double value, int decimals);
    // Shortest text that reads back as the same double.
    XmlOut& real(double value);
    // "A1" for a zero-based row and column.
    XmlOut& cell_ref(int32_t row, int32_t column);
    // UTF-8 text as XML character data or attribute value.
    XmlOut& escaped(std::string_view text, int mode = enc::XML_ESCAPE_KEEP_NL);
    // An attribute: ` name="value"` with the value escaped.
    XmlOut& attribute(std::string_view name, std::string_view value);
    XmlOut& attribute(std::string_view name, int64_t value);

    int status() const { return status_; }

private:
    static constexpr size_t kFlushAt = 1 << 18;
    void flush();

    std::string buffer_;
    mem::MFILE* memory_ = nullptr;
    MemoryBudget* budget_ = nullptr;
    std::FILE* file_ = nullptr;
    int status_ = kPartOk;
};

// Writes one complete part from a text in one go.
int write_part(const PartTarget& target, const std::string& part_name, std::string_view content);

// Column letters of a zero-based column ("A", "AB", "XFD").
void append_column_letters(std::string& out, int32_t column);

}  // namespace tova::writer
