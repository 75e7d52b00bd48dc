#include "solver/vtu_file.h"

#include "formats/number_format.h"
#include "formats/stress_file.h"

#include <functional>
#include <ostream>
#include <string>

namespace shellfem {

namespace {

constexpr int kQuadCellType = 9;
constexpr std::size_t kBlockSize = 1u << 16;

// Writes text through a buffer handed to the stream a block at a time.
class BlockWriter {
public:
    explicit BlockWriter(std::ostream& out) : out_(out) {}
    ~BlockWriter() { flush(); }

    std::string& text() { return text_; }
    void endLine() {
        text_ += '\n';
        if (text_.size() > kBlockSize)
            flush();
    }
    void flush() {
        out_ << text_;
        text_.clear();
    }

private:
    std::ostream& out_;
    std::string text_;
};

// One DataArray: `values(i, s)` appends item i's components to s.
void writeArray(BlockWriter& w, const char* type, const char* name, int components,
                std::size_t items, const std::function<void(std::size_t, std::string&)>& values) {
    std::string& s = w.text();
    s += "        <DataArray type=\"";
    s += type;
    s += '"';
    if (name) {
        s += " Name=\"";
        s += name;
        s += '"';
    }
    s += " NumberOfComponents=\"";
    appendInt(s, components);
    s += "\" format=\"ascii\">";
    w.endLine();
    for (std::size_t i = 0; i < items; ++i) {
        s += "         ";
        values(i, s);
        w.endLine();
    }
    s += "        </DataArray>";
    w.endLine();
}

void appendValues(std::string& s, std::initializer_list<double> values) {
    for (double v : values) {
        s += ' ';
        appendGeneral(s, v);
    }
}

// SX SY SZ TXY TXZ TYZ as VTK's symmetric tensor XX YY ZZ XY YZ XZ.
void appendTensor(std::string& s, const SurfaceStress& t) {
    appendValues(s, {t[0], t[1], t[2], t[3], t[5], t[4]});
}

double equivalentOf(const SurfaceStress& t) {
    return equivalentStress(t[0], t[1], t[2], t[3], t[4], t[5]);
}

// For every node, 4·element + corner of its first element corner, or -1.
std::vector<long long> firstCorners(const SolvingModel& model) {
    std::vector<long long> first(model.nodes.size(), -1);
    for (std::size_t e = model.elements.size(); e-- > 0;)
        for (std::size_t k = 4; k-- > 0;)
            first[static_cast<std::size_t>(model.elements[e].nodes[k])] =
                static_cast<long long>(4 * e + k);
    return first;
}

void writePointData(BlockWriter& w, const VtuResults& r) {
    const std::vector<long long> first = firstCorners(r.model);
    const std::size_t nodes = r.model.nodes.size();
    const SurfaceStress zero{};
    using Surface = CornerStresses ElementStresses::*;
    auto stressAt = [&](std::size_t n, Surface surface) -> const SurfaceStress& {
        if (first[n] < 0)
            return zero;
        const auto corner = static_cast<std::size_t>(first[n]);
        return (r.averagedStresses[corner / 4].*surface)[corner % 4];
    };
    w.text() +=
        "      <PointData Vectors=\"Displacement\" Tensors=\"TopStress\" Scalars=\"TopSe\">";
    w.endLine();
    for (std::size_t offset : {0, 3})
        writeArray(w, "Float64", offset == 0 ? "Displacement" : "Rotation", 3, nodes,
                   [&](std::size_t n, std::string& s) {
                       const double* u = &r.displacements[6 * n + offset];
                       appendValues(s, {u[0], u[1], u[2]});
                   });
    for (Surface surface : {&ElementStresses::top, &ElementStresses::bottom}) {
        const bool top = surface == &ElementStresses::top;
        writeArray(w, "Float64", top ? "TopStress" : "BottomStress", 6, nodes,
                   [&](std::size_t n, std::string& s) { appendTensor(s, stressAt(n, surface)); });
        writeArray(w, "Float64", top ? "TopSe" : "BottomSe", 1, nodes,
                   [&](std::size_t n, std::string& s) {
                       appendValues(s, {equivalentOf(stressAt(n, surface))});
                   });
    }
    w.text() += "      </PointData>";
    w.endLine();
}

void writeCellData(BlockWriter& w, const VtuResults& r) {
    const std::vector<ElementRecord>& elements = r.model.elements;
    const std::size_t cells = elements.size();
    w.text() += "      <CellData Scalars=\"TopSeCentre\">";
    w.endLine();
    writeArray(w, "Int32", "Material", 1, cells, [&](std::size_t e, std::string& s) {
        s += ' ';
        appendInt(s, elements[e].material);
    });
    writeArray(w, "Float64", "Thickness", 1, cells, [&](std::size_t e, std::string& s) {
        appendValues(s, {r.model.thicknesses[static_cast<std::size_t>(elements[e].thickness)]});
    });
    writeArray(w, "Float64", "TopSeCentre", 1, cells,
               [&](std::size_t e, std::string& s) { appendValues(s, {r.centreStress[e].top}); });
    writeArray(w, "Float64", "BottomSeCentre", 1, cells,
               [&](std::size_t e, std::string& s) { appendValues(s, {r.centreStress[e].bottom}); });
    w.text() += "      </CellData>";
    w.endLine();
}

void writeGeometry(BlockWriter& w, const SolvingModel& model) {
    const std::size_t cells = model.elements.size();
    w.text() += "      <Points>";
    w.endLine();
    writeArray(w, "Float64", nullptr, 3, model.nodes.size(), [&](std::size_t n, std::string& s) {
        appendValues(s, {model.nodes[n].x, model.nodes[n].y, model.nodes[n].z});
    });
    w.text() += "      </Points>\n      <Cells>";
    w.endLine();
    writeArray(w, "Int32", "connectivity", 4, cells, [&](std::size_t e, std::string& s) {
        for (int node : model.elements[e].nodes) {
            s += ' ';
            appendInt(s, node);
        }
    });
    writeArray(w, "Int64", "offsets", 1, cells, [&](std::size_t e, std::string& s) {
        s += ' ';
        appendInt(s, static_cast<long long>(4 * (e + 1)));
    });
    writeArray(w, "UInt8", "types", 1, cells, [&](std::size_t, std::string& s) {
        s += ' ';
        appendInt(s, kQuadCellType);
    });
    w.text() += "      </Cells>";
    w.endLine();
}

} // namespace

void writeResultsVtu(std::ostream& out, const VtuResults& results) {
    BlockWriter w(out);
    std::string& s = w.text();
    s += "<?xml version=\"1.0\"?>\n"
         "<VTKFile type=\"UnstructuredGrid\" version=\"1.0\" byte_order=\"LittleEndian\" "
         "header_type=\"UInt64\">\n"
         "  <UnstructuredGrid>\n"
         "    <Piece NumberOfPoints=\"";
    appendInt(s, static_cast<long long>(results.model.nodes.size()));
    s += "\" NumberOfCells=\"";
    appendInt(s, static_cast<long long>(results.model.elements.size()));
    s += "\">";
    w.endLine();
    writePointData(w, results);
    writeCellData(w, results);
    writeGeometry(w, results.model);
    s += "    </Piece>\n  </UnstructuredGrid>\n</VTKFile>";
    w.endLine();
}

} // namespace shellfem
