// Loads run inside loads: a statement file or a data source whose statements
// load files in turn. Each level holds a LoadNesting while it runs, so a file
// that loads itself, directly or through others, stops at the limit.
#pragma once

#include <string_view>

#include "tova_api.h"

namespace tova::load {

class LoadNesting {
public:
    static constexpr int kMaxDepth = 8;

    LoadNesting();
    ~LoadNesting();
    LoadNesting(const LoadNesting&) = delete;
    LoadNesting& operator=(const LoadNesting&) = delete;

    bool too_deep() const { return too_deep_; }

private:
    bool too_deep_;
};

// TOVA-03008 naming the file (a UTF-8 path) that would go past the limit; -1.
int fail_too_deep(XLS_BOOK& book, std::string_view path);

}  // namespace tova::load
