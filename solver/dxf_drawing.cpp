#include "solver/dxf_drawing.h"

#include "formats/number_format.h"

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
    const double* u = displacements->data() + 6 * static_cast<std::size_t>(node);
    return {p.x + scale * u[0], p.y + scale * u[1], p.z + scale * u[2]};
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
    if (model.nodes.empty())
        return 0.0;
    Vec3 lo = model.nodes[0], hi = model.nodes[0];
    double largestTranslation = 0.0;
    for (std::size_t n = 0; n < model.nodes.size(); ++n) {
        const Vec3& p = model.nodes[n];
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        for (std::size_t d = 0; d < 3; ++d)
            largestTranslation = std::max(largestTranslation, std::fabs(displacements[6 * n + d]));
    }
    const double extent = std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
    return largestTranslation > 0.0 ? 0.05 * extent / largestTranslation : 0.0;
}

} // namespace shellfem
