// xl/printerSettings/printerSettings%d.bin: a fixed printer record, with the
// sheet's orientation and paper patched in.
#pragma once

#include <cstdint>
#include <string>

namespace tova::writer {

constexpr size_t kPrinterSettingsSize = 1076;

// The paper number of a sheet's paper code, as the page setup writes it.
int32_t paper_number(int32_t paper_code);

// The record for one sheet.
std::string printer_settings(bool landscape, int32_t paper_code);

}  // namespace tova::writer
