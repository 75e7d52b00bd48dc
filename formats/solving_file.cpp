#include "formats/solving_file.h"

#include "formats/number_format.h"
#include "formats/pattern_scanner.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace shellfem {

namespace {

// Reads the file section by section. Every method returns false after storing
// a message that names the line, the record and what is wrong.
class SolvingFileReader {
public:
    SolvingFileReader(std::string text, std::string fileName)
        : scan_(std::move(text)), fileName_(std::move(fileName)) {}

    ReadResult read(SolvingModel& model) {
        if (!readHeader())
            return result_;
        if (!readMaterials(model) || !readThicknesses(model) || !readNodes(model) ||
            !readElements(model) || !readRestraints(model) || !readForces(model) ||
            !readLoads(model))
            model = SolvingModel{};
        return result_;
    }

private:
    bool fail(std::size_t at, const std::string& record, const std::string& problem,
              ReadStatus status = ReadStatus::Malformed) {
        result_.status = status;
        result_.message = fileName_ + ", " + scan_.describe(at) + "\n  " + record + ": " + problem;
        return false;
    }

    bool readHeader() {
        std::size_t at = scan_.position();
        double release = 0.0;
        if (!scan_.literal("### Quon_Shell release=") || !scan_.readDouble(release) ||
            !scan_.literal(" ###\n"))
            return fail(at, "header", "expected \"### Quon_Shell release=1.0 ###\"");
        if (release != 1.0) {
            result_.status = ReadStatus::WrongVersion;
            result_.message = "Release File Number error!";
            return false;
        }
        return true;
    }

    bool readCount(std::string_view label, const char* name, int& count) {
        std::size_t at = scan_.position();
        if (!scan_.literal(label) || !scan_.readInt(count))
            return fail(at, std::string(name) + " count",
                        "expected \"" + std::string(label) + "<count>\"");
        if (count < 0)
            return fail(at, std::string(name) + " count", "the count is negative");
        scan_.literal("\n");
        return true;
    }

    template <class T> void reserve(std::vector<T>& list, int count) {
        // A record takes at least a few characters, so a count larger than the
        // rest of the file cannot be honest: do not allocate for it.
        list.reserve(std::min<std::size_t>(static_cast<std::size_t>(count), scan_.remainingSize()));
    }

    bool checkIndex(std::size_t at, const std::string& record, const char* what, int index,
                    std::size_t size, const char* countName) {
        if (index >= 0 && static_cast<std::size_t>(index) < size)
            return true;
        return fail(at, record,
                    std::string(what) + " index " + std::to_string(index) + " is out of range (" +
                        countName + "=" + std::to_string(size) + ")");
    }

    static std::string recordName(const char* kind, std::size_t i) {
        return std::string(kind) + " " + std::to_string(i);
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
            std::size_t at = scan_.position();
            RestraintRecord r;
            bool ok = scan_.readInt(r.node) && scan_.literal(":");
            for (int& flag : r.flags)
                ok = ok && scan_.readInt(flag);
            if (!ok)
                return fail(at, recordName("restraint", i),
                            "expected \"<node>:<UX> <UY> <UZ> <RX> <RY> <RZ>\"");
            if (!checkIndex(at, recordName("restraint", i), "node", r.node, model.nodes.size(),
                            "NPOIN"))
                return false;
            scan_.literal("\n");
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
            std::size_t at = scan_.position();
            ForceRecord f;
            bool ok = scan_.readInt(f.node) && scan_.literal("<");
            for (std::size_t d = 0; d < 6; ++d)
                ok = ok && scan_.readDouble(f.values[d]) && scan_.literal(d < 5 ? "," : ">\n");
            if (!ok)
                return fail(at, recordName("force", i),
                            "expected \"<node><<Fx>,<Fy>,<Fz>,<Mx>,<My>,<Mz>>\"");
            if (!checkIndex(at, recordName("force", i), "node", f.node, model.nodes.size(),
                            "NPOIN"))
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

    PatternScanner scan_;
    std::string fileName_;
    ReadResult result_;
};

} // namespace

ReadResult readSolvingFile(std::istream& in, SolvingModel& model, const std::string& fileName) {
    model = SolvingModel{};
    std::ostringstream text;
    text << in.rdbuf();
    return SolvingFileReader(text.str(), fileName).read(model);
}

ReadResult readSolvingFile(const std::string& path, SolvingModel& model) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        model = SolvingModel{};
        return {ReadStatus::CannotOpen, "Preprocessor file read error!"};
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
