#include "formats/solving_file.h"

#include "formats/number_format.h"
#include "formats/record_reader.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace shellfem {

namespace {

// Reads the file section by section. Every method returns false after storing
// a message that names the line, the record and what is wrong.
class SolvingFileReader : public RecordReader {
public:
    SolvingFileReader(std::string text, std::string fileName)
        : RecordReader(std::move(text), std::move(fileName), "index") {}

    Outcome read(SolvingModel& model) {
        if (!readHeader())
            return result();
        if (!readMaterials(model) || !readThicknesses(model) || !readNodes(model) ||
            !readElements(model) || !readRestraints(model) || !readForces(model) ||
            !readLoads(model))
            model = SolvingModel{};
        return result();
    }

private:
    bool readHeader() {
        std::size_t at = scan_.position();
        double release = 0.0;
        if (!scan_.literal("### Quon_Shell release=") || !scan_.readDouble(release) ||
            !scan_.literal(" ###\n"))
            return fail(at, "header", "expected \"### Quon_Shell release=1.0 ###\"");
        if (release != 1.0)
            return failVersion("Release File Number error!");
        return true;
    }

    bool readMaterials(SolvingModel& model) {
        int count = 0;
        if (!scan_.literal("Shell\n"))
            return fail(scan_.position(), "header", "expected the line \"Shell\"");
        if (!readCount("Number of materials:NMT=", "material", count))
            return false;
        reserve(model.materials, count);
        for (int i = 0; i < count; ++i) {
            int number = 0;
            Material m;
            if (!scan_.literal("#") || !scan_.readInt(number) || !scan_.literal(":\n") ||
                !scan_.literal("E=") || !scan_.readDouble(m.E) || !scan_.literal("\n") ||
                !scan_.literal("Mu=") || !scan_.readDouble(m.Mu) || !scan_.literal("\n"))
                return fail(scan_.position(), recordName("material", i),
                            "expected \"#<n>:\", \"E=<value>\" and \"Mu=<value>\"");
            model.materials.push_back(m);
        }
        return true;
    }

    bool readThicknesses(SolvingModel& model) {
        int count = 0;
        if (!readCount("Number of thicknesses:NTK=", "thickness", count))
            return false;
        reserve(model.thicknesses, count);
        for (int i = 0; i < count; ++i) {
            int number = 0;
            double tk = 0.0;
            if (!scan_.literal("#") || !scan_.readInt(number) || !scan_.literal(":\n") ||
                !scan_.literal("TK=") || !scan_.readDouble(tk) || !scan_.literal("\n"))
                return fail(scan_.position(), recordName("thickness", i),
                            "expected \"#<n>:\" and \"TK=<value>\"");
            model.thicknesses.push_back(tk);
        }
        return true;
    }

    bool readNodes(SolvingModel& model) {
        int count = 0;
        if (!readCount("Number of nodal points:NPOIN=", "node", count))
            return false;
        reserve(model.nodes, count);
        for (int i = 0; i < count; ++i) {
            std::size_t at = scan_.position();
            int number = 0;
            Vec3 p;
            if (!scan_.readInt(number) || !scan_.literal(":") || !scan_.readDouble(p.x) ||
                !scan_.literal(",") || !scan_.readDouble(p.y) || !scan_.literal(",") ||
                !scan_.readDouble(p.z) || !scan_.literal("\n"))
                return fail(at, recordName("node", i), "expected \"<n>:<x>,<y>,<z>\"");
            model.nodes.push_back(p);
        }
        return true;
    }

    bool readElements(SolvingModel& model) {
        int count = 0;
        if (!readCount("Number of elements:NELEM=", "element", count))
            return false;
        reserve(model.elements, count);
        for (int i = 0; i < count; ++i) {
            std::size_t at = scan_.position();
            int number = 0;
            ElementRecord e;
            auto& n = e.nodes;
            if (!scan_.readInt(number) || !scan_.literal(":") || !scan_.readInt(n[0]) ||
                !scan_.literal(",") || !scan_.readInt(n[1]) || !scan_.literal(",") ||
                !scan_.readInt(n[2]) || !scan_.literal(",") || !scan_.readInt(n[3]) ||
                !scan_.literal("[") || !scan_.readInt(e.material) || !scan_.literal(",") ||
                !scan_.readInt(e.thickness) || !scan_.literal("]\n"))
                return fail(at, recordName("element", i),
                            "expected \"<n>:<node>,<node>,<node>,<node>[<material>,<thickness>]\"");
            std::string record = recordName("element", i);
            for (int node : n)
                if (!checkIndex(at, record, "node", node, model.nodes.size(), "NPOIN"))
                    return false;
            if (!checkIndex(at, record, "material", e.material, model.materials.size(), "NMT") ||
                !checkIndex(at, record, "thickness", e.thickness, model.thicknesses.size(), "NTK"))
                return false;
            model.elements.push_back(e);
        }
        return true;
    }

    bool readRestraints(SolvingModel& model) {
        int count = 0;
        if (!readCount("Number of restricted nodal points:NRN=", "restraint", count))
            return false;
        reserve(model.restraints, count);
        for (int i = 0; i < count; ++i) {
            RestraintRecord r;
            if (!readRestraint(i, model.nodes.size(), r.node, r.flags))
                return false;
            model.restraints.push_back(r);
        }
        return true;
    }

