// Statement lists of any shape, in every character set, are applied or refused
// cleanly; the formulas they leave are recalculated.
#include <cstddef>
#include <cstdint>
#include <string>

#include "calc/recalc.hpp"
#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const char* kOpenLists[] = {"CHARSET=SJIS", "CHARSET=EUC", "CHARSET=UTF8"};
    tova::fuzz::ScratchBook book(kOpenLists[data[0] % 3]);
    std::string list(reinterpret_cast<const char*>(data + 1), size - 1);
    TOVA_put_values(book.get(), list.c_str());
    tova::calc::tob_recalculate(*book.get());
    TOVA_error_mesg(book.get());
    return 0;
}
