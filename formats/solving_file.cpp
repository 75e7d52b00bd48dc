#include "formats/solving_file.h"

#include "formats/file_text.h"
#include "formats/number_format.h"
#include "formats/record_reader.h"
#include "formats/value_limits.h"

#include <algorithm>
#include <cmath>
#include <fstream>

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
        reserve(model.materials, count, 10); // "#0:E=0Mu=0"
        for (int i = 0; i < count; ++i) {
            const std::string record = recordName("material", i);
            const char* layout = "expected \"#<n>:\", \"E=<value>\" and \"Mu=<value>\"";
            Material m;
            if (!readRecordNumberLine(record, layout) ||
                !readLabelledValue(record, "E=", m.E, layout) ||
                !readLabelledValue(record, "Mu=", m.Mu, layout))
                return false;
            model.materials.push_back(m);
        }
        return true;
    }

    // "#<n>:" on its own line; the number is not used.
    bool readRecordNumberLine(const std::string& record, const char* layout) {
        const std::size_t at = scan_.position();
        int number = 0;
        if (!scan_.literal("#") || !scan_.readInt(number) || !scan_.literal(":\n"))
            return fail(at, record, layout);
        return true;
    }

    bool readThicknesses(SolvingModel& model) {
        int count = 0;
        if (!readCount("Number of thicknesses:NTK=", "thickness", count))
            return false;
        reserve(model.thicknesses, count, 7); // "#0:TK=0"
        for (int i = 0; i < count; ++i) {
            const std::string record = recordName("thickness", i);
            const char* layout = "expected \"#<n>:\" and \"TK=<value>\"";
            double tk = 0.0;
            if (!readRecordNumberLine(record, layout) ||
                !readLabelledValue(record, "TK=", tk, layout))
                return false;
            model.thicknesses.push_back(tk);
        }
        return true;
    }

    bool readNodes(SolvingModel& model) {
        int count = 0;
        if (!readCount("Number of nodal points:NPOIN=", "node", count))
            return false;
        reserve(model.nodes, count, 7); // "0:0,0,0"
        for (int i = 0; i < count; ++i) {
            std::size_t at = scan_.position();
            int number = 0;
            Vec3 p;
            if (!scan_.readInt(number) || !scan_.literal(":") || !scan_.readDouble(p.x) ||
                !scan_.literal(",") || !scan_.readDouble(p.y) || !scan_.literal(",") ||
                !scan_.readDouble(p.z) || !scan_.literal("\n"))
                return fail(at, recordName("node", i), "expected \"<n>:<x>,<y>,<z>\"");
            if (!checkMagnitudes(at, recordName("node", i), p))
                return false;
            model.nodes.push_back(p);
        }
        return true;
    }

    bool readElements(SolvingModel& model) {
        int count = 0;
        if (!readCount("Number of elements:NELEM=", "element", count))
            return false;
        reserve(model.elements, count, 14); // "0:0,0,0,0[0,0]"
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
        reserve(model.restraints, count, 13); // "0:0 0 0 0 0 0"
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
        reserve(model.forces, count, 14); // "0<0,0,0,0,0,0>"
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
        reserve(model.loads, count, 9); // "0:0,0,0,0"
        for (int i = 0; i < count; ++i) {
            std::size_t at = scan_.position();
            DistributedLoadRecord l;
            bool ok = scan_.readInt(l.element) && scan_.literal(":");
            for (std::size_t k = 0; k < 4; ++k)
                ok = ok && scan_.readDouble(l.q[k]) && scan_.literal(k < 3 ? "," : "\n");
            if (!ok)
                return fail(at, recordName("distributed load", i),
                            "expected \"<element>:<q0>,<q1>,<q2>,<q3>\"");
            const std::string record = recordName("distributed load", i);
            static const char* const names[] = {"q0", "q1", "q2", "q3"};
            for (std::size_t k = 0; k < 4; ++k)
                if (!checkMagnitude(at, record, names[k], l.q[k]))
                    return false;
            if (!checkIndex(at, record, "element", l.element, model.elements.size(), "NELEM"))
                return false;
            model.loads.push_back(l);
        }
        return true;
    }
};

} // namespace

Outcome readSolvingFile(std::istream& in, SolvingModel& model, const std::string& fileName) {
    model = SolvingModel{};
    return SolvingFileReader(readAllText(in), fileName).read(model);
}

Outcome readSolvingFile(const std::string& path, SolvingModel& model) {
    model = SolvingModel{};
    const Outcome read = readWithinMemory(path, [&]() -> Outcome {
        std::string text;
        if (!readFileText(path, text))
            return {Status::CannotOpen, "Preprocessor file read error!"};
        return SolvingFileReader(std::move(text), path).read(model);
    });
    if (!read.ok())
        model = SolvingModel{};
    return read;
}

Outcome checkMagnitudes(const SolvingModel& model) {
    std::string problem;
    const auto check = [&](const std::string& record, const char* field, double value) {
        if (problem.empty() && !(std::isfinite(value) && withinLargestMagnitude(value)))
            problem = record + ": " + field + "=" + formatGeneral(value) +
                      " is beyond the largest magnitude accepted (" +
                      formatGeneral(kLargestMagnitude) + ")";
    };
    const auto name = [](const char* kind, std::size_t i) {
        return std::string(kind) + " " + std::to_string(i);
    };
    for (std::size_t i = 0; i < model.materials.size(); ++i) {
        check(name("material", i), "E", model.materials[i].E);
        check(name("material", i), "Mu", model.materials[i].Mu);
    }
    for (std::size_t i = 0; i < model.thicknesses.size(); ++i)
        check(name("thickness", i), "TK", model.thicknesses[i]);
    for (std::size_t i = 0; i < model.nodes.size(); ++i) {
        check(name("node", i), "x", model.nodes[i].x);
        check(name("node", i), "y", model.nodes[i].y);
        check(name("node", i), "z", model.nodes[i].z);
    }
    static const char* const forceNames[] = {"Fx", "Fy", "Fz", "Mx", "My", "Mz"};
    for (std::size_t i = 0; i < model.forces.size(); ++i)
        for (std::size_t d = 0; d < 6; ++d)
            check(name("force", i), forceNames[d], model.forces[i].values[d]);
    static const char* const loadNames[] = {"q0", "q1", "q2", "q3"};
    for (std::size_t i = 0; i < model.loads.size(); ++i)
        for (std::size_t k = 0; k < 4; ++k)
            check(name("distributed load", i), loadNames[k], model.loads[i].q[k]);
    if (!problem.empty())
        return Outcome::failure(Status::Refused, problem);
    return Outcome::success();
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
