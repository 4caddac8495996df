// The file layer under the zip code: the archive switch and its export,
// minizip's file-function tables over disk files and memory files, the files
// that entries are read from and written to, and DOS dates.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "platform/zip_package.hpp"
#include "tova_api.h"

namespace tova::zip {
namespace {

int g_archive_switch = -1;

// What minizip's opaque stream points to.
struct ArchiveStream {
    qfs::QfsFile* disk = nullptr;
    mem::MFILE* memory = nullptr;
    int error = 0;
};

ArchiveStream& stream_of(voidpf stream) { return *static_cast<ArchiveStream*>(stream); }

bool reads(int mode) { return (mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) == ZLIB_FILEFUNC_MODE_READ; }

ArchiveStream* new_stream(qfs::QfsFile* disk, mem::MFILE* memory) {
    auto* stream = new (std::nothrow) ArchiveStream{disk, memory, 0};
    if (stream == nullptr) {
        qfs::qfs_close(disk);
        mem::mclose(memory);
    }
    return stream;
}

// Disk archives.

voidpf disk_open(voidpf, const void* filename, int mode) {
    int qfs_mode = 0;
    if (reads(mode)) {
        qfs_mode = qfs::kRead;
    } else if (mode & ZLIB_FILEFUNC_MODE_EXISTING) {
        qfs_mode = qfs::kReadWrite;
    } else if (mode & ZLIB_FILEFUNC_MODE_CREATE) {
        qfs_mode = qfs::kWrite;  // minizip only writes, seeks and tells while it creates an archive
    }
    if (filename == nullptr || qfs_mode == 0) return nullptr;
    try {
        qfs::QfsFile* file = qfs::qfs_open(static_cast<const char*>(filename), qfs_mode);
        return file == nullptr ? nullptr : new_stream(file, nullptr);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// The transfers stop short at the end of the file or on an error; only the
// latter leaves errno set.
uLong disk_read(voidpf, voidpf stream, void* buffer, uLong size) {
    errno = 0;
    size_t got = qfs::qfs_read(buffer, size, stream_of(stream).disk);
    if (got < size && errno != 0) stream_of(stream).error = errno;
    return static_cast<uLong>(got);
}

uLong disk_write(voidpf, voidpf stream, const void* buffer, uLong size) {
    errno = 0;
    size_t put = qfs::qfs_write(buffer, size, stream_of(stream).disk);
    if (put < size) stream_of(stream).error = errno != 0 ? errno : EIO;
    return static_cast<uLong>(put);
}

ZPOS64_T disk_tell(voidpf, voidpf stream) {
    off_t position = ::lseek(stream_of(stream).disk->fd, 0, SEEK_CUR);
    return position < 0 ? static_cast<ZPOS64_T>(-1) : static_cast<ZPOS64_T>(position);
}

long disk_seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    int qfs_origin;
    switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET: qfs_origin = qfs::kFromStart; break;
        case ZLIB_FILEFUNC_SEEK_CUR: qfs_origin = qfs::kFromCurrent; break;
        case ZLIB_FILEFUNC_SEEK_END: qfs_origin = qfs::kFromEnd; break;
        default: return -1;
    }
    return qfs::qfs_seek(stream_of(stream).disk, static_cast<int64_t>(offset), qfs_origin) == 0 ? 0 : -1;
}

int disk_close(voidpf, voidpf stream) {
    qfs::qfs_close(stream_of(stream).disk);
    delete &stream_of(stream);
    return 0;
}

// Memory archives. There is no appending: the memory-file layer has no
// read-write mode.

voidpf memory_open(voidpf, const void* filename, int mode) {
    const char* memory_mode = reads(mode) ? "rb" : (mode & ZLIB_FILEFUNC_MODE_CREATE) ? "wb" : nullptr;
    if (filename == nullptr || memory_mode == nullptr) return nullptr;
    mem::MFILE* file = mem::mopen(static_cast<const char*>(filename), memory_mode);
    return file == nullptr ? nullptr : new_stream(nullptr, file);
}

uLong memory_read(voidpf, voidpf stream, void* buffer, uLong size) {
    return static_cast<uLong>(mem::mread(buffer, 1, size, stream_of(stream).memory));
}

uLong memory_write(voidpf, voidpf stream, const void* buffer, uLong size) {
    if (mem::mwrite(buffer, 1, size, stream_of(stream).memory) == size) return size;
    stream_of(stream).error = ENOMEM;
    return 0;
}

ZPOS64_T memory_tell(voidpf, voidpf stream) {
    return static_cast<ZPOS64_T>(mem::mtell(stream_of(stream).memory));  // -1 stays all ones
}

// Minizip's origins are the memory-file layer's: 0 start, 1 current, 2 end.
// A failed seek is reported, so that a corrupt archive cannot send minizip
// reading from a position it did not ask for.
long memory_seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    return mem::mseek(stream_of(stream).memory, static_cast<int64_t>(offset), origin);
}

int memory_close(voidpf, voidpf stream) {
    mem::mclose(stream_of(stream).memory);
    delete &stream_of(stream);
    return 0;
}

int stream_error(voidpf, voidpf stream) { return stream_of(stream).error; }

}  // namespace

