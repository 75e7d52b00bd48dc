#pragma once

#include "platform/gui.h"

#include <vector>

namespace shellfem::preprocessor::app {

// The pre-processor's menu command identifiers.
namespace command {
inline constexpr int kFileOpen = 40012;
inline constexpr int kFileSave = 40048;
inline constexpr int kFileSaveAs = 40049;
inline constexpr int kFileExport = 40077;
inline constexpr int kPlotControls = 40083;
inline constexpr int kViewKit = 40070;
inline constexpr int kHidePolygons = 40087;
inline constexpr int kWhiteBackground = 40044;
inline constexpr int kBlackBackground = 40045;
inline constexpr int kMaterialThick = 40023;
inline constexpr int kCreateGeoPt = 40010;
inline constexpr int kCreatePolygon = 40014;
inline constexpr int kCopyGeoPt = 40090;
inline constexpr int kMeshQuad = 40017;
inline constexpr int kApplyForces = 40019;
inline constexpr int kApplyPolygonLoads = 40064;
inline constexpr int kApplyRestraints = 40021;
inline constexpr int kStaticCalculate = 40079;
inline constexpr int kStressContour = 40085;
} // namespace command

// The mouse modes beyond the view's own 0 (none), 1 (pan) and 2 (zoom window).
// Each kind of item has a pair: the odd mode picks, the even one unpicks.
inline constexpr int kModePickPoints = 3;
inline constexpr int kModeUnpickPoints = 4;
inline constexpr int kModeOutlineAdd = 5;    // the point sequence of a new polygon
inline constexpr int kModeOutlineRemove = 6; // takes points out of that sequence
inline constexpr int kModePickPolygons = 7;
inline constexpr int kModeUnpickPolygons = 8;
inline constexpr int kModePickNodes = 9;
inline constexpr int kModeUnpickNodes = 10;

// The menu bar: every command with its identifier; the two backgrounds carry check marks.
const std::vector<platform::MenuItem>& corvantaMenu();

} // namespace shellfem::preprocessor::app
