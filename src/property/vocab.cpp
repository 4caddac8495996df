// The vocabulary engine: finding a value among the words of a vocabulary.
#include "property/vocab.hpp"

#include <algorithm>
#include <vector>

#include "platform/encoding.hpp"
#include "property/vocab_themes.hpp"
#include "property/word_table.hpp"

namespace tova::vocab {

ValueText::ValueText(int charset, std::string_view written)
    : charset_(charset), written_(written), sjis_(enc::conv_charset(charset, enc::kShiftJis, written)) {}

std::string ValueText::utf8() const { return enc::conv_charset(charset_, enc::kUtf8, written_); }

std::span<const Vocabulary> vocabularies() {
    static const std::vector<Vocabulary> all = [] {
        std::vector<Vocabulary> joined;
        for (auto theme : {cell_vocabularies(), shape_vocabularies(), chart_vocabularies(), sheet_vocabularies()})
            joined.insert(joined.end(), theme.begin(), theme.end());
        return joined;
    }();
    return all;
}

const Vocabulary& vocabulary(Vocab id) {
    static const Vocabulary kEmpty{id, {}, {}, std::nullopt};
    auto all = vocabularies();
    auto found = std::find_if(all.begin(), all.end(), [id](const Vocabulary& v) { return v.id == id; });
    return found == all.end() ? kEmpty : *found;
}

const VocabWord* find_word(Vocab id, std::string_view sjis) {
    for (const VocabWord& word : vocabulary(id).words)
        if (property::spelled(sjis, word.english, word.japanese)) return &word;
    return nullptr;
}

std::optional<int32_t> lookup(Vocab id, std::string_view sjis) {
    const VocabWord* word = find_word(id, sjis);
    return word ? std::optional<int32_t>(word->code) : std::nullopt;
}

const VocabWord* word_of_code(Vocab id, int32_t code) {
    auto words = vocabulary(id).words;
    auto found = std::find_if(words.begin(), words.end(), [code](const VocabWord& w) { return w.code == code; });
    return found == words.end() ? nullptr : &*found;
}

const VocabWord* word_of_token(Vocab id, std::string_view token) {
    auto words = vocabulary(id).words;
    auto found = std::find_if(words.begin(), words.end(),
                              [token](const VocabWord& w) { return !w.token.empty() && w.token == token; });
    return found == words.end() ? nullptr : &*found;
}

std::optional<bool> yes_no(std::string_view sjis) {
    auto code = lookup(Vocab::YesNo, sjis);
    return code ? std::optional<bool>(*code == 1) : std::nullopt;
}

}  // namespace tova::vocab
