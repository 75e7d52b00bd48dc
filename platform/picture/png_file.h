#pragma once

#include "common/outcome.h"
#include "platform/rgb_image.h"

#include <string>

namespace shellfem::platform {

// Writes `image` as an 8-bit RGB PNG file; the failure names the file and the reason.
Outcome writePngFile(const std::string& path, const RgbImage& image);

// Reads an 8-bit RGB or RGBA PNG file (alpha dropped) into `image`.
Outcome readPngFile(const std::string& path, RgbImage& image);

} // namespace shellfem::platform
