// An owned POSIX file descriptor and the read/write loops that retry
// interrupted and partial transfers.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <utility>

namespace tova::qfs {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        reset(std::exchange(other.fd_, -1));
        return *this;
    }
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_ = -1;
};

// Reads until `count` bytes, the end of the file or an error; the bytes read.
inline size_t read_fully(int fd, void* buffer, size_t count) {
    size_t done = 0;
    while (done < count) {
        ssize_t got = ::read(fd, static_cast<char*>(buffer) + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}

// Writes until `count` bytes or an error; the bytes written.
inline size_t write_fully(int fd, const void* buffer, size_t count) {
    size_t done = 0;
    while (done < count) {
        ssize_t put = ::write(fd, static_cast<const char*>(buffer) + done, count - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) break;
        done += static_cast<size_t>(put);
    }
    return done;
}

}  // namespace tova::qfs
