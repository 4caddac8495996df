// Packing a list of memory files or disk files into a new archive.
#include <minizip/zip.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <new>
#include <string_view>

#include "platform/zip_package.hpp"

namespace tova::zip {
namespace {

constexpr size_t kWriteBlockBytes = 16384;
constexpr int64_t kZip64Bytes = int64_t{1} << 32;

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

int copy_source(ArchiveWriter& archive, EntryFile& source, char* buffer) {
    for (;;) {
        size_t got = source.read(buffer, kWriteBlockBytes);
        if (got < kWriteBlockBytes && !source.at_end()) return -102;
        if (got > 0 && archive.write(buffer, got) != 0) return -103;
        if (got < kWriteBlockBytes) return 0;
    }
}

int pack_entry(ArchiveWriter& archive, int mode, const std::string& source_dir, const std::string& list_name,
               EntryDates dates, char* buffer) {
    const std::string entry_name = entry_name_of(list_name);
    EntryFile source;
    if (int rc = open_source(mode, source_dir, list_name, entry_name, source); rc != 0) return rc;

    // A memory file's entry keeps every date field zero: minizip writes the DOS zero date for it.
    uint32_t dos_date = 0;
    bool zip64 = false;
    if (mode != kEntriesInMemory) {
        if (dates == EntryDates::FileTimes) dos_date = source.disk_dos_time();
        zip64 = source.disk_size() >= kZip64Bytes;
    }
    if (int rc = archive.begin_entry(entry_name, dos_date, zip64)) return rc;
    int rc = copy_source(archive, source, buffer);
    int closed = archive.end_entry();
    return rc != 0 ? rc : closed;
}

}  // namespace

int pack(int mode, const std::string& archive_path, const std::string& source_dir,
         const std::vector<std::string>& names, EntryDates dates) {
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kWriteBlockBytes]);
    if (!buffer) return -2;
    try {
        ArchiveWriter archive;
        if (int rc = archive.open(archive_path)) return rc;
        for (const std::string& name : names) {
            if (int rc = pack_entry(archive, mode, source_dir, name, dates, buffer.get()); rc != 0) return rc;
        }
        return archive.close();
    } catch (const std::bad_alloc&) {
        return -2;
    }
}

ArchiveWriter::~ArchiveWriter() {
    if (archive_ == nullptr) return;
    if (in_entry_) zipCloseFileInZip(archive_);
    zipClose(archive_, nullptr);
}

int ArchiveWriter::open(const std::string& archive_path) {
    if (archive_ != nullptr || archive_path.find('\0') != std::string::npos) return -101;
    // Deleting first means a link standing at the archive's name is replaced, not written through.
    if (archive_on_disk()) ::unlink(archive_path.c_str());
    zlib_filefunc64_def functions;
    fill_archive_functions(functions);
    archive_ = zipOpen2_64(archive_path.c_str(), APPEND_STATUS_CREATE, nullptr, &functions);
    return archive_ != nullptr ? 0 : -101;
}

int ArchiveWriter::begin_entry(const std::string& name, uint32_t dos_date, bool zip64) {
    if (archive_ == nullptr || in_entry_) return -101;
    zip_fileinfo info{};
    info.dosDate = dos_date;
    if (zipOpenNewFileInZip3_64(archive_, entry_name_of(name).c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY,
                                nullptr, 0, zip64 ? 1 : 0) != ZIP_OK)
        return -101;
    in_entry_ = true;
    return 0;
}

int ArchiveWriter::write(const void* data, size_t size) {
    if (!in_entry_) return -103;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        unsigned piece = static_cast<unsigned>(std::min<size_t>(size, 1u << 30));
        if (zipWriteInFileInZip(archive_, bytes, piece) < 0) return -103;
        bytes += piece;
        size -= piece;
    }
    return 0;
}

int ArchiveWriter::end_entry() {
    if (!in_entry_) return -5;
    in_entry_ = false;
    return zipCloseFileInZip(archive_) == ZIP_OK ? 0 : -5;
}

int ArchiveWriter::close() {
    if (archive_ == nullptr) return -5;
    int rc = in_entry_ ? end_entry() : 0;
    void* archive = archive_;
    archive_ = nullptr;
    return zipClose(archive, nullptr) == ZIP_OK && rc == 0 ? 0 : -5;
}

}  // namespace tova::zip
