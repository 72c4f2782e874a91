#include "popup/input_watcher_win.h"

#include <atomic>

namespace ModPop {

namespace {

// Every field is written by the watcher thread alone and read by the UI
// thread under a sequence count: the writer never waits, a reader that saw
// the count move copies again.
struct AtomicMoment {
  std::atomic<uint32_t> tick{0}, pid{0}, window{0};
  std::atomic<uint8_t> mods{0};
  std::atomic<bool> left{false}, inPage{false};

  void Store(const tl::InputMoment& m) {
    tick.store(m.tick, std::memory_order_relaxed);
    pid.store(m.pid, std::memory_order_relaxed);
    window.store(m.window, std::memory_order_relaxed);
    mods.store(m.mods, std::memory_order_relaxed);
    left.store(m.left, std::memory_order_relaxed);
    inPage.store(m.inPage, std::memory_order_relaxed);
  }
  tl::InputMoment Load() const {
    tl::InputMoment m;
    m.tick = tick.load(std::memory_order_relaxed);
    m.pid = pid.load(std::memory_order_relaxed);
    m.window = window.load(std::memory_order_relaxed);
    m.mods = mods.load(std::memory_order_relaxed);
    m.left = left.load(std::memory_order_relaxed);
    m.inPage = inPage.load(std::memory_order_relaxed);
    return m;
  }
};

constexpr int kRecentWindows = InputWatcher::kRecentWindows;

struct StateBlock {
  std::atomic<uint32_t> seq{0};
  AtomicMoment press, release, key;
  std::atomic<bool> leftDown{false};
  // Top-level windows of other programs lately created, and when each was
  // created and last shown (0 = not yet).
  std::atomic<uint32_t> recentWindow[kRecentWindows]{}, recentCreated[kRecentWindows]{},
      recentShown[kRecentWindows]{};
  // Set by the UI thread: the browser processes whose new windows it judges.
  std::atomic<uint32_t> browserPids[InputWatcher::kWatchedProcesses]{};
  std::atomic<uint64_t> events{0}, costTotal{0}, costMax{0};
};

StateBlock gBlock;
// Only the watcher thread touches these.
HANDLE gWakeEvent;
uint8_t gModsDown;  // left/right Ctrl, Shift, Alt as six bits
int gRecentNext;
LARGE_INTEGER gQpcHz;
// New windows of browser processes not yet visible, looked at every
// millisecond until they show: Wine sends no show event. Once the system
// has sent one, it is trusted and nothing is looked at again.
constexpr int kPendingMax = 8;
constexpr uint32_t kPendingMs = 1000;
struct Pending {
  HWND window;
  int slot;  // in the recent windows
  uint32_t created;
};
Pending gPending[kPendingMax];
int gPendingCount;
bool gShowEventsSeen;

uint32_t HandleValue(HWND h) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h)); }

