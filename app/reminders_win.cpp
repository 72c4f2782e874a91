#include "app/reminders_win.h"

#include <mmsystem.h>
#include <netlistmgr.h>
#include <ras.h>

#include <memory>

#include "app/handles_win.h"
#include "app/program_win.h"
#include "app/ticks.h"

namespace IntMod {

bool SimulatedConnection = false;
tl::ReminderState Reminder;
POINT LastCursorPos = {};
POINT CurrentCursorPos = {};
std::function<void()> ShowSettings;

bool UserWasActive() {
  bool active = false;
  if (GetCursorPos(&CurrentCursorPos) &&
      (CurrentCursorPos.x != LastCursorPos.x || CurrentCursorPos.y != LastCursorPos.y)) {
    LastCursorPos = CurrentCursorPos;
    active = true;
  }
  // Every code is queried each time: the query also clears the "pressed
  // since last time" bit, so a skipped code would count an old press later.
  for (int vk = 32; vk <= 128; ++vk)
    if (GetAsyncKeyState(vk) != 0) active = true;
  return active;
}

void ReminderTick(uint32_t tick) {
  const tl::SettingsRecord& s = ModMain::Prog().Settings;
  if (tl::ReminderStep(Reminder, tick, s.WinReminderInterval, s.IdleResetMinutes, UserWasActive) !=
      tl::ReminderOutcome::Remind)
    return;
  PlaySoundA((ModMain::Prog().ProgramFolder + "\\Bell.wav").c_str(), nullptr, SND_ASYNC | SND_FILENAME);
  ShowFrm(0, tl::ReminderTitle(s.WinReminderInterval), s.WinReminderText);
}

namespace {
using RasEnumFn = DWORD(WINAPI*)(LPRASCONNA, LPDWORD, LPDWORD);
using RasStatusFn = DWORD(WINAPI*)(HRASCONN, LPRASCONNSTATUSA);

struct Ras {
  RasEnumFn enumConnections = nullptr;
  RasStatusFn connectStatus = nullptr;
};

// Bound once; a machine without the dial-up library has no dial-up connection.
const Ras& RasApi() {
  static Ras ras = [] {
    Ras r;
    if (HMODULE lib = LoadLibraryA("rasapi32.dll")) {
      r.enumConnections = reinterpret_cast<RasEnumFn>(
          reinterpret_cast<void*>(GetProcAddress(lib, "RasEnumConnectionsA")));
      r.connectStatus = reinterpret_cast<RasStatusFn>(
          reinterpret_cast<void*>(GetProcAddress(lib, "RasGetConnectStatusA")));
    }
    return r;
  }();
  return ras;
}

// 256 records, kept for the process: the test runs ten times a second.
RASCONNA gConnections[256];
}  // namespace

bool IsDialUpConnected() {
  if (SimulatedConnection) return true;
  const Ras& ras = RasApi();
  if (!ras.enumConnections || !ras.connectStatus) return false;
  // The record sizes are those of the headers this program is built with:
  // the system checks them against its own layout.
  ZeroMemory(&gConnections[0], sizeof gConnections[0]);
  gConnections[0].dwSize = sizeof(RASCONNA);
  DWORD size = sizeof gConnections, count = 0;
  if (ras.enumConnections(gConnections, &size, &count) != 0 || count == 0) return false;
  RASCONNSTATUSA status{};
  status.dwSize = sizeof status;
  if (ras.connectStatus(gConnections[0].hrasconn, &status) != 0) return false;
  return status.rasconnstate == RASCS_Connected;
}

bool IsInternetConnected(uint32_t now) {
  // The system's network list: asked at most every two seconds, the
  // answer kept between, since the main loop asks ten times a second.
  static tl::ComPtr<INetworkListManager> networks;
  static bool created = false;
  static bool answer = false;
  static uint32_t askedAt = 0;
  if (created && tl::TickDiff(now, askedAt) >= 0 && tl::TickDiff(now, askedAt) < 2000) return answer;
  if (!created) {
    created = true;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // S_FALSE when already done
    if (FAILED(CoCreateInstance(CLSID_NetworkListManager, nullptr, CLSCTX_ALL,
                                IID_INetworkListManager, networks.put_void())))
      networks.reset();
  }
  askedAt = now;
  VARIANT_BOOL connected = VARIANT_FALSE;
  answer = networks && SUCCEEDED(networks->IsConnectedToInternet(&connected)) &&
           connected == VARIANT_TRUE;
  return answer;
}

void ShowFrm(int16_t intMsgType, const std::string& MsgTitle, const std::string& MsgText) {
  RemindersMsgFrm* form = RemindersMsgFrm::Current();
  if (!form) {
    auto created = std::make_unique<RemindersMsgFrm>();
    if (!created->Load()) return;
    form = created.release();  // owns itself until it closes
  }
  form->Show(intMsgType, MsgTitle, MsgText);
}

}  // namespace IntMod

namespace {
RemindersMsgFrm* gCurrent = nullptr;
constexpr int kClientW = 470, kClientH = 220;
}  // namespace

