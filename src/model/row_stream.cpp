#include "model/row_stream.hpp"

#include "model/cell_store.hpp"

namespace tova::model {
namespace {

void put_le(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint32_t get_le(const unsigned char* p, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<uint32_t>(p[i]) << (8 * i);
    return value;
}

// The text a streamed cell carries: the formula for formula kinds, the value
// text for kinds that have one, nothing for the others.
std::string streamed_text(const Cell& cell) {
    if (cell.kind == kFormula || cell.kind == kFormulaResult) return cell.formula ? cell.formula->formula : "";
    switch (cell.kind) {
        case kLiteralText: case kInteger: case kDecimal: case kPercent:
        case kDateTime: case kTime: case kTimeSeconds:
            return cell_value_text(cell);
        default:
            return {};
    }
}

}  // namespace

void encode_row_block(const std::vector<Cell>& cells, std::string& out) {
    put_le(out, static_cast<uint32_t>(cells.size()), 4);
    for (const Cell& cell : cells) {
        std::string text = streamed_text(cell);
        out.push_back(static_cast<char>(cell.kind));
        out.push_back('\0');
        put_le(out, static_cast<uint16_t>(cell.flags), 2);
        put_le(out, static_cast<uint32_t>(cell.style), 4);
        put_le(out, static_cast<uint32_t>(cell.number), 4);
        put_le(out, static_cast<uint32_t>(text.size()), 4);
        out += text;
    }
}

bool read_row_block(std::FILE* file, std::vector<StreamedCell>& cells) {
    cells.clear();
    unsigned char header[16];
    if (std::fread(header, 1, 4, file) != 4) return false;
    uint32_t count = get_le(header, 4);
    if (count > static_cast<uint32_t>(kMaxCellRecords)) return false;
    cells.resize(count);
    for (StreamedCell& cell : cells) {
        if (std::fread(header, 1, sizeof header, file) != sizeof header) return false;
        cell.kind = header[0];
        cell.flags = static_cast<int16_t>(get_le(header + 2, 2));
        cell.style = static_cast<int32_t>(get_le(header + 4, 4));
        cell.number = static_cast<int32_t>(get_le(header + 8, 4));
        uint32_t length = get_le(header + 12, 4);
        if (length > (1u << 26)) return false;  // no cell text comes near this; the file is damaged
        cell.text.resize(length);
        if (length != 0 && std::fread(cell.text.data(), 1, length, file) != length) return false;
    }
    return true;
}

}  // namespace tova::model
