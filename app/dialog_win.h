// Dialogs from .rc DIALOGEX templates: one C++ object per dialog, stored at
// WM_INITDIALOG and cleared on destroy. The dialog manager gives keyboard
// navigation, default and cancel buttons, and dialog units that follow the
// dialog font (and so the DPI).
#pragma once
#include <windows.h>

namespace tl {

class Dialog {
 public:
  Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog();

  HWND hwnd() const { return hwnd_; }
  // Runs the dialog until End; its result, or -1 when it could not be made.
  INT_PTR ShowModal(int templateId, HWND owner);
  // A modeless dialog; shown when its template says WS_VISIBLE.
  bool Create(int templateId, HWND owner);
  void Destroy();

  // Keyboard navigation of the open modeless dialogs: the message loop
  // passes every message here first and skips the ones taken.
  static bool PreTranslate(MSG& msg);

 protected:
  // True lets the dialog manager give the focus to the first control.
  virtual bool OnInit() { return true; }
  // True when the command was handled.
  virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
  virtual void OnOk() { End(IDOK); }
  virtual void OnCancel() { End(IDCANCEL); }
  // Any other message; FALSE leaves it to the dialog manager.
  virtual INT_PTR HandleMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/) { return FALSE; }
  // Ends a modal dialog with this result, or destroys a modeless one.
  void End(INT_PTR result);
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

 private:
  static INT_PTR CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
  bool modeless_ = false;
};

}  // namespace tl
