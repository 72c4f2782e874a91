#include "app/dialog_win.h"

#include <algorithm>
#include <vector>

#include "app/window_win.h"

namespace tl {

namespace {
// The open modeless dialogs, for PreTranslate. One user-interface thread.
std::vector<HWND>& Modeless() {
  static std::vector<HWND> open;
  return open;
}
}  // namespace

Dialog::~Dialog() { Destroy(); }

void Dialog::Destroy() {
  if (hwnd_ && modeless_) DestroyWindow(hwnd_);
}

INT_PTR Dialog::ShowModal(int templateId, HWND owner) {
  if (hwnd_) return -1;
  modeless_ = false;
  return DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(templateId), owner, Proc,
                         reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(int templateId, HWND owner) {
  if (hwnd_) return false;
  modeless_ = true;
  return CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(templateId), owner, Proc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::End(INT_PTR result) {
  if (!hwnd_) return;
  if (modeless_) DestroyWindow(hwnd_);
  else EndDialog(hwnd_, result);
}

bool Dialog::PreTranslate(MSG& msg) {
  // By index: a key that closes a dialog removes it from the list.
  const auto& open = Modeless();
  for (size_t i = 0; i < open.size(); ++i)
    if (IsDialogMessageA(open[i], &msg)) return true;
  return false;
}

INT_PTR Dialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInit() ? TRUE : FALSE;
    case WM_COMMAND: {
      int id = LOWORD(wp);
      if (OnCommand(id, HIWORD(wp), reinterpret_cast<HWND>(lp))) return TRUE;
      if (id == IDOK) OnOk();
      else if (id == IDCANCEL) OnCancel();
      else return FALSE;
      return TRUE;
    }
    default:
      return HandleMessage(msg, wp, lp);
  }
}

INT_PTR CALLBACK Dialog::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  Dialog* self;
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lp);
    self->hwnd_ = h;
    SetWindowLongPtrA(h, DWLP_USER, lp);
    if (self->modeless_) Modeless().push_back(h);
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(h, DWLP_USER));
  }
  if (!self) return FALSE;
  INT_PTR r = FALSE;
  try {
    r = self->Dispatch(msg, wp, lp);
  } catch (...) {
    // Nothing may leave a dialog procedure.
    r = FALSE;
  }
  if (msg == WM_DESTROY) {
    SetWindowLongPtrA(h, DWLP_USER, 0);
    auto& open = Modeless();
    open.erase(std::remove(open.begin(), open.end(), h), open.end());
    self->hwnd_ = nullptr;
  }
  return r;
}

}  // namespace tl
