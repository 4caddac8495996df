// pel_file_type: the first matching row of an ordered signature table decides.
#include "platform/file_type.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string_view>

#include "platform/ascii.hpp"
#include "platform/mfile.hpp"
#include "platform/qfs.hpp"
#include "tova_api.h"

namespace tova {
namespace {

constexpr size_t kHeaderBytes = 16;

struct Signature {
    int code;
    std::string_view name;       // a label only
    std::string_view extension;  // the ending the name must have, without the dot
    std::string_view bytes;      // leading bytes; empty: the ending alone decides
};

constexpr std::string_view kJpeg = "\xFF\xD8\xFF";
constexpr std::string_view kGif = "GIF8";
constexpr std::string_view kBmp = "BM";
constexpr std::string_view kPng = "\x89PNG\r\n\x1A\n";
constexpr std::string_view kTiff{"II*\0", 4};
constexpr std::string_view kZip = "PK\x03\x04";
constexpr std::string_view kCompound = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::string_view kPdf = "%PDF";
constexpr std::string_view kPsd = "8BPS";
constexpr std::string_view kWmf = "\xD7\xCD\xC6\x9A";
constexpr std::string_view kEmf{"\x01\0\0\0", 4};
constexpr std::string_view kExe = "MZ";
constexpr std::string_view kAvi = "RIFF";
constexpr std::string_view kMpg{"\0\0\x01", 3};
constexpr std::string_view kWmv = "0&\xB2u\x8E" "f\xCF\x11";

constexpr Signature kSignatures[] = {
    {202, "JPEG", "jpg", kJpeg},
    {202, "JPEG", "jpeg", kJpeg},
    {204, "GIF", "gif", kGif},
    {201, "BMP", "bmp", kBmp},
    {203, "PNG", "png", kPng},
    {205, "TIFF", "tiff", kTiff},
    {205, "TIFF", "tif", kTiff},
    {301, "Zip", "zip", kZip},
    {11, "MS-Excel2003", "xls", kCompound},
    {12, "MS-Excel2003-Template", "xlt", kCompound},
    {13, "MS-Excel2003-AddIn", "xla", kCompound},
    {20, "MS-Excel2007", "xlsx", kZip},
    {21, "MS-Excel2007-BINARY", "xlsb", kZip},
    {25, "MS-Excel2007-Macro", "xlsm", kZip},
    {24, "MS-Excel2007-AddIn", "xlam", kZip},
    {22, "MS-Excel2007-Template", "xltx", kZip},
    {23, "MS-Excel2007-Template-Macro", "xltm", kZip},
    {26, "MS-Excel2007-Locked", "xlsx", kCompound},
    {41, "MS-Word2003", "doc", kCompound},
    {42, "MS-Word2003-Template", "dot", kCompound},
    {43, "MS-Word2007", "docx", kZip},
    {46, "MS-Word2007-Macro", "docm", kZip},
    {44, "MS-Word2007-Template", "dotx", kZip},
    {45, "MS-Word2007-Template-Macro", "dotm", kZip},
    {49, "MS-Word2007-Locked", "docx", kCompound},
    {51, "MS-PowerPoint2003", "ppt", kCompound},
    {52, "MS-PowerPoint2003-Template", "pot", kCompound},
    {53, "MS-PowerPoint2003-Slide", "pps", kCompound},
    {54, "MS-PowerPoint2003-AddIn", "ppa", kCompound},
    {55, "MS-PowerPoint2007", "pptx", kZip},
    {61, "MS-PowerPoint2007-Macro", "pptm", kZip},
    {56, "MS-PowerPoint2007-Template", "potx", kZip},
    {57, "MS-PowerPoint2007-Template-Macro", "potm", kZip},
    {58, "MS-PowerPoint2007-Slide", "ppsx", kZip},
    {59, "MS-PowerPoint2007-Slide-Macro", "ppsm", kZip},
    {60, "MS-PowerPoint2007-AddIn", "ppam", kZip},
    {69, "MS-PowerPoint2007-Locked", "pptx", kCompound},
    {70, "MS-Project", "mpp", kCompound},
    {80, "MS-Visio", "vsd", kCompound},
    {81, "MS-Visio-Template", "vst", kCompound},
    {82, "MS-Visio-Stencil", "vss", kCompound},
    {83, "MS-Visio2013", "vsdx", kZip},
    {84, "MS-Visio2013-Macro", "vsdm", kZip},
    {85, "MS-Visio2013-Template", "vstx", kZip},
    {86, "MS-Visio2013-Template-Macro", "vstm", kZip},
    {87, "MS-Visio2013-Stencil", "vssx", kZip},
    {88, "MS-Visio2013-Stencil-Macro", "vssm", kZip},
    {90, "MS-XPS-Document", "xps", kZip},
    {102, "Adobe-PDF", "pdf", kPdf},
    {103, "Adobe-Photoshop", "psd", kPsd},
    {207, "Windows-MataFile", "wmf", kWmf},
    {206, "Enhanced-MataFile", "emf", kEmf},
    {900, "EXE", "exe", kExe},
    {0, "CSV", "csv", {}},
    {401, "AVI", "avi", kAvi},
    {402, "MPG", "mpg", kMpg},
    {403, "WMV", "wmv", kWmv},
};
static_assert(std::size(kSignatures) == 57);

bool is_locked_package(int code) { return code == 26 || code == 49 || code == 69; }

// Reading the candidate file, whether it is a memory file or on disk.
class Source {
public:
    virtual ~Source() = default;
    virtual bool read(void* buffer, size_t count) = 0;  // true when all bytes came
    virtual bool rewind() = 0;
    virtual bool seek(int64_t offset) = 0;
};

class MemorySource final : public Source {
public:
    explicit MemorySource(mem::MFILE* file) : file_(file) {}
    ~MemorySource() override { mem::mclose(file_); }
    bool read(void* buffer, size_t count) override { return mem::mread(buffer, 1, count, file_) == count; }
    bool rewind() override { return mem::mseek(file_, 0, 0) == 0; }
    bool seek(int64_t offset) override { return mem::mseek(file_, offset, 0) == 0; }

private:
    mem::MFILE* file_;
};

class DiskSource final : public Source {
public:
    explicit DiskSource(qfs::QfsFile* file) : file_(file) {}
    ~DiskSource() override { qfs::qfs_close(file_); }
    bool read(void* buffer, size_t count) override { return qfs::qfs_read(buffer, count, file_) == count; }
    bool rewind() override { return qfs::qfs_seek(file_, 0, qfs::kFromStart) == 0; }
    bool seek(int64_t offset) override { return qfs::qfs_seek(file_, offset, qfs::kFromStart) == 0; }

private:
    qfs::QfsFile* file_;
};

bool utf16le_equals(const unsigned char* bytes, std::string_view ascii) {
    for (size_t i = 0; i < ascii.size(); ++i)
        if (bytes[2 * i] != static_cast<unsigned char>(ascii[i]) || bytes[2 * i + 1] != 0) return false;
    return true;
}

enum class Probe { Found, NotFound, RewindFailed };

// Looks for an "EncryptedPackage" stream: the directory starts at the first
// 512-byte block that opens with the "Root Entry" entry; its entries are read
// in file order from there.
Probe probe_encrypted_package(Source& source) {
    if (!source.rewind()) return Probe::RewindFailed;
    unsigned char block[512];
    int64_t offset = 0;
    for (;; offset += sizeof block) {
        if (!source.read(block, sizeof block)) return Probe::NotFound;
        if (utf16le_equals(block, "Root Entry")) break;
    }
    if (!source.seek(offset)) return Probe::NotFound;
    unsigned char entry[128];
    while (source.read(entry, sizeof entry)) {
        if (entry[0] == 0xFF && entry[1] == 0xFF && entry[2] == 0xFF && entry[3] == 0xFF) return Probe::NotFound;
        if (utf16le_equals(entry, "EncryptedPackage")) return Probe::Found;
    }
    return Probe::NotFound;
}

int detect(int mode, std::string_view name, const unsigned char* header, Source* source, int& type) {
    const bool header_only = mode == kProbeHeaderBytes;
    for (const Signature& row : kSignatures) {
        if (row.bytes.empty()) {
            if (!header_only && ends_with_ignoring_case(name, row.extension)) {
                type = row.code;
                return 0;
            }
            continue;
        }
        if (std::memcmp(header, row.bytes.data(), row.bytes.size()) != 0) continue;
        if (header_only) {
            type = row.code;
            return 0;
        }
        if (!ends_with_ignoring_case(name, row.extension)) continue;
        if (is_locked_package(row.code)) {
            switch (probe_encrypted_package(*source)) {
                case Probe::Found: type = row.code; return 0;
                case Probe::NotFound: return -1;
                case Probe::RewindFailed: return -104;
            }
        }
        type = row.code;
        return 0;
    }
    return 0;
}

int file_type(int mode, const char* name, int& type) {
    type = kTypeUnknown;
    if (name == nullptr) return -101;
    unsigned char header[kHeaderBytes];
    if (mode == kProbeHeaderBytes) {
        std::memcpy(header, name, kHeaderBytes);
        return detect(mode, {}, header, nullptr, type);
    }
    std::unique_ptr<Source> source;
    if (mode == kProbeMemoryFile) {
        mem::MFILE* file = mem::mopen(name, "rb");
        if (file == nullptr) return -101;
        source = std::make_unique<MemorySource>(file);
    } else {
        qfs::QfsFile* file = qfs::qfs_open(name, qfs::kRead);
        if (file == nullptr) return -101;
        source = std::make_unique<DiskSource>(file);
    }
    if (!source->read(header, kHeaderBytes)) return 0;  // too short to classify
    return detect(mode, name, header, source.get(), type);
}

}  // namespace
}  // namespace tova

extern "C" TOVA_API int pel_file_type(int mode, const char* name, int* type) {
    int ignored;
    int& out = type ? *type : ignored;
    try {
        return tova::file_type(mode, name, out);
    } catch (...) {
        out = tova::kTypeUnknown;
        return -101;
    }
}
