// Undoing a failed installation. While its run can be undone, the installation
// sets here what undoes it; whatever stops it for a failure (a failed step, a
// failure no step caught, a record that cannot be written) undoes it through
// this one call before it reports and ends.
#pragma once

#include <functional>

namespace setuvane {

// `undo` answers whether every change was undone. An empty function: nothing to undo.
void SetInstallationUndo(std::function<bool()> undo);

// Undoes the installation once (later calls find nothing to undo): true when
// there were changes and all of them were undone.
bool UndoInstallation();

}  // namespace setuvane
