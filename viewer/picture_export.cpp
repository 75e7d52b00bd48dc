#include "viewer/picture_export.h"

#include "platform/picture/png_file.h"
#include "platform/picture/scaled_canvas.h"
#include "platform/picture/svg_canvas.h"

#include <optional>

namespace shellfem::viewer {

Outcome savePicture(platform::Gui& gui, const std::string& path, PictureFormat format, int width,
                    int height, int scale, const std::function<void(platform::Canvas&)>& paint) {
    const int pictureWidth = width * scale, pictureHeight = height * scale;
    const std::string size = std::to_string(pictureWidth) + " x " + std::to_string(pictureHeight);
    if (format == PictureFormat::Svg) {
        platform::SvgCanvas svg(width, height, scale);
        paint(svg);
        if (Outcome saved = svg.save(path); !saved.ok())
            return saved;
        return Outcome::success("Saved " + path + " (SVG drawing, " + size + ")");
    }
    const std::optional<platform::RgbImage> image =
        gui.renderImage(pictureWidth, pictureHeight, [&](platform::Canvas& device) {
            platform::ScaledCanvas scaled(device, width, height, scale);
            paint(scaled);
        });
    if (!image)
        return Outcome::failure(Status::Failed, "A picture of " + size +
                                                    " pixels cannot be made here; " + path +
                                                    " was not written.");
    if (Outcome saved = platform::writePngFile(path, *image); !saved.ok())
        return saved;
    return Outcome::success("Saved " + path + " (PNG image, " + size + " pixels)");
}

} // namespace shellfem::viewer
