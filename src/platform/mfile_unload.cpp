// Writing the memory files out as ordinary files below a directory.
#include <new>

#include "platform/mfile.hpp"
#include "platform/qfs.hpp"

namespace tova::mem {
namespace {

int unload_one(int charset, const std::string& directory, const std::string& name) {
    MFILE* file = mopen(name, "rb");
    if (file == nullptr) return -101;
    qfs::QfsFile* out = nullptr;
    int rc = qfs::qfs_create_below(charset, directory, name, out);
    if (rc == 0) {
        rc = qfs::qfs_write(file->data.data(), file->size, out) == file->size ? 0 : -103;
        qfs::qfs_close(out);
    } else if (rc != -101) {
        rc = -1;  // the name is refused or its directories cannot be made
    }
    mclose(file);
    return rc;
}

}  // namespace

int tob_unload_mfile(int charset, const std::string& directory) {
    std::vector<std::string> names;
    try {
        names = mlist();
    } catch (const std::bad_alloc&) {
        return -2;
    }
    for (const std::string& name : names) {
        if (int rc = unload_one(charset, directory, name); rc != 0) return rc;
    }
    return 0;
}

}  // namespace tova::mem
