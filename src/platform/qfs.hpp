// The thin layer over the operating system's files. Paths use "/". The
// routines report by their results (only temp_base can throw, std::bad_alloc),
// and none changes the process's current directory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tova::qfs {

// The longest temporary directory or file path this layer makes.
constexpr size_t kMaxPathBytes = 256;

enum OpenMode : int { kRead = 1, kWrite = 2, kAppend = 3, kReadWrite = 4 };
enum Origin : int { kFromStart = 1, kFromEnd = 2, kFromCurrent = 3 };

struct QfsFile {
    int fd = -1;
    int mode = 0;
    int64_t saved_position = 0;  // kept for a client; the wrappers never use it
};

// Modes: 1 read (the file must exist), 2 write (created or truncated), 3 write
// positioned at the end (created when missing), 4 read and write (created when
// missing). Null for another mode or when the file cannot be opened.
QfsFile* qfs_open(const std::string& path, int mode);
int qfs_close(QfsFile* file);  // closes and frees the record; 0
size_t qfs_read(void* buffer, size_t count, QfsFile* file);         // bytes read, 0 on failure
size_t qfs_write(const void* buffer, size_t count, QfsFile* file);  // bytes written
int qfs_seek(QfsFile* file, int64_t offset, int origin);   // 0; -3 bad origin; -104 bad position
int qfs_fsze(const std::string& path, int64_t& size);      // 0; -101 cannot open; -1 not a regular file
// The whole file in `out` (exactly its bytes, no terminator): where 0 reads the
// memory file of that name (mopen "rb", so a disk file of that name is loaded
// into the table when it is not there), else the disk file. 0; -2; -101.
int qfs_load(int where, const std::string& path, std::vector<char>& out);
// Copies source into destination, both memory files (where 0) or both disk
// files. 0; -101 a file cannot be opened or read; -103 a short write.
int qfs_copy(int where, const std::string& destination, const std::string& source);
int qfs_mkdir(const std::string& path);       // 0 (also when the directory exists) or -1
int qfs_rmtree(const std::string& directory);  // depth first, never through a symbolic link; 0

// Creates the directories of a relative file path ("/" or "\" separators) below
// `base` (the current directory when empty), top down, without following a
// symbolic link, and leaves the bare file name in `relative_path`. -1 when the
// path is absolute, has a drive, an empty or ".." segment, or a directory cannot
// be entered; -9 beyond 30 directory levels.
int qfs_mkdirs(int charset, const std::string& base, std::string& relative_path);

// As qfs_mkdirs, then creates (or truncates) the file itself owner-only, never
// through a symbolic link; `out` receives it opened in mode 2. 0; -1; -9 as
// qfs_mkdirs; -101 the file cannot be created.
int qfs_create_below(int charset, const std::string& base, const std::string& relative_path,
                     QfsFile*& out);

// Reads a regular disk file whole, its size from the open file's status.
// 0; -101 cannot open; -1 not a regular file; -2 no memory; -102 a read failed.
// `out` is left as it was on failure.
int qfs_read_file(const std::string& path, std::vector<char>& out);

// The base for temporary directories: TEMP, else TMPDIR, else /tmp. A value is
// skipped when it is empty, not absolute or longer than 256 bytes.
std::string temp_base();

// Makes `path` a directory of ours: creates it with mode 0700, or accepts an
// existing one that is a real directory (not a link) owned by the effective
// user with no group or other permissions. 0 or -1.
int qfs_private_dir(const std::string& path);

// Prepares temp_base()/name with qfs_private_dir and returns its path in `out`.
// -1 for a name that is empty, "." or "..", or holds a "/"; for a path longer
// than 256 bytes; or when the directory is not safely ours.
int pel_prepare_tempdir(const std::string& name, std::string& out);

}  // namespace tova::qfs