void set_archive_switch(int flag) { g_archive_switch = flag; }

bool archive_on_disk() { return g_archive_switch != 0; }

void fill_disk_functions(zlib_filefunc64_def& functions) {
    functions = {disk_open, disk_read, disk_write, disk_tell, disk_seek, disk_close, stream_error, nullptr};
}

void fill_memory_functions(zlib_filefunc64_def& functions) {
    functions = {memory_open, memory_read,  memory_write, memory_tell,
                 memory_seek, memory_close, stream_error, nullptr};
}

void fill_archive_functions(zlib_filefunc64_def& functions) {
    if (archive_on_disk()) {
        fill_disk_functions(functions);
    } else {
        fill_memory_functions(functions);
    }
}

uint32_t dos_date_time(std::time_t time) {
    constexpr uint32_t kEarliest = (1u << 21) | (1u << 16);  // 1980-01-01 00:00:00
    // 2107-12-31 23:59:58
    constexpr uint32_t kLatest = (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
    std::tm local{};
    if (::localtime_r(&time, &local) == nullptr || local.tm_year < 80) return kEarliest;
    if (local.tm_year > 207) return kLatest;
    return static_cast<uint32_t>(local.tm_year - 80) << 25 | static_cast<uint32_t>(local.tm_mon + 1) << 21 |
           static_cast<uint32_t>(local.tm_mday) << 16 | static_cast<uint32_t>(local.tm_hour) << 11 |
           static_cast<uint32_t>(local.tm_min) << 5 | static_cast<uint32_t>(local.tm_sec / 2);
}

std::time_t time_of_dos(uint32_t dos) {
    std::tm local{};
    local.tm_year = static_cast<int>(dos >> 25) + 80;
    local.tm_mon = static_cast<int>(dos >> 21 & 0x0F) - 1;
    local.tm_mday = static_cast<int>(dos >> 16 & 0x1F);
    local.tm_hour = static_cast<int>(dos >> 11 & 0x1F);
    local.tm_min = static_cast<int>(dos >> 5 & 0x3F);
    local.tm_sec = static_cast<int>(dos & 0x1F) * 2;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

EntryFile EntryFile::memory(mem::MFILE* file) {
    EntryFile entry;
    entry.memory_.reset(file);
    return entry;
}

EntryFile EntryFile::disk(qfs::QfsFile* file) {
    EntryFile entry;
    entry.disk_.reset(file);
    return entry;
}

size_t EntryFile::read(char* buffer, size_t count) {
    return memory_ ? mem::mread(buffer, 1, count, memory_.get()) : qfs::qfs_read(buffer, count, disk_.get());
}

bool EntryFile::write(const char* data, size_t count) {
    if (memory_) return mem::mwrite(data, 1, count, memory_.get()) == count;
    return qfs::qfs_write(data, count, disk_.get()) == count;
}

bool EntryFile::at_end() const {
    if (memory_) return mem::meof(memory_.get()) != 0;
    off_t position = ::lseek(disk_->fd, 0, SEEK_CUR);
    return position >= 0 && position >= disk_size();
}

int64_t EntryFile::disk_size() const {
    struct stat status {};
    return disk_ && ::fstat(disk_->fd, &status) == 0 ? static_cast<int64_t>(status.st_size) : 0;
}

uint32_t EntryFile::disk_dos_time() const {
    struct stat status {};
    if (!disk_ || ::fstat(disk_->fd, &status) != 0) return dos_date_time(0);
    return dos_date_time(status.st_mtime);
}

void EntryFile::set_disk_times(uint32_t dos) {
    std::time_t time = time_of_dos(dos);
    if (!disk_ || time == static_cast<std::time_t>(-1)) return;
    const timespec times[2] = {{time, 0}, {time, 0}};
    ::futimens(disk_->fd, times);
}

}  // namespace tova::zip

extern "C" {

TOVA_API int pel_zip_on_memory(int flag) {
    tova::zip::set_archive_switch(flag);
    return 0;
}

}  // extern "C"