void BeginWrite() {
  gBlock.seq.fetch_add(1, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
}
void EndWrite() { gBlock.seq.fetch_add(1, std::memory_order_release); }

// Charges the time since `start` to the callbacks' account.
void Charge(const LARGE_INTEGER& start) {
  LARGE_INTEGER end;
  QueryPerformanceCounter(&end);
  uint64_t d = static_cast<uint64_t>(end.QuadPart - start.QuadPart);
  gBlock.events.fetch_add(1, std::memory_order_relaxed);
  gBlock.costTotal.fetch_add(d, std::memory_order_relaxed);
  if (d > gBlock.costMax.load(std::memory_order_relaxed)) gBlock.costMax.store(d, std::memory_order_relaxed);
}

uint8_t ModsNow() {
  uint8_t m = 0;
  if (gModsDown & 0x03) m |= tl::kModCtrl;
  if (gModsDown & 0x0C) m |= tl::kModShift;
  if (gModsDown & 0x30) m |= tl::kModAlt;
  return m;
}

// The modifiers as the system holds them. Every key event before a mouse
// event has been processed by then, so this is right for a click, and it
// mends bits whose release the hook never saw (keys let go on the secure
// desktop after Ctrl+Alt+Del).
uint8_t ResyncMods() {
  constexpr struct { int vk; uint8_t pair, left; } kKeys[] = {
      {VK_CONTROL, 0x03, 0x01}, {VK_SHIFT, 0x0C, 0x04}, {VK_MENU, 0x30, 0x10}};
  for (const auto& k : kKeys) {
    if (GetAsyncKeyState(k.vk) >= 0) gModsDown &= static_cast<uint8_t>(~k.pair);
    else if (!(gModsDown & k.pair)) gModsDown |= k.left;
  }
  return ModsNow();
}

// The bit of a modifier key, 0 for any other key. Injected input may name
// the side-less key.
uint8_t ModifierBit(DWORD vk) {
  switch (vk) {
    case VK_CONTROL: case VK_LCONTROL: return 0x01;
    case VK_RCONTROL: return 0x02;
    case VK_SHIFT: case VK_LSHIFT: return 0x04;
    case VK_RSHIFT: return 0x08;
    case VK_MENU: case VK_LMENU: return 0x10;
    case VK_RMENU: return 0x20;
  }
  return 0;
}

// Where a click lands: the top-level window and its process, and whether
// the window hit is the page or a child of it. WindowFromPoint sends no
// message to another thread's windows, so this never waits on a program.
tl::InputMoment MomentAt(POINT pt, bool left) {
  tl::InputMoment m;
  m.tick = GetTickCount();
  // Only bits the hook holds can be stale; three system reads per click
  // are spared when none is held.
  m.mods = gModsDown ? ResyncMods() : 0;
  m.left = left;
  HWND hit = WindowFromPoint(pt);
  if (!hit) return m;
  HWND top = GetAncestor(hit, GA_ROOT);
  DWORD pid = 0;
  GetWindowThreadProcessId(top ? top : hit, &pid);
  m.pid = pid;
  m.window = HandleValue(top ? top : hit);
  char cls[64];
  for (HWND w = hit; w && w != top && !m.inPage; w = GetParent(w))
    m.inPage = GetClassNameA(w, cls, sizeof cls) > 0 && tl::IsPageClass(cls);
  return m;
}

LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && (wp == WM_LBUTTONDOWN || wp == WM_LBUTTONUP || wp == WM_MBUTTONDOWN ||
                            wp == WM_MBUTTONUP)) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    const auto* ms = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
    bool left = wp == WM_LBUTTONDOWN || wp == WM_LBUTTONUP;
    bool down = wp == WM_LBUTTONDOWN || wp == WM_MBUTTONDOWN;
    tl::InputMoment m = MomentAt(ms->pt, left);
    BeginWrite();
    (down ? gBlock.press : gBlock.release).Store(m);
    if (left) gBlock.leftDown.store(down, std::memory_order_relaxed);
    EndWrite();
    Charge(start);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK LowLevelKeyboardProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    const auto* kb = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    bool down = wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN;
    if (uint8_t bit = ModifierBit(kb->vkCode)) {
      // A modifier alone asks for nothing; it only colours what follows.
      gModsDown = down ? (gModsDown | bit) : (gModsDown & ~bit);
    } else if (down) {
      tl::InputMoment m;
      m.tick = GetTickCount();
      m.mods = ModsNow();
      HWND fg = GetForegroundWindow();
      DWORD pid = 0;
      if (fg) GetWindowThreadProcessId(fg, &pid);
      m.pid = pid;
      m.window = HandleValue(fg);
      BeginWrite();
      gBlock.key.Store(m);
      EndWrite();
    }
    Charge(start);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

// A burst of windows sets the event once: the UI thread runs one pass.
void Wake() { SetEvent(gWakeEvent); }

