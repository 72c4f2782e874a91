// The whole program, started as StartUp starts it, with a timer standing in
// for the user who moves the main window and chooses "Log &Off". Run by
// session_end in a Wine prefix of its own.
#include <windows.h>

#include "app/root_win.h"
#include "app/startup_win.h"
#include "mainwin/interface_frm_win.h"
#include "shutdown/shutdown_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  SetTimer(nullptr, 0, 2000, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    // Only the exit's save can put this place into the settings.
    SetWindowPos(ModMain::MainForm().hwnd(), nullptr, 123, 45, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ModExitWin::ShutDownCommand(ModMain::CancelForm(), 7);
  });
  ModMain::StartUp();
}
