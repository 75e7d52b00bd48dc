// Pelunar's pictures drawn with the screen's fonts off the screen: run through
// run_under_xvfb.sh; skipped when no display can be opened. The PNG and SVG of the last run
// are kept in the test's folder (pelunar-picture.png, .svg) to be looked at.
#include "example_model.h"
#include "platform/fake/fake_process_services.h"
#include "platform/fltk/fltk_gui.h"
#include "platform/picture/png_file.h"
#include "viewer/contour/color_scale.h"
#include "viewer/contour/contour_legend.h"
#include "viewer/viewer_app.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace shellfem::viewer::testing {
namespace {

TEST(PelunarPicture, PngHasTheChosenSizeTheBandColoursAndTheLegendText) {
    platform::fltk::FltkGui gui("Pelunar");
    std::ostringstream errors;
    if (!gui.openDisplay(errors))
        GTEST_SKIP() << errors.str();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("pelunar_picture_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string model = (folder / "Shell_AverageStrs.txt").string();
    {
        std::ofstream out(model);
        writeContourFile(out, cylinderPanel());
    }
    platform::FakeProcessServices process;
    std::ostringstream console;
    ViewerApp app(gui, process, console);
    ASSERT_TRUE(app.start(model));
    const int width = 800, height = 600, scale = 2;
    app.onSize(width, height);
    const std::string png = (folder / "picture.png").string();
    const Outcome saved = app.savePicture(png, PictureFormat::Png, scale);
    ASSERT_TRUE(saved.ok()) << saved.message;

    const std::string svg = (folder / "picture.svg").string();
    ASSERT_TRUE(app.savePicture(svg, PictureFormat::Svg, scale).ok());

    platform::RgbImage image;
    ASSERT_TRUE(platform::readPngFile(png, image).ok());
    for (const std::string& kept : {png, svg})
        std::filesystem::copy_file(
            kept, "pelunar-picture" + std::filesystem::path(kept).extension().string(),
            std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove_all(folder);
    ASSERT_EQ(image.width, width * scale);
    ASSERT_EQ(image.height, height * scale);
    EXPECT_EQ(image.at(4, 4), (platform::Color{0, 0, 0})); // the black background
    // The legend's boxes, twice as large: red on top, blue at the bottom of ten.
    const ColorScale colours(0.0, 1.0);
    const int boxX = scale * (width - kLegendWidthPixels + 20); // the middle of the boxes
    int red = -1, blue = -1;
    for (int y = 0; y < image.height; ++y) {
        if (red < 0 && image.at(boxX, y) == colours.bandColor(9))
            red = y;
        if (image.at(boxX, y) == colours.bandColor(0))
            blue = y;
    }
    ASSERT_GT(red, 0);
    EXPECT_GT(blue - red, scale * 8 * 20); // eight boxes of 20 pixels or more between them
    // The title above the boxes is drawn as text: light pixels in its line.
    int light = 0;
    for (int y = 0; y < red; ++y)
        for (int x = boxX - 20; x < image.width; ++x) {
            const platform::Color c = image.at(x, y);
            light += c.r > 150 && c.g > 150 && c.b > 150;
        }
    EXPECT_GT(light, 200);
    // The model fills its part of the picture with band colours.
    int banded = 0;
    for (int y = 0; y < image.height; y += 8)
        for (int x = 0; x < scale * (width - kLegendWidthPixels); x += 8)
            for (int band = 0; band < colours.bandCount(); ++band)
                banded += image.at(x, y) == colours.bandColor(band);
    EXPECT_GT(banded, 2000);
}

} // namespace
} // namespace shellfem::viewer::testing
