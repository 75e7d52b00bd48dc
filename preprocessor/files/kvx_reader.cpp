#include "preprocessor/files/kvx_file.h"

#include "formats/file_text.h"
#include "formats/record_reader.h"

#include <unordered_set>

namespace shellfem::preprocessor {

namespace {

// The first ID in [first, last) that was already seen before it, or -1; linear in
// the length, so that a polygon of any size is checked at once.
template <class Iterator> int repeatedId(Iterator first, Iterator last) {
    std::unordered_set<int> seen;
    for (Iterator a = first; a != last; ++a)
        if (!seen.insert(*a).second)
            return *a;
    return -1;
}

// Reads the file section by section. Every method returns false after storing a
// message that names the line, the record and what is wrong.
class KvxReader : public RecordReader {
public:
    KvxReader(std::string text, std::string fileName)
        : RecordReader(std::move(text), std::move(fileName), "ID") {}

    Outcome read(ModelData& data) {
        if (!readHeader() || !readMaterials(data) || !readThicknesses(data) || !readPoints(data) ||
            !readPolygons(data) || !readLoads(data) || !readNodes(data) || !readElements(data) ||
            !readRestraints(data) || !readForces(data))
            data = ModelData{};
        return result();
    }

private:
    bool readHeader() {
        std::size_t at = scan_.position();
        double version = 0.0;
        if (!scan_.literal("### Corvanta R") || !scan_.readDouble(version) ||
            !scan_.literal(" ###\n"))
            return fail(at, "header", "expected \"### Corvanta R1.00 ###\"");
        if (version != 1.0)
            return failVersion(kKvxVersionError);
        return true;
    }

    bool checkOwnId(std::size_t at, const std::string& record, int id, int position) {
        if (id == position)
            return true;
        return fail(at, record,
                    "the record is numbered " + std::to_string(id) + " but stands at position " +
                        std::to_string(position));
    }

    bool readMaterials(ModelData& data) {
        int count = 0;
        if (!readCount("Number of materials:NMT=", "material", count))
            return false;
        reserve(data.materials, count, 8); // "#0:\nE=0Mu=0"
        for (int i = 0; i < count; ++i) {
            const std::string record = recordName("material", i);
            const char* layout = "expected \"#<n>:\", \"E=<value>\" and \"Mu=<value>\"";
            scan_.skipLine();
            Material m;
            if (!readLabelledValue(record, "E=", m.E, layout) ||
                !readLabelledValue(record, "Mu=", m.Mu, layout))
                return false;
            data.materials.push_back(m);
        }
        return true;
    }

    bool readThicknesses(ModelData& data) {
        int count = 0;
        if (!readCount("Number of thicknesses:NTK=", "thickness", count))
            return false;
        reserve(data.thicknesses, count, 5); // "#0:\nTK=0"
        for (int i = 0; i < count; ++i) {
            scan_.skipLine();
            double tk = 0.0;
            if (!readLabelledValue(recordName("thickness", i), "TK=", tk,
                                   "expected \"#<n>:\" and \"TK=<value>\""))
                return false;
            data.thicknesses.push_back(tk);
        }
        return true;
    }

    bool readPosition(Vec3& p) {
        return scan_.readDouble(p.x) && scan_.literal(",") && scan_.readDouble(p.y) &&
               scan_.literal(",") && scan_.readDouble(p.z) && scan_.literal("\n");
    }

    bool readPoints(ModelData& data) {
        int count = 0;
        if (!readCount("Number of geometric points:NGPT=", "geometric point", count))
            return false;
        reserve(data.points, count, 7); // "0:0,0,0"
        for (int i = 0; i < count; ++i) {
            std::size_t at = scan_.position();
            int id = 0;
            GeometricPoint p;
            if (!scan_.readInt(id) || !scan_.literal(":") || !readPosition(p.position))
                return fail(at, recordName("geometric point", i), "expected \"<n>:<x>,<y>,<z>\"");
            if (!checkOwnId(at, recordName("geometric point", i), id, i) ||
                !checkMagnitudes(at, recordName("geometric point", i), p.position))
                return false;
            data.points.push_back(p);
        }
        return true;
    }

