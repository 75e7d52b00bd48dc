#pragma once

#include "platform/canvas.h"

#include <optional>

namespace shellfem::preprocessor::render {

enum class ItemKind { Point, Polygon, Node, Element };

struct ItemRef {
    ItemKind kind = ItemKind::Point;
    int id = 0;
};

// What the window shows beyond the model's own pick (Model::selection()): the item
// a click would pick now, and the cursor to which the outline of a polygon being
// created stretches a rubber line from its last point.
struct ModelHighlight {
    std::optional<ItemRef> hovered;
    std::optional<platform::PixelPoint> cursor;
};

} // namespace shellfem::preprocessor::render
