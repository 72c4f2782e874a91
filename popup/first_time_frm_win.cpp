#include "popup/first_time_frm_win.h"

#include <string>

#include "app/conversions.h"
#include "app/settings_store.h"
#include "app/form_win.h"
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
  layout_.Attach(hwnd_);
  using U = RECT;  // rectangles in 96-DPI units
  // The body first: it is the form's text for anyone reading the box.
  layout_.CreateChild("STATIC", "Message Body", SS_LEFT | SS_NOPREFIX, IDC_FIRSTTIMEFRM_MSGBODYLBL,
                      U{64, 14, kClientW - 14, 112});
  HWND image = layout_.CreateChild("STATIC", "", SS_ICON | SS_REALSIZECONTROL,
                                   IDC_FIRSTTIMEFRM_IMAGE1, U{16, 16, 48, 48});
  SendMessageA(image, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_INFORMATION)), 0);
  layout_.CreateChild("STATIC", "", SS_ETCHEDHORZ, IDC_FIRSTTIMEFRM_LINE1,
                      U{10, 118, kClientW - 10, 120});
  layout_.CreateChild("BUTTON", "Don't show this message again", BS_AUTOCHECKBOX | WS_TABSTOP,
                      IDC_FIRSTTIMEFRM_DONTDISPLAYCHK, U{14, 134, 234, 156});
  layout_.CreateChild("STATIC", "", SS_ETCHEDVERT, IDC_FIRSTTIMEFRM_LINE2,
                      U{kClientW - 108, 128, kClientW - 106, 168});
  HWND ok = layout_.CreateChild("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP,
                                IDC_FIRSTTIMEFRM_OKBUTTON, U{kClientW - 94, 134, kClientW - 14, 160});

  SIZE outer = tl::OuterSize({layout_.Px(kClientW), layout_.Px(kClientH)},
                             GetWindowLongA(hwnd_, GWL_STYLE), GetWindowLongA(hwnd_, GWL_EXSTYLE),
                             layout_.Dpi());
  // Centred on the work area of its monitor (the owner is a small corner window).
  RECT work = tl::WorkAreaOf(hwnd_);
  SetWindowPos(hwnd_, nullptr, (work.left + work.right - outer.cx) / 2,
               (work.top + work.bottom - outer.cy) / 2, outer.cx, outer.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);

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

INT_PTR FirstTimeFrm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      Form_Load();
      return FALSE;  // focus set on OK above
    case WM_DPICHANGED:
      layout_.OnDpiChanged(wp, lp);
      return TRUE;  // laid out here, not scaled again by the dialog manager
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
