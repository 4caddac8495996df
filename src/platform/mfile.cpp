// The process-wide table of memory files and the file operations on its records.
#include "platform/mfile.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <unordered_map>

#include "platform/qfs.hpp"

namespace tova::mem {
namespace {

constexpr size_t kNewFileBytes = 1024;
constexpr size_t kLargeFileBytes = 104857600;  // 100 MiB: from here on the step stops doubling
constexpr size_t kLargeStepBytes = 10485760;   // 10 MiB
constexpr size_t kMessageRoom = 260;

constexpr std::string_view kTooManyFiles = "mopen() Mfile_ct >= MFILE_MAX_OPEN_FILES";
constexpr std::string_view kOpenNoMemory = "mopen() malloc()";
constexpr std::string_view kOpenReadFailed = "mopen() fread()";
constexpr std::string_view kWriteNoMemory = "mwrite() malloc()";

struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const noexcept { return std::hash<std::string_view>{}(name); }
};

// Records in slot order (mlist's order) and a hashed index of the names in use.
// A removed record keeps its slot but leaves the index, so each name in the
// index belongs to exactly one record.
struct Table {
    std::vector<std::unique_ptr<MFILE>> files;
    std::unordered_map<std::string, size_t, NameHash, std::equal_to<>> slots;

    MFILE* find(std::string_view name) const {
        auto found = slots.find(name);
        return found == slots.end() ? nullptr : files[found->second].get();
    }

    // Adds a record holding `data` as its content of `size` bytes; nothing
    // changes when this throws.
    MFILE* add(std::string_view name, std::vector<char> data, size_t size) {
        auto record = std::make_unique<MFILE>();
        record->name.assign(name);
        record->index = files.size();
        record->data = std::move(data);
        record->size = size;
        files.push_back(nullptr);
        try {
            slots.emplace(record->name, record->index);
        } catch (...) {
            files.pop_back();
            throw;
        }
        files.back() = std::move(record);
        return files.back().get();
    }

    void clear() noexcept {
        slots.clear();
        files.clear();
    }

    void swap(Table& other) noexcept {
        files.swap(other.files);
        slots.swap(other.slots);
    }
};

Table& active_table() {
    static Table table;
    return table;
}

Table& saved_table() {
    static Table table;
    return table;
}

// The layer's message; its room is reserved at the first use, so recording a
// failure later never needs memory.
std::string g_message;

void set_message(std::string_view text) noexcept {
    try {
        if (g_message.capacity() < kMessageRoom) g_message.reserve(kMessageRoom);
        g_message.assign(text.substr(0, kMessageRoom - 1));
    } catch (...) {
        g_message.clear();  // without memory for the room, an empty text rather than a stale one
    }
}

bool valid_name(std::string_view name) {
    return !name.empty() && name.size() <= kMaxNameBytes && name.find('\0') == std::string_view::npos;
}

void rewind_content(MFILE& file, std::vector<char> data, size_t size) {
    file.data = std::move(data);
    file.step = kNewFileBytes;
    file.factor = 2;
    file.size = size;
    file.position = 0;
    file.state = kOpen;
}

void free_content(MFILE& file) {
    std::vector<char>().swap(file.data);
    file.size = 0;
    file.position = 0;
}

MFILE* open_for_writing(std::string_view name) {
    Table& table = active_table();
    MFILE* existing = table.find(name);
    if (existing == nullptr && table.files.size() >= MFILE_MAX_OPEN_FILES) {
        set_message(kTooManyFiles);
        return nullptr;
    }
    try {
        std::vector<char> data(kNewFileBytes);
        if (existing == nullptr) return table.add(name, std::move(data), 0);
        rewind_content(*existing, std::move(data), 0);
        return existing;
    } catch (...) {
        set_message(kOpenNoMemory);
        return nullptr;
    }
}

// Loads the disk file of that name into a new record whose capacity is its size.
MFILE* load_from_disk(std::string_view name) {
    Table& table = active_table();
    if (table.files.size() >= MFILE_MAX_OPEN_FILES) {
        set_message(kTooManyFiles);
        return nullptr;
    }
    try {
        std::vector<char> content;
        switch (int rc = qfs::qfs_read_file(std::string(name), content)) {
            case 0: break;
            case -2: set_message(kOpenNoMemory); return nullptr;
            case -102: set_message(kOpenReadFailed); return nullptr;
            default: {
                char text[64];
                std::snprintf(text, sizeof text, "mopen() qfs_fsze() rc=%d", rc);
                set_message(text);
                return nullptr;
            }
        }
        size_t size = content.size();
        return table.add(name, std::move(content), size);
    } catch (...) {
        set_message(kOpenNoMemory);
        return nullptr;
    }
}

MFILE* open_for_reading(std::string_view name) {
    if (MFILE* file = active_table().find(name)) {
        file->position = 0;
        file->state = kOpen;
        return file;
    }
    return load_from_disk(name);
}

// Makes room for a write that ends at `end`, so that the end stays below
// capacity − 1 (a spare byte after the content). The step is multiplied by the factor while the file is
// under 100 MiB and is 10 MiB beyond; the increase is the smallest multiple of
// the step that suffices and becomes the next step. False when memory ran out.
bool grow(MFILE& file, size_t end) {
    size_t capacity = file.data.size();
    size_t step = kLargeStepBytes;
    if (capacity < kLargeFileBytes &&
        __builtin_mul_overflow(std::max<size_t>(file.step, 1), std::max<size_t>(file.factor, 1), &step))
        return false;
    size_t needed, rounded, new_capacity;
    if (__builtin_add_overflow(end, 2, &needed)) return false;
    size_t shortfall = needed - capacity;
    if (__builtin_add_overflow(shortfall, step - 1, &rounded)) return false;
    size_t increase = rounded / step * step;
    if (__builtin_add_overflow(capacity, increase, &new_capacity)) return false;
    try {
        std::vector<char> grown(new_capacity);
        if (capacity > 0) std::memcpy(grown.data(), file.data.data(), capacity);
        file.data.swap(grown);
    } catch (...) {
        return false;
    }
    file.step = increase;
    return true;
}

size_t write_failed(MFILE& file) {
    file.state = kWriteFailed;
    set_message(kWriteNoMemory);
    return 0;
}

}  // namespace