bool IsBrowserProcess(DWORD pid) {
  for (const auto& p : gBlock.browserPids)
    if (pid && p.load(std::memory_order_relaxed) == pid) return true;
  return false;
}

void NoteShown(int slot, uint32_t now) {
  BeginWrite();
  gBlock.recentShown[slot].store(now, std::memory_order_relaxed);
  EndWrite();
  Wake();
}

// A window created wakes the UI thread; so does one of those when it shows.
void CALLBACK WindowEventProc(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG idObject, LONG idChild, DWORD,
                              DWORD) {
  if (idObject != OBJID_WINDOW || idChild != CHILDID_SELF || !hwnd) return;
  uint32_t h = HandleValue(hwnd), now = GetTickCount();
  if (event == EVENT_OBJECT_CREATE) {
    if (GetAncestor(hwnd, GA_PARENT) != GetDesktopWindow()) return;  // top-level only
    int slot = gRecentNext;
    BeginWrite();
    gBlock.recentWindow[slot].store(h, std::memory_order_relaxed);
    gBlock.recentCreated[slot].store(now, std::memory_order_relaxed);
    gBlock.recentShown[slot].store(0, std::memory_order_relaxed);
    EndWrite();
    gRecentNext = (gRecentNext + 1) % kRecentWindows;
    Wake();
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (!gShowEventsSeen && gPendingCount < kPendingMax && IsBrowserProcess(pid) && !IsWindowVisible(hwnd) &&
        !GetWindow(hwnd, GW_OWNER))
      gPending[gPendingCount++] = {hwnd, slot, now};
    return;
  }
  gShowEventsSeen = true;
  gPendingCount = 0;
  for (int i = 0; i < kRecentWindows; ++i) {
    if (gBlock.recentWindow[i].load(std::memory_order_relaxed) != h) continue;
    NoteShown(i, now);
    return;
  }
}

// Pending windows that showed wake the UI thread; gone or old ones are dropped.
void CheckPending() {
  uint32_t now = GetTickCount();
  for (int i = 0; i < gPendingCount;) {
    const Pending& p = gPending[i];
    bool shown = IsWindowVisible(p.window) != FALSE;
    if (shown && gBlock.recentWindow[p.slot].load(std::memory_order_relaxed) == HandleValue(p.window))
      NoteShown(p.slot, now);
    if (shown || !IsWindow(p.window) || now - p.created > kPendingMs) gPending[i] = gPending[--gPendingCount];
    else ++i;
  }
}

struct StartArgs {
  HANDLE ready;
  bool ok;
};

}  // namespace

DWORD WINAPI InputWatcher::ThreadMain(void* p) {
  auto* args = static_cast<StartArgs*>(p);
  // Input waits for these callbacks: they must run the moment it comes.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  HINSTANCE inst = GetModuleHandleA(nullptr);
  HHOOK mouse = SetWindowsHookExA(WH_MOUSE_LL, LowLevelMouseProc, inst, 0);
  HHOOK keys = SetWindowsHookExA(WH_KEYBOARD_LL, LowLevelKeyboardProc, inst, 0);
  // Windows sends both events; Wine only the creation, before the window shows.
  constexpr DWORD kFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
  HWINEVENTHOOK created = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr,
                                          WindowEventProc, 0, 0, kFlags);
  HWINEVENTHOOK shown = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr,
                                        WindowEventProc, 0, 0, kFlags);
  args->ok = mouse && keys && created;
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before Stop can post
  bool ok = args->ok;
  SetEvent(args->ready);  // args is gone after this
  // Sent messages (the hooks' calls) are taken while waiting; a wait with
  // a timeout only while a new browser window has yet to show.
  while (ok) {
    MsgWaitForMultipleObjectsEx(0, nullptr, gPendingCount ? 1 : INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    while (ok && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) ok = false;
      else DispatchMessageA(&msg);
    }
    if (gPendingCount) CheckPending();
  }
  if (shown) UnhookWinEvent(shown);
  if (created) UnhookWinEvent(created);
  if (keys) UnhookWindowsHookEx(keys);
  if (mouse) UnhookWindowsHookEx(mouse);
  return 0;
}

