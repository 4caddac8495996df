// The reader's diagnostic log: the 32 most recent lines, each up to 200 bytes,
// optionally opened by a PEL code and its catalogue text.
#pragma once

#include <deque>
#include <string>
#include <string_view>

namespace tova {

class DiagnosticLog {
public:
    static constexpr size_t kMaxLines = 32;
    static constexpr size_t kMaxText = 200;

    // The PEL code that the next line carries (0 for none).
    void set_code(int code) { code_ = code; }
    void add(std::string_view text);

    const std::deque<std::string>& lines() const { return lines_; }

private:
    std::deque<std::string> lines_;
    int code_ = 0;
};

// The PEL catalogue text of a code, in UTF-8, or empty when the code has none.
std::string_view pel_text(int code);

}  // namespace tova
