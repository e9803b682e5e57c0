#pragma once

#include "common/file_chooser.h"
#include "session/session.h"

// The open and save commands of the main window: the dialogs' titles, filters and folders, and
// what the chosen file and filter lead to.
namespace velmora {

// What a save command asks the dialog for.
enum class SaveRequest {
    Any,       // "Mentés másként...": the number row, or the variation in any of its formats
    NumberRow, // the "Mentés" of the "Számsor" menu
    Variation, // the "Mentés" of the "Variáció" menu
};

// "Megnyitás...": the open dialog, then the chosen file by its extension.
bool OpenCommand(Session& session, FileChooser& chooser);
// The save dialog for `request`, then the file in the kind its filter names.
bool SaveCommand(Session& session, FileChooser& chooser, SaveRequest request);
// The "Mentés" of the "Variáció" menu: refused beyond a million rows.
bool SaveVariationCommand(Session& session, FileChooser& chooser);

} // namespace velmora