    bool readPolygons(ModelData& data) {
        int count = 0;
        if (!readCount("Number of polygons:NPG=", "polygon", count))
            return false;
        reserve(data.polygons, count, 14); // "0[3]:0,1,2[0,0]"
        for (int i = 0; i < count; ++i) {
            std::size_t at = scan_.position();
            std::string record = recordName("polygon", i);
            const char* layout =
                "expected \"<n>[<count>]:<point>,...,<point>[<material>,<thickness>]\"";
            int id = 0;
            int vertexCount = 0;
            if (!scan_.readInt(id) || !scan_.literal("[") || !scan_.readInt(vertexCount) ||
                !scan_.literal("]:"))
                return fail(at, record, layout);
            if (!checkOwnId(at, record, id, i))
                return false;
            if (vertexCount < 3)
                return fail(at, record,
                            "a polygon needs at least 3 vertices, not " +
                                std::to_string(vertexCount));
            // Two characters at least per vertex ("0,"), the last one included.
            if (static_cast<std::size_t>(vertexCount) > scan_.remainingSize() / 2)
                return fail(at, record,
                            "the file is too short for " + std::to_string(vertexCount) +
                                " vertices");
            Polygon polygon;
            polygon.vertices.reserve(static_cast<std::size_t>(vertexCount));
            for (int k = 0; k < vertexCount; ++k) {
                int point = 0;
                if (!scan_.readInt(point) || !scan_.literal(k + 1 < vertexCount ? "," : "["))
                    return fail(at, record, layout);
                if (!checkIndex(at, record, "point", point, data.points.size(), "NGPT"))
                    return false;
                polygon.vertices.push_back(point);
            }
            if (int twice = repeatedId(polygon.vertices.begin(), polygon.vertices.end());
                twice >= 0)
                return fail(at, record, "point ID " + std::to_string(twice) + " is used twice");
            if (!scan_.readInt(polygon.material) || !scan_.literal(",") ||
                !scan_.readInt(polygon.thickness) || !scan_.literal("]\n"))
                return fail(at, record, layout);
            if (!checkIndex(at, record, "material", polygon.material, data.materials.size(),
                            "NMT") ||
                !checkIndex(at, record, "thickness", polygon.thickness, data.thicknesses.size(),
                            "NTK"))
                return false;
            data.polygons.push_back(std::move(polygon));
        }
        return true;
    }

    bool readLoads(ModelData& data) {
        int count = 0;
        if (!readCount("Number of distributed loads of polygons:NPGDL=", "distributed load", count))
            return false;
        reserve(data.polygonLoads, count, 9); // "0:0,0,0,0"
        for (int i = 0; i < count; ++i) {
            std::size_t at = scan_.position();
            PolygonLoad load;
            bool ok = scan_.readInt(load.polygon) && scan_.literal(":");
            for (std::size_t k = 0; k < 4; ++k)
                ok = ok && scan_.readDouble(load.q[k]) && scan_.literal(k < 3 ? "," : "\n");
            if (!ok)
                return fail(at, recordName("distributed load", i),
                            "expected \"<polygon>:<q0>,<q1>,<q2>,<q3>\"");
            const std::string record = recordName("distributed load", i);
            static const char* const names[] = {"q0", "q1", "q2", "q3"};
            for (std::size_t k = 0; k < 4; ++k)
                if (!checkMagnitude(at, record, names[k], load.q[k]))
                    return false;
            if (!checkIndex(at, record, "polygon", load.polygon, data.polygons.size(), "NPG"))
                return false;
            data.polygonLoads.push_back(load);
        }
        return true;
    }

