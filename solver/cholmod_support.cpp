#include "solver/cholmod_support.h"

#include "solver/zeroed_buffer.h"

#include <omp.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace shellfem {

namespace {

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

} // namespace

CholmodSession::CholmodSession(bool postorder) {
    // Sessions start on several threads; the allocator is set by the first.
    static const bool allocatorSet = (useHugePagesForLargeBlocks(), true);
    (void)allocatorSet;
    cholmod_l_start(&common_);
    common_.print = 0;
    common_.error_handler = nullptr;
    common_.supernodal = CHOLMOD_SUPERNODAL;
    common_.nmethods = 1;
    common_.method[0].ordering = CHOLMOD_GIVEN;
    common_.postorder = postorder;
}

CholmodSession::~CholmodSession() {
    cholmod_l_finish(&common_);
}

CholmodOnCallingThread::CholmodOnCallingThread() : previousLevels_(omp_get_max_active_levels()) {
    omp_set_max_active_levels(0);
}

CholmodOnCallingThread::~CholmodOnCallingThread() {
    omp_set_max_active_levels(previousLevels_);
}

void throwIfOutOfMemory(const cholmod_common& common) {
    if (common.status == CHOLMOD_OUT_OF_MEMORY || common.status == CHOLMOD_TOO_LARGE)
        throw std::bad_alloc();
}

cholmod_sparse* allocateUpperPattern(std::size_t order, std::size_t entries,
                                     cholmod_common& common) {
    cholmod_sparse* pattern =
        cholmod_l_allocate_sparse(order, order, entries, 1, 1, 1, CHOLMOD_PATTERN, &common);
    if (!pattern)
        throw std::bad_alloc();
    return pattern;
}

cholmod_sparse* nodeGraph(const NodeCoupling& coupling, const std::vector<CholmodIndex>& local,
                          cholmod_common& common) {
    const auto all = static_cast<std::size_t>(coupling.nodes());
    auto localOf = [&](int node) {
        return local.empty() ? node : local[static_cast<std::size_t>(node)];
    };
    std::size_t nodes = 0;
    std::size_t links = 0;
    for (std::size_t n = 0; n < all; ++n)
        if (localOf(static_cast<int>(n)) >= 0) {
            ++nodes;
            for (std::int64_t k = coupling.start(static_cast<int>(n));
                 k < coupling.start(static_cast<int>(n) + 1); ++k)
                links += localOf(coupling.partners()[static_cast<std::size_t>(k)]) >= 0;
        }
    cholmod_sparse* graph = allocateUpperPattern(nodes, links, common);
    auto* p = static_cast<CholmodIndex*>(graph->p);
    auto* i = static_cast<CholmodIndex*>(graph->i);
    CholmodIndex next = 0;
    for (std::size_t n = 0; n < all; ++n) {
        const CholmodIndex column = localOf(static_cast<int>(n));
        if (column < 0)
            continue;
        p[column] = next;
        for (std::int64_t k = coupling.start(static_cast<int>(n));
             k < coupling.start(static_cast<int>(n) + 1); ++k) {
            const CholmodIndex row = localOf(coupling.partners()[static_cast<std::size_t>(k)]);
            if (row >= 0)
                i[next++] = row;
        }
    }
    p[nodes] = next;
    return graph;
}

std::vector<CholmodIndex> nestedDissectionOrder(const NodeCoupling& coupling,
                                                const std::vector<CholmodIndex>& local,
                                                cholmod_common& common) {
    cholmod_sparse* graph = nodeGraph(coupling, local, common);
    std::vector<CholmodIndex> order(graph->ncol);
    const bool ordered = order.empty() ||
                         cholmod_l_metis(graph, nullptr, 0, 1, order.data(), &common) ||
                         cholmod_l_amd(graph, nullptr, 0, order.data(), &common);
    cholmod_l_free_sparse(&graph, &common);
    throwIfOutOfMemory(common);
    if (!ordered)
        for (std::size_t n = 0; n < order.size(); ++n)
            order[n] = static_cast<CholmodIndex>(n);
    return order;
}

} // namespace shellfem
