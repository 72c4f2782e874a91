#include "app/form_win.h"

#include "app/window_win.h"

namespace tl {

namespace {

// Per-monitor functions arrived with Windows 10 (1607); bound at run time so
// the program still starts where they are missing.
struct DpiApi {
  UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
  BOOL(WINAPI* spiForDpi)(UINT, UINT, PVOID, UINT, UINT) = nullptr;
  BOOL(WINAPI* adjustForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;
};

template <typename F>
void Bind(HMODULE lib, const char* name, F& fn) {
  fn = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
}

const DpiApi& Api() {
  static const DpiApi api = [] {
    DpiApi a;
    if (HMODULE user = GetModuleHandleA("user32.dll")) {
      Bind(user, "GetDpiForWindow", a.getDpiForWindow);
      Bind(user, "SystemParametersInfoForDpi", a.spiForDpi);
      Bind(user, "AdjustWindowRectExForDpi", a.adjustForDpi);
    }
    return a;
  }();
  return api;
}

UINT DesktopDpi() {
  HDC dc = GetDC(nullptr);
  int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

MONITORINFO InfoOf(HMONITOR m) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!GetMonitorInfoA(m, &mi)) {
    mi.rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    mi.rcWork = mi.rcMonitor;
  }
  return mi;
}

}  // namespace

UINT DpiOf(HWND h) {
  if (Api().getDpiForWindow && h) {
    if (UINT dpi = Api().getDpiForWindow(h)) return dpi;
  }
  return DesktopDpi();
}

RECT Scale(const RECT& u, UINT dpi) {
  return {Scale(u.left, dpi), Scale(u.top, dpi), Scale(u.right, dpi), Scale(u.bottom, dpi)};
}

LOGFONTA MessageFontAt(UINT dpi) {
  // The ANSI structure is asked for in wide form from the per-DPI call,
  // which has no ANSI twin; the face name is plain ASCII.
  NONCLIENTMETRICSW wide{};
  wide.cbSize = sizeof wide;
  LOGFONTA f{};
  if (Api().spiForDpi &&
      Api().spiForDpi(SPI_GETNONCLIENTMETRICS, sizeof wide, &wide, 0, dpi)) {
    const LOGFONTW& w = wide.lfMessageFont;
    f.lfHeight = w.lfHeight;
    f.lfWeight = w.lfWeight;
    f.lfItalic = w.lfItalic;
    f.lfCharSet = w.lfCharSet;
    f.lfQuality = w.lfQuality;
    WideCharToMultiByte(CP_ACP, 0, w.lfFaceName, -1, f.lfFaceName, LF_FACESIZE, nullptr, nullptr);
    return f;
  }
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  f = ncm.lfMessageFont;
  // The system's metrics are for the desktop's DPI.
  f.lfHeight = MulDiv(f.lfHeight, static_cast<int>(dpi), static_cast<int>(DesktopDpi()));
  return f;
}

SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi) {
  RECT r = {0, 0, client.cx, client.cy};
  if (!Api().adjustForDpi || !Api().adjustForDpi(&r, style, FALSE, exStyle, dpi))
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return {r.right - r.left, r.bottom - r.top};
}

RECT WorkAreaOf(HWND h) { return InfoOf(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST)).rcWork; }
RECT MonitorRectOf(HWND h) {
  return InfoOf(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST)).rcMonitor;
}
RECT WorkAreaAt(POINT p) { return InfoOf(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST)).rcWork; }

void FormLayout::Attach(HWND form) {
  form_ = form;
  dpi_ = DpiOf(form);
  MakeFonts();
}

void FormLayout::MakeFonts() {
  LOGFONTA f = MessageFontAt(dpi_);
  font_.Reset(CreateFontIndirectA(&f));
  f.lfWeight = FW_BOLD;
  bold_.Reset(CreateFontIndirectA(&f));
}

HWND FormLayout::CreateChild(const char* cls, const char* text, DWORD style, int id,
                             const RECT& units, Face face) {
  RECT r = Px(units);
  HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, form_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance(),
                           nullptr);
  if (!c) return nullptr;
  SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(face == Face::Bold ? bold_.get() : font_.get()),
               FALSE);
  children_.push_back({c, units, face});
  return c;
}

void FormLayout::OnDpiChanged(WPARAM wp, LPARAM lp) {
  dpi_ = HIWORD(wp) ? HIWORD(wp) : DpiOf(form_);
  // The children take the new fonts before the old ones are deleted.
  Font oldFont = std::move(font_), oldBold = std::move(bold_);
  MakeFonts();
  for (const Child& c : children_) {
    if (!IsWindow(c.hwnd)) continue;
    RECT r = Px(c.units);
    SetWindowPos(c.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(c.hwnd, WM_SETFONT,
                 reinterpret_cast<WPARAM>(c.face == Face::Bold ? bold_.get() : font_.get()), FALSE);
  }
  if (const RECT* s = reinterpret_cast<const RECT*>(lp))
    SetWindowPos(form_, nullptr, s->left, s->top, s->right - s->left, s->bottom - s->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(form_, nullptr, TRUE);
}

}  // namespace tl
