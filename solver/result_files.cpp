#include "solver/result_files.h"

#include "formats/number_format.h"
#include "formats/value_limits.h"

#include <cmath>
#include <ostream>

namespace shellfem {

namespace {

constexpr std::size_t kFieldWidth = 15;
constexpr std::size_t kNodeWidth = 14;

void appendHeader(std::string& s, std::initializer_list<const char*> words) {
    for (const char* w : words)
        appendRight(s, w, kFieldWidth);
    s += '\n';
}

StressValues withEquivalent(const SurfaceStress& s) {
    return {
        s[0], s[1], s[2], s[3], s[4], s[5], equivalentStress(s[0], s[1], s[2], s[3], s[4], s[5])};
}

const char* const kDisplacementNames[] = {"dx", "dy", "dz", "rx", "ry", "rz"};
const char* const kStressNames[] = {"SX", "SY", "SZ", "TXY", "TXZ", "TYZ", "SE"};

bool usable(double value) {
    return std::isfinite(value) && withinLargestMagnitude(value);
}

Outcome unusableSolution(const std::string& where, double value) {
    return Outcome::failure(
        Status::Failed,
        "The solution is not usable: " + where + " is " + formatGeneral(value) +
            (std::isfinite(value) ? ", beyond " + formatGeneral(kLargestMagnitude) : "") +
            ". The loads are far too large for the stiffness of the structure (check E, TK, "
            "the loads and the units); no result file was written.");
}

} // namespace

Outcome checkDisplacements(const std::vector<double>& displacements) {
    for (std::size_t i = 0; i < displacements.size(); ++i)
        if (!usable(displacements[i]))
            return unusableSolution(std::string(kDisplacementNames[i % 6]) + " of node " +
                                        std::to_string(i / 6),
                                    displacements[i]);
    return Outcome::success();
}

Outcome checkStresses(const SolvingModel& model, const std::vector<ElementStresses>& stresses) {
    for (std::size_t e = 0; e < stresses.size(); ++e)
        for (std::size_t k = 0; k < 4; ++k)
            for (const SurfaceStress* surface : {&stresses[e].top[k], &stresses[e].bottom[k]}) {
                const StressValues values = withEquivalent(*surface);
                for (std::size_t c = 0; c < values.size(); ++c)
                    if (!usable(values[c]))
                        return unusableSolution(std::string(kStressNames[c]) + " of element " +
                                                    std::to_string(e) + " at node " +
                                                    std::to_string(model.elements[e].nodes[k]),
                                                values[c]);
            }
    return Outcome::success();
}

void writeNodeDisplacements(std::ostream& out, const std::vector<double>& displacements) {
    std::string s;
    appendHeader(s, {"Node", "dx", "dy", "dz", "rx", "ry", "rz"});
    const std::size_t nodes = displacements.size() / 6;
    for (std::size_t n = 0; n < nodes; ++n) {
        appendRightInt(s, static_cast<long long>(n), kNodeWidth);
        s += ':';
        for (std::size_t d = 0; d < 6; ++d)
            appendRightGeneral(s, displacements[6 * n + d], kFieldWidth);
        s += '\n';
    }
    out << s;
}

void writeStressTable(std::ostream& out, const SolvingModel& model,
                      const std::vector<ElementStresses>& stresses) {
    std::string s;
    for (std::size_t e = 0; e < stresses.size(); ++e) {
        s.clear();
        s += "ELEMENT:";
        appendInt(s, static_cast<long long>(e));
        s += '\n';
        appendHeader(s, {"Node", "SX", "SY", "SZ", "TXY", "TXZ", "TYZ", "SE"});
        for (std::size_t k = 0; k < 4; ++k)
            for (const SurfaceStress* surface : {&stresses[e].top[k], &stresses[e].bottom[k]}) {
                appendRightInt(s, model.elements[e].nodes[k], kNodeWidth);
                s += ':';
                for (double v : withEquivalent(*surface))
                    appendRightGeneral(s, v, kFieldWidth);
                s += '\n';
            }
        out << s;
    }
}

ContourModel contourModel(const SolvingModel& model, const std::vector<ElementStresses>& stresses) {
    ContourModel contour;
    contour.nodes = model.nodes;
    contour.elements.resize(stresses.size());
    for (std::size_t e = 0; e < stresses.size(); ++e) {
        ContourElement& c = contour.elements[e];
        c.nodes = model.elements[e].nodes;
        for (std::size_t k = 0; k < 4; ++k) {
            c.top[k] = withEquivalent(stresses[e].top[k]);
            c.bottom[k] = withEquivalent(stresses[e].bottom[k]);
        }
    }
    return contour;
}

} // namespace shellfem
