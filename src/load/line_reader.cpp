#include "load/line_reader.hpp"

#include <sys/stat.h>

namespace tova::load {
namespace {

constexpr size_t kBlockBytes = 65536;

}  // namespace

bool TextFile::open(const std::string& path) {
    file_.reset(qfs::qfs_open(path, qfs::kRead));
    if (!file_) return false;
    // A directory opens for reading on POSIX systems but reads as nothing.
    struct stat status {};
    if (::fstat(file_->fd, &status) != 0 || S_ISDIR(status.st_mode)) {
        file_.reset();
        return false;
    }
    block_.resize(kBlockBytes);
    position_ = filled_ = 0;
    started_ = false;
    return true;
}

bool TextFile::fill() {
    if (!file_) return false;
    filled_ = qfs::qfs_read(block_.data(), block_.size(), file_.get());
    position_ = 0;
    return filled_ > 0;
}

int TextFile::peek_byte() {
    if (position_ == filled_ && !fill()) return -1;
    return static_cast<unsigned char>(block_[position_]);
}

int TextFile::next_byte() {
    started_ = true;
    int byte = peek_byte();
    if (byte >= 0) ++position_;
    return byte;
}

bool TextFile::skip_byte_order_mark() {
    static constexpr unsigned char kMark[] = {0xEF, 0xBB, 0xBF};
    if (started_) return false;
    // The first block holds the whole mark when there is one: reads fill a block unless the file ends.
    if (peek_byte() < 0 || filled_ < sizeof kMark) return false;
    for (size_t i = 0; i < sizeof kMark; ++i)
        if (static_cast<unsigned char>(block_[i]) != kMark[i]) return false;
    position_ = sizeof kMark;
    return true;
}

int tob_read_line(TextFile& file, std::string& line, LinePosition& position) {
    line.clear();
    position.line_number = position.line_breaks + 1;
    bool quoted = false;
    bool any = false;
    for (int byte; (byte = file.next_byte()) >= 0;) {
        any = true;
        if (byte == '\n' || byte == '\r') {
            ++position.line_breaks;
            const bool pair = byte == '\r' && file.peek_byte() == '\n';
            if (pair) file.next_byte();
            if (!quoted) return 1;
            line += static_cast<char>(byte);
            if (pair) line += '\n';
            continue;
        }
        if (byte == '"') quoted = !quoted;
        line += static_cast<char>(byte);
    }
    return any ? 1 : 0;
}

}  // namespace tova::load
