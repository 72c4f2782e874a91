// Lets another process end the program the orderly way: the installer and
// the uninstaller post the registered message kExitRequestMessage to this
// hidden window, so the hooks come off and the settings are saved before
// the program's files are replaced or removed.
#pragma once
#include <windows.h>

#include <functional>

#include "app/window_win.h"

namespace tl {

inline constexpr const char* kExitRequestClass = "TarvickLiteExit";
inline constexpr const char* kExitRequestMessage = "TarvickLite.ExitRequest";

class ExitRequestWindow : public Window {
 public:
  // Creates the window, hidden; onRequest runs when the message arrives.
  bool Load(std::function<void()> onRequest);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  UINT message_ = 0;
  std::function<void()> onRequest_;
};

}  // namespace tl
