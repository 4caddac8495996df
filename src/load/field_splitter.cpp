#include "load/field_splitter.hpp"

namespace tova::load {
namespace {

SplitResult add_field(std::string_view field, std::vector<std::string_view>& fields) {
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') field = field.substr(1, field.size() - 2);
    if (field.size() > kMaxFieldBytes) return SplitResult::FieldTooLong;
    if (fields.size() == kMaxFields) return SplitResult::TooManyFields;
    fields.push_back(field);
    return SplitResult::Ok;
}

}  // namespace

SplitResult tob_split_fields(char separator, std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    if (line.empty()) return SplitResult::Ok;
    size_t start = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos) return SplitResult::UnclosedQuote;
            i = close;
        } else if (line[i] == separator) {
            if (SplitResult rc = add_field(line.substr(start, i - start), fields); rc != SplitResult::Ok) return rc;
            start = i + 1;
        }
    }
    return add_field(line.substr(start), fields);
}

}  // namespace tova::load
