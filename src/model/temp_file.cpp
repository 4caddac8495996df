#include "model/temp_file.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace tova::model {

TempFile& TempFile::operator=(TempFile&& other) noexcept {
    if (this != &other) {
        close_and_delete();
        stream_ = std::exchange(other.stream_, nullptr);
        path_ = std::move(other.path_);
        other.path_.clear();
    }
    return *this;
}

bool TempFile::create(const std::string& path) {
    close_and_delete();
    // Owner-only and never through a symbolic link someone planted.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    stream_ = ::fdopen(fd, "w+b");
    if (stream_ == nullptr) {
        ::close(fd);
        ::unlink(path.c_str());
        return false;
    }
    path_ = path;
    return true;
}

void TempFile::close_and_delete() {
    if (stream_ != nullptr) {
        std::fclose(stream_);
        stream_ = nullptr;
        ::unlink(path_.c_str());
    }
    path_.clear();
}

}  // namespace tova::model
