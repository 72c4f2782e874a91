// The pop-up detector screen: the small always-on-top notification that
// announces a blocked pop-up. Loaded hidden at start-up; one pop-up at a time.
#pragma once
#include <cstdint>
#include <string>

#include "app/window_win.h"

class PopUpDetectorScrFrm : public tl::Window {
 public:
  bool Load();

  // Announces a pop-up found by the detection pass.
  void ShowPop(const std::string& windowName, int16_t browserIndex, HWND window,
               int16_t recordIndex, DWORD threadId, bool isDialog);
  // One step of the slide, the countdown and the re-check; the detection
  // pass calls it while the screen is visible.
  void Timer1_Timer();
  void CloseDetector(bool approveWnd = false, bool dontHideForm = false);
  // Refreshes the labels; true when the pop-up is white-listed.
  bool Check_URL();

  HWND PendingWindow() const { return pending_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND pending_ = nullptr;
};
