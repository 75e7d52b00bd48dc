#include "solver/sparse_cholesky_solver.h"

#include "solver/cholmod_support.h"
#include "solver/two_domain_factor.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace shellfem {

namespace {

using Index = CholmodIndex;

// Each node's six equations kept together: ordering the node graph is 36 times
// smaller work than ordering the equations.
std::vector<Index> equationOrder(const NodeCoupling& coupling, cholmod_common& common) {
    const std::vector<Index> nodeOrder = nestedDissectionOrder(coupling, {}, common);
    std::vector<Index> order(nodeOrder.size() * kDofsPerNode);
    for (std::size_t k = 0; k < nodeOrder.size(); ++k)
        for (int d = 0; d < kDofsPerNode; ++d)
            order[k * kDofsPerNode + d] = nodeOrder[k] * kDofsPerNode + d;
    return order;
}

} // namespace

struct SparseCholeskySolver::Kernel {
    Kernel() : session(true), common(session.get()) {}
    ~Kernel() {
        cholmod_l_free_factor(&factor, &common);
        cholmod_l_free_sparse(&matrix, &common);
    }
    Kernel(const Kernel&) = delete;
    Kernel& operator=(const Kernel&) = delete;

    // K's factor in one piece, in nested-dissection order of the whole graph.
    void analyseWhole(const NodeCoupling& coupling) {
        std::vector<Index> order = equationOrder(coupling, common);
        factor = cholmod_l_analyze_p(matrix, order.data(), nullptr, 0, &common);
        throwIfOutOfMemory(common);
        if (!factor)
            throw std::bad_alloc();
        flops = common.fl;
        bytes = matrixBytes + static_cast<double>(factor->xsize) * sizeof(double) +
                static_cast<double>(factor->ssize) * sizeof(Index) +
                static_cast<double>(matrix->ncol) * 4 * sizeof(Index);
    }

    Index* columnStarts() const { return static_cast<Index*>(matrix->p); }
    Index* rows() const { return static_cast<Index*>(matrix->i); }
    double* values() const { return static_cast<double*>(matrix->x); }

    CholmodSession session;
    cholmod_common& common;
    cholmod_sparse* matrix = nullptr; // upper triangle, sorted columns
    // One of the two: K's factor on two threads, or in one piece.
    std::unique_ptr<TwoDomainFactor> twoDomains;
    cholmod_factor* factor = nullptr;
    double matrixBytes = 0.0;
    double flops = 0.0;
    double bytes = 0.0;
};

SparseCholeskySolver::SparseCholeskySolver(int nodes, const std::vector<ElementNodes>& elements,
                                           int twoDomainsFromEquations)
    : coupling_(nodes, elements), kernel_(std::make_unique<Kernel>()) {
    CholmodOnCallingThread alone;
    cholmod_common& common = kernel_->common;
    // Column 6b + d holds the six rows of every partner a < b, then rows 6b..6b + d.
    const auto equations = static_cast<std::size_t>(nodes) * kDofsPerNode;
    std::size_t entries = 0;
    for (int b = 0; b < nodes; ++b)
        entries += 36 * static_cast<std::size_t>(coupling_.partnerCount(b) - 1) + 21;
    kernel_->matrix = allocateUpperPattern(equations, entries, common);
    Index* starts = kernel_->columnStarts();
    Index* rows = kernel_->rows();
    Index next = 0;
    for (int b = 0; b < nodes; ++b)
        for (int d = 0; d < kDofsPerNode; ++d) {
            starts[kDofsPerNode * b + d] = next;
            for (std::int64_t k = coupling_.start(b); k < coupling_.start(b + 1); ++k) {
                const int a = coupling_.partners()[static_cast<std::size_t>(k)];
                const int last = a == b ? d : kDofsPerNode - 1;
                for (int s = 0; s <= last; ++s)
                    rows[next++] = static_cast<Index>(kDofsPerNode) * a + s;
            }
        }
    starts[equations] = next;

    kernel_->matrixBytes = static_cast<double>(entries) * (sizeof(double) + sizeof(Index)) +
                           static_cast<double>(equations + 1) * sizeof(Index);
    if (equations >= static_cast<std::size_t>(std::max(1, twoDomainsFromEquations)))
        kernel_->twoDomains = TwoDomainFactor::split(coupling_, *kernel_->matrix);
    if (kernel_->twoDomains) {
        kernel_->flops = kernel_->twoDomains->flops();
        kernel_->bytes = kernel_->matrixBytes + kernel_->twoDomains->bytes();
    } else {
        kernel_->analyseWhole(coupling_);
    }
}

SparseCholeskySolver::~SparseCholeskySolver() = default;

const char* SparseCholeskySolver::methodName() const {
    return "Sparse direct solution: supernodal Cholesky factorisation in nested-dissection order.";
}

bool SparseCholeskySolver::factorizesInTwoDomains() const {
    return kernel_->twoDomains != nullptr;
}

SolutionCost SparseCholeskySolver::cost() const {
    return {kernel_->bytes, kernel_->flops};
}

void SparseCholeskySolver::allocate() {
    cholmod_sparse& A = *kernel_->matrix;
    A.x = cholmod_l_calloc(A.nzmax, sizeof(double), &kernel_->common);
    if (!A.x)
        throw std::bad_alloc();
    A.xtype = CHOLMOD_REAL;
}

