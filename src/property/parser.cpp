// Splitting a key into sections and reading its words from right to left.
#include "property/parser.hpp"

#include <vector>

#include "api/call_frame.hpp"
#include "api/work_area.hpp"
#include "platform/encoding.hpp"
#include "property/parser_target.hpp"

namespace tova::property {
namespace {

// Splits at "." outside double quotes; a key that opens with a quoted sheet
// name ('Sales.2024'!A1.FONT) keeps the dots of the name. Stops splitting once
// there are more sections than a key may have.
std::vector<std::string_view> split_sections(int charset, std::string_view key) {
    std::vector<std::string_view> sections;
    size_t start = 0, position = 0;
    if (enc::skip_single_quoted(charset, key, position) != 0) position = key.size();
    while (position < key.size() && sections.size() <= kMaxSections) {
        if (key[position] == '"') {
            if (enc::skip_double_quoted(charset, key, position) != 0) position = key.size();
        } else if (key[position] == '.') {
            sections.push_back(key.substr(start, position - start));
            start = ++position;
        } else {
            position = enc::next_char(charset, key, position);
        }
    }
    sections.push_back(key.substr(start));
    return sections;
}

int check_sections(XLS_BOOK& book, int charset, std::string_view key, const std::vector<std::string_view>& sections) {
    if (sections.size() > kMaxSections)
        return fail(book, kBadArgument, Msg::TooManyDots, {std::string_view(quoted(charset, key))});
    for (std::string_view section : sections)
        if (section.size() > kMaxSectionBytes)
            return fail(book, kBadArgument, Msg::BufferOverflow,
                        {static_cast<long long>(section.size()), std::string_view("tob_parse_property() section")});
    return 0;
}

std::optional<Msg> first_group_message(const WordChoice& choice) {
    for (Word word : choice)
        if (auto message = group_message(word)) return message;
    return std::nullopt;
}

}  // namespace

// The words are read from the last section to the first. The context carried
// leftwards is the path read so far: while some statement ends with it, each
// word to the left narrows what it can mean. A word that leaves no statement
// possible reports its message when it is a group word (IMAGE, FILL, PAPER...);
// any other (FONT, GRADATION...) leaves the key without a statement. The
// sections to its left are still read: a first section that is no word is the
// target, any other is an error.
int tob_parse_property(XLS_BOOK& book, std::string_view key, PropertyKey& parsed) {
    parsed = PropertyKey{};
    const int charset = charset_of(book);
    const std::vector<std::string_view> sections = split_sections(charset, key);
    if (int rc = check_sections(book, charset, key, sections)) return rc;

    std::vector<WordChoice> path;
    bool possible = true;
    bool has_target = false;
    for (size_t i = sections.size(); i-- > 0;) {
        WordChoice choice = words_spelled(enc::conv_charset(charset, enc::kShiftJis, sections[i]));
        if (choice.empty()) {
            if (i == 0) {
                has_target = true;
                break;
            }
            return fail(book, kBadArgument, Msg::UnsupportedKeyword, {std::string_view(quoted(charset, sections[i]))});
        }
        if (!possible) continue;
        path.insert(path.begin(), std::move(choice));
        if (some_path_ends_with(path)) continue;
        possible = false;
        if (auto message = first_group_message(path.front()))
            return fail(book, kBadArgument, *message, {std::string_view(quoted(charset, key))});
    }
    parsed.code = possible ? statement_of(path) : stmt::kNone;
    return has_target ? parse_target(book, sections[0], sections.size() == 1, parsed) : 0;
}

}  // namespace tova::property
