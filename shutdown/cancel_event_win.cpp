#include "shutdown/cancel_event_win.h"

#include <utility>

bool CancelEvent::Load(std::function<void()> onSessionEnd) {
  onSessionEnd_ = std::move(onSessionEnd);
  if (!Create("TarvickLiteCancelEvent", "Tarvick Lite", WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, 0,
              0, 300, 120))
    return false;
  // No handler: its messages only wake the main loop.
  SetTimer(hwnd(), kTimer1, kTimer1Interval, nullptr);
  return true;
}

LRESULT CancelEvent::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      if (msg == WM_ENDSESSION && !wp) return 0;  // the session goes on
      // Windows is ending the session: save and leave now.
      if (onSessionEnd_) onSessionEnd_();
      return TRUE;
    case WM_TIMER:
      if (wp == kTimer1) return 0;
      return Default(msg, wp, lp);
    case WM_CLOSE:
      return 0;  // every other request to unload it is refused
    default:
      return Default(msg, wp, lp);
  }
}