RemindersMsgFrm* RemindersMsgFrm::Current() { return gCurrent; }

bool RemindersMsgFrm::Load() {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  if (!Create("TarvickLiteReminder", "", style, WS_EX_TOOLWINDOW, 0, 0, kClientW, kClientH))
    return false;
  gCurrent = this;
  layout_.Attach(hwnd());
  using U = RECT;  // rectangles in 96-DPI units
  layout_.CreateChild("STATIC", "", SS_OWNERDRAW, IDC_CLOCKIMG, U{16, 16, 72, 72});
  ShowWindow(GetDlgItem(hwnd(), IDC_CLOCKIMG), SW_HIDE);
  layout_.CreateChild("STATIC", "", SS_LEFT, IDC_LABEL1, U{88, 12, kClientW - 20, 152});
  layout_.CreateChild("BUTTON",
                      "Don't show this reminder again (you can show it later from MoreTools )",
                      BS_AUTOCHECKBOX | WS_TABSTOP, IDC_DONTSHOWCHK, U{16, 158, kClientW - 12, 178});
  layout_.CreateChild("BUTTON", "&Settings ...", BS_PUSHBUTTON | WS_TABSTOP, IDC_SETTINGSBTN,
                      U{kClientW - 212, 186, kClientW - 116, 212});
  layout_.CreateChild("BUTTON", "&OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDC_OKBUTTON,
                      U{kClientW - 108, 186, kClientW - 12, 212});
  // In the bottom right corner of its monitor's work area.
  SIZE outer = tl::OuterSize({layout_.Px(kClientW), layout_.Px(kClientH)}, style, WS_EX_TOOLWINDOW,
                             layout_.Dpi());
  RECT work = tl::WorkAreaOf(hwnd());
  int gap = layout_.Px(8);
  SetWindowPos(hwnd(), nullptr, work.right - outer.cx - gap, work.bottom - outer.cy - gap, outer.cx,
               outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void RemindersMsgFrm::Show(int16_t msgType, const std::string& title, const std::string& text) {
  msgType_ = msgType;
  SetWindowTextA(hwnd(), title.c_str());
  SetDlgItemTextA(hwnd(), IDC_LABEL1, text.c_str());
  ShowWindow(hwnd(), SW_SHOW);
  ShowWindow(GetDlgItem(hwnd(), IDC_CLOCKIMG), SW_SHOW);
}

void RemindersMsgFrm::OKButton_Click() {
  Form_Unload();
  DestroyWindow(hwnd());
}

void RemindersMsgFrm::SettingsBtn_Click() {
  if (IntMod::ShowSettings) IntMod::ShowSettings();
  OKButton_Click();
}

void RemindersMsgFrm::Form_Unload() {
  if (unloading_) return;
  unloading_ = true;
  if (msgType_ == 0) IntMod::ReminderTick(0);
  ShowWindow(hwnd(), SW_HIDE);
  if (IsDlgButtonChecked(hwnd(), IDC_DONTSHOWCHK) == BST_CHECKED) {
    if (msgType_ == 0) ModMain::Prog().Settings.WinReminderInterval = 0;
    ModMain::SaveOptions();
  }
}

void RemindersMsgFrm::PaintClock(HDC dc, const RECT& r) {
  HBRUSH face = CreateSolidBrush(RGB(250, 250, 240));
  HPEN rim = CreatePen(PS_SOLID, layout_.Px(3), RGB(80, 90, 130));
  HGDIOBJ oldBrush = SelectObject(dc, face), oldPen = SelectObject(dc, rim);
  Ellipse(dc, r.left, r.top, r.right, r.bottom);
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  MoveToEx(dc, cx, cy, nullptr);
  LineTo(dc, cx, r.top + layout_.Px(10));  // minute hand at twelve
  MoveToEx(dc, cx, cy, nullptr);
  LineTo(dc, r.right - layout_.Px(14), cy);  // hour hand at three
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(face);
  DeleteObject(rim);
}

LRESULT RemindersMsgFrm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE)
        SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
      return Default(msg, wp, lp);
    case WM_COMMAND:
      if (LOWORD(wp) == IDC_OKBUTTON || LOWORD(wp) == IDCANCEL) OKButton_Click();
      else if (LOWORD(wp) == IDC_SETTINGSBTN) SettingsBtn_Click();
      return 0;
    case WM_DPICHANGED:
      layout_.OnDpiChanged(wp, lp);
      return 0;
    case WM_CLOSE:
      OKButton_Click();
      return 0;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (dis->CtlID != IDC_CLOCKIMG) return Default(msg, wp, lp);
      FillRect(dis->hDC, &dis->rcItem, GetSysColorBrush(COLOR_BTNFACE));
      PaintClock(dis->hDC, dis->rcItem);
      return TRUE;
    }
    default:
      return Default(msg, wp, lp);
  }
}

void RemindersMsgFrm::OnDestroyed() {
  if (gCurrent == this) gCurrent = nullptr;
  delete this;
}
