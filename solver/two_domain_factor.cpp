#include "solver/two_domain_factor.h"

#include "solver/blas_threads.h"
#include "solver/ldlt_solver.h"
#include "solver/shell_element.h"
#include "solver/thread_team.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <new>

extern "C" {
void dpotrf_(const char* uplo, const int* n, double* a, const int* lda, int* info);
void dpotrs_(const char* uplo, const int* n, const int* nrhs, const double* a, const int* lda,
             double* b, const int* ldb, int* info);
}

namespace shellfem {

namespace {

constexpr CholmodIndex kSeparator = 2; // the bisection's mark of a separator node

// Runs task(0) and task(1) on two threads, each BLAS call on its caller's own
// thread, and rethrows the first exception a task threw.
void onBothDomains(const std::function<void(int)>& task) {
    BlasThreads oneEach(1);
    std::exception_ptr failure[2];
    runOnTeam(2, [&](int thread, ThreadTeam& team) {
        for (int d = thread; d < 2; d += team.size)
            try {
                CholmodOnCallingThread alone;
                task(d);
            } catch (...) {
                failure[d] = std::current_exception();
            }
    });
    for (const std::exception_ptr& f : failure)
        if (f)
            std::rethrow_exception(f);
}

const CholmodIndex* columnStarts(const cholmod_sparse& K) {
    return static_cast<const CholmodIndex*>(K.p);
}
const CholmodIndex* rows(const cholmod_sparse& K) {
    return static_cast<const CholmodIndex*>(K.i);
}
const double* values(const cholmod_sparse& K) {
    return static_cast<const double*>(K.x);
}
// Columns are sorted and hold rows up to the diagonal, which comes last.
double diagonal(const cholmod_sparse& K, CholmodIndex equation) {
    return values(K)[columnStarts(K)[equation + 1] - 1];
}

int lapackSize(std::size_t n) {
    return std::max(1, static_cast<int>(n));
}

} // namespace

class TwoDomainFactor::Domain {
public:
    // The domain of the nodes n with partition[n] == part or kSeparator.
    Domain(const NodeCoupling& coupling, const cholmod_sparse& K,
           const std::vector<CholmodIndex>& partition, CholmodIndex part)
        : session_(false), local_(partition.size(), -1) {
        std::vector<CholmodIndex> partLocal(partition.size(), -1);
        std::vector<CholmodIndex> partNodes;
        std::vector<CholmodIndex> separatorNodes;
        CholmodIndex next = 0;
        for (std::size_t n = 0; n < partition.size(); ++n) {
            if (partition[n] != part && partition[n] != kSeparator)
                continue;
            local_[n] = next++;
            for (int d = 0; d < kDofsPerNode; ++d)
                equations_.push_back(kDofsPerNode * static_cast<CholmodIndex>(n) + d);
            if (partition[n] == part) {
                partLocal[n] = static_cast<CholmodIndex>(partNodes.size());
                partNodes.push_back(static_cast<CholmodIndex>(n));
            } else {
                separatorNodes.push_back(static_cast<CholmodIndex>(n));
            }
        }
        partEquations_ = kDofsPerNode * partNodes.size();
        auto addNode = [this](CholmodIndex node) {
            for (int d = 0; d < kDofsPerNode; ++d)
                order_.push_back(kDofsPerNode * local_[static_cast<std::size_t>(node)] + d);
        };
        for (CholmodIndex k : nestedDissectionOrder(coupling, partLocal, session_.get()))
            addNode(partNodes[static_cast<std::size_t>(k)]);
        for (CholmodIndex node : separatorNodes)
            addNode(node);
        buildPattern(K);
        factor_ = cholmod_l_analyze_p(matrix_, order_.data(), nullptr, 0, &session_.get());
        throwIfOutOfMemory(session_.get());
        if (!factor_)
            throw std::bad_alloc();
        flops_ = session_->fl;
    }
    ~Domain() {
        cholmod_l_free_factor(&factor_, &session_.get());
        cholmod_l_free_sparse(&matrix_, &session_.get());
    }
    Domain(const Domain&) = delete;
    Domain& operator=(const Domain&) = delete;

