#include "writer/xml_out.hpp"

#include <charconv>
#include <cmath>

#include "platform/mfile.hpp"
#include "platform/zip_package.hpp"

namespace tova::writer {

XmlOut::~XmlOut() { close(); }

int XmlOut::open(const PartTarget& target, const std::string& part_name) {
    close();
    status_ = kPartOk;
    buffer_.clear();
    buffer_.reserve(kFlushAt + 4096);
    if (target.archive != nullptr) {
        if (target.archive->begin_entry(part_name) != 0) return status_ = kPartCannotOpen;
        archive_ = target.archive;
        return kPartOk;
    }
    memory_ = mem::mopen(part_name, "wb");
    return memory_ ? kPartOk : (status_ = kPartCannotOpen);
}

void XmlOut::flush() {
    if (buffer_.empty()) return;
    if (status_ == kPartOk) {
        if (archive_ != nullptr) {
            if (archive_->write(buffer_.data(), buffer_.size()) != 0) status_ = kPartShortWrite;
        } else if (memory_ != nullptr) {
            if (mem::mwrite(buffer_.data(), 1, buffer_.size(), memory_) != buffer_.size())
                status_ = memory_->state == mem::kWriteFailed ? kPartOutOfMemory : kPartShortWrite;
        }
    }
    buffer_.clear();
}

int XmlOut::close() {
    if (memory_ == nullptr && archive_ == nullptr) return status_;
    flush();
    if (memory_ != nullptr) {
        mem::mclose(memory_);
        memory_ = nullptr;
    }
    if (archive_ != nullptr) {
        if (archive_->end_entry() != 0 && status_ == kPartOk) status_ = kPartShortWrite;
        archive_ = nullptr;
    }
    return status_;
}

XmlOut& XmlOut::number(int64_t value) {
    char digits[24];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    return raw(std::string_view(digits, static_cast<size_t>(end - digits)));
}

XmlOut& XmlOut::unsigned_number(uint64_t value) {
    char digits[24];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    return raw(std::string_view(digits, static_cast<size_t>(end - digits)));
}

XmlOut& XmlOut::fixed(double value, int decimals) {
    char text[400];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return raw(std::string_view(text, static_cast<size_t>(std::snprintf(text, sizeof text, "%.*g", 17, value))));
    return raw(std::string_view(text, static_cast<size_t>(end - text)));
}

XmlOut& XmlOut::real(double value) {
    if (!std::isfinite(value)) return raw('0');
    char text[32];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return raw(std::string_view(text, static_cast<size_t>(end - text)));
}

void append_column_letters(std::string& out, int32_t column) {
    char letters[4];
    int n = 0;
    for (int32_t c = column + 1; c > 0 && n < 4; c = (c - 1) / 26) letters[n++] = static_cast<char>('A' + (c - 1) % 26);
    while (n > 0) out.push_back(letters[--n]);
}

XmlOut& XmlOut::cell_ref(int32_t row, int32_t column) {
    append_column_letters(buffer_, column);
    return number(static_cast<int64_t>(row) + 1);
}

XmlOut& XmlOut::escaped(std::string_view text, int mode) {
    enc::xml_escape_append(buffer_, text, mode);
    if (buffer_.size() >= kFlushAt) flush();
    return *this;
}

XmlOut& XmlOut::attribute(std::string_view name, std::string_view value) {
    raw(' ').raw(name).raw("=\"");
    return escaped(value, enc::XML_ESCAPE).raw('"');
}

XmlOut& XmlOut::attribute(std::string_view name, int64_t value) {
    raw(' ').raw(name).raw("=\"");
    return number(value).raw('"');
}

int write_part(const PartTarget& target, const std::string& part_name, std::string_view content) {
    XmlOut out;
    if (int rc = out.open(target, part_name)) return rc;
    out.raw(content);
    return out.close();
}

}  // namespace tova::writer
