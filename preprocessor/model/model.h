#pragma once

#include "common/outcome.h"
#include "preprocessor/mesh/mesh_control.h"
#include "preprocessor/model/model_data.h"
#include "preprocessor/model/polygon_geometry.h"
#include "preprocessor/model/selection.h"

#include <string>
#include <vector>

namespace shellfem::preprocessor {

// Outcome of an edit. A refused edit leaves the model unchanged and says why;
// an accepted one may still carry a notice for the user (e.g. dropped restraints).
struct EditResult : Outcome {
    std::vector<int> created; // IDs of the records the edit created, in creation order
};

inline EditResult refusedEdit(std::string message) {
    EditResult r;
    r.status = Status::Refused;
    r.message = std::move(message);
    return r;
}

// Profile of the solver's global matrix (skyline entries, six equations per node)
// for the nodes as generated and for the numbering kept, which is a reordering
// only when that shrinks the profile.
struct MeshResult : EditResult {
    long long skylineAsGenerated = 0;
    long long skylineStored = 0;
};

enum class ApplyMode {
    Replace, // the node's earlier records go; one record with the new values remains
    Add,     // forces add up; restraint flags combine (a DOF fixed by either stays fixed)
};

// Derived per-record tables that drawing and the dialogs look up.
struct DisplayTables {
    std::vector<int> elementCountOfPolygon;
    std::vector<int> loadOfPolygon;   // last load record of the polygon, -1 when none
    std::vector<int> restraintOfNode; // last restraint record of the node, -1 when none
    std::vector<int> forceOfNode;     // last force record of the node, -1 when none
};

// The pre-processor's model store. Every edit either succeeds completely or
// leaves the model as it was, and rebuilds the derived data afterwards.
class Model {
public:
    const ModelData& data() const { return data_; }
    const std::vector<PolygonGeometry>& polygonGeometry() const { return geometry_; }
    const ModelExtent& extent() const { return extent_; }
    const DisplayTables& display() const { return display_; }
    Selection& selection() { return selection_; }
    const Selection& selection() const { return selection_; }

    void clear();
    // Takes a whole model whose IDs are all in range (the file reader checks them);
    // meshed flags are recomputed from the elements.
    void assign(ModelData data);
    // Escape: forgets the current pick.
    void escape() { selection_ = Selection{}; }

    EditResult addMaterial(const Material& material);
    EditResult editMaterial(int id, const Material& material);
    EditResult addThickness(double thickness);
    EditResult editThickness(int id, double thickness);
    // Deleting a material or thickness that no polygon uses moves the later IDs
    // down by one in every polygon; one in use is refused, naming its polygons.
    EditResult deleteMaterial(int id);
    EditResult deleteThickness(int id);

    EditResult addPoint(const Vec3& position);
    // Makes `copies` copies of each point, copy k (1-based) shifted by k times `offset`.
    EditResult copyPoints(const std::vector<int>& points, const Vec3& offset, int copies);
    EditResult createPolygon(const std::vector<int>& points, int material, int thickness);
    EditResult setPolygonAttributes(const std::vector<int>& polygons, int material, int thickness);

    // One load per polygon: a new load replaces the polygon's earlier ones.
    EditResult applyPolygonLoad(const std::vector<int>& polygons, const std::array<double, 4>& q);
    EditResult removePolygonLoads(const std::vector<int>& polygons);

    // Meshes (or remeshes) the polygons; defined in model_mesh.cpp.
    MeshResult meshPolygons(const std::vector<int>& polygons, const MeshControl& control);

    EditResult applyRestraints(const std::vector<int>& nodes, const std::array<int, 6>& flags,
                               ApplyMode mode);
    EditResult applyForces(const std::vector<int>& nodes, const std::array<double, 6>& values,
                           ApplyMode mode);
    EditResult removeRestraints(const std::vector<int>& nodes);
    EditResult removeForces(const std::vector<int>& nodes);

    // Hiding a polygon hides its elements and the nodes that only hidden elements use.
    EditResult setPolygonsVisible(const std::vector<int>& polygons, bool visible);
    void showAll();

    // Deleting renumbers the later records and every reference to them.
    // Points still used by a polygon are kept, and the message names them.
    EditResult deletePoints(const std::vector<int>& points);
    // Removes the polygons with their elements, loads, and the nodes no other
    // element uses (with the restraints and forces on those nodes).
    EditResult deletePolygons(const std::vector<int>& polygons);
    // Removes only the polygons' elements and the nodes no other element uses.
    EditResult deleteMesh(const std::vector<int>& polygons);

private:
    void rebuildDerived();
    void replaceData(ModelData data);

    ModelData data_;
    std::vector<PolygonGeometry> geometry_;
    ModelExtent extent_;
    DisplayTables display_;
    Selection selection_;
};

} // namespace shellfem::preprocessor
