// The countdown form. Hidden from start-up to exit: its 100 ms timer paces
// the main loop, its window is the one handed to the hook library, and it
// turns Windows' session end into the program's orderly exit.
#pragma once
#include <functional>

#include "app/window_win.h"

class CancelEvent : public tl::Window {
 public:
  // onSessionEnd runs when Windows ends the session.
  bool Load(std::function<void()> onSessionEnd);
  static constexpr UINT_PTR kTimer1 = 1;
  static constexpr UINT kTimer1Interval = 100;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  std::function<void()> onSessionEnd_;
};
