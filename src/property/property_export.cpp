// TOVA_is_property: the statement code of a property key.
#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "property/parser.hpp"
#include "tova_api.h"

using namespace tova;

extern "C" {

TOVA_API int TOVA_is_property(XLS_BOOK* book, const char* key, int* code) {
    if (code != nullptr) *code = property::stmt::kNone;
    return guarded(book, [&]() -> int {
        if (key == nullptr || code == nullptr || work_area(*book) == nullptr) return kBadArgument;
        property::PropertyKey parsed;
        if (int rc = property::tob_parse_property(*book, key, parsed); rc != 0) return rc;
        *code = parsed.code;
        return 0;
    });
}

}  // extern "C"
