#include "widgets/hover_tracker_win32.h"

#include "widgets/window_class_win32.h"

namespace setuvane {
namespace {

HoverTracker g_plain, g_radio, g_toolbar;
HoverTracker* const g_all[] = {&g_plain, &g_radio, &g_toolbar};

}  // namespace

HoverTracker& PlainButtonHover() { return g_plain; }
HoverTracker& RadioButtonHover() { return g_radio; }
HoverTracker& ToolbarButtonHover() { return g_toolbar; }

bool HoverTracker::TakeOver(HoverClient* client, POINT screen) {
  if (current_ == client) return false;
  if (ControlAtScreenPoint(screen) != client->HoverWindow()) return false;
  if (HoverClient* previous = current_) previous->LoseHover();
  if (!GetActiveWindow()) return false;
  StopTimer();
  current_ = client;
  StartTimer();
  return true;
}

void HoverTracker::Stop(HoverClient* client) {
  if (current_ != client) return;
  StopTimer();
  current_ = nullptr;
}

void HoverTracker::Tick() {
  if (!current_) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  if (ControlAtScreenPoint(cursor) != current_->HoverWindow()) current_->LoseHover();
}

void HoverTracker::StartTimer() { timer_ = SetTimer(nullptr, 0, kIntervalMs, &HoverTracker::TimerProc); }

void HoverTracker::StopTimer() {
  if (timer_) KillTimer(nullptr, timer_);
  timer_ = 0;
}

void CALLBACK HoverTracker::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  for (HoverTracker* tracker : g_all) {
    if (tracker->timer_ == id) tracker->Tick();
  }
}

}  // namespace setuvane
