// Packing a list of memory files or disk files into a new archive.
#include <minizip/zip.h>
#include <unistd.h>

#include <memory>
#include <new>
#include <string_view>

#include "platform/zip_package.hpp"

namespace tova::zip {
namespace {

constexpr size_t kWriteBlockBytes = 16384;
constexpr int64_t kZip64Bytes = int64_t{1} << 32;

struct ZipCloser {
    void operator()(void* archive) const { zipClose(archive, nullptr); }
};
using ZipArchive = std::unique_ptr<void, ZipCloser>;

std::string entry_name_of(std::string_view name) {
    size_t start = name.find_first_not_of("/\\");
    return std::string(start == std::string_view::npos ? std::string_view() : name.substr(start));
}

int open_source(int mode, const std::string& source_dir, const std::string& list_name,
                const std::string& entry_name, EntryFile& out) {
    if (mode == kEntriesInMemory) {
        mem::MFILE* file = mem::mopen(list_name, "rb");
        if (file == nullptr) return -101;
        out = EntryFile::memory(file);
        return 0;
    }
    std::string path = source_dir.empty() ? entry_name : source_dir + "/" + entry_name;
    qfs::QfsFile* file = qfs::qfs_open(path, qfs::kRead);
    if (file == nullptr) return -101;
    out = EntryFile::disk(file);
    return 0;
}

int copy_source(zipFile archive, EntryFile& source, char* buffer) {
    for (;;) {
        size_t got = source.read(buffer, kWriteBlockBytes);
        if (got < kWriteBlockBytes && !source.at_end()) return -102;
        if (got > 0 && zipWriteInFileInZip(archive, buffer, static_cast<unsigned>(got)) < 0) return -103;
        if (got < kWriteBlockBytes) return 0;
    }
}

int pack_entry(zipFile archive, int mode, const std::string& source_dir, const std::string& list_name,
               char* buffer) {
    const std::string entry_name = entry_name_of(list_name);
    EntryFile source;
    if (int rc = open_source(mode, source_dir, list_name, entry_name, source); rc != 0) return rc;

    // A memory file's entry keeps every date field zero: minizip writes the DOS zero date for it.
    zip_fileinfo info{};
    int zip64 = 0;
    if (mode != kEntriesInMemory) {
        info.dosDate = source.disk_dos_time();
        zip64 = source.disk_size() >= kZip64Bytes ? 1 : 0;
    }
    if (zipOpenNewFileInZip3_64(archive, entry_name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0,
                                zip64) != ZIP_OK)
        return -101;
    int rc = copy_source(archive, source, buffer);
    int closed = zipCloseFileInZip(archive);
    if (rc != 0) return rc;
    return closed == ZIP_OK ? 0 : -5;
}

}  // namespace

int pack(int mode, const std::string& archive_path, const std::string& source_dir,
         const std::vector<std::string>& names) {
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kWriteBlockBytes]);
    if (!buffer) return -2;
    if (archive_path.find('\0') != std::string::npos) return -101;
    try {
        // Deleting first means a link standing at the archive's name is replaced, not written through.
        if (archive_on_disk()) ::unlink(archive_path.c_str());
        zlib_filefunc64_def functions;
        fill_archive_functions(functions);
        ZipArchive archive(zipOpen2_64(archive_path.c_str(), APPEND_STATUS_CREATE, nullptr, &functions));
        if (!archive) return -101;
        for (const std::string& name : names) {
            if (int rc = pack_entry(archive.get(), mode, source_dir, name, buffer.get()); rc != 0) return rc;
        }
        return zipClose(archive.release(), nullptr) == ZIP_OK ? 0 : -5;
    } catch (const std::bad_alloc&) {
        return -2;
    }
}

}  // namespace tova::zip
