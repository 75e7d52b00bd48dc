#include "solver/sparse_cholesky_solver.h"

#include "solver/zeroed_buffer.h"

#include <cholmod.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace shellfem {

namespace {

using Index = SuiteSparse_long;

// The factor's hundreds of megabytes, faulted in 4 KiB at a time, cost seconds
// of page faults: large blocks go into huge pages. Blocks are freed with std::free.
constexpr std::size_t kLargeBlock = std::size_t{16} << 20;

void* allocateBlock(std::size_t bytes) {
    return bytes >= kLargeBlock ? allocateInHugePages(bytes) : std::malloc(bytes);
}

void* allocateZeroedBlock(std::size_t count, std::size_t size) {
    if (size != 0 && count > std::numeric_limits<std::size_t>::max() / size)
        return nullptr;
    if (count * size < kLargeBlock)
        return std::calloc(count, size);
    void* block = allocateInHugePages(count * size);
    if (block)
        std::memset(block, 0, count * size);
    return block;
}

void useHugePagesForLargeBlocks() {
    SuiteSparse_config.malloc_func = allocateBlock;
    SuiteSparse_config.calloc_func = allocateZeroedBlock;
    SuiteSparse_config.realloc_func = std::realloc;
    SuiteSparse_config.free_func = std::free;
}

void throwIfOutOfMemory(const cholmod_common& common) {
    if (common.status == CHOLMOD_OUT_OF_MEMORY || common.status == CHOLMOD_TOO_LARGE)
        throw std::bad_alloc();
}

} // namespace

struct SparseCholeskySolver::Kernel {
    Kernel() {
        useHugePagesForLargeBlocks();
        cholmod_l_start(&common);
        // Failures come back as statuses and become this program's own messages.
        common.print = 0;
        common.error_handler = nullptr;
        common.supernodal = CHOLMOD_SUPERNODAL;
        common.nmethods = 1;
        common.method[0].ordering = CHOLMOD_GIVEN;
        common.postorder = 1;
    }
    ~Kernel() {
        cholmod_l_free_factor(&factor, &common);
        cholmod_l_free_sparse(&matrix, &common);
        cholmod_l_finish(&common);
    }
    Kernel(const Kernel&) = delete;
    Kernel& operator=(const Kernel&) = delete;

    Index* columnStarts() const { return static_cast<Index*>(matrix->p); }
    Index* rows() const { return static_cast<Index*>(matrix->i); }
    double* values() const { return static_cast<double*>(matrix->x); }

    cholmod_common common;
    cholmod_sparse* matrix = nullptr; // upper triangle, sorted columns
    cholmod_factor* factor = nullptr;
    double flops = 0.0;
    double bytes = 0.0;
};

namespace {

// The node graph as a pattern-only symmetric matrix (its upper triangle).
cholmod_sparse* nodeGraph(const NodeCoupling& coupling, cholmod_common& common) {
    const auto nodes = static_cast<std::size_t>(coupling.nodes());
    cholmod_sparse* graph = cholmod_l_allocate_sparse(nodes, nodes, coupling.partners().size(), 1,
                                                      1, 1, CHOLMOD_PATTERN, &common);
    if (!graph)
        throw std::bad_alloc();
    auto* p = static_cast<Index*>(graph->p);
    auto* i = static_cast<Index*>(graph->i);
    for (std::size_t n = 0; n <= nodes; ++n)
        p[n] = coupling.start(static_cast<int>(n));
    for (std::size_t k = 0; k < coupling.partners().size(); ++k)
        i[k] = coupling.partners()[k];
    return graph;
}

// Nested dissection of the node graph, each node's six equations kept together:
// ordering the graph is 36 times smaller work than ordering the equations.
std::vector<Index> equationOrder(const NodeCoupling& coupling, cholmod_common& common) {
    cholmod_sparse* graph = nodeGraph(coupling, common);
    std::vector<Index> nodeOrder(static_cast<std::size_t>(coupling.nodes()));
    const bool ordered = cholmod_l_metis(graph, nullptr, 0, 1, nodeOrder.data(), &common) ||
                         cholmod_l_amd(graph, nullptr, 0, nodeOrder.data(), &common);
    cholmod_l_free_sparse(&graph, &common);
    throwIfOutOfMemory(common);
    if (!ordered)
        for (std::size_t n = 0; n < nodeOrder.size(); ++n)
            nodeOrder[n] = static_cast<Index>(n);
    std::vector<Index> order(nodeOrder.size() * kDofsPerNode);
    for (std::size_t k = 0; k < nodeOrder.size(); ++k)
        for (int d = 0; d < kDofsPerNode; ++d)
            order[k * kDofsPerNode + d] = nodeOrder[k] * kDofsPerNode + d;
    return order;
}

} // namespace

