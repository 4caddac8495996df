// A temporary file of a book (rows of a sheet, streamed strings): an open
// stream and its path; closing it also deletes it.
#pragma once

#include <cstdio>
#include <string>

namespace tova::model {

class TempFile {
public:
    TempFile() = default;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    TempFile(TempFile&& other) noexcept { *this = std::move(other); }
    TempFile& operator=(TempFile&& other) noexcept;
    ~TempFile() { close_and_delete(); }

    // Creates (truncates) the file for reading and writing; false when it cannot.
    bool create(const std::string& path);
    void close_and_delete();

    bool is_open() const { return stream_ != nullptr; }
    std::FILE* stream() const { return stream_; }
    const std::string& path() const { return path_; }

private:
    std::FILE* stream_ = nullptr;
    std::string path_;
};

}  // namespace tova::model
