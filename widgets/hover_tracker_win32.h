// Hover tracking with one shared 100 ms timer per control class: the control under
// the mouse becomes the tracking one, and the timer's tick takes its hover away once
// the cursor has left it (a control gets no message when the mouse leaves it).
#pragma once

#include <windows.h>

namespace setuvane {

class HoverClient {
 public:
  virtual HWND HoverWindow() const = 0;
  // Takes the hover away (the client decides whether it may: not while dragging).
  virtual void LoseHover() = 0;

 protected:
  ~HoverClient() = default;
};

class HoverTracker {
 public:
  static constexpr UINT kIntervalMs = 100;

  HoverClient* Current() const { return current_; }
  bool IsTracking(const HoverClient* client) const { return current_ == client; }

  // The mouse-move step: when `client` is not yet tracking and the control under
  // `screen` is its window, the previous client loses its hover and, if the process
  // has an active window, `client` starts tracking. True when it did.
  bool TakeOver(HoverClient* client, POINT screen);
  // Stops tracking if `client` is the tracking one.
  void Stop(HoverClient* client);
  // One tick: the tracking client loses its hover when the cursor has left it.
  void Tick();

 private:
  void StartTimer();
  void StopTimer();
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);

  HoverClient* current_ = nullptr;
  UINT_PTR timer_ = 0;
};

// The trackers of the plain buttons, the radio buttons and the toolbar buttons:
// each class has its own timer and its own tracking control.
HoverTracker& PlainButtonHover();
HoverTracker& RadioButtonHover();
HoverTracker& ToolbarButtonHover();

}  // namespace setuvane
