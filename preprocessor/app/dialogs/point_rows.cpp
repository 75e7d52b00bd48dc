#include "preprocessor/app/dialogs/point_rows.h"

#include "preprocessor/files/kvx_file.h"

namespace shellfem::preprocessor::app {

std::vector<std::string> pointRow(const ModelData& data, int point) {
    const Vec3& p = data.points[static_cast<std::size_t>(point)].position;
    return {std::to_string(point), fixedFiveDecimals(p.x), fixedFiveDecimals(p.y),
            fixedFiveDecimals(p.z)};
}

} // namespace shellfem::preprocessor::app
