#include "app/window_win.h"

namespace tl {

HINSTANCE AppInstance() { return GetModuleHandleA(nullptr); }

Window::~Window() { Destroy(); }

void Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool Window::Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x,
                    int y, int w, int h, HWND parent) {
  WNDCLASSEXA wc{};
  if (!GetClassInfoExA(AppInstance(), className, &wc)) {
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = AppInstance();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconA(AppInstance(), MAKEINTRESOURCEA(1));
    wc.lpszClassName = className;
    if (!RegisterClassExA(&wc)) return false;
  }
  // A creation that fails still delivers WM_NCDESTROY; the caller, not
  // OnDestroyed, then owns the object.
  creating_ = true;
  HWND created = CreateWindowExA(exStyle, className, title, style, x, y, w, h, parent, nullptr,
                                 AppInstance(), this);
  creating_ = false;
  return created != nullptr;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

LRESULT CALLBACK Window::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    self->hwnd_ = h;
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(h, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(h, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    LRESULT r = DefWindowProcA(h, msg, wp, lp);
    if (!self->creating_) self->OnDestroyed();  // may delete the object
    return r;
  }
  LRESULT r;
  try {
    r = self->HandleMessage(msg, wp, lp);
  } catch (...) {
    // Nothing may leave a window procedure.
    r = DefWindowProcA(h, msg, wp, lp);
  }
  return r;
}

}  // namespace tl
