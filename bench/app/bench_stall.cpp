// How long the user-interface thread leaves a sent message unanswered while
// protection starts (its settle pause) and while a window is raised: a probe
// thread sends WM_NULL every millisecond and keeps the longest wait. A plain
// Sleep of the same length runs first as the yardstick.
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "app/main_loop_win.h"
#include "app/message_wait_win.h"
#include "app/program_win.h"
#include "app/root_win.h"
#include "app/startup_win.h"
#include "inspect/window_query_win.h"
#include "shutdown/cancel_event_win.h"

namespace {

std::atomic<bool> gProbing{false};
std::atomic<DWORD> gLongest{0};

DWORD WINAPI Probe(void* arg) {
  HWND target = static_cast<HWND>(arg);
  while (gProbing) {
    DWORD start = GetTickCount();
    DWORD_PTR r = 0;
    SendMessageTimeoutA(target, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r);
    DWORD took = GetTickCount() - start;
    if (took > gLongest) gLongest = took;
    Sleep(1);
  }
  return 0;
}

template <typename Work>
DWORD LongestStall(HWND target, Work work) {
  gLongest = 0;
  gProbing = true;
  HANDLE probe = CreateThread(nullptr, 0, Probe, target, 0, nullptr);
  // Outside the work this thread answers at once, so only the work's own
  // stalls are counted.
  tl::WaitAnsweringSentMessages(50);
  work();
  gProbing = false;
  while (MsgWaitForMultipleObjects(1, &probe, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  CloseHandle(probe);
  return gLongest;
}

}  // namespace

int main() {
  ModMain::InitProcessValues();
  ModMain::LoadForms();
  ModMain::Program& p = ModMain::Prog();
  p.Settings.BlockPopUps = true;
  HWND target = ModMain::CancelForm().hwnd();
  HWND other = CreateWindowExA(0, "STATIC", "raise me", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                               300, 200, nullptr, nullptr, nullptr, nullptr);

  DWORD sleep = LongestStall(target, [] { Sleep(500); });
  DWORD start = LongestStall(target, [] { ModMainLoop::StartProtection(); });
  DWORD raise = LongestStall(target, [&] { ModWndOpr::BringWindowToFront(other); });
  ModMainLoop::StopProtection();
  std::printf("longest unanswered sent message, one run (ms)\n");
  std::printf("  plain Sleep(500) yardstick : %lu\n", sleep);
  std::printf("  protection start           : %lu\n", start);
  std::printf("  raising a window           : %lu\n", raise);
  return 0;
}
