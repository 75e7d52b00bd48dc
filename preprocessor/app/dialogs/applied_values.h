#pragma once

#include "platform/dialog.h"
#include "preprocessor/app/editing_context.h"
#include "preprocessor/app/field_reader.h"
#include "preprocessor/model/model.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace shellfem::preprocessor::app {

// What the three Apply dialogs share: the Replace / Add choice, the rows that
// list what acts on the picked items, and the reading of a row of numbers.

// Two radio buttons: the picked nodes' earlier records are replaced by the new
// values, or the new values are added to them (ApplyMode).
class ApplyModeChoice {
public:
    enum Control { kReplace = 1951, kAdd = 1952 };
    static constexpr int kHeight = 48; // of the box in the form, in pixels

    void addTo(platform::DialogTemplate& form, int x, int y, int width) const;
    void show(platform::Dialog& dialog) const;
    // True when `controlId` was one of the two buttons (the choice follows it).
    bool handle(int controlId);
    ApplyMode mode() const { return mode_; }

private:
    ApplyMode mode_ = ApplyMode::Replace;
};

// The lower part of an Apply dialog's form, 384 pixels wide from (8, y) down: the
// Apply and Remove buttons, the list of what acts on the picked items under its
// caption, the view buttons and Close. Sets the form's height.
void addApplyButtonsAndList(platform::DialogTemplate& form, int y, int applyId, int removeId,
                            const std::string& caption, int listId,
                            std::vector<std::string> columns);

// A list row: the item's ID, then its values, or "-" in each column when
// nothing acts on it.
std::vector<std::string> appliedRow(int id, const std::optional<std::array<double, 6>>& values);
std::vector<std::string> appliedRow(int id, const std::optional<std::array<int, 6>>& flags);
std::vector<std::string> appliedRow(int id, const std::optional<std::array<double, 4>>& values);

// One row per ID, with the values listed for it in the same order.
template <class Values>
std::vector<std::vector<std::string>>
appliedRows(const std::vector<int>& ids, const std::vector<std::optional<Values>>& values) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i)
        rows.push_back(appliedRow(ids[i], values[i]));
    return rows;
}

// Whether anything acts on one of the items of such a list.
template <class Values> bool anyApplied(const std::vector<std::optional<Values>>& values) {
    for (const std::optional<Values>& v : values)
        if (v)
            return true;
    return false;
}

// Reads the number fields `ids`, named `names`, in their order; nothing when one
// of them does not read (FieldReader has warned).
template <std::size_t N>
std::optional<std::array<double, N>> readNumbers(FieldReader& fields, const std::array<int, N>& ids,
                                                 const std::array<const char*, N>& names) {
    std::array<double, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        const std::optional<double> value = fields.number(ids[i], names[i]);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    return values;
}

// True when `nodes` (the picks of an edit) is not empty; otherwise a "Warning!"
// box says that no node is picked, or that the model must be meshed first.
bool checkNodesPicked(EditingContext& context, const std::vector<int>& nodes);

} // namespace shellfem::preprocessor::app
