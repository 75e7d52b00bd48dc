#pragma once

namespace shellfem::viewer {

// Which items of a kind are drawn: every one, only the selected ones, or none.
enum class Show { All = 0, Selected = 1, None = 2 };

// The shell surface a contour shows: one of the two faces as the files hold them, or their
// membrane (mean) and bending (half difference) parts.
enum class Surface { Top = 0, Bottom = 1, Membrane = 2, Bending = 3 };

// What the contour viewer draws; the values at start are the defaults below.
struct DisplayStates {
    bool contour = true;
    int component = 6; // 0..6: Sx Sy Sz Txy Txz Tyz Se (column of StressValues)
    Surface surface = Surface::Top;
    bool averagingJump = false;    // |unaveraged - averaged| of the component instead
    Show elementFill = Show::None; // plain fill when the contour is off
    Show outlines = Show::None;
    Show nodes = Show::None;
    Show nodeNumbers = Show::None;
    Show elementNumbers = Show::None;
};

} // namespace shellfem::viewer
