#pragma once

#include "common/outcome.h"
#include "platform/canvas.h"
#include "platform/gui.h"

#include <functional>
#include <string>

namespace shellfem::viewer {

enum class PictureFormat { Png, Svg };

// Writes what `paint` draws on a width x height canvas to `path`, `scale` times as large:
// a PNG drawn off the screen by `gui` (with the screen's fonts), or an SVG document.
// The success notice and the failure name the file.
Outcome savePicture(platform::Gui& gui, const std::string& path, PictureFormat format, int width,
                    int height, int scale, const std::function<void(platform::Canvas&)>& paint);

} // namespace shellfem::viewer
