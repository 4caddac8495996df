// Memory files: named, growable byte buffers with a file-like interface, kept
// in one process-wide table. Package parts are built and read in them; a name
// that is not in the table is loaded from the disk file of that name on "rb".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tova::mem {

constexpr size_t MFILE_MAX_OPEN_FILES = 100000;
constexpr size_t kMaxNameBytes = 256;

enum MFileState : int32_t { kOpen = 0, kClosed = 1, kRemoved = 9, kWriteFailed = -9 };

struct MFILE {
    std::string name;            // compared byte for byte; empty once removed
    int32_t state = kOpen;
    size_t index = 0;            // slot in the table
    std::vector<char> data;      // data.size() is the capacity
    size_t step = 1024;          // growth step
    size_t factor = 2;
    size_t size = 0;             // end of file
    int64_t position = 0;        // current read/write offset
    int64_t saved_position = 0;  // kept for a client; the layer never uses it
};

MFILE* mopen(std::string_view name, std::string_view mode);
size_t mread(void* buffer, size_t item_size, size_t item_count, MFILE* file);
size_t mwrite(const void* buffer, size_t item_size, size_t item_count, MFILE* file);
int mseek(MFILE* file, int64_t offset, int origin);  // origin 0 start, 1 current, 2 end
int64_t mtell(MFILE* file);
int mclose(MFILE* file);
int meof(MFILE* file);
int mremove(std::string_view name);
int mempty(std::string_view name);
int mfreeall();
size_t mcount();
std::vector<std::string> mlist();          // names of the files not removed, in table order
size_t msize(std::string_view name);
const std::string& merror_text();
int mcopy(int direction);                  // 0 moves the table aside, else brings it back

// The content of a memory file as a view (valid until the file changes), or
// null when there is no such file.
const MFILE* mfind(std::string_view name);

// Writes every memory file below `directory`, part names becoming relative
// paths. Names with "..", a leading "/" or a drive are refused (-1).
int tob_unload_mfile(int charset, const std::string& directory);

}  // namespace tova::mem
