#include "solver/dxf_drawing.h"

#include "formats/number_format.h"
#include "geometry/deformation.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace shellfem {

namespace {

Vec3 drawnPosition(const SolvingModel& model, int node, const std::vector<double>* displacements,
                   double scale) {
    const Vec3& p = model.nodes[static_cast<std::size_t>(node)];
    if (!displacements)
        return p;
    return displacedPosition(p, *displacements, static_cast<std::size_t>(node), scale);
}

void appendCoordinate(std::string& s, const char* code, double value) {
    s += code;
    s += '\n';
    appendGeneral(s, value);
    s += '\n';
}

} // namespace

void writeMeshDxf(std::ostream& out, const SolvingModel& model,
                  const std::vector<double>* displacements, double scale) {
    std::string s = "  0\nSECTION\n  2\nENTITIES\n  0\n";
    for (const ElementRecord& e : model.elements) {
        for (std::size_t j = 0; j < 4; ++j) {
            const Vec3 a = drawnPosition(model, e.nodes[j], displacements, scale);
            const Vec3 b = drawnPosition(model, e.nodes[(j + 1) % 4], displacements, scale);
            s += "LINE\n  8\n0\n";
            appendCoordinate(s, " 10", a.x);
            appendCoordinate(s, " 20", a.y);
            appendCoordinate(s, " 30", a.z);
            appendCoordinate(s, " 11", b.x);
            appendCoordinate(s, " 21", b.y);
            appendCoordinate(s, " 31", b.z);
            s += "  0\n";
        }
        if (s.size() > (1u << 20)) {
            out << s;
            s.clear();
        }
    }
    s += "ENDSEC\n  0\nEOF\n";
    out << s;
}

double deformationScale(const SolvingModel& model, const std::vector<double>& displacements) {
    return deformationScale(model.nodes, displacements);
}

} // namespace shellfem
