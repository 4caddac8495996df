// The export that sets the process's memory files aside and brings them back.
#include "platform/mfile.hpp"
#include "tova_api.h"

extern "C" {

TOVA_API int TOVA_swap_book(int direction) {
    tova::mem::mcopy(direction);
    return 0;
}

}  // extern "C"
