#pragma once

#include "platform/gui.h"

#include <vector>

namespace shellfem::viewer {

// The viewer's menu command identifiers.
namespace command {
inline constexpr int kFileOpen = 40001;
inline constexpr int kViewKit = 40002;
inline constexpr int kComponentSx = 40003; // .. kComponentSe: component index = id - 40003
inline constexpr int kComponentSe = 40009;
inline constexpr int kSelectElements = 40010;
inline constexpr int kSelectNodes = 40011;
inline constexpr int kPlotContour = 40012;
inline constexpr int kOutlinesAll = 40014; // + Show: All 0, Selected 1, None 2
inline constexpr int kOutlinesSelected = 40015;
inline constexpr int kOutlinesNone = 40016;
inline constexpr int kBackgroundBlack = 40019;
inline constexpr int kBackgroundWhite = 40020;
inline constexpr int kNodesAll = 40021;
inline constexpr int kNodesSelected = 40022;
inline constexpr int kNodesNone = 40023;
inline constexpr int kElementsAll = 40024;
inline constexpr int kElementsSelected = 40025;
inline constexpr int kElementsNone = 40026;
inline constexpr int kNodeNumbersAll = 40027;
inline constexpr int kNodeNumbersSelected = 40028;
inline constexpr int kNodeNumbersNone = 40029;
inline constexpr int kElementNumbersAll = 40030;
inline constexpr int kElementNumbersSelected = 40031;
inline constexpr int kElementNumbersNone = 40032;
// The teaching additions, numbered apart from the items above.
inline constexpr int kSavePicture = 40101;
inline constexpr int kDeformedShape = 40102;
inline constexpr int kDeformationScale = 40103;
inline constexpr int kSurfaceTop = 40104; // + Surface: Top 0, Bottom 1, Membrane 2, Bending 3
inline constexpr int kSurfaceBottom = 40105;
inline constexpr int kSurfaceMembrane = 40106;
inline constexpr int kSurfaceBending = 40107;
inline constexpr int kAveragingJump = 40108;
inline constexpr int kLegendSettings = 40109;
} // namespace command

// The viewer's mouse modes beyond the view's own 0..2.
inline constexpr int kModeSelectElements = 3;
inline constexpr int kModeSelectNodes = 4;

// The menu bar: every command with its identifier, its check or radio mark.
const std::vector<platform::MenuItem>& viewerMenu();

// Every identifier that carries a check mark.
const std::vector<int>& checkableCommands();

} // namespace shellfem::viewer
