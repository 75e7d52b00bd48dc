#include "preprocessor/app/dialogs/materials_thicknesses_dialog.h"

#include "formats/number_format.h"
#include "preprocessor/app/field_reader.h"
#include "preprocessor/app/picking_controls.h"
#include "preprocessor/model/id_checks.h"
#include "preprocessor/model/model_queries.h"

namespace shellfem::preprocessor::app {

namespace {

std::string usersOf(const ModelData& data, int Polygon::*attribute, std::size_t id) {
    const std::vector<int> users = polygonsUsing(data, attribute, static_cast<int>(id));
    return users.empty() ? "none" : listIds(users, 8);
}

// Shows `rows` and keeps the chosen row where it still exists.
void showRows(platform::Dialog& dialog, int list,
              const std::vector<std::vector<std::string>>& rows) {
    const int chosen = dialog.selection(list);
    dialog.setRows(list, rows);
    dialog.setSelection(list, chosen < static_cast<int>(rows.size()) ? chosen : -1);
}

bool isMaterialList(int list) {
    return list == MaterialsThicknessesDialog::kMaterialList;
}

} // namespace

platform::DialogTemplate MaterialsThicknessesDialog::form() const {
    platform::DialogTemplate t;
    t.title = "Materials and Thicknesses";
    t.width = 420;
    t.height = 536;
    t.groupBox("Materials", 8, 8, 404, 248);
    t.listView(kMaterialList, {"ID", "E", "Mu", "Used by"}, 18, 28, 384, 130);
    t.edit(kE, "E", 18, 166, 200, 22, 36);
    t.edit(kMu, "Mu", 18, 192, 200, 22, 36);
    t.label("E > 0, -1 < Mu < 0.5", 230, 166, 172, 22);
    t.button(kAddMaterial, "Add", 18, 222, 90, 26);
    t.button(kChangeMaterial, "Change", 116, 222, 90, 26);
    t.button(kDeleteMaterial, "Delete", 214, 222, 90, 26);

    t.groupBox("Thicknesses", 8, 264, 404, 222);
    t.listView(kThicknessList, {"ID", "TK", "Used by"}, 18, 284, 384, 130);
    t.edit(kTK, "TK", 18, 422, 200, 22, 36);
    t.label("TK > 0", 230, 422, 172, 22);
    t.button(kAddThickness, "Add", 18, 452, 90, 26);
    t.button(kChangeThickness, "Change", 116, 452, 90, 26);
    t.button(kDeleteThickness, "Delete", 214, 452, 90, 26);
    t.button(kClose, "Close", 322, 498, 90, 28);
    return t;
}

void MaterialsThicknessesDialog::onOpened(platform::Dialog& dialog) {
    dialog.setText(kE, "210000");
    dialog.setText(kMu, "0.3");
    dialog.setText(kTK, "1");
}

void MaterialsThicknessesDialog::show(platform::Dialog& dialog) {
    const ModelData& data = context().model().data();
    std::vector<std::vector<std::string>> materials;
    for (std::size_t i = 0; i < data.materials.size(); ++i)
        materials.push_back({std::to_string(i), formatGeneral(data.materials[i].E),
                             formatGeneral(data.materials[i].Mu),
                             usersOf(data, &Polygon::material, i)});
    showRows(dialog, kMaterialList, materials);
    std::vector<std::vector<std::string>> thicknesses;
    for (std::size_t i = 0; i < data.thicknesses.size(); ++i)
        thicknesses.push_back({std::to_string(i), formatGeneral(data.thicknesses[i]),
                               usersOf(data, &Polygon::thickness, i)});
    showRows(dialog, kThicknessList, thicknesses);
}

void MaterialsThicknessesDialog::onButton(platform::Dialog& dialog, int controlId) {
    switch (controlId) {
    case kMaterialList:
    case kThicknessList:
        copyRowToFields(dialog, controlId);
        break;
    case kAddMaterial:
        writeMaterial(dialog, -1);
        break;
    case kChangeMaterial:
        if (const int row = chosenRow(dialog, kMaterialList); row >= 0)
            writeMaterial(dialog, row);
        break;
    case kDeleteMaterial:
        deleteChosen(dialog, kMaterialList);
        break;
    case kAddThickness:
        writeThickness(dialog, -1);
        break;
    case kChangeThickness:
        if (const int row = chosenRow(dialog, kThicknessList); row >= 0)
            writeThickness(dialog, row);
        break;
    case kDeleteThickness:
        deleteChosen(dialog, kThicknessList);
        break;
    default:
        break;
    }
}

int MaterialsThicknessesDialog::chosenRow(const platform::Dialog& dialog, int list) {
    const ModelData& data = context().model().data();
    const std::size_t count =
        isMaterialList(list) ? data.materials.size() : data.thicknesses.size();
    const int row = dialog.selection(list);
    if (row >= 0 && static_cast<std::size_t>(row) < count)
        return row;
    context().warn(std::string("Choose the ") + (isMaterialList(list) ? "material" : "thickness") +
                   " in the list first.");
    return -1;
}

void MaterialsThicknessesDialog::copyRowToFields(platform::Dialog& dialog, int list) {
    const ModelData& data = context().model().data();
    const int row = dialog.selection(list);
    if (row < 0)
        return;
    const auto at = static_cast<std::size_t>(row);
    if (isMaterialList(list) && at < data.materials.size()) {
        dialog.setText(kE, formatGeneral(data.materials[at].E));
        dialog.setText(kMu, formatGeneral(data.materials[at].Mu));
    } else if (!isMaterialList(list) && at < data.thicknesses.size()) {
        dialog.setText(kTK, formatGeneral(data.thicknesses[at]));
    }
}

void MaterialsThicknessesDialog::writeMaterial(platform::Dialog& dialog, int row) {
    FieldReader fields(dialog, context());
    const std::optional<double> E =
        fields.numberWhere(kE, "E", validYoungsModulus, "a number greater than 0");
    const std::optional<double> Mu = fields.numberWhere(
        kMu, "Mu", validPoissonsRatio, "a number between -1 and 0.5 (both excluded)");
    if (!fields.ok())
        return;
    const Material material{*E, *Mu};
    const EditResult result = context().edit([&](Model& m) {
        return row < 0 ? m.addMaterial(material) : m.editMaterial(row, material);
    });
    if (result.ok() && !result.created.empty())
        dialog.setSelection(kMaterialList, result.created.back());
}

void MaterialsThicknessesDialog::writeThickness(platform::Dialog& dialog, int row) {
    FieldReader fields(dialog, context());
    const std::optional<double> tk =
        fields.numberWhere(kTK, "TK", validThickness, "a number greater than 0");
    if (!fields.ok())
        return;
    const EditResult result = context().edit(
        [&](Model& m) { return row < 0 ? m.addThickness(*tk) : m.editThickness(row, *tk); });
    if (result.ok() && !result.created.empty())
        dialog.setSelection(kThicknessList, result.created.back());
}

void MaterialsThicknessesDialog::deleteChosen(platform::Dialog& dialog, int list) {
    const int row = chosenRow(dialog, list);
    if (row < 0)
        return;
    const EditResult result = context().edit([&](Model& m) {
        return isMaterialList(list) ? m.deleteMaterial(row) : m.deleteThickness(row);
    });
    if (result.ok())
        dialog.setSelection(list, -1); // the row now holds the next one
}

} // namespace shellfem::preprocessor::app
