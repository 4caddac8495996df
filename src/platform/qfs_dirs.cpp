// Directories: creation (also of a relative path's directories), removal of a
// tree, and the owner-only temporary directories. Everything works relative to
// open directory descriptors, so the current directory is never changed and a
// symbolic link is never followed below the starting directory.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "platform/encoding.hpp"
#include "platform/qfs.hpp"
#include "platform/unique_fd.hpp"

namespace tova::qfs {
namespace {

constexpr size_t kMaxDirectoryLevels = 30;
constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;

void remove_entry(int parent, const char* name);

// Names are gathered before anything is removed, so removal cannot disturb the listing.
void remove_contents(DIR* dir) {
    std::vector<std::string> names;
    while (dirent* entry = ::readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    for (const std::string& name : names) remove_entry(::dirfd(dir), name.c_str());
}

// A directory is emptied and removed; anything else, a symbolic link included, is unlinked.
void remove_entry(int parent, const char* name) {
    struct stat status {};
    if (::fstatat(parent, name, &status, AT_SYMLINK_NOFOLLOW) != 0) return;
    if (!S_ISDIR(status.st_mode)) {
        ::unlinkat(parent, name, 0);
        return;
    }
    // O_NOFOLLOW: should the entry have become a link since, it is left alone.
    int fd = ::openat(parent, name, kDirectoryFlags | O_NOFOLLOW);
    if (fd >= 0) {
        DirPtr dir(::fdopendir(fd));
        if (dir) {
            remove_contents(dir.get());
        } else {
            ::close(fd);
        }
    }
    ::unlinkat(parent, name, AT_REMOVEDIR);
}

bool has_drive(std::string_view path) {
    return path.size() >= 2 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':';
}

bool acceptable_segment(std::string_view segment) {
    return !segment.empty() && segment != ".." && segment[0] != '/' && segment[0] != '\\';
}

struct RelativePath {
    std::vector<std::string> directories;  // top first
    std::string file;
};

// False for a path that could leave the directory it is taken below.
bool split_relative(int charset, const std::string& path, RelativePath& out) {
    if (path.find('\0') != std::string::npos || has_drive(path)) return false;
    std::string rest = path;
    std::string directory;
    enc::split_path(charset, rest, directory);
    out.file = rest;
    // A leading separator is never split off, so it stays at the front of the top segment.
    while (!directory.empty()) {
        rest = std::move(directory);
        enc::split_path(charset, rest, directory);
        out.directories.push_back(rest);
    }
    std::reverse(out.directories.begin(), out.directories.end());
    return acceptable_segment(out.file) &&
           std::all_of(out.directories.begin(), out.directories.end(), acceptable_segment);
}

// Creates and enters each directory of `relative` below `base`; `dir` ends open
// on the last one and `file` holds the bare file name.
int open_directories(int charset, const std::string& base, const std::string& relative, UniqueFd& dir,
                     std::string& file) {
    RelativePath parts;
    if (!split_relative(charset, relative, parts)) return -1;
    if (parts.directories.size() > kMaxDirectoryLevels) return -9;
    const std::string top = base.empty() ? "." : base;
    if (top.find('\0') != std::string::npos) return -1;
    UniqueFd current(::open(top.c_str(), kDirectoryFlags));
    if (!current.valid()) return -1;
    for (const std::string& name : parts.directories) {
        if (::mkdirat(current.get(), name.c_str(), 0777) != 0 && errno != EEXIST) return -1;
        UniqueFd next(::openat(current.get(), name.c_str(), kDirectoryFlags | O_NOFOLLOW));
        if (!next.valid()) return -1;
        current = std::move(next);
    }
    dir = std::move(current);
    file = std::move(parts.file);
    return 0;
}

std::string joined(const std::string& base, const std::string& name) {
    return base.back() == '/' ? base + name : base + "/" + name;
}

}  // namespace

int qfs_mkdir(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) return -1;
    if (::mkdir(path.c_str(), 0777) == 0) return 0;
    struct stat status {};
    return errno == EEXIST && ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) ? 0 : -1;
}

int qfs_rmtree(const std::string& directory) {
    if (directory.empty() || directory.find('\0') != std::string::npos) return 0;
    try {
        remove_entry(AT_FDCWD, directory.c_str());
    } catch (const std::bad_alloc&) {
        // What could not be listed stays behind; there is nothing better to do here.
    }
    return 0;
}

int qfs_mkdirs(int charset, const std::string& base, std::string& relative_path) {
    try {
        UniqueFd dir;
        std::string file;
        int rc = open_directories(charset, base, relative_path, dir, file);
        if (rc == 0) relative_path = std::move(file);
        return rc;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

int qfs_create_below(int charset, const std::string& base, const std::string& relative_path,
                     QfsFile*& out) {
    out = nullptr;
    try {
        UniqueFd dir;
        std::string file;
        if (int rc = open_directories(charset, base, relative_path, dir, file); rc != 0) return rc;
        // O_NONBLOCK: a FIFO planted at the name fails here instead of blocking.
        UniqueFd fd(::openat(dir.get(), file.c_str(),
                             O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
        struct stat status {};
        if (!fd.valid() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return -101;
        out = new QfsFile{fd.get(), kWrite, 0};
        fd.release();
        return 0;
    } catch (const std::bad_alloc&) {
        return -101;
    }
}

std::string temp_base() {
    for (const char* variable : {"TEMP", "TMPDIR"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || value[0] != '/') continue;
        size_t length = strnlen(value, kMaxPathBytes + 1);
        if (length > kMaxPathBytes) continue;
        std::string base(value, length);
        while (base.size() > 1 && base.back() == '/') base.pop_back();
        return base;
    }
    return "/tmp";
}

int qfs_private_dir(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) return -1;
    if (::mkdir(path.c_str(), 0700) == 0) return 0;
    if (errno != EEXIST) return -1;
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) return -1;
    bool ours = S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
    return ours ? 0 : -1;
}

int pel_prepare_tempdir(const std::string& name, std::string& out) {
    if (name.empty() || name == "." || name == ".." || name.find_first_of(std::string_view("/\0", 2)) != std::string::npos)
        return -1;
    try {
        std::string directory = joined(temp_base(), name);
        if (directory.size() > kMaxPathBytes || qfs_private_dir(directory) != 0) return -1;
        out = std::move(directory);
        return 0;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

}  // namespace tova::qfs
