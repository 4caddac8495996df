// The buffered output every part writer uses: append text, numbers, cell
// references and escaped text, flushed in large pieces into the part's
// destination: an entry of the package being written, or a memory file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/encoding.hpp"

namespace tova::mem {
struct MFILE;
}

namespace tova::zip {
class ArchiveWriter;
}

namespace tova::writer {

// Results of part writers, as the package writer maps them.
constexpr int kPartOk = 0;
constexpr int kPartOutOfMemory = 1234;  // a memory file could not grow
constexpr int kPartCannotOpen = -101;
constexpr int kPartShortWrite = -103;

// Where parts go: entries of an archive being written (streamed, so a package
// is never held whole), or, without one, memory files named by their part names.
struct PartTarget {
    zip::ArchiveWriter* archive = nullptr;
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
    zip::ArchiveWriter* archive_ = nullptr;
    int status_ = kPartOk;
};

// Writes one complete part from a text in one go.
int write_part(const PartTarget& target, const std::string& part_name, std::string_view content);

// Column letters of a zero-based column ("A", "AB", "XFD").
void append_column_letters(std::string& out, int32_t column);

}  // namespace tova::writer
