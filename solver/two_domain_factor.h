#pragma once

#include "solver/cholmod_support.h"
#include "solver/node_coupling.h"

#include <array>
#include <memory>
#include <vector>

namespace shellfem {

// K = L·Lᵀ on two threads. A node separator S splits the node graph into parts
// 0 and 1 that no element couples, so that in the order part 0, part 1, S
//     K = [K00 0 K0S; 0 K11 K1S; KS0 KS1 KSS].
// Domain d (part d with S) is the principal submatrix
//     B_d = [Kdd KdS; KSd KSS] = L_d·L_dᵀ,   L_d = [Ldd 0; LSd T_d],
// which its own thread factorises by the supernodal Cholesky, part d in nested-
// dissection order. Ldd and LSd are blocks of K's own factor, and
// T_d·T_dᵀ = KSS − LSd·LSdᵀ, so the separator's dense Schur complement is
//     C = KSS − LS0·LS0ᵀ − LS1·LS1ᵀ = T_0·T_0ᵀ + T_1·T_1ᵀ − KSS = LS·LSᵀ.
// Being principal submatrices of K, the B_d are positive definite whenever K is.
class TwoDomainFactor {
public:
    // Splits the graph of K, the upper triangle in sorted compressed columns of
    // six equations per node, and analyses both domains. nullptr when the graph
    // has no separator that leaves each part a quarter of the nodes or more.
    // Throws std::bad_alloc when memory is short.
    static std::unique_ptr<TwoDomainFactor> split(const NodeCoupling& coupling,
                                                  const cholmod_sparse& K);
    ~TwoDomainFactor();

    double flops() const { return flops_; }
    // The domains' matrices and factors and the separator's dense blocks.
    double bytes() const { return bytes_; }

    // False when a pivot, in the order part 0, part 1, S, is not finite and
    // positive above kSmallestPivotRatio of its diagonal in K.
    bool factorize(const cholmod_sparse& K);
    // u = K⁻¹·f, both in the global numbering.
    void solve(const std::vector<double>& f, std::vector<double>& u);

private:
    class Domain;

    TwoDomainFactor();
    void analyse(const NodeCoupling& coupling, const cholmod_sparse& K,
                 const std::vector<CholmodIndex>& partition);
    bool factorizeSeparator(const cholmod_sparse& K);

    std::array<std::unique_ptr<Domain>, 2> domains_;
    std::vector<CholmodIndex> separator_; // global equation of each separator row
    std::vector<double> schur_;           // LS, lower, column-major
    double flops_ = 0.0;
    double bytes_ = 0.0;
};

} // namespace shellfem
