#include "shutdown/cancel_event_win.h"

#include <uxtheme.h>

#include <utility>

#include "shutdown/countdown.h"

namespace {

constexpr const char* kCaption = "Tarvick status ...";
constexpr COLORREF kButtonFace = RGB(218, 218, 218);
constexpr COLORREF kPlainBackground = RGB(245, 245, 245);  // the gradient's top
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

// Layout in 96-DPI units; the label has room for a cut caption on four lines.
constexpr int kClientW = 320, kClientH = 122;
constexpr RECT kLblCancel = {12, 10, kClientW - 12, 78};
constexpr RECT kBtnCancel = {122, 88, 198, 114};

std::string TextOf(HWND h) {
  char buf[256] = {};
  int n = GetWindowTextA(h, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}

}  // namespace

bool CancelEvent::Load(std::function<void()> onSessionEnd) {
  onSessionEnd_ = std::move(onSessionEnd);
  if (hwnd()) return true;
  if (!Create("TarvickLiteCancelEvent", kCaption, kStyle, kExStyle, 0, 0, kClientW, kClientH))
    return false;
  layout_.Attach(hwnd());
  SIZE outer = tl::OuterSize({layout_.Px(kClientW), layout_.Px(kClientH)}, kStyle, kExStyle,
                             layout_.Dpi());
  SetWindowPos(hwnd(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Both are drawn here: the label over the form's background, the button in its own grey.
  layout_.CreateChild("STATIC", "", SS_OWNERDRAW, IDC_CANCELEVENT_LBLCANCEL, kLblCancel);
  layout_.CreateChild("BUTTON", "Cancel", BS_OWNERDRAW | WS_TABSTOP, IDC_CANCELEVENT_BTNCANCEL,
                      kBtnCancel);
  MakeLabelFont();
  buttonBrush_.Reset(CreateSolidBrush(kButtonFace));
  plainBrush_.Reset(CreateSolidBrush(kPlainBackground));
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  // No handler: its messages only wake the main loop.
  SetTimer(hwnd(), kTimer1, kTimer1Interval, nullptr);
  return true;
}

void CancelEvent::SetBackgroundPainter(std::function<void(HWND, HDC)> paint) {
  paintBackground_ = std::move(paint);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void CancelEvent::MakeLabelFont() {
  LOGFONTA f = tl::MessageFontAt(layout_.Dpi());
  f.lfHeight = -MulDiv(10, static_cast<int>(layout_.Dpi()), 72);
  f.lfWeight = FW_BOLD;
  lstrcpynA(f.lfFaceName, "Arial", LF_FACESIZE);
  labelFont_.Reset(CreateFontIndirectA(&f));
}

void CancelEvent::ShowCountdown(HWND anchor) {
  RECT work = tl::WorkAreaOf(anchor ? anchor : hwnd());
  RECT r{};
  GetWindowRect(hwnd(), &r);
  int x = work.left + ((work.right - work.left) - (r.right - r.left)) / 2;
  int y = work.top + ((work.bottom - work.top) - (r.bottom - r.top)) / 2;
  SetWindowPos(hwnd(), HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(hwnd());
  SetFocus(Item(IDC_CANCELEVENT_BTNCANCEL));
}

void CancelEvent::SetCancelLabel(const std::string& caption) {
  std::string shown = tl::CutLabel(caption);
  // Set ten times a second: only a change is drawn.
  if (TextOf(Item(IDC_CANCELEVENT_LBLCANCEL)) != shown)
    SetWindowTextA(Item(IDC_CANCELEVENT_LBLCANCEL), shown.c_str());
}

std::string CancelEvent::CancelLabel() const { return TextOf(Item(IDC_CANCELEVENT_LBLCANCEL)); }

void CancelEvent::btnCancel_Click() {
  CancelRequested = true;
  ShowWindow(hwnd(), SW_HIDE);
}

void CancelEvent::KeepOnTop() {
  if (!IsWindowVisible(hwnd())) return;
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CancelEvent::DrawItem(const DRAWITEMSTRUCT& d) {
  RECT r = d.rcItem;
  std::string text = TextOf(d.hwndItem);
  SetBkMode(d.hDC, TRANSPARENT);
  if (d.CtlID == IDC_CANCELEVENT_LBLCANCEL) {
    // The form's own background shows through the label.
    DrawThemeParentBackground(d.hwndItem, d.hDC, &r);
    HGDIOBJ old = SelectObject(d.hDC, labelFont_);
    SetTextColor(d.hDC, GetSysColor(COLOR_WINDOWTEXT));
    const UINT format = DT_CENTER | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;
    // Centred in height too: the label has room for a long caption.
    RECT need = r;
    DrawTextA(d.hDC, text.c_str(), static_cast<int>(text.size()), &need, format | DT_CALCRECT);
    int spare = (r.bottom - r.top) - (need.bottom - need.top);
    if (spare > 0) r.top += spare / 2;
    DrawTextA(d.hDC, text.c_str(), static_cast<int>(text.size()), &r, format);
    SelectObject(d.hDC, old);
    return;
  }
  bool pressed = d.itemState & ODS_SELECTED;
  FillRect(d.hDC, &r, buttonBrush_);
  DrawEdge(d.hDC, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  if (pressed) OffsetRect(&r, 1, 1);
  HGDIOBJ old = SelectObject(d.hDC, layout_.MessageFont());
  SetTextColor(d.hDC, GetSysColor(COLOR_BTNTEXT));
  DrawTextA(d.hDC, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(d.hDC, old);
  if (d.itemState & ODS_FOCUS) {
    RECT f = d.rcItem;
    InflateRect(&f, -layout_.Px(4), -layout_.Px(4));
    DrawFocusRect(d.hDC, &f);
  }
}

LRESULT CancelEvent::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      if (msg == WM_ENDSESSION && !wp) return 0;  // the session goes on
      // Windows is ending the session: save and leave now.
      if (onSessionEnd_) onSessionEnd_();
      return TRUE;
    case WM_TIMER:
      if (wp == kTimer1) return 0;
      return Default(msg, wp, lp);
    case WM_ACTIVATE:
      KeepOnTop();  // activated or deactivated: above everything still
      return Default(msg, wp, lp);
    case WM_COMMAND:
      if (LOWORD(wp) == IDC_CANCELEVENT_BTNCANCEL && HIWORD(wp) == BN_CLICKED) btnCancel_Click();
      return 0;
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wp);
      if (paintBackground_) {
        paintBackground_(hwnd(), dc);
      } else {
        RECT r{};
        GetClientRect(hwnd(), &r);
        FillRect(dc, &r, plainBrush_);
      }
      return 1;
    }
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_DPICHANGED:
      layout_.OnDpiChanged(wp, lp);
      MakeLabelFont();
      return 0;
    case WM_CLOSE:
      return 0;  // every other request to unload it is refused
    default:
      return Default(msg, wp, lp);
  }
}
