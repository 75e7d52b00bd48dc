#include "preprocessor/export/solving_export.h"

#include "formats/number_format.h"
#include "formats/safe_file_write.h"
#include "formats/value_limits.h"
#include "preprocessor/export/polygon_load_field.h"
#include "preprocessor/files/kvx_file.h"
#include "preprocessor/model/id_checks.h"
#include "preprocessor/model/model_queries.h"
#include "preprocessor/model/polygon_geometry.h"

#include <cmath>
#include <sstream>

namespace shellfem::preprocessor {

namespace {

Outcome refused(std::string message) {
    return Outcome::failure(Status::Refused, std::move(message));
}

Outcome checkAttributesOfUsedPolygons(const ModelData& data) {
    std::vector<bool> used(data.polygons.size(), false);
    for (const Element& e : data.elements)
        used[static_cast<std::size_t>(e.polygon)] = true;
    for (std::size_t p = 0; p < data.polygons.size(); ++p) {
        if (!used[p])
            continue;
        const Polygon& polygon = data.polygons[p];
        const std::string name = "Polygon " + std::to_string(p);
        if (polygon.material < 0 ||
            static_cast<std::size_t>(polygon.material) >= data.materials.size()) {
            return refused(name + " uses material " + std::to_string(polygon.material) +
                           ", which does not exist (NMT=" + std::to_string(data.materials.size()) +
                           ").");
        }
        if (polygon.thickness < 0 ||
            static_cast<std::size_t>(polygon.thickness) >= data.thicknesses.size()) {
            return refused(
                name + " uses thickness " + std::to_string(polygon.thickness) +
                ", which does not exist (NTK=" + std::to_string(data.thicknesses.size()) + ").");
        }
        const Material& m = data.materials[static_cast<std::size_t>(polygon.material)];
        const std::string material = "Material " + std::to_string(polygon.material);
        if (!validYoungsModulus(m.E)) {
            return refused(material + " (used by polygon " + std::to_string(p) +
                           ") has E=" + formatGeneral(m.E) + "; E must be greater than 0.");
        }
        if (!validPoissonsRatio(m.Mu)) {
            return refused(material + " (used by polygon " + std::to_string(p) +
                           ") has Mu=" + formatGeneral(m.Mu) +
                           "; Mu must lie between -1 and 0.5 (both excluded).");
        }
        double tk = data.thicknesses[static_cast<std::size_t>(polygon.thickness)];
        if (!validThickness(tk)) {
            return refused("Thickness " + std::to_string(polygon.thickness) + " (used by polygon " +
                           std::to_string(p) + ") has TK=" + formatGeneral(tk) +
                           "; TK must be greater than 0.");
        }
    }
    return Outcome::success();
}

// A node of no element has no stiffness: the solver's pivots for it are zero
// unless all six of its degrees of freedom are fixed.
Outcome checkLooseNodes(const ModelData& data) {
    std::vector<bool> inElement(data.nodes.size(), false);
    for (const Element& e : data.elements)
        for (int node : e.nodes)
            inElement[static_cast<std::size_t>(node)] = true;
    std::vector<std::array<bool, 6>> fixed(data.nodes.size(), std::array<bool, 6>{});
    for (const Restraint& r : data.restraints)
        for (std::size_t d = 0; d < 6; ++d)
            fixed[static_cast<std::size_t>(r.node)][d] =
                fixed[static_cast<std::size_t>(r.node)][d] || r.flags[d] == 1;
    for (std::size_t n = 0; n < data.nodes.size(); ++n) {
        bool allFixed = true;
        for (bool f : fixed[n])
            allFixed = allFixed && f;
        if (!inElement[n] && !allFixed) {
            return refused("Node " + std::to_string(n) +
                           " belongs to no element and is not fully restrained, so the solver "
                           "could not find its displacements.");
        }
    }
    return Outcome::success();
}

bool anyFixedDegreeOfFreedom(const ModelData& data) {
    for (const Restraint& r : data.restraints)
        for (int flag : r.flags)
            if (flag == 1)
                return true;
    return false;
}

Outcome appendLoads(const ModelData& data, SolvingModel& solving) {
    const std::vector<std::vector<int>> elementsOfPolygon = elementsByPolygon(data);
    for (const PolygonLoad& load : data.polygonLoads) {
        const auto& elements = elementsOfPolygon[static_cast<std::size_t>(load.polygon)];
        if (elements.empty()) {
            return refused(
                "Polygon " + std::to_string(load.polygon) +
                " carries a distributed load but is not meshed; mesh it or remove the load.");
        }
        const Polygon& polygon = data.polygons[static_cast<std::size_t>(load.polygon)];
        const PolygonGeometry geometry = polygonGeometry(cornersOf(data, polygon));
        for (int e : elements) {
            DistributedLoadRecord record;
            record.element = e;
            record.q = elementCornerLoads(data, data.elements[static_cast<std::size_t>(e)],
                                          geometry, load.q);
            for (double q : record.q)
                if (!std::isfinite(q) || !withinLargestMagnitude(q))
                    return refused("Polygon " + std::to_string(load.polygon) +
                                   ": its distributed load cannot be interpolated to the corners "
                                   "of element " +
                                   std::to_string(e) + " (" + formatGeneral(q) +
                                   "); check the polygon's corners and the element's nodes.");
            solving.loads.push_back(record);
        }
    }
    return Outcome::success();
}

} // namespace

Outcome buildSolvingModel(const ModelData& data, SolvingModel& solving) {
    solving = SolvingModel{};
    if (data.elements.empty())
        return refused("The model has no elements; mesh its polygons before exporting.");
    if (Outcome used = checkAttributesOfUsedPolygons(data); !used.ok())
        return used;
    if (!anyFixedDegreeOfFreedom(data))
        return refused("No degree of freedom is restrained, so the structure can move freely; "
                       "apply boundary conditions before exporting.");
    if (Outcome loose = checkLooseNodes(data); !loose.ok())
        return loose;

    solving.materials = data.materials;
    solving.thicknesses = data.thicknesses;
    for (const Node& n : data.nodes)
        solving.nodes.push_back(n.position);
    for (const Element& e : data.elements) {
        const Polygon& polygon = data.polygons[static_cast<std::size_t>(e.polygon)];
        solving.elements.push_back({e.nodes, polygon.material, polygon.thickness});
    }
    solving.restraints = data.restraints;
    solving.forces = data.forces;
    if (Outcome loads = appendLoads(data, solving); !loads.ok()) {
        solving = SolvingModel{};
        return loads;
    }
    // Nothing that the solver would refuse, or could not keep finite, is written.
    if (Outcome magnitudes = checkMagnitudes(solving); !magnitudes.ok()) {
        solving = SolvingModel{};
        return refused("The model cannot be exported: " + magnitudes.message + ".");
    }
    return Outcome::success();
}

Outcome exportSolvingFile(const std::string& path, const Model& model) {
    SolvingModel solving;
    if (Outcome built = buildSolvingModel(model.data(), solving); !built.ok())
        return built;
    std::ostringstream text;
    writeSolvingFile(text, solving);
    if (!replaceFileContents(path, text.str()))
        return Outcome::failure(Status::CannotOpen, "Cannot write the solving file \"" + path +
                                                        "\"; the folder may not be writable.");
    return Outcome::success();
}

} // namespace shellfem::preprocessor