SparseCholeskySolver::SparseCholeskySolver(int nodes, const std::vector<ElementNodes>& elements)
    : coupling_(nodes, elements), kernel_(std::make_unique<Kernel>()) {
    cholmod_common& common = kernel_->common;
    // Column 6b + d holds the six rows of every partner a < b, then rows 6b..6b + d.
    const auto equations = static_cast<std::size_t>(nodes) * kDofsPerNode;
    std::size_t entries = 0;
    for (int b = 0; b < nodes; ++b)
        entries += 36 * static_cast<std::size_t>(coupling_.partnerCount(b) - 1) + 21;
    kernel_->matrix =
        cholmod_l_allocate_sparse(equations, equations, entries, 1, 1, 1, CHOLMOD_PATTERN, &common);
    if (!kernel_->matrix)
        throw std::bad_alloc();
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

    std::vector<Index> order = equationOrder(coupling_, common);
    kernel_->factor = cholmod_l_analyze_p(kernel_->matrix, order.data(), nullptr, 0, &common);
    throwIfOutOfMemory(common);
    if (!kernel_->factor)
        throw std::bad_alloc();
    const cholmod_factor& L = *kernel_->factor;
    kernel_->flops = common.fl;
    kernel_->bytes = static_cast<double>(entries) * (sizeof(double) + sizeof(Index)) +
                     static_cast<double>(equations + 1) * sizeof(Index) +
                     static_cast<double>(L.xsize) * sizeof(double) +
                     static_cast<double>(L.ssize) * sizeof(Index) +
                     static_cast<double>(equations) * 4 * sizeof(Index);
}

SparseCholeskySolver::~SparseCholeskySolver() = default;

const char* SparseCholeskySolver::methodName() const {
    return "Sparse direct solution: supernodal Cholesky factorisation in nested-dissection order.";
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
    const auto* super = static_cast<const Index*>(L.super);
    const auto* rowStarts = static_cast<const Index*>(L.pi);
    const auto* valueStarts = static_cast<const Index*>(L.px);
    const auto* x = static_cast<const double*>(L.x);
    const auto* order = static_cast<const Index*>(L.Perm);
    for (std::size_t s = 0; s < L.nsuper; ++s) {
        const Index height = rowStarts[s + 1] - rowStarts[s];
        for (Index j = super[s]; j < super[s + 1]; ++j) {
            const double l = x[valueStarts[s] + (j - super[s]) * (height + 1)];
            const double pivot = l * l;
            const auto column = static_cast<int>(order[j]);
            const double original = kernel_->values()[address(column, column)];
            if (!(original > 0.0) || !std::isfinite(pivot) ||
                !(pivot > kSmallestPivotRatio * original))
                return PivotFailure{column, pivot, original};
        }
    }
    return std::nullopt;
}

void SparseCholeskySolver::solve(const std::vector<double>& f, std::vector<double>& u,
                                 const StepDone& stepDone) {
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
    cholmod_l_free_factor(&kernel_->factor, &kernel_->common);
    cholmod_l_free_sparse(&kernel_->matrix, &kernel_->common);
}

} // namespace shellfem
