// Archives of any shape unpack into memory files or fail cleanly.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/mfile.hpp"
#include "platform/zip_package.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tova;
    mem::MFILE* archive = mem::mopen("fuzz.zip", "wb");
    mem::mwrite(data, 1, size, archive);
    mem::mclose(archive);
    zip::set_archive_switch(0);
    std::vector<std::string> names;
    zip::unpack(zip::kEntriesInMemory, "fuzz.zip", "", 1000, names, uint64_t{64} << 20);
    mem::mfreeall();
    return 0;
}
