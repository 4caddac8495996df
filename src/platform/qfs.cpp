// Files over POSIX descriptors: the four open modes, read, write, seek, size,
// whole-file loading and copying.
#include "platform/qfs.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>

#include "platform/mfile.hpp"
#include "platform/unique_fd.hpp"

namespace tova::qfs {
namespace {

struct ModeFlags {
    int mode;
    int flags;
};

constexpr ModeFlags kModeFlags[] = {
    {kRead, O_RDONLY},
    {kWrite, O_WRONLY | O_CREAT | O_TRUNC},
    {kAppend, O_WRONLY | O_CREAT},  // positioned at the end once; later seeks still work
    {kReadWrite, O_RDWR | O_CREAT},
};

bool usable_path(const std::string& path) {
    return !path.empty() && path.find('\0') == std::string::npos;
}

// Opened for reading without blocking on a FIFO, for the status checks below.
UniqueFd open_for_status(const std::string& path) {
    if (!usable_path(path)) return UniqueFd();
    return UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
}

int copy_memory_file(const std::string& destination, const std::string& source) {
    mem::MFILE* from = mem::mopen(source, "rb");
    if (from == nullptr) return -101;
    if (destination == source) {  // "wb" would empty the source first
        mem::mclose(from);
        return 0;
    }
    mem::MFILE* to = mem::mopen(destination, "wb");
    if (to == nullptr) {
        mem::mclose(from);
        return -101;
    }
    size_t written = mem::mwrite(from->data.data(), 1, from->size, to);
    int rc = written == from->size ? 0 : -103;
    mem::mclose(to);
    mem::mclose(from);
    return rc;
}

int copy_disk_file(const std::string& destination, const std::string& source) {
    if (!usable_path(source) || !usable_path(destination)) return -101;
    UniqueFd from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!from.valid()) return -101;
    // Truncated only once it is known not to be the source itself.
    UniqueFd to(::open(destination.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    if (!to.valid()) return -101;
    struct stat from_status {}, to_status {};
    if (::fstat(from.get(), &from_status) != 0 || ::fstat(to.get(), &to_status) != 0) return -101;
    if (from_status.st_dev == to_status.st_dev && from_status.st_ino == to_status.st_ino) return 0;
    if (::ftruncate(to.get(), 0) != 0) return -103;

    char buffer[16384];
    for (;;) {
        ssize_t got = ::read(from.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -101;
        if (got == 0) return 0;
        if (write_fully(to.get(), buffer, static_cast<size_t>(got)) != static_cast<size_t>(got)) return -103;
    }
}

}  // namespace

QfsFile* qfs_open(const std::string& path, int mode) {
    const ModeFlags* chosen = nullptr;
    for (const ModeFlags& entry : kModeFlags) {
        if (entry.mode == mode) chosen = &entry;
    }
    if (chosen == nullptr || !usable_path(path)) return nullptr;
    UniqueFd fd(::open(path.c_str(), chosen->flags | O_CLOEXEC, 0666));
    if (!fd.valid()) return nullptr;
    if (mode == kAppend && ::lseek(fd.get(), 0, SEEK_END) < 0) return nullptr;
    auto* file = new (std::nothrow) QfsFile{fd.get(), mode, 0};
    if (file != nullptr) fd.release();
    return file;
}

int qfs_close(QfsFile* file) {
    if (file == nullptr) return 0;
    if (file->fd >= 0) ::close(file->fd);
    delete file;
    return 0;
}

size_t qfs_read(void* buffer, size_t count, QfsFile* file) {
    if (file == nullptr || buffer == nullptr) return 0;
    return read_fully(file->fd, buffer, count);
}

size_t qfs_write(const void* buffer, size_t count, QfsFile* file) {
    if (file == nullptr || (buffer == nullptr && count > 0)) return 0;
    return write_fully(file->fd, buffer, count);
}

int qfs_seek(QfsFile* file, int64_t offset, int origin) {
    int whence;
    switch (origin) {
        case kFromStart: whence = SEEK_SET; break;
        case kFromEnd: whence = SEEK_END; break;
        case kFromCurrent: whence = SEEK_CUR; break;
        default: return -3;
    }
    if (file == nullptr) return -3;
    // Only an impossible position is worth reporting; other failures show up on the next transfer.
    if (::lseek(file->fd, static_cast<off_t>(offset), whence) < 0 && errno == EINVAL) return -104;
    return 0;
}

int qfs_fsze(const std::string& path, int64_t& size) {
    UniqueFd fd = open_for_status(path);
    if (!fd.valid()) return -101;
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return -1;
    size = status.st_size;
    return 0;
}

int qfs_read_file(const std::string& path, std::vector<char>& out) {
    UniqueFd fd = open_for_status(path);
    if (!fd.valid()) return -101;
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) return -1;
    std::vector<char> content;
    try {
        content.resize(static_cast<size_t>(status.st_size));
    } catch (...) {
        return -2;
    }
    if (read_fully(fd.get(), content.data(), content.size()) != content.size()) return -102;
    out.swap(content);
    return 0;
}

int qfs_load(int where, const std::string& path, std::vector<char>& out) {
    if (where != 0) {
        int rc = qfs_read_file(path, out);
        return rc == 0 || rc == -2 ? rc : -101;
    }
    mem::MFILE* file = mem::mopen(path, "rb");
    if (file == nullptr) return -101;
    int rc = 0;
    try {
        size_t size = std::min(file->size, file->data.size());
        out.assign(file->data.begin(), file->data.begin() + static_cast<ptrdiff_t>(size));
    } catch (...) {
        rc = -2;
    }
    mem::mclose(file);
    return rc;
}

int qfs_copy(int where, const std::string& destination, const std::string& source) {
    return where == 0 ? copy_memory_file(destination, source) : copy_disk_file(destination, source);
}

}  // namespace tova::qfs
