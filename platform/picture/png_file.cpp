#include "platform/picture/png_file.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <string>

namespace shellfem::platform {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// libpng reports errors through a longjmp back into the function that set it up; these
// functions keep no objects with destructors between setjmp and the calls that may jump.
// The library prints nothing: its message goes into the outcome.
void keepError(png_structp png, png_const_charp message) {
    auto* reason = static_cast<std::string*>(png_get_error_ptr(png));
    *reason = message;
    png_longjmp(png, 1);
}
void ignoreWarning(png_structp, png_const_charp) {}
void writeRows(png_structp png, png_infop info, std::FILE* file, const RgbImage& image) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, image.rgb.data() + static_cast<std::size_t>(y) * image.width * 3);
    png_write_end(png, nullptr);
}

bool writeAll(std::FILE* file, const RgbImage& image, std::string& reason) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &reason, keepError, ignoreWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    writeRows(png, info, file, image);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool readAll(std::FILE* file, RgbImage& image, std::string& reason) {
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &reason, keepError, ignoreWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colourType = png_get_color_type(png, info);
    if (png_get_bit_depth(png, info) != 8 ||
        (colourType != PNG_COLOR_TYPE_RGB && colourType != PNG_COLOR_TYPE_RGB_ALPHA) ||
        width > 30000 || height > 30000)
        png_error(png, "not an 8-bit RGB picture");
    if (colourType == PNG_COLOR_TYPE_RGB_ALPHA)
        png_set_strip_alpha(png);
    png_read_update_info(png, info);
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.rgb.assign(static_cast<std::size_t>(width) * height * 3, 0);
    for (png_uint_32 y = 0; y < height; ++y)
        png_read_row(png, image.rgb.data() + static_cast<std::size_t>(y) * width * 3, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace

Outcome writePngFile(const std::string& path, const RgbImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgb.size() != static_cast<std::size_t>(image.width) * image.height * 3)
        return Outcome::failure(Status::Refused, "no picture to write to " + path);
    {
        File file(std::fopen(path.c_str(), "wb"));
        if (!file)
            return Outcome::failure(Status::CannotOpen, "cannot create " + path);
        std::string reason = "the disk refused it";
        if (!writeAll(file.get(), image, reason) || std::fflush(file.get()) != 0 ||
            std::ferror(file.get()))
            return Outcome::failure(Status::Failed,
                                    "cannot write the picture to " + path + ": " + reason);
    }
    return Outcome::success();
}

Outcome readPngFile(const std::string& path, RgbImage& image) {
    File file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return Outcome::failure(Status::CannotOpen, "cannot open " + path);
    image = RgbImage{};
    std::string reason;
    if (!readAll(file.get(), image, reason)) {
        image = RgbImage{};
        return Outcome::failure(Status::Malformed,
                                path + " is not an 8-bit RGB PNG picture (" + reason + ")");
    }
    return Outcome::success();
}

} // namespace shellfem::platform
