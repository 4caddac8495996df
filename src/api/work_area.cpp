#include "api/work_area.hpp"

#include <unordered_set>

namespace tova {
namespace {

// Work areas alive in this process, so a handle is only followed when it is one.
std::unordered_set<const void*>& live_areas() {
    static std::unordered_set<const void*> areas;
    return areas;
}

uint64_t next_serial() {
    static uint64_t serial = 0;
    return ++serial;
}

}  // namespace

WorkArea* work_area(XLS_BOOK& book) {
    if (book.handle == nullptr || !live_areas().count(book.handle)) return nullptr;
    return static_cast<WorkArea*>(book.handle);
}

const WorkArea* work_area(const XLS_BOOK& book) {
    if (book.handle == nullptr || !live_areas().count(book.handle)) return nullptr;
    return static_cast<const WorkArea*>(book.handle);
}

int charset_of(const XLS_BOOK& book) {
    const WorkArea* area = work_area(book);
    return area ? area->charset : 1;
}

WorkArea& create_work_area(XLS_BOOK& book) {
    destroy_work_area(book);
    auto* area = new WorkArea();
    try {
        live_areas().insert(area);
    } catch (...) {
        delete area;
        throw;
    }
    area->serial = next_serial();
    book.handle = area;
    return *area;
}

void destroy_work_area(XLS_BOOK& book) {
    if (WorkArea* area = work_area(book)) {
        live_areas().erase(area);
        delete area;
    }
    book.handle = nullptr;
}

}  // namespace tova
