#include "model/shared_strings.hpp"

#include <cstring>

namespace tova::model {

char* SharedStrings::reserve(size_t bytes) {
    if (block_used_ + bytes > block_capacity_) {
        size_t capacity = bytes > kBlockSize ? bytes : kBlockSize;
        blocks_.push_back(std::make_unique<char[]>(capacity));
        block_used_ = 0;
        block_capacity_ = capacity;
    }
    char* at = blocks_.back().get() + block_used_;
    block_used_ += bytes;
    return at;
}

int32_t SharedStrings::add_in_memory(std::string_view text) {
    char* copy = reserve(text.size() + 2);
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = copy[text.size() + 1] = '\0';
    entries_.push_back({copy, static_cast<uint32_t>(text.size())});  // a throw here only wastes arena bytes
    return total_++;
}

std::string_view SharedStrings::at(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return {};
    return {entries_[index].data, entries_[index].length};
}

void SharedStrings::clear() {
    blocks_.clear();
    entries_.clear();
    block_used_ = block_capacity_ = 0;
    total_ = 0;
    file_.close_and_delete();
}

}  // namespace tova::model
