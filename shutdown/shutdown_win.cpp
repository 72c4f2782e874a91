#include "shutdown/shutdown_win.h"

#include <shellapi.h>

#include "app/dialog_win.h"
#include "app/program_win.h"
#include "shutdown/cancel_event_win.h"
#include "shutdown/countdown.h"

namespace ModExitWin {

namespace {

int SecondNow() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t.wSecond;
}

bool IsFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Sleeps until a message arrives or the clock's second turns, then lets
// every pending message run: the countdown costs no processor time while
// the windows stay alive. False when the program was asked to quit.
bool WaitAndPump(CancelEvent& form) {
  SYSTEMTIME t;
  GetLocalTime(&t);
  MsgWaitForMultipleObjectsEx(0, nullptr, 1000 - t.wMilliseconds, QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop
      return false;
    }
    // The form is no dialog: Esc and Enter on it mean Cancel.
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN) &&
        (msg.hwnd == form.hwnd() || IsChild(form.hwnd(), msg.hwnd))) {
      form.btnCancel_Click();
      continue;
    }
    if (tl::Dialog::PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

}  // namespace

bool CountDown(CancelEvent& form, const std::string& text) {
  form.CancelRequested = false;
  form.Counting = true;
  form.ShowCountdown(ModMain::Prog().MessageOwner);
  int start = SecondNow();
  bool cancelled = false;
  for (;;) {
    if (form.CancelRequested) {
      cancelled = true;
      break;
    }
    tl::CountdownState s = tl::CountdownAt(start, SecondNow());
    if (s.expired) break;
    form.SetCancelLabel(text + std::to_string(s.remaining));
    if (!WaitAndPump(form)) {
      cancelled = true;
      break;
    }
  }
  form.CancelRequested = false;
  form.Counting = false;
  ShowWindow(form.hwnd(), SW_HIDE);
  return cancelled;
}

void EndSession(UINT flags, const SessionCalls& calls) {
  ModMain::Program& p = ModMain::Prog();
  if (p.IsNT) ModMain::EnablePrivilege("SeShutdownPrivilege");
  calls.exitWindowsEx(flags, 0xFFFFFFFF);
  ShowWindow(p.MessageOwner, SW_HIDE);
  p.Exiting = true;  // the main loop ends and the program exits
}

std::string ExitToDosPath() {
  std::string dir(200, '\0');
  UINT n = GetWindowsDirectoryA(dir.data(), static_cast<UINT>(dir.size()));
  // A folder too long for the buffer reports the size it needs instead.
  if (n >= dir.size()) {
    dir.assign(n, '\0');
    n = GetWindowsDirectoryA(dir.data(), n);
  }
  dir.resize(n < dir.size() ? n : 0);
  return dir + "\\Exit To Dos.pif";
}

void ShutDownCommand(CancelEvent& form, int index, const SessionCalls& calls) {
  tl::ShutDownRow row = tl::ShutDownRowAt(index);
  // A second countdown inside the first would leave the first running on
  // unseen after a Cancel, and end the session all the same.
  if (row.action == tl::ShutDownAction::None || form.Counting) return;
  if (CountDown(form, row.countdownText)) return;
  if (row.action == tl::ShutDownAction::ExitWindows) {
    EndSession(row.exitFlags, calls);
    return;
  }
  std::string path = ExitToDosPath();
  if (!IsFile(path)) {
    ModMain::ShowMessage(ModMain::Prog().MessageOwner,
                         "Cannot find " + path +
                             "\n\nPlease make sure this file is in your Windows directory",
                         MB_OK | MB_ICONERROR);
    return;
  }
  ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace ModExitWin
