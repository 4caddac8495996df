// Zip packaging: unpacking an archive into memory files (or disk files) named
// by the entries' paths, and packing a list of named memory files (or disk
// files) into a new archive, both through minizip. The archive itself is a
// disk file, or a memory file of that name once pel_zip_on_memory(0) was
// called. Nothing here throws.
#pragma once

#include <minizip/ioapi.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "platform/mfile.hpp"
#include "platform/qfs.hpp"

namespace tova::zip {

// The mode of pack and unpack that keeps the entries in memory files; any
// other value keeps them in disk files.
constexpr int kEntriesInMemory = 0;
constexpr size_t kMaxEntryNameBytes = 256;
// What one unpack may write, all entries together, so that a small hostile
// archive cannot inflate into unbounded memory (nor, unpacked to disk after
// memory ran out, fill the disk).
constexpr uint64_t kMaxUnpackedBytes = uint64_t{1} << 31;

// Unpacks every entry in archive order. Memory mode: each entry becomes a
// memory file named by its entry path. Disk mode: `dest_dir` is emptied (made
// anew) and each entry becomes a file below it. Directory entries (a name
// ending in "/" or "\") make no memory file and no name (disk mode: the
// directory). `names` receives the names of the entries stored, in order.
// Results: 0; -3 no slots, or disk mode without a directory; -9 the archive
// has `max_names` entries or more (nothing is extracted then), or an entry
// name is longer than 256 bytes; -101 the archive or a destination cannot be
// opened or created; -104 no memory for the read buffer; -2 no memory, a
// memory file cannot grow, or the entries unpack to more than
// `max_unpacked_bytes`; -1 an entry cannot be opened, a disk write failed, or
// (disk mode) an entry name is absolute or has a ".." or empty segment;
// minizip's own negative results pass through (a corrupt archive; its CRC
// error also for an entry whose data end before their declared size).
int unpack(int mode, const std::string& archive_path, const std::string& dest_dir, size_t max_names,
           std::vector<std::string>& names, uint64_t max_unpacked_bytes = kMaxUnpackedBytes);

// Packs the files of `names`, in order, into a new archive (an archive on
// disk is deleted first). Memory mode: the memory files of those names.
// Disk mode: the files of those names below `source_dir`, dated by their
// modification times. Entry names lose their leading "/" and "\"; memory
// files' entries carry the zero date. An empty list makes an empty archive.
// Results: 0; -2 no memory; -101 the archive, an entry or a source cannot be
// opened or created; -102 a source read failed; -103 an entry write failed;
// -5 closing an entry or the archive failed.
// Disk files' entries are dated by their modification times unless told to
// carry the zero date like memory files (so a package is the same either way).
enum class EntryDates { FileTimes, Zero };
int pack(int mode, const std::string& archive_path, const std::string& source_dir,
         const std::vector<std::string>& names, EntryDates dates = EntryDates::FileTimes);

// Writes a new archive entry by entry while the entries' data is produced,
// so a package never has to be held whole. Entries are deflated at the
// default level; `dos_date` 0 is the zero date. An archive that is not
// closed is abandoned (and, on disk, left incomplete for the caller to remove).
class ArchiveWriter {
public:
    ArchiveWriter() = default;
    ArchiveWriter(const ArchiveWriter&) = delete;
    ArchiveWriter& operator=(const ArchiveWriter&) = delete;
    ~ArchiveWriter();

    int open(const std::string& archive_path);  // 0 or -101; an archive on disk replaces the file
    int begin_entry(const std::string& name, uint32_t dos_date = 0, bool zip64 = false);  // 0 or -101
    int write(const void* data, size_t size);   // 0 or -103
    int end_entry();                            // 0 or -5
    int close();                                // 0 or -5

private:
    void* archive_ = nullptr;
    bool in_entry_ = false;
};

// The process-wide archive switch, initially -1: non-zero puts the archive in
// a disk file, 0 in a memory file of the archive's name.
void set_archive_switch(int flag);
bool archive_on_disk();

// minizip's file functions for the archive as the switch says; the opaque
// pointer is null.
void fill_archive_functions(zlib_filefunc64_def& functions);
void fill_disk_functions(zlib_filefunc64_def& functions);
void fill_memory_functions(zlib_filefunc64_def& functions);

// A local time as a DOS date (high 16 bits) and time, clamped to the years
// 1980 to 2107 that the format can hold; and back.
uint32_t dos_date_time(std::time_t time);
std::time_t time_of_dos(uint32_t dos);

// An entry's source or destination: an open memory file or disk file, closed
// when it goes.
class EntryFile {
public:
    EntryFile() = default;
    static EntryFile memory(mem::MFILE* file);
    static EntryFile disk(qfs::QfsFile* file);

    bool is_open() const { return memory_ != nullptr || disk_ != nullptr; }
    size_t read(char* buffer, size_t count);
    bool write(const char* data, size_t count);
    // Whether the position is at the end; a short read anywhere else is a failure.
    bool at_end() const;
    // Disk files only (0 for a memory file): the size, and the modification time as a DOS date and time.
    int64_t disk_size() const;
    uint32_t disk_dos_time() const;
    // Sets a disk file's access and modification times; nothing for a memory file.
    void set_disk_times(uint32_t dos);

private:
    struct MFileCloser {
        void operator()(mem::MFILE* file) const { mem::mclose(file); }
    };
    struct QfsCloser {
        void operator()(qfs::QfsFile* file) const { qfs::qfs_close(file); }
    };
    std::unique_ptr<mem::MFILE, MFileCloser> memory_;
    std::unique_ptr<qfs::QfsFile, QfsCloser> disk_;
};

}  // namespace tova::zip
