#pragma once

namespace shellfem::viewer {

// Which items of a kind are drawn: every one, only the selected ones, or none.
enum class Show { All = 0, Selected = 1, None = 2 };

// What the contour viewer draws; the values at start are the defaults below.
struct DisplayStates {
    bool contour = true;
    int component = 6;             // 0..6: Sx Sy Sz Txy Txz Tyz Se (column of StressValues)
    Show elementFill = Show::None; // plain fill when the contour is off
    Show outlines = Show::None;
    Show nodes = Show::None;
    Show nodeNumbers = Show::None;
    Show elementNumbers = Show::None;
};

} // namespace shellfem::viewer
