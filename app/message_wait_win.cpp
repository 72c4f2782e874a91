#include "app/message_wait_win.h"

#include "app/ticks.h"

namespace tl {

void WaitAnsweringSentMessages(DWORD ms) {
  const uint32_t start = GetTickCount();
  for (;;) {
    int32_t left = static_cast<int32_t>(ms) - TickDiff(GetTickCount(), start);
    if (left <= 0) return;
    DWORD r = MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left), QS_SENDMESSAGE,
                                          MWMO_INPUTAVAILABLE);
    if (r == WAIT_TIMEOUT) return;
    // A peek for sent messages answers them and removes nothing else.
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace tl