    bool readNodes(ModelData& data) {
        int count = 0;
        if (!readCount("Number of nodal points:NPOIN=", "node", count))
            return false;
        reserve(data.nodes, count, 7); // "0:0,0,0"
        for (int i = 0; i < count; ++i) {
            std::size_t at = scan_.position();
            int number = 0;
            Node node;
            if (!scan_.readInt(number) || !scan_.literal(":") || !readPosition(node.position))
                return fail(at, recordName("node", i), "expected \"<n>:<x>,<y>,<z>\"");
            if (!checkMagnitudes(at, recordName("node", i), node.position))
                return false;
            data.nodes.push_back(node);
        }
        return true;
    }

    bool readElements(ModelData& data) {
        int count = 0;
        if (!readCount("Number of elements:NELEM=", "element", count))
            return false;
        reserve(data.elements, count, 11); // "0:0,1,2,3[0]"
        for (int i = 0; i < count; ++i) {
            std::size_t at = scan_.position();
            std::string record = recordName("element", i);
            int number = 0;
            Element e;
            auto& n = e.nodes;
            if (!scan_.readInt(number) || !scan_.literal(":") || !scan_.readInt(n[0]) ||
                !scan_.literal(",") || !scan_.readInt(n[1]) || !scan_.literal(",") ||
                !scan_.readInt(n[2]) || !scan_.literal(",") || !scan_.readInt(n[3]) ||
                !scan_.literal("[") || !scan_.readInt(e.polygon) || !scan_.literal("]\n"))
                return fail(at, record, "expected \"<n>:<node>,<node>,<node>,<node>[<polygon>]\"");
            for (int node : n)
                if (!checkIndex(at, record, "node", node, data.nodes.size(), "NPOIN"))
                    return false;
            if (!checkIndex(at, record, "polygon", e.polygon, data.polygons.size(), "NPG"))
                return false;
            if (int twice = repeatedId(n.begin(), n.end()); twice >= 0)
                return fail(at, record, "node ID " + std::to_string(twice) + " is used twice");
            data.elements.push_back(e);
        }
        return true;
    }

    bool readRestraints(ModelData& data) {
        int count = 0;
        if (!readCount("Number of restricted nodal points:NRN=", "restraint", count))
            return false;
        reserve(data.restraints, count, 13); // "0:0 0 0 0 0 0"
        for (int i = 0; i < count; ++i) {
            Restraint r;
            if (!readRestraint(i, data.nodes.size(), r.node, r.flags))
                return false;
            data.restraints.push_back(r);
        }
        return true;
    }

    bool readForces(ModelData& data) {
        int count = 0;
        if (!readCount("Number of forces:NFOR=", "force", count))
            return false;
        reserve(data.forces, count, 14); // "0<0,0,0,0,0,0>"
        for (int i = 0; i < count; ++i) {
            NodalForce f;
            if (!readForce(i, data.nodes.size(), f.node, f.values))
                return false;
            data.forces.push_back(f);
        }
        return true;
    }
};

} // namespace

Outcome readKvx(std::istream& in, ModelData& data, const std::string& fileName) {
    data = ModelData{};
    return KvxReader(readAllText(in), fileName).read(data);
}

Outcome readKvxFile(const std::string& path, Model& model) {
    model.clear();
    ModelData data;
    const Outcome read = readWithinMemory(path, [&] {
        std::string text;
        if (!readFileText(path, text))
            return Outcome::failure(Status::CannotOpen, std::string(kKvxReadError) + "\n" + path +
                                                            " cannot be opened for reading.");
        return KvxReader(std::move(text), path).read(data);
    });
    if (read.status == Status::WrongVersion)
        return Outcome::failure(Status::WrongVersion, kKvxVersionError);
    if (read.status == Status::CannotOpen)
        return read;
    if (!read.ok())
        return Outcome::failure(read.status, std::string(kKvxReadError) + "\n" + read.message);
    model.assign(std::move(data));
    return Outcome::success();
}

} // namespace shellfem::preprocessor
