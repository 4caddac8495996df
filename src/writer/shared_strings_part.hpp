// xl/sharedStrings.xml, streamed string by string from memory and from the
// strings file of a book whose table streamed.
#pragma once

#include <cstdint>
#include <vector>

#include "tova_api.h"
#include "writer/xml_out.hpp"

namespace tova::writer {

// The book keeps one table entry per text cell, equal texts included; the
// package lists each text once. This maps a table index to its place in the part.
class SharedStringIndex {
public:
    int32_t written(int32_t index) const {
        return index >= 0 && static_cast<size_t>(index) < places_.size() ? places_[index] : index;
    }

private:
    friend int tob_xml_sst(const PartTarget&, XLS_BOOK&, SharedStringIndex&);
    std::vector<int32_t> places_;
};

// 0, a part result, or -102 when the strings file reads short. Fills `index`
// for the worksheet writer.
int tob_xml_sst(const PartTarget& target, XLS_BOOK& book, SharedStringIndex& index);

}  // namespace tova::writer
