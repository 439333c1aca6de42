#include "core/run/installation_undo.h"

namespace setuvane {
namespace {

std::function<bool()>& Undo() {
  static std::function<bool()> undo;
  return undo;
}

}  // namespace

void SetInstallationUndo(std::function<bool()> undo) { Undo() = std::move(undo); }

bool UndoInstallation() {
  const std::function<bool()> undo = std::move(Undo());
  Undo() = nullptr;
  return undo && undo();
}

}  // namespace setuvane
