#include "model/variables.hpp"

namespace tova::model {

void Variables::put(std::string_view name, std::string_view value) {
    std::string key(name);
    if (auto found = by_name_.find(key); found != by_name_.end()) {
        entries_[found->second].value.assign(value);
        return;
    }
    entries_.push_back({key, std::string(value)});
    try {
        by_name_.emplace(std::move(key), entries_.size() - 1);
    } catch (...) {
        entries_.pop_back();
        throw;
    }
}

std::optional<std::string_view> Variables::get(std::string_view name) const {
    auto found = by_name_.find(std::string(name));
    if (found == by_name_.end()) return std::nullopt;
    std::string_view value = entries_[found->second].value;
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return value;
}

void Variables::clear() {
    entries_.clear();
    by_name_.clear();
}

}  // namespace tova::model