std::int64_t SparseCholeskySolver::address(int row, int column) const {
    const int a = row / kDofsPerNode;
    const int b = column / kDofsPerNode;
    return kernel_->columnStarts()[column] +
           static_cast<std::int64_t>(kDofsPerNode) * coupling_.partnerIndex(a, b) +
           row % kDofsPerNode;
}

void SparseCholeskySolver::addElementMatrix(const std::array<int, kElementDofs>& equations,
                                            const double* K) {
    // One search per corner pair, then plain offsets for the 6 × 6 blocks.
    std::array<std::int64_t, kNodesPerElement * kNodesPerElement> blockOffset;
    for (int p = 0; p < kNodesPerElement; ++p)
        for (int q = 0; q < kNodesPerElement; ++q) {
            const int a = equations[kDofsPerNode * p] / kDofsPerNode;
            const int b = equations[kDofsPerNode * q] / kDofsPerNode;
            blockOffset[p * kNodesPerElement + q] =
                a <= b ? kDofsPerNode * static_cast<std::int64_t>(coupling_.partnerIndex(a, b)) : 0;
        }
    const Index* starts = kernel_->columnStarts();
    double* values = kernel_->values();
    for (int j = 0; j < kElementDofs; ++j)
        for (int k = j; k < kElementDofs; ++k) {
            const bool ordered = equations[j] <= equations[k];
            const int row = ordered ? equations[j] : equations[k];
            const int column = ordered ? equations[k] : equations[j];
            const int rowCorner = (ordered ? j : k) / kDofsPerNode;
            const int columnCorner = (ordered ? k : j) / kDofsPerNode;
            values[starts[column] + blockOffset[rowCorner * kNodesPerElement + columnCorner] +
                   row % kDofsPerNode] += K[j * kElementDofs + k];
        }
}

void SparseCholeskySolver::setDiagonal(int equation, double value) {
    kernel_->values()[address(equation, equation)] = value;
}

std::optional<PivotFailure> SparseCholeskySolver::factorize(const StepDone& stepDone) {
    CholmodOnCallingThread alone;
    if (kernel_->twoDomains) {
        if (kernel_->twoDomains->factorize(*kernel_->matrix)) {
            if (stepDone)
                stepDone(0);
            return std::nullopt;
        }
        // A failed pivot is looked for again in the whole matrix's own order,
        // so that the report does not depend on how the graph was split.
        kernel_->twoDomains.reset();
        kernel_->analyseWhole(coupling_);
    }
    cholmod_common& common = kernel_->common;
    cholmod_l_factorize(kernel_->matrix, kernel_->factor, &common);
    throwIfOutOfMemory(common);
    if (stepDone)
        stepDone(0);
    const auto* order = static_cast<const Index*>(kernel_->factor->Perm);
    if (common.status == CHOLMOD_NOT_POSDEF) {
        const auto column = static_cast<int>(order[kernel_->factor->minor]);
        return PivotFailure{column, std::numeric_limits<double>::quiet_NaN(),
                            kernel_->values()[address(column, column)]};
    }
    return firstSmallPivot();
}

// The factorisation only stops at a pivot that is not positive; round-off left
// over from a zero pivot is found here, in the order of elimination.
std::optional<PivotFailure> SparseCholeskySolver::firstSmallPivot() const {
    const cholmod_factor& L = *kernel_->factor;
    const auto* order = static_cast<const Index*>(L.Perm);
    std::optional<PivotFailure> failure;
    forEachFactorColumn(L, 0, [&](std::size_t j, const double* l, const Index*, Index) {
        const auto column = static_cast<int>(order[j]);
        failure = testPivot(column, l[0] * l[0], kernel_->values()[address(column, column)]);
        return !failure;
    });
    return failure;
}

void SparseCholeskySolver::solve(const std::vector<double>& f, std::vector<double>& u,
                                 const StepDone& stepDone) {
    CholmodOnCallingThread alone;
    if (kernel_->twoDomains) {
        kernel_->twoDomains->solve(f, u);
        if (stepDone)
            stepDone(1);
        return;
    }
    cholmod_common& common = kernel_->common;
    cholmod_dense rhs{};
    rhs.nrow = rhs.nzmax = rhs.d = f.size();
    rhs.ncol = 1;
    rhs.x = const_cast<double*>(f.data());
    rhs.xtype = CHOLMOD_REAL;
    rhs.dtype = CHOLMOD_DOUBLE;
    cholmod_dense* solution = cholmod_l_solve(CHOLMOD_A, kernel_->factor, &rhs, &common);
    throwIfOutOfMemory(common);
    if (!solution)
        throw std::bad_alloc();
    const auto* x = static_cast<const double*>(solution->x);
    u.assign(x, x + f.size());
    cholmod_l_free_dense(&solution, &common);
    if (stepDone)
        stepDone(1);
}

void SparseCholeskySolver::release() {
    kernel_->twoDomains.reset();
    cholmod_l_free_factor(&kernel_->factor, &kernel_->common);
    cholmod_l_free_sparse(&kernel_->matrix, &kernel_->common);
}

} // namespace shellfem
