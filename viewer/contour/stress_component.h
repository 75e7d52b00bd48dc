#pragma once

namespace shellfem::viewer {

constexpr int kStressComponentCount = 7;

// "Sx", "Sy", "Sz", "Txy", "Txz", "Tyz", "Se" for columns 0..6 of StressValues;
// "?" for any other index.
const char* stressComponentName(int component);

} // namespace shellfem::viewer
