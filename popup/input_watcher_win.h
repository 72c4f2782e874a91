// The input watcher: a thread of its own with the low-level mouse and
// keyboard hooks and an out-of-context window-event hook. Low-level hooks
// run on the thread that installed them and Windows drops one whose callback
// is slow; the UI thread sleeps, shows modal boxes and counts down, so it
// cannot own them. The callbacks only note times, windows, process ids and
// modifiers (never which key) in a block the UI thread reads, and signal
// the wake event when another program's top-level window is created, or one
// of those is shown.
#pragma once
#include <windows.h>

#include <cstdint>

#include "app/handles_win.h"
#include "popup/intent_rules.h"

namespace ModPop {

class InputWatcher {
 public:
  static constexpr int kRecentWindows = 16;
  static constexpr int kWatchedProcesses = 16;

  InputWatcher() = default;
  InputWatcher(const InputWatcher&) = delete;
  InputWatcher& operator=(const InputWatcher&) = delete;
  ~InputWatcher() { Stop(); }

  // Starts the thread (one watcher per process). False when the hooks
  // could not be installed.
  bool Start();
  void Stop();
  bool Running() const { return thread_.get() != nullptr; }

  // A consistent copy of what was last seen.
  tl::InputEvidence Evidence() const;
  // When the window was last seen shown, else created; 0 when not among the
  // recent ones.
  uint32_t AppearedAt(HWND window) const;
  // Other programs' top-level windows created less than `ms` before `now`,
  // into out[kRecentWindows]; their count.
  int CreatedWithin(uint32_t now, int32_t ms, HWND* out) const;
  // The browser processes whose new windows are judged: under Wine, which
  // sends no show event, their new windows are looked at until they show.
  void WatchProcesses(const uint32_t* pids, int count);
  // Signalled (auto-reset) on each window event; null before the first Start.
  // An event, not a posted message: a message that came during a pass was
  // dispatched after it without another one, and the wake was lost.
  HANDLE WakeEvent() const { return wake_.get(); }

  // Time spent inside the callbacks, for measurement.
  struct Costs {
    uint64_t events = 0;
    double meanUs = 0, maxUs = 0;
  };
  Costs CallbackCosts() const;

 private:
  static DWORD WINAPI ThreadMain(void* self);

  tl::KernelHandle thread_, wake_;
  DWORD threadId_ = 0;
};

}  // namespace ModPop
