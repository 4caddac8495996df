// The book's temporary directory and the names of its temporary files.
#include "platform/temp_paths.hpp"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>

#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "platform/encoding.hpp"
#include "platform/qfs.hpp"

namespace tova {
namespace {

constexpr std::string_view kWhat = "tob_tempfile_path() tob_tempfile_path()";
// Room kept for the longest file name, so every path handed out fits kMaxPathBytes.
constexpr size_t kFileNameRoom = sizeof("/Sheet-2147483647.tmp") - 1;

// The file name without its directory and without its extension (from the last ".").
std::string_view stem_of(const XLS_BOOK& book) {
    std::string_view name(book.file_name, strnlen(book.file_name, sizeof book.file_name));
    if (size_t slash = name.rfind('/'); slash != std::string_view::npos) name.remove_prefix(slash + 1);
    if (size_t dot = name.rfind('.'); dot != std::string_view::npos) name = name.substr(0, dot);
    return name;
}

// "tova-<pid>-<serial>-<stem>", the stem cut on a character boundary so that
// the directory and any file name in it fit; empty when even the prefix does not.
std::string directory_name(const XLS_BOOK& book, const WorkArea& area) {
    std::string name = "tova-" + std::to_string(::getpid()) + "-" + std::to_string(area.serial) + "-";
    size_t used = qfs::temp_base().size() + 1 + name.size() + kFileNameRoom;
    if (used > qfs::kMaxPathBytes) return {};
    std::string_view stem = stem_of(book);
    name.append(stem.substr(0, enc::char_boundary(area.charset, stem, qfs::kMaxPathBytes - used)));
    return name;
}

// The book's directory, made when the book has none yet and made again when it has gone.
int prepare_directory(XLS_BOOK& book, WorkArea& area) {
    if (area.temp_directory.empty()) {
        std::string name = directory_name(book, area);
        std::string directory;
        if (name.empty() || qfs::pel_prepare_tempdir(name, directory) != 0) return -1;
        area.temp_directory = std::move(directory);
    } else if (qfs::qfs_private_dir(area.temp_directory) != 0) {
        return -1;
    }
    size_t keep = std::min(area.temp_directory.size(), sizeof book.temp_dir - 1);
    std::memcpy(book.temp_dir, area.temp_directory.data(), keep);
    book.temp_dir[keep] = '\0';
    return 0;
}

}  // namespace

int tob_tempfile_path(XLS_BOOK& book, int kind, std::string& out) {
    try {
        std::string file_name;
        switch (kind) {
            case kTempStrings: file_name = "SST.tmp"; break;
            case kTempRows: file_name = "Sheet" + std::to_string(static_cast<int64_t>(book.cur_sheet) + 1) + ".tmp"; break;
            case kTempDirectory: break;
            default: return kBadArgument;
        }
        WorkArea* area = work_area(book);
        if (area == nullptr || prepare_directory(book, *area) != 0)
            return fail(book, kFailed, Msg::InternalError, {kWhat});
        out = kind == kTempDirectory ? area->temp_directory : area->temp_directory + "/" + file_name;
        return 0;
    } catch (const std::bad_alloc&) {
        return internal_error(book, kWhat);
    }
}

}  // namespace tova
