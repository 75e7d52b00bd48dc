#pragma once

#include "preprocessor/app/modeless_dialog.h"

namespace shellfem::preprocessor::app {

// Materials and Thicknesses: the lists of materials (E, Mu) and thicknesses
// (TK) with the polygons that use each. Add makes a new one from the fields;
// choosing a row copies it into the fields, Change writes the fields back to it
// and Delete removes it when no polygon uses it (the later IDs move down).
class MaterialsThicknessesDialog : public ModelessDialog {
public:
    enum Control {
        kMaterialList = 1701, // ID, E, Mu, used by polygons
        kE = 1702,
        kMu = 1703,
        kAddMaterial = 1704,
        kChangeMaterial = 1705,
        kDeleteMaterial = 1706,
        kThicknessList = 1711, // ID, TK, used by polygons
        kTK = 1712,
        kAddThickness = 1713,
        kChangeThickness = 1714,
        kDeleteThickness = 1715,
    };

    using ModelessDialog::ModelessDialog;

protected:
    platform::DialogTemplate form() const override;
    void onOpened(platform::Dialog& dialog) override;
    void show(platform::Dialog& dialog) override;
    void onButton(platform::Dialog& dialog, int controlId) override;

private:
    void copyRowToFields(platform::Dialog& dialog, int list);
    // Add (row < 0) or change the material, or the thickness, from the fields.
    void writeMaterial(platform::Dialog& dialog, int row);
    void writeThickness(platform::Dialog& dialog, int row);
    void deleteChosen(platform::Dialog& dialog, int list);
    // The row chosen in `list`, or -1 after a "Warning!" box naming what to choose.
    int chosenRow(const platform::Dialog& dialog, int list);
};

} // namespace shellfem::preprocessor::app
