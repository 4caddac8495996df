// Data files and statement files of any shape load or fail cleanly.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_support.hpp"
#include "load/data_source.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const std::string path = "/tmp/tova-fuzz-" + std::to_string(::getpid()) + ".csv";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(data + 1, 1, size - 1, file);
    std::fclose(file);

    tova::fuzz::ScratchBook book("CHARSET=UTF8");
    tova::load::DataSourceRequest request;
    request.path = path;
    request.separator = data[0] & 1;
    request.charset = 1 + (data[0] >> 1) % 3;
    tova::load::tob_load_datasource(*book.get(), 0, request, tova::load::DataTarget{});
    std::string run = "FILE=\"" + path + "\"";
    TOVA_read_file(book.get(), run.c_str());
    return 0;
}
