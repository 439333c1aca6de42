#include "core/run/screen_cursor.h"

namespace setuvane {
namespace {

ScreenCursor g_cursor = ScreenCursor::kDefault;

std::function<void(ScreenCursor)>& Listener() {
  static std::function<void(ScreenCursor)> listener;
  return listener;
}

}  // namespace

void SetScreenCursor(ScreenCursor cursor) {
  g_cursor = cursor;
  if (Listener()) Listener()(cursor);
}

ScreenCursor CurrentScreenCursor() { return g_cursor; }

void SetScreenCursorListener(std::function<void(ScreenCursor)> listener) { Listener() = std::move(listener); }

}  // namespace setuvane
