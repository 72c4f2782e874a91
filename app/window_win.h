// One C++ object per window: the object is stored with the window at
// creation and cleared on destroy; messages go to its HandleMessage.
#pragma once
#include <windows.h>

namespace tl {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  // Registers the class on first use; the window starts hidden.
  bool Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x, int y,
              int w, int h, HWND parent = nullptr);
  void Destroy();

 protected:
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Called once the window is gone (after WM_NCDESTROY), not when Create
  // fails.
  virtual void OnDestroyed() {}
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
  bool creating_ = false;
};

HINSTANCE AppInstance();

}  // namespace tl
