#include "app/main_loop_win.h"

#include <windows.h>

#include "app/startup_win.h"

namespace ModMainLoop {

int16_t RefreshIntervalSeconds = 0;

void RunMainLoop() {
  MSG msg;
  while (!ModMain::Exiting && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace ModMainLoop
