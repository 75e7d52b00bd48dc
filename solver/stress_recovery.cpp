#include "solver/stress_recovery.h"

#include "formats/stress_file.h"

namespace shellfem {

namespace {

ElementVector elementDisplacements(const ElementRecord& element,
                                   const std::vector<double>& displacements) {
    ElementVector u;
    const auto equations = elementEquations(element);
    for (std::size_t j = 0; j < kElementDofs; ++j)
        u[j] = displacements[static_cast<std::size_t>(equations[j])];
    return u;
}

double equivalentOf(const SurfaceStress& s) {
    return equivalentStress(s[0], s[1], s[2], s[3], s[4], s[5]);
}

} // namespace

std::vector<ElementStresses> computeElementStresses(const SolvingModel& model,
                                                    const std::vector<ShellElement>& elements,
                                                    const std::vector<double>& displacements) {
    std::vector<ElementStresses> stresses(elements.size());
    for (std::size_t e = 0; e < elements.size(); ++e)
        elements[e].cornerStresses(elementDisplacements(model.elements[e], displacements),
                                   stresses[e].top, stresses[e].bottom);
    return stresses;
}

std::vector<CentreEquivalentStress>
centreEquivalentStresses(const SolvingModel& model, const std::vector<ShellElement>& elements,
                         const std::vector<double>& displacements) {
    std::vector<CentreEquivalentStress> centre(elements.size());
    SurfaceStress top, bottom;
    for (std::size_t e = 0; e < elements.size(); ++e) {
        elements[e].centreStresses(elementDisplacements(model.elements[e], displacements), top,
                                   bottom);
        centre[e] = {equivalentOf(top), equivalentOf(bottom)};
    }
    return centre;
}

namespace {

struct NodeUse {
    std::size_t element;
    std::size_t corner;
};

// For every node, the elements that use it, in element order (compressed rows).
struct NodeElements {
    std::vector<std::size_t> start;
    std::vector<NodeUse> uses;

    NodeElements(const SolvingModel& model) : start(model.nodes.size() + 1, 0) {
        for (const ElementRecord& e : model.elements)
            for (int node : e.nodes)
                ++start[static_cast<std::size_t>(node) + 1];
        for (std::size_t n = 0; n < model.nodes.size(); ++n)
            start[n + 1] += start[n];
        uses.resize(start.back());
        std::vector<std::size_t> next(start.begin(), start.end() - 1);
        for (std::size_t e = 0; e < model.elements.size(); ++e)
            for (std::size_t k = 0; k < 4; ++k)
                uses[next[static_cast<std::size_t>(model.elements[e].nodes[k])]++] = {e, k};
    }
};

void add(SurfaceStress& sum, const SurfaceStress& s) {
    for (std::size_t c = 0; c < sum.size(); ++c)
        sum[c] += s[c];
}

} // namespace

std::vector<ElementStresses> averageNodalStresses(const SolvingModel& model,
                                                  const std::vector<ShellElement>& elements,
                                                  const std::vector<ElementStresses>& stresses) {
    const NodeElements nodeElements(model);
    std::vector<ElementStresses> averaged(elements.size());
    for (std::size_t a = 0; a < elements.size(); ++a) {
        const Vec3& za = elements[a].normal();
        const double ta = elements[a].thickness();
        for (std::size_t i = 0; i < 4; ++i) {
            const auto node = static_cast<std::size_t>(model.elements[a].nodes[i]);
            SurfaceStress top = stresses[a].top[i];
            SurfaceStress bottom = stresses[a].bottom[i];
            int count = 1;
            for (std::size_t u = nodeElements.start[node]; u < nodeElements.start[node + 1]; ++u) {
                const auto [j, k] = nodeElements.uses[u];
                if (j == a)
                    continue;
                const Vec3& zj = elements[j].normal();
                const double h = dot(za, zj);
                const double s = h <= 0.0 ? -1.0 : 1.0;
                const Vec3 offset = (s * elements[j].thickness() / 2.0) * zj - (ta / 2.0) * za;
                if (length(offset) > ta / 10.0)
                    continue;
                add(top, h <= 0.0 ? stresses[j].bottom[k] : stresses[j].top[k]);
                add(bottom, h <= 0.0 ? stresses[j].top[k] : stresses[j].bottom[k]);
                ++count;
            }
            for (std::size_t c = 0; c < top.size(); ++c) {
                averaged[a].top[i][c] = top[c] / count;
                averaged[a].bottom[i][c] = bottom[c] / count;
            }
        }
    }
    return averaged;
}

} // namespace shellfem
