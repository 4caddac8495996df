// The thin layer over the operating system's files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tova::qfs {

enum OpenMode : int { kRead = 1, kWrite = 2, kAppend = 3, kReadWrite = 4 };
enum Origin : int { kFromStart = 1, kFromEnd = 2, kFromCurrent = 3 };

struct QfsFile {
    int fd = -1;
    int mode = 0;
    int64_t saved_position = 0;  // kept for a client; the wrappers never use it
};

QfsFile* qfs_open(const std::string& path, int mode);
int qfs_close(QfsFile* file);
size_t qfs_read(void* buffer, size_t count, QfsFile* file);
size_t qfs_write(const void* buffer, size_t count, QfsFile* file);
int qfs_seek(QfsFile* file, int64_t offset, int origin);   // 0; -3 bad origin; -104 bad position
int qfs_fsze(const std::string& path, int64_t& size);      // 0; -101; -1
int qfs_load(int where, const std::string& path, std::vector<char>& out);  // where 0: memory file
int qfs_copy(int where, const std::string& destination, const std::string& source);
int qfs_mkdir(const std::string& path);
int qfs_rmtree(const std::string& directory);
int qfs_mkdirs(int charset, const std::string& base, std::string& relative_path);  // 0; -1; -9

// The base for temporary directories: TEMP, else TMPDIR, else /tmp.
std::string temp_base();

// Creates base/name (owner-only; an existing directory of ours is fine) and
// returns its path in `out`; a path longer than 256 bytes or a directory that
// is not safely ours gives -1.
int pel_prepare_tempdir(const std::string& name, std::string& out);

}  // namespace tova::qfs
