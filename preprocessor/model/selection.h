#pragma once

#include <vector>

namespace shellfem::preprocessor {

// What the user has picked in the window, as IDs in the order picked; cleared
// by Escape and by edits that renumber the records.
struct Selection {
    std::vector<int> points;
    std::vector<int> polygons;
    std::vector<int> nodes;
    std::vector<int> polygonOutline; // point IDs of a polygon being created, corner order
};

// Appends the IDs not picked yet, in the order given; an ID is never held twice.
void pick(std::vector<int>& picked, const std::vector<int>& ids);
// Removes the IDs from the pick, keeping the order of the others.
void unpick(std::vector<int>& picked, const std::vector<int>& ids);

} // namespace shellfem::preprocessor