    std::size_t separatorSize() const { return order_.size() - partEquations_; }
    // Global equation of the k-th separator row, the same in both domains.
    CholmodIndex separatorEquation(std::size_t k) const {
        return equations_[static_cast<std::size_t>(order_[partEquations_ + k])];
    }
    double flops() const { return flops_; }
    double bytes() const {
        const double s = static_cast<double>(separatorSize());
        return static_cast<double>(matrix_->nzmax) * (sizeof(double) + sizeof(CholmodIndex)) +
               static_cast<double>(factor_->xsize) * sizeof(double) +
               static_cast<double>(factor_->ssize) * sizeof(CholmodIndex) +
               static_cast<double>(local_.size() + 2 * order_.size()) * sizeof(CholmodIndex) +
               s * s * sizeof(double);
    }
    const std::vector<double>& trailing() const { return trailing_; }

    // B = L·Lᵀ with K's values; false when a pivot of the part fails. Keeps T.
    bool factorize(const cholmod_sparse& K) {
        copyValues(K);
        cholmod_l_factorize(matrix_, factor_, &session_.get());
        throwIfOutOfMemory(session_.get());
        if (session_->status == CHOLMOD_NOT_POSDEF || !partPivotsSound(K))
            return false;
        keepTrailing();
        return true;
    }

    // Solves L·[y; w] = [f_part; 0], keeps y and returns T·w = −LS·y in `separator`.
    void forward(const std::vector<double>& f, std::vector<double>& separator) {
        std::vector<double> rhs(order_.size(), 0.0);
        for (std::size_t k = 0; k < partEquations_; ++k)
            rhs[k] = f[static_cast<std::size_t>(globalInOrder(k))];
        solveWith(CHOLMOD_L, rhs);
        kept_ = std::move(rhs);
        separator.assign(kept_.begin() + static_cast<std::ptrdiff_t>(partEquations_), kept_.end());
        multiplyByTrailing(CblasNoTrans, separator);
    }

    // Solves Lᵀ·[x; xS] = [y; Tᵀ·xS] and scatters x into u.
    void backward(const std::vector<double>& separatorSolution, std::vector<double>& u) {
        std::vector<double> tail(separatorSolution);
        multiplyByTrailing(CblasTrans, tail);
        std::copy(tail.begin(), tail.end(),
                  kept_.begin() + static_cast<std::ptrdiff_t>(partEquations_));
        solveWith(CHOLMOD_Lt, kept_);
        for (std::size_t k = 0; k < partEquations_; ++k)
            u[static_cast<std::size_t>(globalInOrder(k))] = kept_[k];
        kept_.clear();
    }

private:
    CholmodIndex localEquation(CholmodIndex global) const {
        const CholmodIndex node = local_[static_cast<std::size_t>(global / kDofsPerNode)];
        return node < 0 ? -1 : kDofsPerNode * node + global % kDofsPerNode;
    }
    CholmodIndex globalInOrder(std::size_t k) const {
        return equations_[static_cast<std::size_t>(order_[k])];
    }

    // Calls entry(position in K) for each entry of K inside the domain, column by column.
    template <class Entry> void forEachEntry(const cholmod_sparse& K, Entry entry) const {
        for (CholmodIndex e : equations_)
            for (CholmodIndex p = columnStarts(K)[e]; p < columnStarts(K)[e + 1]; ++p)
                if (localEquation(rows(K)[p]) >= 0)
                    entry(p);
    }

    void buildPattern(const cholmod_sparse& K) {
        std::size_t entries = 0;
        forEachEntry(K, [&](CholmodIndex) { ++entries; });
        const std::size_t n = equations_.size();
        matrix_ = allocateUpperPattern(n, entries, session_.get());
        auto* p = static_cast<CholmodIndex*>(matrix_->p);
        auto* i = static_cast<CholmodIndex*>(matrix_->i);
        CholmodIndex next = 0;
        for (std::size_t c = 0; c < n; ++c) {
            p[c] = next;
            const CholmodIndex e = equations_[c];
            for (CholmodIndex q = columnStarts(K)[e]; q < columnStarts(K)[e + 1]; ++q) {
                const CholmodIndex row = localEquation(rows(K)[q]);
                if (row >= 0)
                    i[next++] = row;
            }
        }
        p[n] = next;
    }

