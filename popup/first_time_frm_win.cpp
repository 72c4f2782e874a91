#include "popup/first_time_frm_win.h"

#include <string>

#include "app/conversions.h"
#include "app/settings_store.h"
#include "app/program_win.h"
#include "app/window_win.h"
#include "popup/detector_rules.h"

namespace {

constexpr int kClientW = 380, kClientH = 178;

// An empty dialog template: the controls are made at WM_INITDIALOG in
// pixels, so the layout does not depend on the dialog font's units.
struct EmptyDialog {
  DLGTEMPLATE tmpl;
  WORD menu, cls;
  wchar_t title[15];
};

}  // namespace

bool ShowFirstTime(int16_t intMsgID, HWND OwnerFrm) {
  auto stored = ModMain::Prog().Store.Get(tl::kAppTitle, "General", tl::NoticeFlagKey(intMsgID), "True");
  if (!tl::NoticeWanted(stored)) return false;
  FirstTimeFrm form(intMsgID);
  form.ShowModal(OwnerFrm);
  return true;
}

FirstTimeFrm::~FirstTimeFrm() {
  if (font_) DeleteObject(font_);
}

void FirstTimeFrm::ShowModal(HWND owner) {
  static const EmptyDialog dlg = {
      {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 0, 0, 0, 0, 200, 100},
      0,
      0,
      L"Dialog Caption"};
  DialogBoxIndirectParamA(tl::AppInstance(), &dlg.tmpl, owner, Proc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK FirstTimeFrm::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  FirstTimeFrm* self;
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<FirstTimeFrm*>(lp);
    self->hwnd_ = h;
    SetWindowLongPtrA(h, DWLP_USER, lp);
  } else {
    self = reinterpret_cast<FirstTimeFrm*>(GetWindowLongPtrA(h, DWLP_USER));
  }
  if (!self) return FALSE;
  try {
    return self->HandleMessage(msg, wp, lp);
  } catch (...) {
    return FALSE;  // nothing may leave a dialog procedure
  }
}

void FirstTimeFrm::Form_Load() {
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  font_ = CreateFontIndirectA(&ncm.lfMessageFont);
  auto child = [&](const char* cls, const char* text, DWORD st, int x, int y, int w, int h, int id) {
    HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | st, x, y, w, h, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), tl::AppInstance(),
                             nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return c;
  };
  // The body first: it is the form's text for anyone reading the box.
  child("STATIC", "Message Body", SS_LEFT | SS_NOPREFIX, 64, 14, kClientW - 78, 98,
        IDC_FIRSTTIMEFRM_MSGBODYLBL);
  HWND image = child("STATIC", "", SS_ICON, 16, 16, 32, 32, IDC_FIRSTTIMEFRM_IMAGE1);
  SendMessageA(image, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_INFORMATION)), 0);
  child("STATIC", "", SS_ETCHEDHORZ, 10, 118, kClientW - 20, 2, IDC_FIRSTTIMEFRM_LINE1);
  child("BUTTON", "Don't show this message again", BS_AUTOCHECKBOX | WS_TABSTOP, 14, 134, 220, 22,
        IDC_FIRSTTIMEFRM_DONTDISPLAYCHK);
  child("STATIC", "", SS_ETCHEDVERT, kClientW - 108, 128, 2, 40, IDC_FIRSTTIMEFRM_LINE2);
  HWND ok = child("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, kClientW - 94, 134, 80, 26,
                  IDC_FIRSTTIMEFRM_OKBUTTON);

  RECT r = {0, 0, kClientW, kClientH};
  AdjustWindowRectEx(&r, GetWindowLongA(hwnd_, GWL_STYLE), FALSE, GetWindowLongA(hwnd_, GWL_EXSTYLE));
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Centred on the work area (the owner is a small corner window).
  RECT work, w;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(hwnd_, &w);
  SetWindowPos(hwnd_, nullptr, (work.left + work.right - (w.right - w.left)) / 2,
               (work.top + work.bottom - (w.bottom - w.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  SetDlgItemTextA(hwnd_, IDC_FIRSTTIMEFRM_MSGBODYLBL, tl::NoticeBody(msgId_).c_str());
  SetWindowTextA(hwnd_, tl::NoticeCaption(msgId_).c_str());
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  SetFocus(ok);
}

void FirstTimeFrm::OKButton_Click() {
  if (IsDlgButtonChecked(hwnd_, IDC_FIRSTTIMEFRM_DONTDISPLAYCHK) == BST_CHECKED)
    ModMain::Prog().Store.Write(tl::kAppTitle, "General", tl::NoticeFlagKey(msgId_), "False");
  EndDialog(hwnd_, IDOK);
}

INT_PTR FirstTimeFrm::HandleMessage(UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      Form_Load();
      return FALSE;  // focus set on OK above
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      SetBkColor(reinterpret_cast<HDC>(wp), RGB(255, 255, 255));
      return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDC_FIRSTTIMEFRM_OKBUTTON || LOWORD(wp) == IDOK) OKButton_Click();
      else if (LOWORD(wp) == IDCANCEL) EndDialog(hwnd_, IDCANCEL);  // Esc, close box: nothing stored
      return TRUE;
    default:
      return FALSE;
  }
}
