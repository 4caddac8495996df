// Provisional: only what the skeleton needs. Replaced by the full layer.
#include "platform/qfs.hpp"

#include <filesystem>

namespace tova::qfs {

int qfs_rmtree(const std::string& directory) {
    std::error_code ec;
    std::filesystem::remove_all(directory, ec);
    return 0;
}

}  // namespace tova::qfs
