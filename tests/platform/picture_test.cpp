// Pictures in files without a display: PNG files, the SVG canvas and the scaled canvas.
#include "platform/fake/recording_canvas.h"
#include "platform/picture/png_file.h"
#include "platform/picture/scaled_canvas.h"
#include "platform/picture/svg_canvas.h"
#include "tests/support/temp_path.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace shellfem::platform {
namespace {

std::size_t occurrences(const std::string& text, const std::string& word) {
    std::size_t n = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

TEST(PngFile, WritesAndReadsBackEveryPixel) {
    RgbImage image(7, 3, {10, 20, 30});
    image.rgb[(2 * 7 + 6) * 3] = 255; // the last pixel reddened
    const std::string path = uniqueTempPath("picture.png");
    ASSERT_TRUE(writePngFile(path, image).ok());
    RgbImage back;
    ASSERT_TRUE(readPngFile(path, back).ok());
    EXPECT_EQ(back.width, 7);
    EXPECT_EQ(back.height, 3);
    EXPECT_EQ(back.rgb, image.rgb);
    EXPECT_EQ(back.at(6, 2), (Color{255, 20, 30}));
    std::remove(path.c_str());
}

TEST(PngFile, FailuresNameTheFile) {
    const RgbImage image(2, 2);
    const Outcome unwritable = writePngFile("/nonexistent/folder/p.png", image);
    EXPECT_EQ(unwritable.status, Status::CannotOpen);
    EXPECT_NE(unwritable.message.find("/nonexistent/folder/p.png"), std::string::npos);
    EXPECT_EQ(writePngFile(uniqueTempPath("empty.png"), RgbImage{}).status, Status::Refused);
    const std::string text = uniqueTempPath("not.png");
    std::ofstream(text) << "not a picture";
    RgbImage read(1, 1);
    const Outcome notPng = readPngFile(text, read);
    EXPECT_EQ(notPng.status, Status::Malformed);
    EXPECT_NE(notPng.message.find(text), std::string::npos);
    EXPECT_EQ(read.width, 0);
    std::remove(text.c_str());
}

TEST(SvgCanvas, EveryCallBecomesOneElementInUserUnits) {
    SvgCanvas svg(400, 300, 2.0);
    svg.setBrush({255, 0, 16});
    svg.fillPolygon({{1, 2}, {30.25, 2}, {30.25, 40.5}});
    svg.setPen({{0, 0, 255}, 2, LineStyle::Dash});
    svg.polyline({{0, 0}, {10, 10}, {20, 0}});
    svg.line({5, 5}, {6, 6});
    svg.rectangle({10, 20}, {0, 0}, true, true);
    svg.ellipse({50, 50}, 4, 3, false, true);
    svg.arc({50, 50}, 4, 4, 0, 360);
    svg.setFont({"", 12});
    svg.setTextColor({255, 255, 255});
    svg.text({100, 100}, "Se <top> & \"bottom\" 应力");
    const std::string doc = svg.document();
    EXPECT_NE(doc.find("width=\"800\" height=\"600\" viewBox=\"0 0 400 300\""), std::string::npos);
    EXPECT_NE(doc.find("<polygon points=\"1,2 30.25,2 30.25,40.5\" fill=\"#ff0010\""),
              std::string::npos);
    EXPECT_NE(doc.find("stroke-dasharray"), std::string::npos);
    EXPECT_NE(doc.find("<rect x=\"0\" y=\"0\" width=\"10\" height=\"20\" fill=\"#ff0010\" "
                       "stroke=\"#0000ff\""),
              std::string::npos);
    EXPECT_NE(doc.find(">Se &lt;top&gt; &amp; &quot;bottom&quot; 应力</text>"), std::string::npos);
    for (const char* tag : {"<polygon", "<polyline", "<line", "<rect", "<ellipse", "<text"})
        EXPECT_EQ(occurrences(doc, tag), 1u) << tag;
    EXPECT_EQ(occurrences(doc, "<path"), 1u);
    EXPECT_EQ(occurrences(doc, " A"), 2u); // a whole turn is two arcs
    EXPECT_EQ(doc.substr(doc.size() - 7), "</svg>\n");
    // Latin characters are narrower than Chinese ones.
    EXPECT_LT(svg.textWidth("ab"), svg.textWidth("应力"));
}

TEST(SvgCanvas, SavingNamesTheFileThatCannotBeWritten) {
    const SvgCanvas svg(10, 10);
    const Outcome saved = svg.save("/nonexistent/folder/p.svg");
    EXPECT_FALSE(saved.ok());
    EXPECT_NE(saved.message.find("/nonexistent/folder/p.svg"), std::string::npos);
}

TEST(ScaledCanvas, DrawsTheLayoutLargerWithFontsAndPensToMatch) {
    RecordingCanvas device(1600, 1200);
    ScaledCanvas scaled(device, 800, 600, 2.0);
    EXPECT_EQ(scaled.width(), 800);
    EXPECT_EQ(scaled.height(), 600);
    scaled.setPen({{1, 2, 3}, 1, LineStyle::Solid});
    scaled.setFont({"", 12});
    scaled.fillPolygon({{10, 20}, {30, 20}, {30, 5}});
    scaled.line({1, 1}, {2, 3});
    scaled.ellipse({100, 100}, 5, 6, true, false);
    scaled.text({7, 8}, "abc");
    ASSERT_EQ(device.calls.size(), 4u);
    EXPECT_EQ(device.calls[0].points[1].x, 60);
    EXPECT_EQ(device.calls[0].points[2].y, 10);
    EXPECT_EQ(device.calls[1].pen.width, 2);
    EXPECT_EQ(device.calls[2].rx, 10);
    EXPECT_EQ(device.calls[3].points[0].x, 14);
    EXPECT_EQ(device.calls[3].font.size, 24);
    // Text measures come back in the layout's pixels.
    EXPECT_DOUBLE_EQ(scaled.textWidth("abc"), 0.6 * 12 * 3);
}

} // namespace
} // namespace shellfem::platform
