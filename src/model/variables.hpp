// The book's variables: names and values in the caller's character set.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tova::model {

class Variables {
public:
    static constexpr size_t kNameMax = 80;
    static constexpr size_t kValueMax = 6000;

    // Sets or replaces a variable; the caller checks the lengths.
    void put(std::string_view name, std::string_view value);

    // The value without enclosing double quotes, or nothing.
    std::optional<std::string_view> get(std::string_view name) const;

    size_t size() const { return entries_.size(); }
    void clear();

private:
    struct Entry {
        std::string name;
        std::string value;
    };
    std::vector<Entry> entries_;                       // in definition order
    std::unordered_map<std::string, size_t> by_name_;  // name -> index into entries_
};

}  // namespace tova::model
