#pragma once

#include <string>

namespace shellfem::viewer {

constexpr int kStressComponentCount = 7;

// "Sx", "Sy", "Sz", "Txy", "Txz", "Tyz", "Se" for columns 0..6 of StressValues;
// "?" for any other index.
const char* stressComponentName(int component);

// The legend title: the component name and the surface it shows, e.g. "Se (top surface)".
std::string contourTitle(int component);

} // namespace shellfem::viewer
