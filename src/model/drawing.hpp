// Drawing objects placed on sheets: pictures for now.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tova::model {

enum DrawKind : int32_t { kDrawPicture = 10, kDrawChart = 20, kDrawBackground = 30 };

struct DrawingObject {
    int32_t kind = kDrawPicture;
    int32_t sheet = 0;
    int32_t row = 0;                 // anchor cell, zero-based
    int32_t column = 0;
    int32_t image_type = 0;          // 201 BMP ... 207 WMF
    std::vector<unsigned char> bytes;  // a picture handed over in memory
    std::string path;                // a picture read from a file
    int32_t width = 0;               // pixels
    int32_t height = 0;
    double scale = 1.0;
    double offset_x = 0.0;
    double offset_y = 0.0;
    int32_t hyperlink = -1;          // index into the sheet's hyperlinks, -1 for none
};

}  // namespace tova::model
