#include "mainwin/interface_frm_win.h"

#include "app/reminders_win.h"
#include "inspect/window_query_win.h"

bool InterfaceFrm::Load() {
  int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  if (!Create("TarvickLiteMain", "Tarvick Lite", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
              0, x, y, kWidth, kHeight))
    return false;
  auto button = [&](const char* text, int xPos, int id) {
    HWND b = CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, xPos, 8, 48,
                             24, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             tl::AppInstance(), nullptr);
    SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  };
  button("Con", 8, IDC_INTERFACEFRM_COMMAND1);
  button("Dis", 60, IDC_INTERFACEFRM_COMMAND2);
  return true;
}

void InterfaceFrm::mnuSettingsTop_Click() {
  topChecked_ = !topChecked_;
  ApplyAlwaysOnTop();
}

void InterfaceFrm::ApplyAlwaysOnTop() {
  SetWindowPos(hwnd(), topChecked_ ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void InterfaceFrm::mnuSettingsUpdateSpd_Click(int index) {
  static const int16_t seconds[] = {FastInterval, 20, 35, 0};
  if (index < 0 || index > 3) return;
  speedIndex_ = index;
  refreshInterval_ = seconds[index];
}

void InterfaceFrm::SetStartupChecks(bool messengerBlock, bool popBlock) {
  msgBlockChecked_ = messengerBlock;
  popBlockChecked_ = popBlock;
}

void InterfaceFrm::DoRefresh() {
  ++refreshCount_;
  // The pop-up blocker's manager page refreshes here once it is shown.
}

void InterfaceFrm::TlbButtons(const std::string& key) {
  page_ = key;
  DoRefresh();
}

void InterfaceFrm::MainTbl_ButtonClick(const std::string&) {
  // The command toolbar's actions attach here with the main window's commands.
}

void InterfaceFrm::BringForward() {
  // Our own window answers: the check for hung windows would only cost time.
  MForceFore::ForceForeground(hwnd(), true);
  SetActiveWindow(hwnd());
}

void InterfaceFrm::Command1_Click() { IntMod::SimulatedConnection = true; }
void InterfaceFrm::Command2_Click() { IntMod::SimulatedConnection = false; }

LRESULT InterfaceFrm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == IDC_INTERFACEFRM_COMMAND1) Command1_Click();
      else if (LOWORD(wp) == IDC_INTERFACEFRM_COMMAND2) Command2_Click();
      return 0;
    case WM_CLOSE:
      // Closing the main window only hides it; the program lives in the tray.
      ShowWindow(hwnd(), SW_HIDE);
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}
