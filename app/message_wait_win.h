// Pauses of the work that do not stall the thread: the user-interface thread
// owns hooks whose calls from other programs arrive as sent messages, so it
// must keep answering them while it waits.
#pragma once
#include <windows.h>

namespace tl {

// Waits ms milliseconds, answering sent messages (and hook calls) as they
// arrive; posted messages stay queued for the main loop, so nothing of this
// program runs again in the middle of the caller's work.
void WaitAnsweringSentMessages(DWORD ms);

}  // namespace tl