    bool readForces(SolvingModel& model) {
        int count = 0;
        if (!readCount("Number of forces:NFOR=", "force", count))
            return false;
        reserve(model.forces, count);
        for (int i = 0; i < count; ++i) {
            ForceRecord f;
            if (!readForce(i, model.nodes.size(), f.node, f.values))
                return false;
            model.forces.push_back(f);
        }
        return true;
    }

    bool readLoads(SolvingModel& model) {
        int count = 0;
        if (!readCount("Number of distributed loads:NDL=", "distributed load", count))
            return false;
        reserve(model.loads, count);
        for (int i = 0; i < count; ++i) {
            std::size_t at = scan_.position();
            DistributedLoadRecord l;
            bool ok = scan_.readInt(l.element) && scan_.literal(":");
            for (std::size_t k = 0; k < 4; ++k)
                ok = ok && scan_.readDouble(l.q[k]) && scan_.literal(k < 3 ? "," : "\n");
            if (!ok)
                return fail(at, recordName("distributed load", i),
                            "expected \"<element>:<q0>,<q1>,<q2>,<q3>\"");
            if (!checkIndex(at, recordName("distributed load", i), "element", l.element,
                            model.elements.size(), "NELEM"))
                return false;
            model.loads.push_back(l);
        }
        return true;
    }
};

} // namespace

Outcome readSolvingFile(std::istream& in, SolvingModel& model, const std::string& fileName) {
    model = SolvingModel{};
    std::ostringstream text;
    text << in.rdbuf();
    return SolvingFileReader(text.str(), fileName).read(model);
}

Outcome readSolvingFile(const std::string& path, SolvingModel& model) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        model = SolvingModel{};
        return {Status::CannotOpen, "Preprocessor file read error!"};
    }
    return readSolvingFile(in, model, path);
}

void writeSolvingFile(std::ostream& out, const SolvingModel& model) {
    std::string s;
    auto line = [&s] { s += '\n'; };
    s += "### Quon_Shell release=1.0 ###\nShell\n";
    s += "Number of materials:NMT=";
    appendInt(s, static_cast<long long>(model.materials.size()));
    line();
    for (std::size_t i = 0; i < model.materials.size(); ++i) {
        s += '#';
        appendInt(s, static_cast<long long>(i));
        s += ":\nE=";
        appendExact(s, model.materials[i].E);
        s += "\nMu=";
        appendExact(s, model.materials[i].Mu);
        line();
    }
    s += "Number of thicknesses:NTK=";
    appendInt(s, static_cast<long long>(model.thicknesses.size()));
    line();
    for (std::size_t i = 0; i < model.thicknesses.size(); ++i) {
        s += '#';
        appendInt(s, static_cast<long long>(i));
        s += ":\nTK=";
        appendExact(s, model.thicknesses[i]);
        line();
    }
    s += "Number of nodal points:NPOIN=";
    appendInt(s, static_cast<long long>(model.nodes.size()));
    line();
    for (std::size_t i = 0; i < model.nodes.size(); ++i) {
        appendInt(s, static_cast<long long>(i));
        s += ':';
        appendExact(s, model.nodes[i].x);
        s += ',';
        appendExact(s, model.nodes[i].y);
        s += ',';
        appendExact(s, model.nodes[i].z);
        line();
    }
    s += "Number of elements:NELEM=";
    appendInt(s, static_cast<long long>(model.elements.size()));
    line();
    for (std::size_t i = 0; i < model.elements.size(); ++i) {
        const ElementRecord& e = model.elements[i];
        appendInt(s, static_cast<long long>(i));
        s += ':';
        for (std::size_t k = 0; k < 4; ++k) {
            appendInt(s, e.nodes[k]);
            s += k < 3 ? ',' : '[';
        }
        appendInt(s, e.material);
        s += ',';
        appendInt(s, e.thickness);
        s += "]\n";
    }
    s += "Number of restricted nodal points:NRN=";
    appendInt(s, static_cast<long long>(model.restraints.size()));
    line();
    for (const RestraintRecord& r : model.restraints) {
        appendInt(s, r.node);
        s += ':';
        for (std::size_t d = 0; d < 6; ++d) {
            appendInt(s, r.flags[d]);
            s += d < 5 ? ' ' : '\n';
        }
    }
    s += "Number of forces:NFOR=";
    appendInt(s, static_cast<long long>(model.forces.size()));
    line();
    for (const ForceRecord& f : model.forces) {
        appendInt(s, f.node);
        s += '<';
        for (std::size_t d = 0; d < 6; ++d) {
            appendExact(s, f.values[d]);
            s += d < 5 ? "," : ">\n";
        }
    }
    s += "Number of distributed loads:NDL=";
    appendInt(s, static_cast<long long>(model.loads.size()));
    line();
    for (const DistributedLoadRecord& l : model.loads) {
        appendInt(s, l.element);
        s += ':';
        for (std::size_t k = 0; k < 4; ++k) {
            appendExact(s, l.q[k]);
            s += k < 3 ? "," : "\n";
        }
    }
    out << s;
}

bool writeSolvingFile(const std::string& path, const SolvingModel& model) {
    std::ofstream out(path, std::ios::binary);
    if (!out)
        return false;
    writeSolvingFile(out, model);
    out.flush();
    return static_cast<bool>(out);
}

} // namespace shellfem
