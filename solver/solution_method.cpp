#include "solver/solution_method.h"

#include <limits>

#if defined(__unix__)
#include <unistd.h>
#endif

namespace shellfem {

double predictedSeconds(SolutionMethod method, const SolutionCost& cost, int equations) {
    if (method == SolutionMethod::Skyline)
        return cost.flops / kSkylineFlopsPerSecond;
    return cost.flops / kSparseFlopsPerSecond + equations * kSparseSecondsPerEquation;
}

SolutionMethod chooseMethod(const SolutionCost& skyline, const SolutionCost& sparse, int equations,
                            double memoryBytes) {
    const bool skylineFits = skyline.bytes <= memoryBytes;
    const bool sparseFits = sparse.bytes <= memoryBytes;
    if (skylineFits && sparseFits)
        return predictedSeconds(SolutionMethod::Skyline, skyline, equations) <=
                       predictedSeconds(SolutionMethod::Sparse, sparse, equations)
                   ? SolutionMethod::Skyline
                   : SolutionMethod::Sparse;
    if (skylineFits != sparseFits)
        return skylineFits ? SolutionMethod::Skyline : SolutionMethod::Sparse;
    return skyline.bytes <= sparse.bytes ? SolutionMethod::Skyline : SolutionMethod::Sparse;
}

double usableMemoryBytes() {
#if defined(_SC_PHYS_PAGES) && defined(_SC_PAGE_SIZE)
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (pages > 0 && pageSize > 0)
        return kUsableMemoryShare * static_cast<double>(pages) * static_cast<double>(pageSize);
#endif
    return std::numeric_limits<double>::infinity();
}

Outcome parseMethodRequest(const std::optional<std::string>& value, MethodRequest& request) {
    if (!value || value->empty())
        request = MethodRequest::Automatic;
    else if (*value == "skyline")
        request = MethodRequest::Skyline;
    else if (*value == "sparse")
        request = MethodRequest::Sparse;
    else
        return Outcome::failure(Status::Refused,
                                "TREVAMIC_SOLVER=\"" + *value +
                                    "\" names no solution method: set it to skyline or sparse, "
                                    "or leave it unset for the automatic choice.");
    return Outcome::success();
}

} // namespace shellfem
