#include "formats/stress_file.h"

#include "formats/file_text.h"
#include "formats/number_format.h"
#include "formats/pattern_scanner.h"
#include "formats/value_limits.h"

#include <algorithm>
#include <cmath>

namespace shellfem {

double equivalentStress(double sx, double sy, double sz, double txy, double txz, double tyz) {
    return std::sqrt(((sx - sy) * (sx - sy) + (sy - sz) * (sy - sz) + (sz - sx) * (sz - sx) +
                      6.0 * (txy * txy + txz * txz + tyz * tyz)) /
                     2.0);
}

namespace {

void appendValues(std::string& s, const StressValues& v) {
    for (std::size_t c = 0; c < v.size(); ++c) {
        if (c > 0)
            s += ',';
        appendGeneral(s, v[c]);
    }
    s += '\n';
}

} // namespace

void writeContourFile(std::ostream& out, const ContourModel& model) {
    std::string s;
    s += "NPOIN=";
    appendInt(s, static_cast<long long>(model.nodes.size()));
    s += "\nNELEM=";
    appendInt(s, static_cast<long long>(model.elements.size()));
    s += '\n';
    for (const Vec3& p : model.nodes) {
        appendGeneral(s, p.x);
        s += ',';
        appendGeneral(s, p.y);
        s += ',';
        appendGeneral(s, p.z);
        s += '\n';
    }
    out << s;
    for (const ContourElement& e : model.elements) {
        s.clear();
        for (std::size_t k = 0; k < 4; ++k) {
            appendInt(s, e.nodes[k]);
            s += k < 3 ? ',' : '\n';
        }
        for (std::size_t k = 0; k < 4; ++k) {
            appendValues(s, e.top[k]);
            appendValues(s, e.bottom[k]);
        }
        out << s;
    }
}

namespace {

Outcome fail(const PatternScanner& scan, std::size_t at, const std::string& fileName,
             const std::string& problem) {
    return {Status::Malformed, fileName + ", " + scan.describe(at) + "\n  " + problem};
}

// One line of `count` numbers separated by commas, each within kLargestMagnitude;
// on failure the message names that line.
Outcome readValues(PatternScanner& scan, double* values, std::size_t count,
                   const std::string& fileName, const std::string& what) {
    const std::size_t at = scan.position();
    for (std::size_t c = 0; c < count; ++c)
        if (!scan.readDouble(values[c]) || !scan.literal(c + 1 < count ? "," : "\n"))
            return fail(scan, at, fileName, what);
    for (std::size_t c = 0; c < count; ++c)
        if (!withinLargestMagnitude(values[c]))
            return fail(scan, at, fileName,
                        formatGeneral(values[c]) + " is beyond the largest magnitude accepted (" +
                            formatGeneral(kLargestMagnitude) + ")");
    return {};
}

// Room for `count` records of at least `shortest` characters each, but never for more
// than the rest of the text can hold: memory follows what the file holds.
template <class T>
void reserveFor(std::vector<T>& list, int count, const PatternScanner& scan, std::size_t shortest) {
    list.reserve(std::min(static_cast<std::size_t>(count), scan.remainingSize() / shortest));
}

Outcome readContour(PatternScanner& scan, ContourModel& model, const std::string& fileName) {
    int npoin = 0;
    int nelem = 0;
    std::size_t at = scan.position();
    if (!scan.literal("NPOIN=") || !scan.readInt(npoin) || !scan.literal("\n") || npoin < 0)
        return fail(scan, at, fileName, "expected \"NPOIN=<count>\" with a count of 0 or more");
    at = scan.position();
    if (!scan.literal("NELEM=") || !scan.readInt(nelem) || !scan.literal("\n") || nelem < 0)
        return fail(scan, at, fileName, "expected \"NELEM=<count>\" with a count of 0 or more");
    // Every node line and element block takes several characters: counts beyond
    // the size of the file cannot be met.
    if (static_cast<std::size_t>(npoin) + static_cast<std::size_t>(nelem) * 9 >
        scan.remainingSize())
        return fail(scan, at, fileName,
                    "NPOIN=" + std::to_string(npoin) + " and NELEM=" + std::to_string(nelem) +
                        " do not fit in the rest of the file");
    reserveFor(model.nodes, npoin, scan, 5); // "0,0,0"
    for (int i = 0; i < npoin; ++i) {
        double xyz[3];
        if (Outcome read = readValues(scan, xyz, 3, fileName,
                                      "node " + std::to_string(i) + ": expected \"x,y,z\"");
            !read.ok())
            return read;
        model.nodes.push_back({xyz[0], xyz[1], xyz[2]});
    }
    // "0,1,2,3" and eight lines "0,0,0,0,0,0,0".
    reserveFor(model.elements, nelem, scan, 7 + 8 * 13);
    for (int e = 0; e < nelem; ++e) {
        ContourElement element;
        std::string record = "element " + std::to_string(e);
        at = scan.position();
        for (std::size_t k = 0; k < 4; ++k) {
            int& node = element.nodes[k];
            if (!scan.readInt(node) || !scan.literal(k < 3 ? "," : "\n"))
                return fail(scan, at, fileName,
                            record + ": expected four node numbers \"n0,n1,n2,n3\"");
            if (node < 0 || node >= npoin)
                return fail(scan, at, fileName,
                            record + ": node " + std::to_string(node) +
                                " is out of range (NPOIN=" + std::to_string(npoin) + ")");
        }
        for (std::size_t k = 0; k < 4; ++k) {
            const std::string what =
                record + ", corner " + std::to_string(k) + ": expected SX,SY,SZ,TXY,TXZ,TYZ,SE";
            for (StressValues* surface : {&element.top[k], &element.bottom[k]})
                if (Outcome read = readValues(scan, surface->data(), 7, fileName, what); !read.ok())
                    return read;
        }
        model.elements.push_back(element);
    }
    return {};
}

Outcome readContourText(std::string text, ContourModel& model, const std::string& fileName) {
    model = ContourModel{};
    PatternScanner scan(std::move(text));
    Outcome result = readContour(scan, model, fileName);
    if (!result.ok())
        model = ContourModel{};
    return result;
}

} // namespace

Outcome readContourFile(std::istream& in, ContourModel& model, const std::string& fileName) {
    return readContourText(readAllText(in), model, fileName);
}

Outcome readContourFile(const std::string& path, ContourModel& model) {
    const Outcome read = readWithinMemory(path, [&]() -> Outcome {
        std::string text;
        if (!readFileText(path, text))
            return {Status::CannotOpen, "cannot open " + path};
        return readContourText(std::move(text), model, path);
    });
    if (!read.ok())
        model = ContourModel{};
    return read;
}

} // namespace shellfem
