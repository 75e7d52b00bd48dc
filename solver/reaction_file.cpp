#include "solver/reaction_file.h"

#include "formats/number_format.h"

#include <ostream>
#include <string>

namespace shellfem {

namespace {

constexpr std::size_t kFieldWidth = 15;
constexpr std::size_t kLabelWidth = 14;
const char* const kComponents[6] = {"Fx", "Fy", "Fz", "Mx", "My", "Mz"};

void appendHeader(std::string& s, const char* first) {
    appendRight(s, first, kFieldWidth);
    for (const char* c : kComponents)
        appendRight(s, c, kFieldWidth);
    s += '\n';
}

void appendRow(std::string& s, const char* label, const Resultant& values) {
    appendRight(s, label, kLabelWidth);
    s += ':';
    for (double v : values)
        appendRightGeneral(s, v, kFieldWidth);
    s += '\n';
}

void appendVerdict(std::string& s, const ReactionBalance& b) {
    const std::size_t worst = b.worstComponent();
    s += "Residual = |loads + reactions| relative to the largest total, moments divided by L = ";
    appendGeneral(s, b.momentArm);
    s += " (the largest distance of a node from the origin).\n";
    if (b.inEquilibrium()) {
        s += "Equilibrium is met: the largest residual is ";
        appendGeneral(s, b.residuals[worst]);
        s += " (limit ";
        appendGeneral(s, kEquilibriumLimit);
        s += ").\n";
        return;
    }
    s += "Equilibrium is not met: the residual of ";
    s += kComponents[worst];
    s += " is ";
    appendGeneral(s, b.residuals[worst]);
    s += " (limit ";
    appendGeneral(s, kEquilibriumLimit);
    s += "). Check the restraints (a mechanism, or a restraint penalty too weak for the "
         "model's stiffness) and the flatness of the elements (a warped element is computed as "
         "flat and does not keep the moments in balance).\n";
}

} // namespace

void writeReactionFile(std::ostream& out, const ReactionBalance& balance) {
    std::string s;
    appendHeader(s, "Node");
    for (const NodeReaction& r : balance.nodes) {
        appendRightInt(s, r.node, kLabelWidth);
        s += ':';
        for (std::size_t d = 0; d < 6; ++d) {
            if (r.restrained[d])
                appendRightGeneral(s, r.values[d], kFieldWidth);
            else
                appendRight(s, "-", kFieldWidth);
        }
        s += '\n';
        if (s.size() > (1u << 16)) {
            out << s;
            s.clear();
        }
    }
    s += "\nTotals in global axes, moments about the origin:\n";
    appendHeader(s, "");
    appendRow(s, "Loads", balance.loads);
    appendRow(s, "Reactions", balance.reactions);
    appendRow(s, "Residual", balance.residuals);
    appendVerdict(s, balance);
    out << s;
}

} // namespace shellfem
