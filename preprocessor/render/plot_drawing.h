#pragma once

#include "platform/canvas.h"
#include "preprocessor/render/symbol_geometry.h"

#include <string>
#include <vector>

namespace shellfem::preprocessor::render {

// Canvas steps that several layers share.

inline constexpr int kLabelFontSize = 11;

void drawClosedOutline(platform::Canvas& canvas, std::vector<platform::PixelPoint> outline);

// A filled square of half side `half` about `at` (geometric points), or its outline.
void drawSquare(platform::Canvas& canvas, platform::PixelPoint at, double half,
                platform::Color color, bool filled);
// A filled dot of `radius` about `at` (nodes), or a ring.
void drawDot(platform::Canvas& canvas, platform::PixelPoint at, double radius,
             platform::Color color, bool filled);

// An arrow or an end-on mark, in `color`.
void drawVectorSymbol(platform::Canvas& canvas, const VectorSymbol& symbol, HeadSize head,
                      platform::Color color);

// Text centred on `centre`, in the current font and text colour.
void drawCentredText(platform::Canvas& canvas, platform::PixelPoint centre,
                     const std::string& utf8);
// Text just above and to the right of a marker of half size `clearance` at `at`.
void drawTextBeside(platform::Canvas& canvas, platform::PixelPoint at, double clearance,
                    const std::string& utf8);

} // namespace shellfem::preprocessor::render
