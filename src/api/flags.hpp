// The option bytes of XLS_BOOK: 0 is on, 0xFF is off.
#pragma once

#include "tova_api.h"

namespace tova {

inline bool flag_on(const XLS_BOOK& book, int index) { return book.flags[index] == XLS_ON; }
inline void set_flag(XLS_BOOK& book, int index, bool on) { book.flags[index] = on ? XLS_ON : XLS_OFF; }

}  // namespace tova
