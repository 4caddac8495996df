// The book's shared string table. Strings are appended and never merged: the
// index of a string is its position. Texts live in large blocks so that adding
// a string costs no allocation of its own.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "model/temp_file.hpp"

namespace tova::model {

class SharedStrings {
public:
    // Appends a copy of the text and returns its index.
    int32_t add_in_memory(std::string_view text);

    // Counts a string that went to the streaming file instead of memory.
    int32_t count_streamed() { return total_++; }

    int32_t count() const { return total_; }
    int32_t in_memory() const { return static_cast<int32_t>(entries_.size()); }

    // The text of an in-memory string; empty for an index that is streamed or out of range.
    std::string_view at(int32_t index) const;

    TempFile& file() { return file_; }

    void clear();

private:
    struct Entry {
        const char* data;
        uint32_t length;
    };
    static constexpr size_t kBlockSize = 1 << 20;

    char* reserve(size_t bytes);

    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t block_used_ = 0;
    size_t block_capacity_ = 0;
    std::vector<Entry> entries_;
    int32_t total_ = 0;
    TempFile file_;
};

}  // namespace tova::model
