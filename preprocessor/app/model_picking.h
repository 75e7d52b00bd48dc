#pragma once

#include "platform/canvas.h"
#include "preprocessor/model/model.h"
#include "preprocessor/render/model_highlight.h"
#include "preprocessor/render/screen_projection.h"
#include "view3d/view.h"

#include <optional>
#include <vector>

namespace shellfem::preprocessor::app {

// What the picking modes pick: modes 3/4 geometric points, 5/6 the point
// sequence of a new polygon (points too), 7/8 polygons, 9/10 nodes. The odd
// mode of each pair picks and the even one unpicks; a click with Control held
// does the other.
enum class PickTarget { None, Points, Outline, Polygons, Nodes };
PickTarget targetOf(int mode);
bool unpicks(int mode, bool control);

// The positions the view keeps for fit and extent: points, then nodes.
std::vector<Vec3> viewPositions(const ModelData& data);

// How close (pixels) a click must come to a point or node to pick it.
inline constexpr double kPickTolerancePixels = 6.0;

// The shown item a click at `at` would pick in `mode`, if any: the nearest
// point or node, or the front-most polygon under the cursor.
std::optional<render::ItemRef> itemAt(const Model& model, const render::ProjectedModel& screen,
                                      int mode, platform::PixelPoint at);

// The shown items of the mode's kind that lie wholly inside the rectangle.
std::vector<int> itemsInRectangle(const Model& model, const render::ProjectedModel& screen,
                                  int mode, platform::PixelPoint a, platform::PixelPoint b);

// Every shown item of the mode's kind, in ID order.
std::vector<int> shownItems(const Model& model, int mode);

// Adds the items to the mode's list of picks, or takes them out of it.
void changePicks(Selection& picks, int mode, const std::vector<int>& ids, bool unpick);

// The list of picks a mode works on (points for 3/4, the outline for 5/6, ...).
const std::vector<int>* picksOf(const Selection& picks, int mode);

} // namespace shellfem::preprocessor::app
