#include "app/main_loop_win.h"

#include <ole2.h>
#include <oleauto.h>

#include "app/dialog_win.h"
#include "app/handles_win.h"
#include "app/main_loop.h"
#include "app/message_wait_win.h"
#include "app/program_win.h"
#include "app/root_win.h"
#include "app/reminders_win.h"
#include "mainwin/interface_frm_win.h"
#include "popup/detector_scr_frm_win.h"
#include "popup/pop_blocker_win.h"

namespace ModMainLoop {

uint32_t LastRefreshTick = 0;
uint64_t PassCount = 0;

namespace {

// The outside component: whatever implements this interface on the machine.
const CLSID kComponentClsid = {0xB52F1570, 0x8A88, 0x11D5, {0x87, 0xA5, 0x00, 0xC0, 0x4F, 0x5F, 0x87, 0x04}};
const IID kComponentIid = {0xB52F156F, 0x8A88, 0x11D5, {0x87, 0xA5, 0x00, 0xC0, 0x4F, 0x5F, 0x87, 0x04}};

struct IExternalComponent : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE FirstMethod(VARIANT* result) = 0;
};

tl::ComPtr<IExternalComponent> ExternalComponentObject;
bool componentTried = false;  // created once; a missing class is not asked again

void CallExternalComponent() {
  if (!componentTried) {
    componentTried = true;
    CoInitialize(nullptr);  // S_FALSE when already done: usable either way
    if (FAILED(CoCreateInstance(kComponentClsid, nullptr, CLSCTX_ALL, kComponentIid,
                                ExternalComponentObject.put_void())))
      ExternalComponentObject.reset();
  }
  if (!ExternalComponentObject) return;
  VARIANT v;
  VariantInit(&v);
  ExternalComponentObject->FirstMethod(&v);  // the answer is not used
  VariantClear(&v);
}

void DispatchPending() {
  MSG msg;
  HWND mainWnd = ModMain::MainForm().hwnd();
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ModMain::Prog().Exiting = true;
      return;
    }
    if (msg.message == WM_HOTKEY && msg.hwnd == mainWnd) {
      ShowMainWindow();
      continue;
    }
    if (tl::Dialog::PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

tl::ConnectionFlags Flags() {
  return {ModMain::Prog().DialUpStartPending, ModMain::Prog().LanStartPending};
}
void SetFlags(const tl::ConnectionFlags& f) {
  ModMain::Prog().DialUpStartPending = f.DialUpStartPending;
  ModMain::Prog().LanStartPending = f.LanStartPending;
}

}  // namespace

void ReleaseExternalComponent() { ExternalComponentObject.reset(); }

void ResetRefreshTimer() { LastRefreshTick = GetTickCount(); }

void RemoveHooks() { ModMain::Blocker().StopPopupBlocking(); }

void StopProtection() {
  ModMain::Prog().DialUpStartPending = true;
  ModMain::Prog().LanStartPending = true;
  RemoveHooks();
}

void StartProtection() {
  ModMain::Program& p = ModMain::Prog();
  // Lets the new connection's windows settle before the snapshot.
  tl::WaitAnsweringSentMessages(500);
  ModPop::TakeQuickSnapshot();
  if (p.Settings.BlockPopUps) ModMain::Blocker().StartPopupBlocking(p.HookOwner);
}

void PeriodicWork() {
  ++PassCount;
  uint32_t now = GetTickCount();
  ModMain::Program& p = ModMain::Prog();
  InterfaceFrm& main = ModMain::MainForm();
  if (tl::RefreshDue(now, LastRefreshTick, main.RefreshIntervalSeconds())) {
    if (IsWindowVisible(main.hwnd())) {
      CallExternalComponent();
      main.DoRefresh();
    }
    LastRefreshTick = now;
  }
  bool lan = p.Settings.LANCon == 1;
  // With a permanent connection the dial-up state decides nothing below.
  // In modem mode a machine online through its network counts as connected
  // too: today almost nobody dials up, and protection would never start.
  bool connected = !lan && (IntMod::IsDialUpConnected() || IntMod::IsInternetConnected(now));
  tl::ConnectionFlags flags = Flags();
  tl::ConnectionAction action = tl::DecideConnection(lan, connected, flags);
  if (action == tl::ConnectionAction::StartProtection) {
    SetFlags(flags);
    StartProtection();
  } else if (action == tl::ConnectionAction::StopProtection) {
    StopProtection();
  }
  PopUpDetectorScrFrm& screen = ModMain::DetectorForm();
  if ((lan || connected) && p.Settings.BlockPopUps) {
    ModMain::Blocker().DetectPopups(screen);
  } else {
    if (lan || connected) RemoveHooks();
    // A pop-up hidden when protection stopped still counts down and goes.
    if (IsWindowVisible(screen.hwnd())) screen.Timer1_Timer();
  }
  IntMod::ReminderTick(now);
}

void ShowMainWindow() {
  InterfaceFrm& main = ModMain::MainForm();
  static bool firstTime = true;
  bool wasVisible = IsWindowVisible(main.hwnd());
  ShowWindow(main.hwnd(), SW_SHOWNORMAL);
  main.BringForward();
  if (firstTime) {
    firstTime = false;
    main.TlbButtons("PopUp");
  }
  if (!wasVisible) {
    ResetRefreshTimer();
    main.DoRefresh();
  }
  main.ApplyAlwaysOnTop();
}

void RunMainLoop() {
  IntMod::ReminderTick(GetTickCount());
  while (!ModMain::Prog().Exiting) {
    // Each step goes on when another fails: nothing may end the loop early.
    try {
      // A changed hand-off value (a new window, a click) or a window the
      // input watcher saw wakes the loop as a message does, so a pop-up is
      // judged at once, not at the next beat.
      ModPop::PopupBlocker& blocker = ModMain::Blocker();
      HANDLE wakes[ModPop::PopupBlocker::kWakeHandles];
      DWORD n = static_cast<DWORD>(blocker.PassWakeHandles(wakes));
      DWORD r = MsgWaitForMultipleObjectsEx(n, wakes, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      if (r - WAIT_OBJECT_0 < n) blocker.PassWoken(wakes[r - WAIT_OBJECT_0]);
      PeriodicWork();
    } catch (...) {
    }
    try {
      DispatchPending();
    } catch (...) {
    }
  }
}

}  // namespace ModMainLoop
