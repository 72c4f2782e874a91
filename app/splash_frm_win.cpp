#include "app/splash_frm_win.h"

#include "app/gdi_win.h"

namespace {
constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT_PTR kAnimateTimer = 2;
constexpr int kW = 360, kH = 150;  // 96-DPI units
constexpr const char* kClassName = "TarvickLiteSplash";
}  // namespace

void SplashFrm::ShowSplash() {
  auto* f = new SplashFrm;
  if (!f->Create(kClassName, "Tarvick Lite", WS_POPUP | WS_BORDER,
                 WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0, kW, kH)) {
    delete f;
    return;
  }
  // Sized for the DPI of the monitor it was made on, centred on its work area.
  f->layout_.Attach(f->hwnd());
  int w = f->layout_.Px(kW), h = f->layout_.Px(kH);
  RECT work = tl::WorkAreaOf(f->hwnd());
  SetWindowPos(f->hwnd(), nullptr, (work.left + work.right - w) / 2,
               (work.top + work.bottom - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  SetTimer(f->hwnd(), kCloseTimer, kCloseMs, nullptr);
  SetTimer(f->hwnd(), kAnimateTimer, kAnimateMs, nullptr);
  ShowWindow(f->hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(f->hwnd());
}

void SplashFrm::CloseSplash() {
  DWORD pid = 0;
  for (HWND h = FindWindowExA(nullptr, nullptr, kClassName, nullptr); h;
       h = FindWindowExA(nullptr, h, kClassName, nullptr)) {
    GetWindowThreadProcessId(h, &pid);
    if (pid == GetCurrentProcessId()) {
      DestroyWindow(h);
      return;
    }
  }
}

void SplashFrm::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  RECT rc;
  GetClientRect(hwnd(), &rc);
  // The interface colours: a light band over a blue-grey one.
  HBRUSH top = CreateSolidBrush(RGB(233, 233, 233));
  HBRUSH bottom = CreateSolidBrush(RGB(176, 184, 207));
  RECT upper = rc, lower = rc;
  upper.bottom = rc.bottom * 2 / 3;
  lower.top = upper.bottom;
  FillRect(dc, &upper, top);
  FillRect(dc, &lower, bottom);
  DeleteObject(top);
  DeleteObject(bottom);
  SetBkMode(dc, TRANSPARENT);
  tl::Font big(CreateFontA(-layout_.Px(28), 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0,
                          CLEARTYPE_QUALITY, 0, "Tahoma"));
  HGDIOBJ old = SelectObject(dc, big);
  RECT title = upper;
  DrawTextA(dc, "Tarvick Lite", -1, &title, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, layout_.MessageFont());
  char line[64] = "Pop-up blocker and desktop tools";
  RECT sub = lower;
  DrawTextA(dc, line, -1, &sub, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  static const char* const kDots[] = {"Starting", "Starting.", "Starting..", "Starting..."};
  RECT status = lower;
  status.left += layout_.Px(8);
  status.top = status.bottom - layout_.Px(18);
  DrawTextA(dc, kDots[dots_ % 4], -1, &status, DT_LEFT | DT_SINGLELINE);
  SelectObject(dc, old);  // before the big font goes
  EndPaint(hwnd(), &ps);
}

LRESULT SplashFrm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DPICHANGED:
      layout_.OnDpiChanged(wp, lp);
      return 0;
    case WM_TIMER:
      if (wp == kAnimateTimer) {
        ++dots_;
        InvalidateRect(hwnd(), nullptr, TRUE);
      } else if (wp == kCloseTimer) {
        DestroyWindow(hwnd());
      }
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}

void SplashFrm::OnDestroyed() { delete this; }  // the screen owns itself