bool InputWatcher::Start() {
  if (Running()) return true;
  if (!wake_) wake_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!wake_) return false;
  gWakeEvent = wake_.get();
  gModsDown = 0;
  gPendingCount = 0;
  QueryPerformanceFrequency(&gQpcHz);
  tl::KernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!ready) return false;
  StartArgs args{ready.get(), false};
  thread_.reset(CreateThread(nullptr, 64 * 1024, ThreadMain, &args, 0, &threadId_));
  if (!thread_) return false;
  WaitForSingleObject(ready.get(), INFINITE);
  if (!args.ok) {
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
    return false;
  }
  return true;
}

void InputWatcher::Stop() {
  if (!Running()) return;
  PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
  WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
}

tl::InputEvidence InputWatcher::Evidence() const {
  tl::InputEvidence in;
  for (;;) {
    uint32_t before = gBlock.seq.load(std::memory_order_acquire);
    if (before & 1) {
      YieldProcessor();
      continue;
    }
    in.press = gBlock.press.Load();
    in.release = gBlock.release.Load();
    in.key = gBlock.key.Load();
    in.leftDown = gBlock.leftDown.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (gBlock.seq.load(std::memory_order_relaxed) == before) return in;
  }
}

uint32_t InputWatcher::AppearedAt(HWND window) const {
  uint32_t h = HandleValue(window);
  for (;;) {
    uint32_t before = gBlock.seq.load(std::memory_order_acquire);
    if (before & 1) {
      YieldProcessor();
      continue;
    }
    uint32_t tick = 0;
    for (int i = 0; i < kRecentWindows; ++i) {
      if (gBlock.recentWindow[i].load(std::memory_order_relaxed) != h) continue;
      uint32_t shown = gBlock.recentShown[i].load(std::memory_order_relaxed);
      tick = shown ? shown : gBlock.recentCreated[i].load(std::memory_order_relaxed);
    }
    std::atomic_thread_fence(std::memory_order_acquire);
    if (gBlock.seq.load(std::memory_order_relaxed) == before) return tick;
  }
}

int InputWatcher::CreatedWithin(uint32_t now, int32_t ms, HWND* out) const {
  for (;;) {
    uint32_t before = gBlock.seq.load(std::memory_order_acquire);
    if (before & 1) {
      YieldProcessor();
      continue;
    }
    int n = 0;
    for (int i = 0; i < kRecentWindows; ++i) {
      uint32_t h = gBlock.recentWindow[i].load(std::memory_order_relaxed);
      int32_t age = static_cast<int32_t>(now - gBlock.recentCreated[i].load(std::memory_order_relaxed));
      if (h && age >= 0 && age < ms) out[n++] = reinterpret_cast<HWND>(static_cast<uintptr_t>(h));
    }
    std::atomic_thread_fence(std::memory_order_acquire);
    if (gBlock.seq.load(std::memory_order_relaxed) == before) return n;
  }
}

void InputWatcher::WatchProcesses(const uint32_t* pids, int count) {
  for (int i = 0; i < kWatchedProcesses; ++i)
    gBlock.browserPids[i].store(i < count ? pids[i] : 0, std::memory_order_relaxed);
}

InputWatcher::Costs InputWatcher::CallbackCosts() const {
  Costs c;
  c.events = gBlock.events.load();
  if (c.events && gQpcHz.QuadPart) {
    double us = 1e6 / static_cast<double>(gQpcHz.QuadPart);
    c.meanUs = static_cast<double>(gBlock.costTotal.load()) * us / static_cast<double>(c.events);
    c.maxUs = static_cast<double>(gBlock.costMax.load()) * us;
  }
  return c;
}

}  // namespace ModPop
