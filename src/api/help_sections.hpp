// The sections of the keyword overview: the keywords and values of the
// property language with their Japanese spellings, as data for the printer.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tova::help {

enum class RowKind : std::uint8_t {
    Keyword,  // a statement path in both spellings
    Values,   // a vocabulary: English values over their Japanese counterparts
    Note,     // words that have only a Japanese form, printed as they are
};

// Texts are UTF-8; lists of values are joined by "|", item k of `english`
// standing for item k of `japanese`.
struct Row {
    RowKind kind;
    std::string_view english;
    std::string_view choices;   // Keyword rows: the English values offered, e.g. "TRUE|FALSE"
    std::string_view japanese;  // Note rows keep their text here
};

enum class Opening : std::uint8_t { Rule, BlankLine };

struct Section {
    Opening opening;
    std::string_view heading;
    std::span<const Row> rows;
};

std::span<const Section> sections();

}  // namespace tova::help
