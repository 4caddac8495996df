// The record layout of a sheet's rows file: per streamed row an int32 cell
// count, then per cell a 16-byte header (uint8 kind, reserved byte, int16
// flags, int32 style, int32 number, int32 text length) and the text bytes.
// Everything is little-endian.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "model/cell.hpp"

namespace tova::model {

struct StreamedCell {
    uint8_t kind = kEmpty;
    int16_t flags = 0;
    int32_t style = 0;
    int32_t number = 0;
    std::string text;  // value text, or the formula for formula kinds
};

// Appends the block of one row's cells to `out`.
void encode_row_block(const std::vector<Cell>& cells, std::string& out);

// Reads the next block; false at the end of the file or on a malformed block.
bool read_row_block(std::FILE* file, std::vector<StreamedCell>& cells);

}  // namespace tova::model
