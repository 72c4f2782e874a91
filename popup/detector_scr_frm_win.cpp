#include "popup/detector_scr_frm_win.h"

bool PopUpDetectorScrFrm::Load() {
  return Create("TarvickLitePopUpDetector", "Pop-up detector", WS_POPUP,
                WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0, 260, 110);
}

LRESULT PopUpDetectorScrFrm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) {
    ShowWindow(hwnd(), SW_HIDE);  // stays loaded between pop-ups
    return 0;
  }
  return Default(msg, wp, lp);
}

// Filled in with the screen's layout and behaviour.
void PopUpDetectorScrFrm::ShowPop(const std::string&, int16_t, HWND, int16_t, DWORD, bool) {}
void PopUpDetectorScrFrm::Timer1_Timer() {}
void PopUpDetectorScrFrm::CloseDetector(bool, bool) { pending_ = nullptr; }
bool PopUpDetectorScrFrm::Check_URL() { return false; }