    void copyValues(const cholmod_sparse& K) {
        if (matrix_->xtype == CHOLMOD_PATTERN) {
            matrix_->x = cholmod_l_malloc(matrix_->nzmax, sizeof(double), &session_.get());
            if (!matrix_->x)
                throw std::bad_alloc();
            matrix_->xtype = CHOLMOD_REAL;
        }
        auto* x = static_cast<double*>(matrix_->x);
        std::size_t next = 0;
        forEachEntry(K, [&](CholmodIndex p) { x[next++] = values(K)[p]; });
    }

    bool partPivotsSound(const cholmod_sparse& K) const {
        bool sound = true;
        forEachFactorColumn(*factor_, 0,
                            [&](std::size_t j, const double* l, const CholmodIndex*, CholmodIndex) {
                                sound = j >= partEquations_ ||
                                        !testPivot(0, l[0] * l[0], diagonal(K, globalInOrder(j)));
                                return sound && j + 1 < partEquations_;
                            });
        return sound;
    }

    void keepTrailing() {
        const std::size_t s = separatorSize();
        trailing_.assign(s * s, 0.0);
        forEachFactorColumn(
            *factor_, partEquations_,
            [&](std::size_t j, const double* l, const CholmodIndex* row, CholmodIndex count) {
                for (CholmodIndex r = 0; r < count; ++r)
                    trailing_[static_cast<std::size_t>(row[r]) - partEquations_ +
                              (j - partEquations_) * s] = l[r];
                return true;
            });
    }

    void multiplyByTrailing(CBLAS_TRANSPOSE transpose, std::vector<double>& v) const {
        if (!v.empty())
            cblas_dtrmv(CblasColMajor, CblasLower, transpose, CblasNonUnit,
                        static_cast<int>(v.size()), trailing_.data(), lapackSize(v.size()),
                        v.data(), 1);
    }

    void solveWith(int system, std::vector<double>& v) {
        cholmod_dense rhs{};
        rhs.nrow = rhs.nzmax = rhs.d = v.size();
        rhs.ncol = 1;
        rhs.x = v.data();
        rhs.xtype = CHOLMOD_REAL;
        rhs.dtype = CHOLMOD_DOUBLE;
        cholmod_dense* solution = cholmod_l_solve(system, factor_, &rhs, &session_.get());
        throwIfOutOfMemory(session_.get());
        if (!solution)
            throw std::bad_alloc();
        const auto* x = static_cast<const double*>(solution->x);
        std::copy(x, x + v.size(), v.begin());
        cholmod_l_free_dense(&solution, &session_.get());
    }

