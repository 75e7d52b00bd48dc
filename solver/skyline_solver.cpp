#include "solver/skyline_solver.h"

namespace shellfem {

double skylineBytes(const SkylineProfile& profile) {
    return static_cast<double>(profile.entries()) * sizeof(double);
}

SkylineSolver::SkylineSolver(const SkylineProfile& profile) : profile_(profile) {}

SolutionCost SkylineSolver::cost() const {
    return {skylineBytes(profile_), factorizationFlops(profile_)};
}

void SkylineSolver::allocate() {
    matrix_ = std::make_unique<SkylineMatrix>(profile_);
}

void SkylineSolver::addElementMatrix(const std::array<int, kElementDofs>& equations,
                                     const double* K) {
    matrix_->addElementMatrix(equations, K);
}

void SkylineSolver::setDiagonal(int equation, double value) {
    matrix_->diagonal(equation) = value;
}

std::optional<PivotFailure> SkylineSolver::factorize(const StepDone& stepDone) {
    if (!stepDone)
        return factorizeLDLT(*matrix_);
    return factorizeLDLT(*matrix_, [&](int j) { stepDone(j); });
}

void SkylineSolver::solve(const std::vector<double>& f, std::vector<double>& u, const StepDone&) {
    std::vector<double> reduced = f;
    forwardReduce(*matrix_, reduced);
    backSubstitute(*matrix_, reduced, u);
}

} // namespace shellfem
