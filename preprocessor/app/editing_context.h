#pragma once

#include "platform/dialog.h"
#include "preprocessor/model/model.h"
#include "preprocessor/render/plot_switches.h"

#include <functional>
#include <memory>
#include <string>

namespace shellfem::preprocessor::app {

// Whether an edit changes what the preprocessing file holds (and so leaves
// unsaved changes behind) or only what the window shows (hiding polygons).
enum class EditScope { Model, Display };

// What the pre-processor's dialogs see of the application: the model to read,
// the user's picks, one way to change the model, and the few window states a
// dialog sets. A dialog never holds the model or the window itself.
//
// The one way of an edit: a dialog reads and checks its fields first (see
// FieldReader; a field that does not read gets a "Warning!" box and nothing
// happens), then calls `edit` once with the model call:
//
//     context.edit([&](Model& m) { return m.addPoint({x, y, z}); });
//
// `edit` runs the call, shows its message (a refusal in a "Warning!" box, where
// the model stayed as it was; a notice of a success in a box as well),
// refreshes every open dialog (this one too) and redraws the window. A dialog
// never redraws or refreshes the others by hand.
class EditingContext {
public:
    virtual ~EditingContext() = default;

    // The model as it is now, and what is picked in the window (point, polygon
    // and node IDs, and the point sequence of a polygon being created).
    virtual const Model& model() const = 0;
    const Selection& picks() const { return model().selection(); }

    // Runs one model edit the one way (above); returns its result, whose
    // `created` lists the IDs of new records.
    virtual EditResult edit(const std::function<EditResult(Model&)>& change,
                            EditScope scope = EditScope::Model) = 0;

    // Replaces the picks (a dialog's "Clear" or "Pick all", or clearing the
    // outline of a polygon it created); open dialogs refresh, the window redraws.
    virtual void setPicks(const Selection& picks) = 0;

    // A field that does not read, or is out of range: a "Warning!" box.
    virtual void warn(const std::string& message) = 0;

    // The mouse mode (kModePickPoints ..., see corvanta_commands.h) and whether
    // the picking modes take rectangles (two corners, or a drag) instead of
    // single clicks. Setting either drops a half-made gesture, refreshes the open
    // dialogs and redraws.
    virtual int pickingMode() const = 0;
    virtual void setPickingMode(int mode) = 0;
    virtual bool rectanglePicking() const = 0;
    virtual void setRectanglePicking(bool on) = 0;

    // The All, Pan and Zoom buttons of a picking dialog, with the View Kit's
    // identifiers (view3d::preprocessorViewKitIds()): true when `controlId` was
    // one of them and has been handled.
    virtual bool handleViewButton(int controlId) = 0;

    // Which layers the window draws; setting them redraws.
    virtual const render::PlotSwitches& plotSwitches() const = 0;
    virtual void setPlotSwitches(const render::PlotSwitches& switches) = 0;

    // The window's background: white, or black (the start). Setting it moves the
    // View menu's check marks with it, refreshes the open dialogs and redraws.
    virtual bool whiteBackground() const = 0;
    virtual void setWhiteBackground(bool white) = 0;

    // Opens a modeless dialog beside the main window (ModelessDialog does this).
    virtual std::unique_ptr<platform::Dialog> openDialog(const platform::DialogTemplate& form,
                                                         platform::DialogHandler& handler) = 0;
};

} // namespace shellfem::preprocessor::app