    CholmodSession session_;
    std::vector<CholmodIndex> local_;     // local node of each global node, or −1
    std::vector<CholmodIndex> equations_; // global equation of each local one, ascending
    std::vector<CholmodIndex> order_;     // local equation eliminated k-th: the part's, then S's
    std::size_t partEquations_ = 0;
    cholmod_sparse* matrix_ = nullptr; // B, upper triangle
    cholmod_factor* factor_ = nullptr;
    double flops_ = 0.0;
    std::vector<double> trailing_; // T, lower, column-major
    std::vector<double> kept_;     // [y; ·] between the two substitutions
};

TwoDomainFactor::TwoDomainFactor() = default;
TwoDomainFactor::~TwoDomainFactor() = default;

std::unique_ptr<TwoDomainFactor> TwoDomainFactor::split(const NodeCoupling& coupling,
                                                        const cholmod_sparse& K) {
    const auto nodes = static_cast<std::size_t>(coupling.nodes());
    std::vector<CholmodIndex> partition(nodes);
    {
        CholmodSession session(false);
        cholmod_sparse* graph = nodeGraph(coupling, {}, session.get());
        const CholmodIndex separator =
            cholmod_l_bisect(graph, nullptr, 0, 1, partition.data(), &session.get());
        cholmod_l_free_sparse(&graph, &session.get());
        throwIfOutOfMemory(session.get());
        if (separator < 0)
            return nullptr;
    }
    std::size_t partSize[2] = {0, 0};
    for (CholmodIndex p : partition)
        if (p != kSeparator)
            ++partSize[p];
    if (std::min(partSize[0], partSize[1]) < std::max<std::size_t>(1, nodes / 4))
        return nullptr;
    for (int b = 0; b < coupling.nodes(); ++b)
        for (std::int64_t k = coupling.start(b); k < coupling.start(b + 1); ++k) {
            const CholmodIndex pa = partition[static_cast<std::size_t>(coupling.partners()[k])];
            const CholmodIndex pb = partition[static_cast<std::size_t>(b)];
            if (pa != kSeparator && pb != kSeparator && pa != pb)
                return nullptr;
        }
    std::unique_ptr<TwoDomainFactor> factor(new TwoDomainFactor);
    factor->analyse(coupling, K, partition);
    return factor;
}

void TwoDomainFactor::analyse(const NodeCoupling& coupling, const cholmod_sparse& K,
                              const std::vector<CholmodIndex>& partition) {
    onBothDomains(
        [&](int d) { domains_[d] = std::make_unique<Domain>(coupling, K, partition, d); });
    const std::size_t s = domains_[0]->separatorSize();
    for (std::size_t k = 0; k < s; ++k)
        separator_.push_back(domains_[0]->separatorEquation(k));
    const double cube = static_cast<double>(s) * static_cast<double>(s) * static_cast<double>(s);
    // Two rank updates T·Tᵀ and the dense Cholesky of C.
    flops_ = domains_[0]->flops() + domains_[1]->flops() + 2.0 * cube + cube / 3.0;
    bytes_ =
        domains_[0]->bytes() + domains_[1]->bytes() + static_cast<double>(s * s) * sizeof(double);
}

bool TwoDomainFactor::factorize(const cholmod_sparse& K) {
    bool sound[2] = {false, false};
    onBothDomains([&](int d) { sound[d] = domains_[d]->factorize(K); });
    return sound[0] && sound[1] && factorizeSeparator(K);
}

bool TwoDomainFactor::factorizeSeparator(const cholmod_sparse& K) {
    const std::size_t s = separator_.size();
    std::vector<CholmodIndex> position(K.ncol, -1);
    for (std::size_t k = 0; k < s; ++k)
        position[static_cast<std::size_t>(separator_[k])] = static_cast<CholmodIndex>(k);
    // C = T_0·T_0ᵀ + T_1·T_1ᵀ − KSS, its lower triangle.
    schur_.assign(s * s, 0.0);
    for (std::size_t column = 0; column < s; ++column) {
        const CholmodIndex e = separator_[column];
        for (CholmodIndex p = columnStarts(K)[e]; p < columnStarts(K)[e + 1]; ++p) {
            const CholmodIndex row = position[static_cast<std::size_t>(rows(K)[p])];
            if (row >= 0)
                schur_[column + static_cast<std::size_t>(row) * s] = -values(K)[p];
        }
    }
    const int n = static_cast<int>(s);
    const int lda = lapackSize(s);
    for (const auto& domain : domains_)
        if (n > 0)
            cblas_dsyrk(CblasColMajor, CblasLower, CblasNoTrans, n, n, 1.0,
                        domain->trailing().data(), lda, 1.0, schur_.data(), lda);
    int info = 0;
    dpotrf_("L", &n, schur_.data(), &lda, &info);
    if (info != 0)
        return false;
    for (std::size_t j = 0; j < s; ++j) {
        const double l = schur_[j + j * s];
        if (testPivot(0, l * l, diagonal(K, separator_[j])))
            return false;
    }
    return true;
}

void TwoDomainFactor::solve(const std::vector<double>& f, std::vector<double>& u) {
    u.assign(f.size(), 0.0);
    std::vector<double> fromDomain[2];
    onBothDomains([&](int d) { domains_[d]->forward(f, fromDomain[d]); });
    std::vector<double> separator(separator_.size());
    for (std::size_t k = 0; k < separator.size(); ++k)
        separator[k] =
            f[static_cast<std::size_t>(separator_[k])] + fromDomain[0][k] + fromDomain[1][k];
    const int n = static_cast<int>(separator.size());
    const int lda = lapackSize(separator.size());
    const int one = 1;
    int info = 0;
    dpotrs_("L", &n, &one, schur_.data(), &lda, separator.data(), &lda, &info);
    onBothDomains([&](int d) { domains_[d]->backward(separator, u); });
    for (std::size_t k = 0; k < separator.size(); ++k)
        u[static_cast<std::size_t>(separator_[k])] = separator[k];
}

} // namespace shellfem
