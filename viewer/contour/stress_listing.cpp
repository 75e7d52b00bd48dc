#include "viewer/contour/stress_listing.h"

#include "formats/number_format.h"
#include "viewer/contour/element_geometry.h"

#include <algorithm>
#include <ostream>
#include <string>

namespace shellfem::viewer {

namespace {

constexpr std::size_t kNumberWidth = 8;
constexpr std::size_t kSurfaceWidth = 8;
constexpr std::size_t kValueWidth = 15;

void appendValueHeader(std::string& s) {
    appendRight(s, "Surface", kSurfaceWidth);
    for (const char* name : {"SX", "SY", "SZ", "TXY", "TXZ", "TYZ", "SE"})
        appendRight(s, name, kValueWidth);
    s += '\n';
}

void appendSurface(std::string& s, const char* surface, const StressValues& values) {
    appendRight(s, surface, kSurfaceWidth);
    for (double v : values)
        appendRightGeneral(s, v, kValueWidth);
    s += '\n';
}

// Two lines for one element corner, top surface first: the three leading numbers, then
// the surface name and its seven values.
void appendCorner(std::string& s, const long long (&leading)[3], const ContourElement& element,
                  std::size_t corner) {
    const auto appendLeading = [&] {
        for (long long number : leading)
            appendRightInt(s, number, kNumberWidth);
    };
    appendLeading();
    appendSurface(s, "top", element.top[corner]);
    appendLeading();
    appendSurface(s, "bottom", element.bottom[corner]);
}

struct NodeCorner {
    std::size_t node, element, corner;
};

} // namespace

void writeSelectedElementStresses(std::ostream& out, const ContourModel& model,
                                  const std::vector<char>& elementFlags) {
    std::string s;
    for (const char* name : {"Element", "Corner", "Node"})
        appendRight(s, name, kNumberWidth);
    appendValueHeader(s);
    for (std::size_t e = 0; e < model.elements.size(); ++e) {
        if (!isSelected(elementFlags, e))
            continue;
        const ContourElement& element = model.elements[e];
        for (std::size_t k = 0; k < 4; ++k) {
            const long long leading[3] = {static_cast<long long>(e), static_cast<long long>(k),
                                          element.nodes[k]};
            appendCorner(s, leading, element, k);
        }
    }
    out << s;
}

void writeSelectedNodeStresses(std::ostream& out, const ContourModel& model,
                               const std::vector<char>& nodeFlags) {
    std::string s;
    for (const char* name : {"Node", "Element", "Corner"})
        appendRight(s, name, kNumberWidth);
    appendValueHeader(s);
    std::vector<NodeCorner> corners;
    for (std::size_t e = 0; e < model.elements.size(); ++e)
        for (std::size_t k = 0; k < 4; ++k) {
            const int node = model.elements[e].nodes[k];
            if (node >= 0 && static_cast<std::size_t>(node) < model.nodes.size() &&
                isSelected(nodeFlags, static_cast<std::size_t>(node)))
                corners.push_back({static_cast<std::size_t>(node), e, k});
        }
    // By node, and within a node in element and corner order as collected.
    std::stable_sort(corners.begin(), corners.end(),
                     [](const NodeCorner& a, const NodeCorner& b) { return a.node < b.node; });
    for (const NodeCorner& c : corners) {
        const long long leading[3] = {static_cast<long long>(c.node),
                                      static_cast<long long>(c.element),
                                      static_cast<long long>(c.corner)};
        appendCorner(s, leading, model.elements[c.element], c.corner);
    }
    out << s;
}

} // namespace shellfem::viewer
