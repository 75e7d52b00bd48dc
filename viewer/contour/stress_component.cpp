#include "viewer/contour/stress_component.h"

namespace shellfem::viewer {

const char* stressComponentName(int component) {
    static const char* const names[kStressComponentCount] = {"Sx",  "Sy",  "Sz", "Txy",
                                                             "Txz", "Tyz", "Se"};
    if (component < 0 || component >= kStressComponentCount)
        return "?";
    return names[component];
}

} // namespace shellfem::viewer
