#include "preprocessor/files/kvx_file.h"

#include "formats/number_format.h"
#include "formats/safe_file_write.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <sstream>

namespace shellfem::preprocessor {

std::string fixedFiveDecimals(double value) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.5f", value);
    return buffer;
}

namespace {

void appendFixed(std::string& out, double value) {
    out += fixedFiveDecimals(value);
}

void appendCountLine(std::string& out, const char* label, std::size_t count) {
    out += label;
    appendInt(out, static_cast<long long>(count));
    out += '\n';
}

void appendPosition(std::string& out, const Vec3& p) {
    appendFixed(out, p.x);
    out += ',';
    appendFixed(out, p.y);
    out += ',';
    appendFixed(out, p.z);
    out += '\n';
}

// Describes the first value that five decimals change by more than a thousandth
// of itself (e.g. a pressure of 1e-6 saved as 0.00000), or returns "".
std::string firstValueChangedByRounding(const ModelData& data) {
    auto changed = [](double value) {
        return std::abs(std::strtod(fixedFiveDecimals(value).c_str(), nullptr) - value) >
               1e-3 * std::abs(value);
    };
    auto describe = [](const std::string& record, double value) {
        std::string text = record + ": ";
        appendGeneral(text, value);
        text += " is saved as ";
        appendFixed(text, value);
        return text;
    };
    // Geometric points and nodes: "<kind> <ID> <axis>".
    auto firstPositionChanged = [&](const auto& records, const char* kind) -> std::string {
        const char* axes[] = {"x", "y", "z"};
        for (std::size_t i = 0; i < records.size(); ++i) {
            const Vec3& p = records[i].position;
            const double values[] = {p.x, p.y, p.z};
            for (std::size_t a = 0; a < 3; ++a)
                if (changed(values[a]))
                    return describe(std::string(kind) + " " + std::to_string(i) + " " + axes[a],
                                    values[a]);
        }
        return {};
    };
    if (std::string text = firstPositionChanged(data.points, "Geometric point"); !text.empty())
        return text;
    for (const PolygonLoad& load : data.polygonLoads)
        for (std::size_t k = 0; k < 4; ++k)
            if (changed(load.q[k]))
                return describe("Distributed load of polygon " + std::to_string(load.polygon) +
                                    " q" + std::to_string(k),
                                load.q[k]);
    if (std::string text = firstPositionChanged(data.nodes, "Node"); !text.empty())
        return text;
    const char* components[] = {"Fx", "Fy", "Fz", "Mx", "My", "Mz"};
    for (const NodalForce& f : data.forces)
        for (std::size_t d = 0; d < 6; ++d)
            if (changed(f.values[d]))
                return describe("Force on node " + std::to_string(f.node) + " " + components[d],
                                f.values[d]);
    return {};
}

} // namespace

void writeKvx(std::ostream& out, const ModelData& data) {
    std::string s = "### Corvanta R1.00 ###\n";
    appendCountLine(s, "Number of materials:NMT=", data.materials.size());
    for (std::size_t i = 0; i < data.materials.size(); ++i) {
        s += '#';
        appendInt(s, static_cast<long long>(i));
        s += ":\nE=";
        appendGeneral(s, data.materials[i].E);
        s += "\nMu=";
        appendGeneral(s, data.materials[i].Mu);
        s += '\n';
    }
    appendCountLine(s, "Number of thicknesses:NTK=", data.thicknesses.size());
    for (std::size_t i = 0; i < data.thicknesses.size(); ++i) {
        s += '#';
        appendInt(s, static_cast<long long>(i));
        s += ":\nTK=";
        appendGeneral(s, data.thicknesses[i]);
        s += '\n';
    }
    appendCountLine(s, "Number of geometric points:NGPT=", data.points.size());
    for (std::size_t i = 0; i < data.points.size(); ++i) {
        appendInt(s, static_cast<long long>(i));
        s += ':';
        appendPosition(s, data.points[i].position);
    }
    appendCountLine(s, "Number of polygons:NPG=", data.polygons.size());
    for (std::size_t i = 0; i < data.polygons.size(); ++i) {
        const Polygon& polygon = data.polygons[i];
        appendInt(s, static_cast<long long>(i));
        s += '[';
        appendInt(s, static_cast<long long>(polygon.vertices.size()));
        s += "]:";
        for (std::size_t k = 0; k < polygon.vertices.size(); ++k) {
            appendInt(s, polygon.vertices[k]);
            s += k + 1 < polygon.vertices.size() ? ',' : '[';
        }
        appendInt(s, polygon.material);
        s += ',';
        appendInt(s, polygon.thickness);
        s += "]\n";
    }
    appendCountLine(s, "Number of distributed loads of polygons:NPGDL=", data.polygonLoads.size());
    for (const PolygonLoad& load : data.polygonLoads) {
        appendInt(s, load.polygon);
        s += ':';
        for (std::size_t k = 0; k < 4; ++k) {
            appendFixed(s, load.q[k]);
            s += k < 3 ? ',' : '\n';
        }
    }
    appendCountLine(s, "Number of nodal points:NPOIN=", data.nodes.size());
    for (std::size_t i = 0; i < data.nodes.size(); ++i) {
        appendInt(s, static_cast<long long>(i));
        s += ':';
        appendPosition(s, data.nodes[i].position);
    }
    appendCountLine(s, "Number of elements:NELEM=", data.elements.size());
    for (std::size_t i = 0; i < data.elements.size(); ++i) {
        const Element& e = data.elements[i];
        appendInt(s, static_cast<long long>(i));
        s += ':';
        for (std::size_t k = 0; k < 4; ++k) {
            appendInt(s, e.nodes[k]);
            s += k < 3 ? ',' : '[';
        }
        appendInt(s, e.polygon);
        s += "]\n";
    }
    appendCountLine(s, "Number of restricted nodal points:NRN=", data.restraints.size());
    for (const Restraint& r : data.restraints) {
        appendInt(s, r.node);
        s += ':';
        for (std::size_t d = 0; d < 6; ++d) {
            appendInt(s, r.flags[d]);
            s += d < 5 ? ' ' : '\n';
        }
    }
    appendCountLine(s, "Number of forces:NFOR=", data.forces.size());
    for (const NodalForce& f : data.forces) {
        appendInt(s, f.node);
        s += '<';
        for (std::size_t d = 0; d < 6; ++d) {
            appendFixed(s, f.values[d]);
            s += d < 5 ? "," : ">\n";
        }
    }
    s += "###end###\n";
    out << s;
}

Outcome writeKvxFile(const std::string& path, const Model& model) {
    std::ostringstream text;
    writeKvx(text, model.data());
    if (!replaceFileContents(path, text.str()))
        return Outcome::failure(Status::CannotOpen,
                                std::string(kKvxSaveFailed) + "\n" + path + " cannot be written.");
    if (std::string changed = firstValueChangedByRounding(model.data()); !changed.empty())
        return Outcome::success(
            "The file keeps five decimals, so a value was rounded noticeably.\n" + changed +
            ".\nChoose larger units if this matters.");
    return Outcome::success();
}

} // namespace shellfem::preprocessor
