#include "mainwin/interface_frm_win.h"

#include "app/main_loop_win.h"
#include "app/startup_win.h"

bool InterfaceFrm::Load() {
  int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  return Create("TarvickLiteMain", "Tarvick Lite", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                0, x, y, kWidth, kHeight);
}

void InterfaceFrm::mnuSettingsTop_Click() {
  topChecked_ = !topChecked_;
  SetWindowPos(hwnd(), topChecked_ ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void InterfaceFrm::mnuSettingsUpdateSpd_Click(int index) {
  static const int16_t seconds[] = {FastInterval, 20, 35, 0};
  if (index < 0 || index > 3) return;
  speedIndex_ = index;
  ModMainLoop::RefreshIntervalSeconds = seconds[index];
}

void InterfaceFrm::SetStartupChecks(bool messengerBlock, bool popBlock) {
  msgBlockChecked_ = messengerBlock;
  popBlockChecked_ = popBlock;
}

LRESULT InterfaceFrm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      // Closing the main window only hides it; the program lives in the tray.
      ShowWindow(hwnd(), SW_HIDE);
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}
