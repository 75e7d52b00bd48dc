#include "preprocessor/mesh/division_plan.h"

#include "preprocessor/model/polygon_geometry.h"

#include <algorithm>
#include <cmath>

namespace shellfem::preprocessor {

namespace {

// Element-size counts beyond this are refused before they overflow an int.
const double kLargestCount = 1e6;

struct EdgeSlot {
    std::size_t polygon = 0;
    std::size_t edge = 0;
    int group = -1;
};

struct EdgeGroup {
    std::vector<std::size_t> slots; // indices into the slot list
    int fixedDivisions = 0;         // > 0 when a meshed neighbour sets the count
    int fixedPolygon = -1;
};

bool sameEdge(const Vec3& a0, const Vec3& a1, const Vec3& b0, const Vec3& b1, double tolerance) {
    auto near = [tolerance](const Vec3& p, const Vec3& q) { return length(p - q) <= tolerance; };
    return (near(a0, b0) && near(a1, b1)) || (near(a0, b1) && near(a1, b0));
}

int countForLength(double edgeLength, double elementSize) {
    return std::max(1, static_cast<int>(std::ceil(edgeLength / elementSize - 1e-9)));
}

class DivisionPlanner {
public:
    DivisionPlanner(const std::vector<PolygonToMesh>& polygons, const MeshControl& control,
                    std::vector<std::vector<int>>& divisions, std::string& error)
        : polygons_(polygons), control_(control), divisions_(divisions), error_(error) {}

    bool plan(const std::vector<MeshedEdge>& meshedEdges, double tolerance) {
        if (!checkControl() || !initialCounts())
            return false;
        groupSharedEdges(meshedEdges, tolerance);
        if (control_.mode == MeshControl::Mode::ElementSize)
            raiseToAgreement();
        return checkAgreement();
    }

private:
    bool checkControl() {
        if (control_.mode == MeshControl::Mode::Divisions) {
            if (control_.divisionsAlong01 < 1 || control_.divisionsAlong12 < 1 ||
                control_.divisionsAlong01 > kLargestCount ||
                control_.divisionsAlong12 > kLargestCount) {
                error_ = "The numbers of divisions must lie between 1 and 1000000.";
                return false;
            }
            return true;
        }
        if (!std::isfinite(control_.elementSize) || control_.elementSize <= 0.0) {
            error_ = "The element size must be greater than 0.";
            return false;
        }
        return true;
    }

    bool initialCounts() {
        divisions_.assign(polygons_.size(), {});
        for (std::size_t p = 0; p < polygons_.size(); ++p) {
            const auto& c = polygons_[p].corners;
            const std::size_t n = c.size();
            auto edgeLength = [&](std::size_t k) { return length(c[(k + 1) % n] - c[k]); };
            if (control_.mode == MeshControl::Mode::ElementSize) {
                double longest = 0.0;
                if (n == 4) {
                    longest =
                        std::max({edgeLength(0), edgeLength(1), edgeLength(2), edgeLength(3)});
                } else {
                    Vec3 centre = polygonCentre(c);
                    for (std::size_t k = 0; k < n; ++k)
                        longest = std::max({longest, 0.5 * edgeLength(k),
                                            length(centre - 0.5 * (c[k] + c[(k + 1) % n]))});
                }
                if (longest / control_.elementSize > kLargestCount) {
                    error_ = "The element size is too small for polygon " +
                             std::to_string(polygons_[p].polygon) + ".";
                    return false;
                }
            }
            auto& d = divisions_[p];
            d.assign(n, 0);
            if (n == 4) {
                if (control_.mode == MeshControl::Mode::Divisions) {
                    d = {control_.divisionsAlong01, control_.divisionsAlong12,
                         control_.divisionsAlong01, control_.divisionsAlong12};
                } else {
                    for (std::size_t k = 0; k < 4; ++k)
                        d[k] = countForLength(edgeLength(k), control_.elementSize);
                }
            } else if (control_.mode == MeshControl::Mode::Divisions) {
                d.assign(n, 2 * ((control_.divisionsAlong01 + 1) / 2));
            } else {
                Vec3 centre = polygonCentre(c);
                int half = 1;
                for (std::size_t k = 0; k < n; ++k) {
                    half =
                        std::max(half, countForLength(0.5 * edgeLength(k), control_.elementSize));
                    Vec3 middle = 0.5 * (c[k] + c[(k + 1) % n]);
                    half = std::max(half,
                                    countForLength(length(centre - middle), control_.elementSize));
                }
                d.assign(n, 2 * half);
            }
            enforcePolygonRule(p);
        }
        return true;
    }

