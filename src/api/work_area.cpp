#include "api/work_area.hpp"

#include <atomic>
#include <mutex>
#include <unordered_set>

namespace tova {
namespace {

// Work areas alive in this process, so a handle is only followed when it is
// one. Books may live on different threads, so the set is locked; each thread
// remembers the last handle it found alive until any work area is destroyed.
struct LiveAreas {
    std::mutex lock;
    std::unordered_set<const void*> areas;
    std::atomic<uint64_t> destroyed{0};
};

LiveAreas& live_areas() {
    static LiveAreas live;
    return live;
}

bool is_live(const void* handle) {
    thread_local const void* last = nullptr;
    thread_local uint64_t last_destroyed = 0;
    LiveAreas& live = live_areas();
    const uint64_t destroyed = live.destroyed.load(std::memory_order_acquire);
    if (handle == last && destroyed == last_destroyed) return true;
    std::lock_guard<std::mutex> guard(live.lock);
    if (!live.areas.count(handle)) return false;
    last = handle;
    last_destroyed = destroyed;
    return true;
}

uint64_t next_serial() {
    static std::atomic<uint64_t> serial{0};
    return ++serial;
}

}  // namespace

WorkArea* work_area(XLS_BOOK& book) {
    return book.handle != nullptr && is_live(book.handle) ? static_cast<WorkArea*>(book.handle) : nullptr;
}

const WorkArea* work_area(const XLS_BOOK& book) {
    return book.handle != nullptr && is_live(book.handle) ? static_cast<const WorkArea*>(book.handle) : nullptr;
}

int charset_of(const XLS_BOOK& book) {
    const WorkArea* area = work_area(book);
    return area ? area->charset : 1;
}

WorkArea& create_work_area(XLS_BOOK& book) {
    destroy_work_area(book);
    auto* area = new WorkArea();
    try {
        std::lock_guard<std::mutex> guard(live_areas().lock);
        live_areas().areas.insert(area);
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
        LiveAreas& live = live_areas();
        {
            std::lock_guard<std::mutex> guard(live.lock);
            live.areas.erase(area);
            live.destroyed.fetch_add(1, std::memory_order_release);
        }
        delete area;
    }
    book.handle = nullptr;
}

}  // namespace tova
