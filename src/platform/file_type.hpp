// What kind of file a name refers to, from its first 16 bytes and its ending.
#pragma once

namespace tova {

// File type codes the library itself acts on.
enum FileTypeCode : int {
    kTypeUnknown = -1,
    kTypeCsv = 0,
    kTypeXls = 11,
    kTypeXlsx = 20,
    kTypeXlsm = 25,
    kTypeBmp = 201,
    kTypeJpeg = 202,
    kTypePng = 203,
    kTypeGif = 204,
    kTypeTiff = 205,
    kTypeEmf = 206,
    kTypeWmf = 207,
    kTypeZip = 301,
};

// Modes of pel_file_type: a memory file, 16 header bytes, or a disk file (any other value).
constexpr int kProbeMemoryFile = 0;
constexpr int kProbeHeaderBytes = 9999;
constexpr int kProbeDiskFile = -1;

}  // namespace tova
