#include "app/exit_request_win.h"

#include <utility>

namespace tl {

bool ExitRequestWindow::Load(std::function<void()> onRequest) {
  onRequest_ = std::move(onRequest);
  message_ = RegisterWindowMessageA(kExitRequestMessage);
  // Top-level, not message-only: FindWindow must see it from other processes.
  if (!message_ || !Create(kExitRequestClass, "Tarvick Lite", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0))
    return false;
  // A program started elevated must still hear an installer that is not.
  ChangeWindowMessageFilterEx(hwnd(), message_, MSGFLT_ALLOW, nullptr);
  return true;
}

LRESULT ExitRequestWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == message_ && message_) {
    if (onRequest_) onRequest_();
    return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace tl
