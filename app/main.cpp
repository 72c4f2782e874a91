#include <windows.h>

#include "app/startup_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    ModMain::StartUp();
  } catch (...) {
    // Start-up has no one to report to: end as an orderly exit would.
    ExitProcess(1);
  }
}
