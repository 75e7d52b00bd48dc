#include "formats/stress_file.h"

#include "formats/number_format.h"
#include "formats/pattern_scanner.h"

#include <cmath>
#include <fstream>
#include <sstream>

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

bool readValues(PatternScanner& scan, double* values, std::size_t count) {
    for (std::size_t c = 0; c < count; ++c)
        if (!scan.readDouble(values[c]) || !scan.literal(c + 1 < count ? "," : "\n"))
            return false;
    return true;
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
    // the size of the file cannot be met, so refuse them before allocating.
    if (static_cast<std::size_t>(npoin) + static_cast<std::size_t>(nelem) * 9 >
        scan.remainingSize())
        return fail(scan, at, fileName,
                    "NPOIN=" + std::to_string(npoin) + " and NELEM=" + std::to_string(nelem) +
                        " do not fit in the rest of the file");
    model.nodes.resize(static_cast<std::size_t>(npoin));
    for (int i = 0; i < npoin; ++i) {
        at = scan.position();
        double xyz[3];
        if (!readValues(scan, xyz, 3))
            return fail(scan, at, fileName, "node " + std::to_string(i) + ": expected \"x,y,z\"");
        model.nodes[static_cast<std::size_t>(i)] = {xyz[0], xyz[1], xyz[2]};
    }
    model.elements.resize(static_cast<std::size_t>(nelem));
    for (int e = 0; e < nelem; ++e) {
        ContourElement& element = model.elements[static_cast<std::size_t>(e)];
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
            at = scan.position();
            if (!readValues(scan, element.top[k].data(), 7) ||
                !readValues(scan, element.bottom[k].data(), 7))
                return fail(scan, scan.position(), fileName,
                            record + ", corner " + std::to_string(k) +
                                ": expected SX,SY,SZ,TXY,TXZ,TYZ,SE");
        }
    }
    return {};
}

} // namespace

Outcome readContourFile(std::istream& in, ContourModel& model, const std::string& fileName) {
    model = ContourModel{};
    std::ostringstream text;
    text << in.rdbuf();
    PatternScanner scan(text.str());
    Outcome result = readContour(scan, model, fileName);
    if (!result.ok())
        model = ContourModel{};
    return result;
}

Outcome readContourFile(const std::string& path, ContourModel& model) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        model = ContourModel{};
        return {Status::CannotOpen, "cannot open " + path};
    }
    return readContourFile(in, model, path);
}

} // namespace shellfem
