#include "preprocessor/app/corvanta_commands.h"

namespace shellfem::preprocessor::app {

using platform::MenuItem;
using platform::MenuMark;

const std::vector<MenuItem>& corvantaMenu() {
    using namespace command;
    static const std::vector<MenuItem> menu = {
        {"&File/&Open...", kFileOpen},
        {"&File/&Save", kFileSave},
        {"&File/Save &As...", kFileSaveAs, MenuMark::None, true},
        {"&File/&Export FEM Solving File...", kFileExport},
        {"&View/&Plot Controls...", kPlotControls},
        {"&View/View &Kit...", kViewKit},
        {"&View/&Hide Polygon(s)...", kHidePolygons, MenuMark::None, true},
        {"&View/&White Background", kWhiteBackground, MenuMark::Check},
        {"&View/&Black Background", kBlackBackground, MenuMark::Check},
        {"&Modeling/&Material&&Thick...", kMaterialThick},
        {"&Modeling/&Create/&GeoPt...", kCreateGeoPt},
        {"&Modeling/&Create/&Polygon...", kCreatePolygon},
        {"&Modeling/C&opy/&GeoPt...", kCopyGeoPt},
        {"M&eshing/&Quad...", kMeshQuad},
        {"&Apply/&Force(s)...", kApplyForces},
        {"&Apply/&Polygon Distributed Load(s)...", kApplyPolygonLoads},
        {"&Apply/&Boundary Condition(s)...", kApplyRestraints},
        {"&Solve/Static &calculate", kStaticCalculate},
        {"&Postprocess/Shell&StressContour", kStressContour},
    };
    return menu;
}

} // namespace shellfem::preprocessor::app
