#pragma once

namespace shellfem::preprocessor::render {

// The attribute whose colour fills the polygons in the polygon colour mode.
enum class PolygonColouring { Material, Thickness };

// Which layers of the model are drawn; the start values are the window's.
struct PlotSwitches {
    bool points = true;
    bool polygons = true;
    bool elements = true;
    bool nodes = true;
    bool forces = true; // nodal forces and moments
    bool polygonLoads = true;
    bool elementLoads = true;
    bool restraints = true;
    bool pointNumbers = false;
    bool polygonNumbers = false;
    bool nodeNumbers = false;
    bool elementNumbers = false;
    bool polygonColourMode = false; // polygons filled in the colour of `colourBy`
    PolygonColouring colourBy = PolygonColouring::Material;
};

} // namespace shellfem::preprocessor::render