    // Opposite edges of a four-corner polygon carry the same count; the edges of
    // a split polygon all carry the same even count. Counts only grow here.
    bool enforcePolygonRule(std::size_t p) {
        auto& d = divisions_[p];
        std::vector<int> before = d;
        if (d.size() == 4) {
            d[0] = d[2] = std::max(d[0], d[2]);
            d[1] = d[3] = std::max(d[1], d[3]);
        } else {
            int largest = *std::max_element(d.begin(), d.end());
            d.assign(d.size(), 2 * ((largest + 1) / 2));
        }
        return d != before;
    }

    void groupSharedEdges(const std::vector<MeshedEdge>& meshedEdges, double tolerance) {
        for (std::size_t p = 0; p < polygons_.size(); ++p)
            for (std::size_t k = 0; k < polygons_[p].corners.size(); ++k)
                slots_.push_back({p, k, -1});
        for (std::size_t s = 0; s < slots_.size(); ++s) {
            if (slots_[s].group >= 0)
                continue;
            slots_[s].group = static_cast<int>(groups_.size());
            groups_.push_back({{s}, 0, -1});
            auto [a0, a1] = ends(slots_[s]);
            for (std::size_t t = s + 1; t < slots_.size(); ++t) {
                auto [b0, b1] = ends(slots_[t]);
                if (slots_[t].group < 0 && sameEdge(a0, a1, b0, b1, tolerance)) {
                    slots_[t].group = slots_[s].group;
                    groups_.back().slots.push_back(t);
                }
            }
            for (const MeshedEdge& e : meshedEdges)
                if (sameEdge(a0, a1, e.from, e.to, tolerance)) {
                    groups_.back().fixedDivisions = e.divisions;
                    groups_.back().fixedPolygon = e.polygon;
                }
        }
    }

    std::pair<Vec3, Vec3> ends(const EdgeSlot& slot) const {
        const auto& c = polygons_[slot.polygon].corners;
        return {c[slot.edge], c[(slot.edge + 1) % c.size()]};
    }

    int& count(std::size_t slot) { return divisions_[slots_[slot].polygon][slots_[slot].edge]; }

    // Raises the counts until every shared edge agrees; each pass only raises
    // counts, and no count passes the largest count planned, rounded up to even.
    void raiseToAgreement() {
        for (EdgeGroup& g : groups_)
            if (g.fixedDivisions > 0)
                for (std::size_t s : g.slots)
                    count(s) = std::max(count(s), g.fixedDivisions);
        bool changed = true;
        while (changed) {
            changed = false;
            for (EdgeGroup& g : groups_) {
                int target = 0;
                for (std::size_t s : g.slots)
                    target = std::max(target, count(s));
                for (std::size_t s : g.slots)
                    if (count(s) != target) {
                        count(s) = target;
                        changed = true;
                    }
            }
            for (std::size_t p = 0; p < polygons_.size(); ++p)
                changed = enforcePolygonRule(p) || changed;
        }
    }

    bool checkAgreement() {
        for (const EdgeGroup& g : groups_) {
            const EdgeSlot& first = slots_[g.slots.front()];
            int expected = g.fixedDivisions > 0 ? g.fixedDivisions : count(g.slots.front());
            int expectedPolygon =
                g.fixedDivisions > 0 ? g.fixedPolygon : polygons_[first.polygon].polygon;
            for (std::size_t s : g.slots)
                if (count(s) != expected) {
                    const PolygonToMesh& polygon = polygons_[slots_[s].polygon];
                    std::size_t k = slots_[s].edge;
                    error_ = "Polygon " + std::to_string(polygon.polygon) + " would get " +
                             std::to_string(count(s)) + " divisions on its edge from point " +
                             std::to_string(polygon.vertices[k]) + " to point " +
                             std::to_string(polygon.vertices[(k + 1) % polygon.vertices.size()]) +
                             ", but polygon " + std::to_string(expectedPolygon) + " has " +
                             std::to_string(expected) +
                             " on the same edge, so the meshes would not join. Choose matching "
                             "divisions or mesh by element size.";
                    return false;
                }
        }
        return true;
    }

    const std::vector<PolygonToMesh>& polygons_;
    const MeshControl& control_;
    std::vector<std::vector<int>>& divisions_;
    std::string& error_;
    std::vector<EdgeSlot> slots_;
    std::vector<EdgeGroup> groups_;
};

} // namespace

Vec3 polygonCentre(const std::vector<Vec3>& corners) {
    return polygonGeometry(corners).centroid;
}

Outcome planDivisions(const std::vector<PolygonToMesh>& polygons,
                      const std::vector<MeshedEdge>& meshedEdges, const MeshControl& control,
                      double tolerance, std::vector<std::vector<int>>& divisions) {
    std::string problem;
    if (DivisionPlanner(polygons, control, divisions, problem).plan(meshedEdges, tolerance))
        return Outcome::success();
    return Outcome::failure(Status::Refused, problem);
}

} // namespace shellfem::preprocessor
