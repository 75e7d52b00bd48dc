#include "viewer/viewer_commands.h"

namespace shellfem::viewer {

using platform::MenuItem;
using platform::MenuMark;

const std::vector<MenuItem>& viewerMenu() {
    using namespace command;
    static const std::vector<MenuItem> menu = {
        {"&File/&Open...", kFileOpen},
        {"&File/Save &Picture...", kSavePicture},
        {"&View/View &Kit...", kViewKit, MenuMark::None, true},
        {"&View/&Deformed Shape", kDeformedShape, MenuMark::Check},
        {"&View/Deformation &Scale...", kDeformationScale},
        {"&Contour/Sx", kComponentSx, MenuMark::Radio},
        {"&Contour/Sy", kComponentSx + 1, MenuMark::Radio},
        {"&Contour/Sz", kComponentSx + 2, MenuMark::Radio},
        {"&Contour/Txy", kComponentSx + 3, MenuMark::Radio},
        {"&Contour/Txz", kComponentSx + 4, MenuMark::Radio},
        {"&Contour/Tyz", kComponentSx + 5, MenuMark::Radio},
        {"&Contour/Se", kComponentSe, MenuMark::Radio, true},
        {"&Contour/&Top Surface", kSurfaceTop, MenuMark::Radio},
        {"&Contour/&Bottom Surface", kSurfaceBottom, MenuMark::Radio},
        {"&Contour/&Membrane", kSurfaceMembrane, MenuMark::Radio},
        {"&Contour/Be&nding", kSurfaceBending, MenuMark::Radio, true},
        {"&Contour/Averaging &Jump", kAveragingJump, MenuMark::Check, true},
        {"&Contour/&Legend...", kLegendSettings},
        {"&Select/Select &Element(s)...", kSelectElements},
        {"&Select/Select &Node(s)...", kSelectNodes},
        {"&PlotCtrls/&Contour", kPlotContour, MenuMark::Check, true},
        {"&PlotCtrls/&Elements/Plot All Elements", kElementsAll, MenuMark::Radio},
        {"&PlotCtrls/&Elements/Plot Selected Elements", kElementsSelected, MenuMark::Radio},
        {"&PlotCtrls/&Elements/Unplot All Elements", kElementsNone, MenuMark::Radio},
        {"&PlotCtrls/Element &Outlines/Plot All Element Outlines", kOutlinesAll, MenuMark::Radio},
        {"&PlotCtrls/Element &Outlines/Plot Selected Element Outlines", kOutlinesSelected,
         MenuMark::Radio},
        {"&PlotCtrls/Element &Outlines/Unplot All Element Outlines", kOutlinesNone,
         MenuMark::Radio},
        {"&PlotCtrls/&Nodes/Plot All Nodes", kNodesAll, MenuMark::Radio},
        {"&PlotCtrls/&Nodes/Plot Selected Nodes", kNodesSelected, MenuMark::Radio},
        {"&PlotCtrls/&Nodes/Unplot All Nodes", kNodesNone, MenuMark::Radio},
        {"&PlotCtrls/Node N&umbers/Plot All Node Numbers", kNodeNumbersAll, MenuMark::Radio},
        {"&PlotCtrls/Node N&umbers/Plot Selected Node Numbers", kNodeNumbersSelected,
         MenuMark::Radio},
        {"&PlotCtrls/Node N&umbers/Unplot All Node Numbers", kNodeNumbersNone, MenuMark::Radio},
        {"&PlotCtrls/Element Nu&mbers/Plot All Element Numbers", kElementNumbersAll,
         MenuMark::Radio},
        {"&PlotCtrls/Element Nu&mbers/Plot Selected Element Numbers", kElementNumbersSelected,
         MenuMark::Radio},
        {"&PlotCtrls/Element Nu&mbers/Unplot All Element Numbers", kElementNumbersNone,
         MenuMark::Radio, true},
        {"&PlotCtrls/&Background/Black background", kBackgroundBlack, MenuMark::Radio},
        {"&PlotCtrls/&Background/White background", kBackgroundWhite, MenuMark::Radio},
    };
    return menu;
}

const std::vector<int>& checkableCommands() {
    static const std::vector<int> ids = [] {
        std::vector<int> v;
        for (const MenuItem& m : viewerMenu())
            if (m.mark != MenuMark::None)
                v.push_back(m.id);
        return v;
    }();
    return ids;
}

} // namespace shellfem::viewer
