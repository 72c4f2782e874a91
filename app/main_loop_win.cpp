#include "app/main_loop_win.h"

#include <ole2.h>
#include <oleauto.h>

#include "app/dialog_win.h"
#include "app/main_loop.h"
#include "app/reminders_win.h"
#include "app/startup_win.h"
#include "mainwin/interface_frm_win.h"
#include "popup/pop_detect_win.h"
#include "shutdown/cancel_event_win.h"

namespace ModMainLoop {

uint32_t LastRefreshTick = 0;
int16_t RefreshIntervalSeconds = 0;
uint32_t PopUpStartTick = 0;
uint64_t PassCount = 0;

namespace {

// The outside component: whatever implements this interface on the machine.
const CLSID kComponentClsid = {0xB52F1570, 0x8A88, 0x11D5, {0x87, 0xA5, 0x00, 0xC0, 0x4F, 0x5F, 0x87, 0x04}};
const IID kComponentIid = {0xB52F156F, 0x8A88, 0x11D5, {0x87, 0xA5, 0x00, 0xC0, 0x4F, 0x5F, 0x87, 0x04}};

struct IExternalComponent : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE FirstMethod(VARIANT* result) = 0;
};

IExternalComponent* ExternalComponentObject = nullptr;
bool componentTried = false;  // created once; a missing class is not asked again

void CallExternalComponent() {
  if (!componentTried) {
    componentTried = true;
    CoInitialize(nullptr);  // S_FALSE when already done: usable either way
    void* obj = nullptr;
    if (SUCCEEDED(CoCreateInstance(kComponentClsid, nullptr, CLSCTX_ALL, kComponentIid, &obj)))
      ExternalComponentObject = static_cast<IExternalComponent*>(obj);
  }
  if (!ExternalComponentObject) return;
  VARIANT v;
  VariantInit(&v);
  ExternalComponentObject->FirstMethod(&v);  // the answer is not used
  VariantClear(&v);
}

void DispatchPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ModMain::Exiting = true;
      return;
    }
    if (tl::Dialog::PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

tl::ConnectionFlags Flags() { return {ModMain::DialUpStartPending, ModMain::LanStartPending}; }
void SetFlags(const tl::ConnectionFlags& f) {
  ModMain::DialUpStartPending = f.DialUpStartPending;
  ModMain::LanStartPending = f.LanStartPending;
}

}  // namespace

void ReleaseExternalComponent() {
  if (ExternalComponentObject) ExternalComponentObject->Release();
  ExternalComponentObject = nullptr;
}

void ResetRefreshTimer() { LastRefreshTick = GetTickCount(); }

void RemoveHooks() { ModPop::StopPopupBlocking(); }

void StopProtection() {
  ModMain::DialUpStartPending = true;
  ModMain::LanStartPending = true;
  RemoveHooks();
}

void StartProtection(uint32_t tick) {
  PopUpStartTick = tick;
  Sleep(500);  // lets the new connection's windows settle before the snapshot
  ModPop::TakeQuickSnapshot();
  if (ModMain::Settings.BlockPopUps) ModPop::StartPopupBlocking();
}

void PeriodicWork() {
  ++PassCount;
  uint32_t now = GetTickCount();
  InterfaceFrm& main = ModMain::MainForm();
  if (tl::RefreshDue(now, LastRefreshTick, RefreshIntervalSeconds)) {
    if (IsWindowVisible(main.hwnd())) {
      CallExternalComponent();
      main.DoRefresh();
    }
    LastRefreshTick = now;
  }
  bool lan = ModMain::Settings.LANCon == 1;
  // With a permanent connection the dial-up state decides nothing below.
  bool connected = !lan && IntMod::IsDialUpConnected();
  tl::ConnectionFlags flags = Flags();
  tl::ConnectionAction action = tl::DecideConnection(lan, connected, flags);
  if (action == tl::ConnectionAction::StartProtection) {
    SetFlags(flags);
    StartProtection(now);
  } else if (action == tl::ConnectionAction::StopProtection) {
    StopProtection();
  }
  if (lan || connected) {
    if (ModMain::Settings.BlockPopUps)
      ModPop::DetectPopups();
    else
      RemoveHooks();
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
  HWND mainWnd = ModMain::MainForm().hwnd();
  while (!ModMain::Exiting) {
    // Each step goes on when another fails: nothing may end the loop early.
    try {
      WaitMessage();
      MSG msg;
      if (PeekMessageA(&msg, mainWnd, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) ShowMainWindow();
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