MFILE* mopen(std::string_view name, std::string_view mode) {
    set_message({});
    if (!valid_name(name)) return nullptr;
    if (mode == "wb") return open_for_writing(name);
    if (mode == "rb" || mode == "ab") return open_for_reading(name);
    return nullptr;
}

size_t mread(void* buffer, size_t item_size, size_t item_count, MFILE* file) {
    if (file == nullptr || buffer == nullptr || file->position < 0) return 0;
    size_t position = static_cast<size_t>(file->position);
    size_t size = std::min(file->size, file->data.size());
    if (position >= size) return 0;
    size_t wanted;
    if (__builtin_mul_overflow(item_size, item_count, &wanted)) wanted = SIZE_MAX;
    size_t copied = std::min(wanted, size - position);
    std::memcpy(buffer, file->data.data() + position, copied);
    file->position += static_cast<int64_t>(copied);
    return copied;
}

size_t mwrite(const void* buffer, size_t item_size, size_t item_count, MFILE* file) {
    if (file == nullptr || file->position < 0) return 0;
    size_t total, end;
    if (__builtin_mul_overflow(item_size, item_count, &total)) return write_failed(*file);
    if (total == 0) return item_count;
    if (buffer == nullptr) return 0;
    size_t position = static_cast<size_t>(file->position);
    if (__builtin_add_overflow(position, total, &end)) return write_failed(*file);
    if (end + 1 >= file->data.size() && !grow(*file, end)) return write_failed(*file);
    std::memcpy(file->data.data() + position, buffer, total);
    file->position = static_cast<int64_t>(end);
    file->size = std::max(file->size, end);
    return item_count;
}

int mseek(MFILE* file, int64_t offset, int origin) {
    if (file == nullptr) return -1;
    int64_t base;
    switch (origin) {
        case 0: base = 0; break;
        case 1: base = file->position; break;
        case 2: base = static_cast<int64_t>(file->size); break;
        default: return -1;
    }
    int64_t target;
    if (__builtin_add_overflow(base, offset, &target)) return -1;
    if (target < 0 || static_cast<uint64_t>(target) > file->data.size()) return -1;
    file->position = target;
    return 0;
}

int64_t mtell(MFILE* file) {
    if (file == nullptr || file->position < 0 || static_cast<uint64_t>(file->position) > file->data.size())
        return -1;
    return file->position;
}

int mclose(MFILE* file) {
    if (file == nullptr) return 0;
    file->state = kClosed;
    file->position = 0;
    return 0;
}

int meof(MFILE* file) {
    if (file == nullptr || file->position < 0) return -1;
    return static_cast<uint64_t>(file->position) < file->size ? 0 : -1;
}

int mremove(std::string_view name) {
    Table& table = active_table();
    auto found = table.slots.find(name);
    if (found == table.slots.end()) return 0;
    MFILE& file = *table.files[found->second];
    table.slots.erase(found);
    free_content(file);
    file.name.clear();
    file.state = kRemoved;
    return 0;
}

int mempty(std::string_view name) {
    if (MFILE* file = active_table().find(name)) free_content(*file);
    return 0;
}

int mfreeall() {
    active_table().clear();
    return 0;
}

size_t mcount() { return active_table().files.size(); }

std::vector<std::string> mlist() {
    std::vector<std::string> names;
    for (const auto& file : active_table().files) {
        if (file->state != kRemoved) names.push_back(file->name);
    }
    return names;
}

size_t msize(std::string_view name) {
    const MFILE* file = active_table().find(name);
    return file ? file->size : 0;
}

const std::string& merror_text() { return g_message; }

int mcopy(int direction) {
    Table& source = direction == 0 ? active_table() : saved_table();
    Table& target = direction == 0 ? saved_table() : active_table();
    target.clear();
    target.swap(source);
    return 0;
}

const MFILE* mfind(std::string_view name) { return active_table().find(name); }

}  // namespace tova::mem
