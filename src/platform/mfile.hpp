// Memory files: named, growable byte buffers with a file-like interface, kept
// in one process-wide table. Package parts are built and read in them; a name
// that is not in the table is loaded from the disk file of that name on "rb".
// The routines report by their results and the layer's message text; only
// mlist can throw (std::bad_alloc).
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

// Records stay at one address until mfreeall (or the discarding mcopy) frees them.
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

// Modes "rb", "wb", "ab"; names of 1 to 256 bytes without a NUL byte (else null,
// no message). "wb" empties a file of that name or adds one; "rb" and "ab" rewind
// a file of that name (content unchanged) or load the regular disk file of that
// name. Null on failure, with the reason in merror_text(); a failure adds no record.
MFILE* mopen(std::string_view name, std::string_view mode);
// Copies up to item_size * item_count bytes from the position; the bytes copied.
size_t mread(void* buffer, size_t item_size, size_t item_count, MFILE* file);
// Writes all items at the position, growing the buffer; item_count, or 0 with
// state -9 and "mwrite() malloc()" when memory ran out (the content unchanged).
size_t mwrite(const void* buffer, size_t item_size, size_t item_count, MFILE* file);
// Origin 0 start, 1 current, 2 end; the new position must lie within 0..capacity. 0 or -1.
int mseek(MFILE* file, int64_t offset, int origin);
int64_t mtell(MFILE* file);  // the position, or -1 when it lies outside 0..capacity
int mclose(MFILE* file);     // state closed, position 0; the content stays in the table
int meof(MFILE* file);       // 0 while position < size, else -1
int mremove(std::string_view name);  // frees the content and the name; the slot stays
int mempty(std::string_view name);   // frees the content, keeps the name
int mfreeall();                      // frees every record of the active table
size_t mcount();                     // slots in the active table, removed ones included
std::vector<std::string> mlist();    // names of the files not removed, in table order
size_t msize(std::string_view name);  // 0 when there is no such file
const std::string& merror_text();
// 0 moves the active table aside (replacing what was set aside before); any
// other direction discards the active table and brings the saved one back.
// Whole tables move, so it cannot fail; 0.
int mcopy(int direction);

// The file of that name in the active table, or null; it is not rewound.
const MFILE* mfind(std::string_view name);

// Writes every memory file below `directory`, part names becoming relative
// paths ("/" or "\" separators, split in the given character set). Stops at the
// first failure: -1 for a name that is absolute, has a drive, an empty or ".."
// segment, or whose directories cannot be made; -2 no memory; -101 a file
// cannot be created; -103 a short write. 0 when all are written.
int tob_unload_mfile(int charset, const std::string& directory);

}  // namespace tova::mem
