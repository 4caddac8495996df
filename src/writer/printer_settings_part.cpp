#include "writer/printer_settings_part.hpp"

#include <array>
#include <string_view>

namespace tova::writer {
namespace {

constexpr std::string_view kDeviceName = "Microsoft XPS Document Writer";

class Record {
public:
    Record() : bytes_(kPrinterSettingsSize, '\0') {}

    void u16(size_t offset, uint16_t value) {
        bytes_[offset] = static_cast<char>(value & 0xFF);
        bytes_[offset + 1] = static_cast<char>(value >> 8);
    }
    void u32(size_t offset, uint32_t value) {
        u16(offset, static_cast<uint16_t>(value));
        u16(offset + 2, static_cast<uint16_t>(value >> 16));
    }
    // UTF-16LE from ASCII; returns the offset after the terminating zero unit.
    size_t utf16(size_t offset, std::string_view text) {
        for (char c : text) {
            u16(offset, static_cast<uint8_t>(c));
            offset += 2;
        }
        return offset + 2;
    }
    size_t bytes(size_t offset, std::string_view data) {
        bytes_.replace(offset, data.size(), data);
        return offset + data.size();
    }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

constexpr std::string_view kJobTicketTexts[] = {
    "InputBin", "FORMSOURCE", "RESDLL", "UniresDLL", "Interleaving", "OFF", "ImageType", "JPEGMed", "Orientation",
    "PORTRAIT", "Collate", "OFF", "Resolution", "Option1", "PaperSize", "LETTER", "ColorMode", "24bpp",
};

}  // namespace

int32_t paper_number(int32_t paper_code) {
    switch (paper_code) {
        case 0: return 4401;
        case 1: return 4403;
        case 2: return 66;
        case 3: return 8;
        case 5: return 11;
        case 11: return 4410;
        case 12: return 4412;
        case 13: return 4414;
        case 14: return 12;
        case 15: return 13;
        default: return 9;
    }
}

std::string printer_settings(bool landscape, int32_t paper_code) {
    Record r;
    r.utf16(0, kDeviceName);
    r.u16(64, 0x0401);
    r.u16(66, 0x0600);
    r.u16(68, 220);
    r.u16(70, 856);
    r.u32(72, 0xFF03);
    r.u16(76, landscape ? 2 : 1);
    r.u16(78, static_cast<uint16_t>(paper_number(paper_code)));
    r.u16(80, 2970);
    r.u16(82, 2100);
    r.u16(84, 100);
    r.u16(86, 1);
    r.u16(88, 15);
    r.u16(90, 600);
    r.u16(92, 2);
    r.u16(94, 1);
    r.u16(96, 600);
    r.u16(98, 2);
    r.u16(100, 1);
    r.utf16(102, "A4");
    r.u32(180, 1);
    r.u32(188, 1);
    r.u32(192, 2);
    r.u32(196, 1);
    r.u32(200, 0xFFFFFFFF);
    r.bytes(220, std::string_view("\x44\x49\x4E\x55\x22\x00\x10\x01\x4C\x03\x0C\x00\xCA\xD2\xF6\x72", 16));
    r.bytes(264, "\x09");
    r.bytes(274, "\x01");
    r.bytes(780, "\x01");
    r.bytes(792, std::string_view("\x10\x01\x00\x00SMTJ", 8));
    size_t at = r.bytes(804, std::string_view("\x10\x00\x00\x01", 4));
    at = r.utf16(at, kDeviceName);
    for (std::string_view text : kJobTicketTexts) at = r.bytes(at, text) + 1;
    r.bytes(1064, std::string_view("\x0C\x00\x00\x00MXDW\x01\x01", 10));
    return r.take();
}

}  // namespace tova::writer
