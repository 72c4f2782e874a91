// The splash screen: shown at start, closes itself after four seconds.
#pragma once
#include "app/form_win.h"
#include "app/window_win.h"

class SplashFrm : public tl::Window {
 public:
  // Shows a new splash screen; it deletes itself when it closes.
  static void ShowSplash();
  // Closes the splash screen now, if it is still up.
  static void CloseSplash();
  static constexpr UINT kCloseMs = 4000;
  static constexpr UINT kAnimateMs = 600;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDestroyed() override;

 private:
  void Paint();
  int dots_ = 0;
  tl::FormLayout layout_;
};
