// Unpacking an archive entry by entry into memory files or disk files.
#include <minizip/unzip.h>

#include <memory>
#include <new>

#include "platform/encoding.hpp"
#include "platform/zip_package.hpp"

namespace tova::zip {
namespace {

constexpr size_t kReadBlockBytes = 8192;
// Entry names in packages are UTF-8 or ASCII, so every "/" and "\" separates.
constexpr int kEntryNameCharset = enc::kUtf8;

struct UnzipCloser {
    void operator()(void* archive) const { unzClose(archive); }
};
using UnzipArchive = std::unique_ptr<void, UnzipCloser>;

struct Unpacking {
    unzFile archive;
    int mode;
    const std::string& dest_dir;
    size_t max_names;
    std::vector<std::string>& names;
    uint64_t budget;  // the bytes the remaining entries may still unpack to
    char* buffer;

    bool in_memory() const { return mode == kEntriesInMemory; }
};

bool is_directory_entry(const std::string& name) {
    return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

// The dot stands for a file inside the directory: qfs_mkdirs makes the
// directories of a file path.
int make_directory(const std::string& dest_dir, const std::string& name) {
    std::string inside = name + ".";
    return qfs::qfs_mkdirs(kEntryNameCharset, dest_dir, inside) == 0 ? 0 : -1;
}

int create_destination(const Unpacking& job, const std::string& name, EntryFile& out) {
    if (job.in_memory()) {
        mem::MFILE* file = mem::mopen(name, "wb");
        if (file == nullptr) return -101;
        out = EntryFile::memory(file);
        return 0;
    }
    qfs::QfsFile* file = nullptr;
    int rc = qfs::qfs_create_below(kEntryNameCharset, job.dest_dir, name, file);
    if (rc == -101) return -101;
    if (rc != 0) return -1;  // an absolute name, a ".." segment, or directories that cannot be made
    out = EntryFile::disk(file);
    return 0;
}

// minizip checks the CRC only of an entry that ran to its declared size, so
// an entry whose data end early is caught here.
int copy_entry(Unpacking& job, EntryFile& destination, uint64_t declared_size) {
    uint64_t copied = 0;
    for (;;) {
        int got = unzReadCurrentFile(job.archive, job.buffer, kReadBlockBytes);
        if (got < 0) return got;
        if (got == 0) return copied == declared_size ? 0 : UNZ_CRCERROR;
        if (static_cast<uint64_t>(got) > job.budget) return -2;
        job.budget -= static_cast<uint64_t>(got);
        copied += static_cast<uint64_t>(got);
        if (!destination.write(job.buffer, static_cast<size_t>(got))) return job.in_memory() ? -2 : -1;
    }
}

int unpack_current_entry(Unpacking& job) {
    unz_file_info64 info{};
    char name_buffer[kMaxEntryNameBytes + 1];
    int rc = unzGetCurrentFileInfo64(job.archive, &info, name_buffer, sizeof name_buffer, nullptr, 0, nullptr, 0);
    if (rc != UNZ_OK) return rc;
    if (info.size_filename > kMaxEntryNameBytes) return -9;
    std::string name(name_buffer, info.size_filename);
    if (is_directory_entry(name)) return job.in_memory() ? 0 : make_directory(job.dest_dir, name);

    if (unzOpenCurrentFilePassword(job.archive, nullptr) != UNZ_OK) return -1;
    EntryFile destination;
    if (int created = create_destination(job, name, destination); created != 0) return created;
    // An archive that claims 65535 entries is walked to the end of its
    // directory, so the entry count checked before may be exceeded.
    if (job.names.size() >= job.max_names) return -9;
    job.names.push_back(name);
    rc = copy_entry(job, destination, info.uncompressed_size);
    if (rc == 0) destination.set_disk_times(info.dosDate);
    int closed = unzCloseCurrentFile(job.archive);
    return rc != 0 ? rc : closed;
}

int unpack_archive(Unpacking& job) {
    unz_global_info64 global{};
    if (int rc = unzGetGlobalInfo64(job.archive, &global); rc != UNZ_OK) return rc;
    if (global.number_entry >= job.max_names) return -9;
    if (global.number_entry == 0) return 0;
    for (;;) {
        if (int rc = unpack_current_entry(job); rc != 0) return rc;
        int rc = unzGoToNextFile(job.archive);
        if (rc == UNZ_END_OF_LIST_OF_FILE) return 0;
        if (rc != UNZ_OK) return rc;
    }
}

}  // namespace

int unpack(int mode, const std::string& archive_path, const std::string& dest_dir, size_t max_names,
           std::vector<std::string>& names, uint64_t max_unpacked_bytes) {
    names.clear();
    if (max_names < 1 || (mode != kEntriesInMemory && dest_dir.empty())) return -3;
    if (archive_path.find('\0') != std::string::npos) return -101;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kReadBlockBytes]);
    if (!buffer) return -104;
    try {
        zlib_filefunc64_def functions;
        fill_archive_functions(functions);
        UnzipArchive archive(unzOpen2_64(archive_path.c_str(), &functions));
        if (!archive) return -101;
        if (mode != kEntriesInMemory) {
            qfs::qfs_rmtree(dest_dir);
            if (qfs::qfs_mkdir(dest_dir) != 0) return -1;
        }
        Unpacking job{archive.get(), mode, dest_dir, max_names, names, max_unpacked_bytes, buffer.get()};
        return unpack_archive(job);
    } catch (const std::bad_alloc&) {
        return -2;
    }
}

}  // namespace tova::zip
