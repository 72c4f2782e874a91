#include "popup/detector_scr_frm_win.h"

#include <commctrl.h>
#include <mmsystem.h>

#include "app/program_win.h"
#include "inspect/window_query_win.h"
#include "popup/first_time_frm_win.h"
#include "popup/pop_blocker_win.h"

namespace {

// The product's interface colours, and the hover strip in between.
constexpr COLORREF kStrip = RGB(176, 184, 207);
constexpr COLORREF kBody = RGB(233, 233, 233);
constexpr COLORREF kHover = RGB(250, 251, 255);
constexpr COLORREF kInk = RGB(28, 36, 72);
constexpr COLORREF kFrame = RGB(120, 130, 168);

// Client layout in 96-DPI units. The screen is only ever as tall as the
// panel of its mode (Picture1 when hiding, InfoPic when closing at once).
constexpr int kClientW = 320;
constexpr int kStripH = 24;
constexpr RECT kTopImg = {6, 4, 22, 20};
constexpr RECT kScreenLabel = {28, 0, kClientW - 80, kStripH};
constexpr RECT kToolBtn1 = {kClientW - 74, 3, kClientW - 53, 21};
constexpr RECT kToolBtn3 = {kClientW - 51, 3, kClientW - 30, 21};
constexpr RECT kToolClose = {kClientW - 25, 3, kClientW - 4, 21};
constexpr RECT kWnNameLbl = {10, 32, kClientW - 10, 48};
constexpr RECT kURLLbl = {10, 51, kClientW - 10, 67};
constexpr RECT kApproveWndBtn = {10, 76, 120, 100};
constexpr RECT kCloseBtn = {126, 76, 236, 100};
constexpr RECT kPicture1 = {10, 108, kClientW - 10, 136};
constexpr RECT kLblShowWin = {14, 114, kClientW - 14, 130};
// Classic mode: the panel reports the closed pop-up by itself.
constexpr RECT kInfoPic = {10, 30, kClientW - 10, 112};
// Bold captions are given room to spare: text does not grow exactly with the DPI.
constexpr RECT kInfoNameCap = {34, 38, 146, 54};
constexpr RECT kInfoName = {148, 38, kClientW - 16, 54};
constexpr RECT kInfoURLCap = {34, 58, 146, 74};
constexpr RECT kInfoURL = {148, 58, kClientW - 16, 74};
constexpr RECT kCommand1 = {kClientW - 94, 80, kClientW - 16, 106};
constexpr DWORD kStyle = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

int W(const RECT& r) { return r.right - r.left; }
int H(const RECT& r) { return r.bottom - r.top; }

bool Contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

std::string TextOf(HWND h) {
  char buf[1024] = {};
  int n = GetWindowTextA(h, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}

bool IsExistingFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// The browser entry of an index; an index past the list reads as an empty
// entry (no notification, close at once), never past the list's end.
const tl::BrowserEntry& EntryAt(const std::vector<tl::BrowserEntry>& browsers, int16_t k) {
  static const tl::BrowserEntry none;
  if (k < 0 || k >= static_cast<int>(browsers.size())) return none;
  return browsers[k];
}

// Hides another program's window without being held by it: a browser whose
// thread does not answer at once gets the request posted. A responsive one
// is hidden at once (Wine's posted hide leaves the window deaf to a later
// show from another process). One that has just answered (its address read)
// is not asked again: each round trip may wait behind its first paint.
void HidePopup(HWND pop, bool justAnswered = false) {
  DWORD_PTR ignored;
  if (justAnswered || SendMessageTimeoutA(pop, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &ignored))
    ShowWindow(pop, SW_HIDE);
  else
    ShowWindowAsync(pop, SW_HIDE);
}

}  // namespace

PopUpDetectorScrFrm::~PopUpDetectorScrFrm() { Destroy(); }

bool PopUpDetectorScrFrm::Load(ModPop::PopupBlocker& blocker) {
  blocker_ = &blocker;
  if (hwnd()) return true;
  if (!Create("TarvickLitePopUpDetector", "Pop-up Detected", kStyle, kExStyle, 0, 0, kClientW,
              kPicture1.bottom + 2))
    return false;
  layout_.Attach(hwnd());
  stripBrush_.Reset(CreateSolidBrush(kStrip));
  bodyBrush_.Reset(CreateSolidBrush(kBody));
  stripHoverBrush_.Reset(CreateSolidBrush(kHover));

  using Face = tl::FormLayout::Face;
  auto child = [&](const char* cls, const char* text, DWORD st, const RECT& r, int id,
                   Face face = Face::Message) {
    return layout_.CreateChild(cls, text, WS_CLIPSIBLINGS | st, id, r, face);
  };
  // Labels and pictures are plain statics: they let the mouse through to
  // the form, which drags the screen and watches the hover strip.
  child("STATIC", "", SS_OWNERDRAW, kTopImg, IDC_POPUPDETECTORSCRFRM_TOPIMG);
  child("STATIC", "Pop-up Detected", SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, kScreenLabel,
        IDC_POPUPDETECTORSCRFRM_SCREENLABEL, Face::Bold);
  child("BUTTON", "", BS_OWNERDRAW, kToolBtn1, IDC_POPUPDETECTORSCRFRM_ASXTOOLBAR1_BUTTON1);
  child("BUTTON", "", BS_OWNERDRAW, kToolBtn3, IDC_POPUPDETECTORSCRFRM_ASXTOOLBAR1_BUTTON3);
  child("BUTTON", "", BS_OWNERDRAW, kToolClose, IDC_POPUPDETECTORSCRFRM_ASXTOOLBARCLOSE);
  child("STATIC", "", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kWnNameLbl,
        IDC_POPUPDETECTORSCRFRM_WNNAMELBL);
  child("STATIC", "", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kURLLbl,
        IDC_POPUPDETECTORSCRFRM_URLLBL);
  child("BUTTON", "Show Window", BS_PUSHBUTTON, kApproveWndBtn,
        IDC_POPUPDETECTORSCRFRM_APPROVEWNDBTN);
  child("BUTTON", "Close window", BS_PUSHBUTTON, kCloseBtn, IDC_POPUPDETECTORSCRFRM_CLOSEBTN);
  child("STATIC", "", SS_OWNERDRAW, kPicture1, IDC_POPUPDETECTORSCRFRM_PICTURE1);
  child("STATIC", "", SS_OWNERDRAW, kInfoPic, IDC_POPUPDETECTORSCRFRM_INFOPIC);
  // What lies on a panel stays above it (a new child starts at the bottom).
  for (HWND c : {child("STATIC", "Move your mouse here to see the window", SS_CENTER | SS_NOPREFIX,
                       kLblShowWin, IDC_POPUPDETECTORSCRFRM_LBLSHOWWIN),
                 child("STATIC", "Window Name :", SS_LEFT | SS_NOPREFIX, kInfoNameCap,
                       IDC_POPUPDETECTORSCRFRM_INFOPIC_WNNAMECAP, Face::Bold),
                 child("STATIC", "", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kInfoName,
                       IDC_POPUPDETECTORSCRFRM_INFOPIC_WNNAME),
                 child("STATIC", "URL :", SS_LEFT | SS_NOPREFIX, kInfoURLCap,
                       IDC_POPUPDETECTORSCRFRM_INFOPIC_URLCAP, Face::Bold),
                 child("STATIC", "", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kInfoURL,
                       IDC_POPUPDETECTORSCRFRM_INFOPIC_URL),
                 child("BUTTON", "OK", BS_PUSHBUTTON, kCommand1, IDC_POPUPDETECTORSCRFRM_COMMAND1)})
    SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0,
                             0, 0, 0, hwnd(), nullptr, tl::AppInstance(), nullptr);
  auto tip = [&](int id, const char* text) {
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(Item(id));
    ti.lpszText = const_cast<char*>(text);
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  };
  tip(IDC_POPUPDETECTORSCRFRM_ASXTOOLBAR1_BUTTON1, "Show pop-up window");
  tip(IDC_POPUPDETECTORSCRFRM_ASXTOOLBAR1_BUTTON3, "Close pop-up window");
  ShowMode(true);

  // Placed on the work area of the monitor it was made on, for its DPI.
  Measure();
  RECT work = tl::WorkAreaOf(hwnd());
  int heightPx = layout_.Px(kPicture1.bottom + 2) + borderPx_;
  tl::ScreenPlacement at =
      tl::PlaceAtLoad(GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED),
                      tl::PixelsToTwips(widthPx_, tpp_), tpp_, work.right, work.bottom);
  left_ = at.Left;
  slide_.Bottom = at.Bottom;
  slide_.Height = tl::PixelsToTwips(heightPx, tpp_);
  slide_.Top = at.Bottom - slide_.Height;
  ApplyGeometry();
  return true;
}

// Width, frame and twips per pixel at the form's DPI.
void PopUpDetectorScrFrm::Measure() {
  tpp_ = tl::TwipsPerPixel(static_cast<int32_t>(layout_.Dpi()));
  int clientH = layout_.Px(kPicture1.bottom + 2);
  SIZE outer = tl::OuterSize({layout_.Px(kClientW), clientH}, kStyle, kExStyle, layout_.Dpi());
  widthPx_ = outer.cx;
  // Taken from the style: a screen shrunk to a sliver has no client height to compare.
  borderPx_ = outer.cy - clientH;
}

int32_t PopUpDetectorScrFrm::TargetHeightFor(int panelId) const {
  RECT panel = ClientRectOf(panelId);
  return tl::PixelsToTwips(tl::TargetHeightPx(borderPx_, panel.top, H(panel)), tpp_);
}

// Moved to a monitor of another DPI: the system's rectangle gives the new
// place; heights in twips carry over, the panel's height is measured again.
void PopUpDetectorScrFrm::OnDpiChanged(WPARAM wp, LPARAM lp) {
  layout_.OnDpiChanged(wp, lp);
  Measure();
  RECT now = {};
  GetWindowRect(hwnd(), &now);
  bool inPlace = slide_.Height >= slide_.TargetHeight;
  int32_t toFinal = slide_.FinalTop - slide_.Top, toBottom = slide_.Bottom - slide_.Top;
  left_ = tl::PixelsToTwips(now.left, tpp_);
  bool classic = IsWindowVisible(Item(IDC_POPUPDETECTORSCRFRM_INFOPIC));
  slide_.TargetHeight =
      TargetHeightFor(classic ? IDC_POPUPDETECTORSCRFRM_INFOPIC : IDC_POPUPDETECTORSCRFRM_PICTURE1);
  if (inPlace) {
    tl::DropAt(slide_, tl::PixelsToTwips(now.top, tpp_));
    slide_.Height = slide_.TargetHeight;
  } else {
    slide_.Top = tl::PixelsToTwips(now.top, tpp_);
    slide_.FinalTop = slide_.Top + toFinal;
    slide_.Bottom = slide_.Top + toBottom;
  }
  ApplyGeometry();
}

RECT PopUpDetectorScrFrm::ClientRectOf(int id) const {
  RECT r = {};
  GetWindowRect(Item(id), &r);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Only a changed text is set: the labels are refreshed ten times a second.
void PopUpDetectorScrFrm::SetLabel(int id, const std::string& text) {
  if (TextOf(Item(id)) != text) SetWindowTextA(Item(id), text.c_str());
}

void PopUpDetectorScrFrm::ShowMode(bool hidePop) {
  int hideShow = hidePop ? SW_SHOW : SW_HIDE, classic = hidePop ? SW_HIDE : SW_SHOW;
  for (int id : {IDC_POPUPDETECTORSCRFRM_WNNAMELBL, IDC_POPUPDETECTORSCRFRM_URLLBL,
                 IDC_POPUPDETECTORSCRFRM_APPROVEWNDBTN, IDC_POPUPDETECTORSCRFRM_CLOSEBTN,
                 IDC_POPUPDETECTORSCRFRM_PICTURE1, IDC_POPUPDETECTORSCRFRM_LBLSHOWWIN})
    ShowWindow(Item(id), hideShow);
  for (int id : {IDC_POPUPDETECTORSCRFRM_INFOPIC, IDC_POPUPDETECTORSCRFRM_INFOPIC_WNNAMECAP,
                 IDC_POPUPDETECTORSCRFRM_INFOPIC_WNNAME, IDC_POPUPDETECTORSCRFRM_INFOPIC_URLCAP,
                 IDC_POPUPDETECTORSCRFRM_INFOPIC_URL, IDC_POPUPDETECTORSCRFRM_COMMAND1})
    ShowWindow(Item(id), classic);
  EnableWindow(Item(IDC_POPUPDETECTORSCRFRM_ASXTOOLBAR1_BUTTON1), hidePop);
  EnableWindow(Item(IDC_POPUPDETECTORSCRFRM_ASXTOOLBAR1_BUTTON3), hidePop);
}

void PopUpDetectorScrFrm::ApplyGeometry() {
  int top = tl::TwipsToPixels(slide_.Top, tpp_);
  int height = tl::TwipsToPixels(slide_.Height, tpp_);
  SetWindowPos(hwnd(), nullptr, tl::TwipsToPixels(left_, tpp_), top, widthPx_, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

const std::string& PopUpDetectorScrFrm::BrowserPath() const { return EntryAt(blocker_->Browsers, browserIndex_).Path; }

void PopUpDetectorScrFrm::ShowPop(const std::string& windowName, int16_t browserIndex, HWND window,
                                  int16_t recordIndex, DWORD threadId, bool isDialog) {
  // Out of sight first, within a frame of its showing: closing the previous
  // pop-up takes tens of milliseconds. Its title and address are read first
  // (the address is a few messages to its Edit, none for today's browsers):
  // a window trusted by either is never touched, not even hidden for a blink
  // that would cost it the focus. Against the pop-up's own monitor: one
  // beyond every monitor's right edge is left alone.
  std::string title = TextOf(window);
  if (title.empty()) title = windowName;
  std::string address;
  EnumChildWindows(window, ModPop::EnumURLProc, reinterpret_cast<LPARAM>(&address));
  bool trusted = blocker_->IsBrowserWhiteListed(1, title, browserIndex, window) ||
                 (!tl::AddressPending(address) &&
                  (IsExistingFile(address) || blocker_->IsBrowserWhiteListed(0, address, browserIndex, window)));
  RECT r;
  bool hidden = !trusted && GetWindowRect(window, &r) && tl::MonitorRectOf(window).right > r.left;
  if (hidden) HidePopup(window, !address.empty());

  bool wasShowing = false;
  if (pending_) {
    CloseDetector(false, true);
    wasShowing = true;
  }
  pending_ = window;
  recordIndex_ = recordIndex;
  threadId_ = threadId;
  browserIndex_ = browserIndex;
  windowName_ = windowName;
  isDialog_ = isDialog;
  addressChecked_ = false;
  lastNameChecked_.clear();
  blocker_->CurrentURL = address;  // read once: not asked again below
  SetLabel(IDC_POPUPDETECTORSCRFRM_WNNAMELBL, "");
  SetLabel(IDC_POPUPDETECTORSCRFRM_URLLBL, "");

  if (Check_URL()) {
    pending_ = nullptr;  // white-listed: left alone
    if (hidden) ShowWindow(window, SW_SHOWNA);
    return;
  }
  const tl::SettingsRecord& s = ModMain::Prog().Settings;
  if (s.PopPlaySnd == 1)
    PlaySoundA(s.PopPlaySndFile.c_str(), nullptr, SND_FILENAME | SND_ASYNC);

  const tl::BrowserEntry& entry = EntryAt(blocker_->Browsers, browserIndex_);
  if (entry.PopDisNotf == 0) {
    CloseDetector(false, wasShowing);
    return;
  }
  int panel;
  // Any mode other than hiding closes at once: a pop-up is never left
  // pending without the strip that lets the user see it.
  if (entry.HidePop == 1) {
    ShowMode(true);
    panel = IDC_POPUPDETECTORSCRFRM_PICTURE1;
  } else {
    ShowMode(false);
    // The panel reports what was closed.
    SetLabel(IDC_POPUPDETECTORSCRFRM_INFOPIC_WNNAME, windowName_);
    SetLabel(IDC_POPUPDETECTORSCRFRM_INFOPIC_URL, blocker_->CurrentURL);
    CloseDetector(false, wasShowing);
    panel = IDC_POPUPDETECTORSCRFRM_INFOPIC;
  }
  tl::StartSlide(slide_, TargetHeightFor(panel), wasShowing);
  ApplyGeometry();
  SetWindowPos(hwnd(), HWND_TOPMOST, 20, 20, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  countdownStart_ = GetTickCount();
}

void PopUpDetectorScrFrm::Timer1_Timer() {
  if (tl::SlideStep(slide_)) {
    ApplyGeometry();
    if (!firstTimeAsked_) {
      firstTimeAsked_ = true;
      if (ShowFirstTime(1, hwnd())) countdownStart_ = GetTickCount() + tl::kNoticeExtraMs;
    }
  } else {
    ApplyGeometry();
  }
  POINT cursor = {};
  GetCursorPos(&cursor);
  RECT screen = {};
  GetWindowRect(hwnd(), &screen);
  if (tl::CountdownExpired(Contains(screen, cursor), GetTickCount(), countdownStart_)) {
    CloseDetector();
    return;
  }
  // Nothing to peek at or re-check once the pop-up was closed (classic mode).
  if (!pending_) return;
  GetWindowRect(Item(IDC_POPUPDETECTORSCRFRM_PICTURE1), &picture1Rect_);
  if (peeking_ && !Contains(picture1Rect_, cursor)) {
    HidePopup(pending_);
    // Not left on top of everything should the user keep it later.
    SetWindowPos(pending_, HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    peeking_ = false;
    InvalidateRect(Item(IDC_POPUPDETECTORSCRFRM_PICTURE1), nullptr, TRUE);
    InvalidateRect(Item(IDC_POPUPDETECTORSCRFRM_LBLSHOWWIN), nullptr, TRUE);
  }
  if (Check_URL()) CloseDetector(true);
}

void PopUpDetectorScrFrm::CloseDetector(bool approveWnd, bool dontHideForm) {
  if (!dontHideForm) ShowWindow(hwnd(), SW_HIDE);
  if (approveWnd) {
    if (pending_) {
      SetWindowPos(pending_, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
      ModWndOpr::BringWindowToFront(pending_);
    }
  } else if (pending_) {
    if (isDialog_) blocker_->CloseDialogAndLog(pending_, windowName_);
    else blocker_->ClosePopupAndLog(pending_, BrowserPath(), windowName_);
  }
  pending_ = nullptr;
  peeking_ = false;
}

bool PopUpDetectorScrFrm::Check_URL() {
  if (pending_) {
    std::string now = TextOf(pending_);
    if (!now.empty()) windowName_ = now;
  }
  if (windowName_ != lastNameChecked_) {
    if (blocker_->IsBrowserWhiteListed(1, windowName_, browserIndex_, pending_)) return true;
    SetLabel(IDC_POPUPDETECTORSCRFRM_WNNAMELBL, tl::WindowNameCaption(windowName_));
  }
  lastNameChecked_ = windowName_;
  if (tl::AddressPending(blocker_->CurrentURL) && pending_)
    EnumChildWindows(pending_, ModPop::EnumURLProc, reinterpret_cast<LPARAM>(&blocker_->CurrentURL));
  if (!tl::AddressPending(blocker_->CurrentURL) && !addressChecked_) {
    if (IsExistingFile(blocker_->CurrentURL)) return true;
    if (blocker_->IsBrowserWhiteListed(0, blocker_->CurrentURL, browserIndex_, pending_)) return true;
    addressChecked_ = true;
  }
  SetLabel(IDC_POPUPDETECTORSCRFRM_URLLBL, tl::URLCaption(blocker_->CurrentURL));
  return false;
}

void PopUpDetectorScrFrm::Picture1_MouseMove() {
  if (peeking_ || !pending_) return;
  // The windows events of this peek are the user's, not a page's.
  blocker_->UserPeek = true;
  // A look needs no activation: forcing the foreground would attach to the
  // foreground program's input, which may be hung.
  SetWindowPos(pending_, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  peeking_ = true;
  InvalidateRect(Item(IDC_POPUPDETECTORSCRFRM_PICTURE1), nullptr, TRUE);
  InvalidateRect(Item(IDC_POPUPDETECTORSCRFRM_LBLSHOWWIN), nullptr, TRUE);
}

void PopUpDetectorScrFrm::BeginDrag(POINT client) {
  for (int id : {IDC_POPUPDETECTORSCRFRM_SCREENLABEL, IDC_POPUPDETECTORSCRFRM_URLLBL,
                 IDC_POPUPDETECTORSCRFRM_WNNAMELBL, IDC_POPUPDETECTORSCRFRM_TOPIMG}) {
    RECT r = ClientRectOf(id);
    if (!Contains(r, client)) continue;
    dragPress_ = {tl::PixelsToTwips(client.x - r.left, tpp_),
                  tl::PixelsToTwips(client.y - r.top, tpp_)};
    dragControl_ = {tl::PixelsToTwips(r.left, tpp_), tl::PixelsToTwips(r.top, tpp_)};
    dragging_ = true;
    SetCapture(hwnd());
    return;
  }
}

// The press point stays under the cursor; the place is kept for the rest of
// this announcement and for the next ones.
void PopUpDetectorScrFrm::DragTo() {
  POINT c = {};
  GetCursorPos(&c);
  RECT outer, inner;
  GetWindowRect(hwnd(), &outer);
  GetClientRect(hwnd(), &inner);
  int32_t frame = tl::PixelsToTwips((W(outer) - W(inner)) / 2, tpp_);
  left_ = tl::PixelsToTwips(c.x, tpp_) - dragPress_.x - dragControl_.x - frame;
  tl::DropAt(slide_, tl::PixelsToTwips(c.y, tpp_) - dragPress_.y - dragControl_.y - frame);
  ApplyGeometry();
}

void PopUpDetectorScrFrm::DrawItem(const DRAWITEMSTRUCT& d) {
  HDC dc = d.hDC;
  RECT r = d.rcItem;
  switch (d.CtlID) {
    case IDC_POPUPDETECTORSCRFRM_TOPIMG: {
      // A no-entry sign: something was stopped.
      FillRect(dc, &r, stripBrush_);
      tl::Brush red(CreateSolidBrush(RGB(200, 40, 40)));
      HGDIOBJ oldBrush = SelectObject(dc, red);
      HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
      Ellipse(dc, r.left, r.top, r.right + 1, r.bottom + 1);
      int bar = layout_.Px(3);
      RECT across = {r.left + bar, (r.top + r.bottom - bar) / 2, r.right - bar,
                     (r.top + r.bottom + bar) / 2};
      FillRect(dc, &across, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      SelectObject(dc, oldBrush);
      SelectObject(dc, oldPen);
      break;
    }
    case IDC_POPUPDETECTORSCRFRM_PICTURE1: {
      tl::Brush frame(CreateSolidBrush(kFrame));
      FillRect(dc, &r, peeking_ ? stripBrush_ : stripHoverBrush_);
      FrameRect(dc, &r, frame);
      break;
    }
    case IDC_POPUPDETECTORSCRFRM_INFOPIC: {
      tl::Brush frame(CreateSolidBrush(kFrame));
      FillRect(dc, &r, stripHoverBrush_);
      FrameRect(dc, &r, frame);
      // Beside the first line of the report.
      int icon = layout_.Px(16), inset = layout_.Px(kInfoNameCap.top - kInfoPic.top);
      DrawIconEx(dc, r.left + layout_.Px(6), r.top + inset, LoadIconA(nullptr, IDI_INFORMATION),
                 icon, icon, 0, nullptr, DI_NORMAL);
      break;
    }
    case IDC_POPUPDETECTORSCRFRM_ASXTOOLBAR1_BUTTON1:
    case IDC_POPUPDETECTORSCRFRM_ASXTOOLBAR1_BUTTON3:
    case IDC_POPUPDETECTORSCRFRM_ASXTOOLBARCLOSE: {
      bool enabled = !(d.itemState & ODS_DISABLED);
      bool pressed = d.itemState & ODS_SELECTED;
      FillRect(dc, &r, pressed ? bodyBrush_ : stripBrush_);
      if (pressed) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
      COLORREF ink = enabled ? kInk : RGB(140, 146, 166);
      tl::Pen pen(CreatePen(PS_SOLID, layout_.Px(2), ink));
      HGDIOBJ oldPen = SelectObject(dc, pen);
      HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
      int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
      auto u = [&](int units) { return layout_.Px(units); };
      auto cross = [&](int half) {
        MoveToEx(dc, cx - half, cy - half, nullptr);
        LineTo(dc, cx + half + 1, cy + half + 1);
        MoveToEx(dc, cx + half, cy - half, nullptr);
        LineTo(dc, cx - half - 1, cy + half + 1);
      };
      if (d.CtlID == IDC_POPUPDETECTORSCRFRM_ASXTOOLBARCLOSE) {
        cross(u(4));  // the screen's own close box
      } else {
        // A small window: shown as it is, or crossed out to close it.
        Rectangle(dc, cx - u(6), cy - u(5), cx + u(6), cy + u(6));
        MoveToEx(dc, cx - u(6), cy - u(2), nullptr);
        LineTo(dc, cx + u(6), cy - u(2));
        if (d.CtlID == IDC_POPUPDETECTORSCRFRM_ASXTOOLBAR1_BUTTON3) {
          cy += u(2);
          cross(u(2));
        }
      }
      SelectObject(dc, oldPen);
      SelectObject(dc, oldBrush);
      break;
    }
  }
}

LRESULT PopUpDetectorScrFrm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      // The screen stays loaded between pop-ups; closing it ends the announcement.
      if (IsWindowVisible(hwnd())) CloseDetector();
      return 0;
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wp);
      RECT r;
      GetClientRect(hwnd(), &r);
      RECT strip = {r.left, r.top, r.right, layout_.Px(kStripH)};
      RECT body = {r.left, strip.bottom, r.right, r.bottom};
      FillRect(dc, &strip, stripBrush_);
      FillRect(dc, &body, bodyBrush_);
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      int id = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
      SetTextColor(dc, kInk);
      if (id == IDC_POPUPDETECTORSCRFRM_SCREENLABEL) {
        SetBkColor(dc, kStrip);
        return reinterpret_cast<LRESULT>(stripBrush_.get());
      }
      if (id == IDC_POPUPDETECTORSCRFRM_LBLSHOWWIN) {
        SetBkColor(dc, peeking_ ? kStrip : kHover);
        return reinterpret_cast<LRESULT>(peeking_ ? stripBrush_.get() : stripHoverBrush_.get());
      }
      if (id >= IDC_POPUPDETECTORSCRFRM_INFOPIC_WNNAMECAP && id <= IDC_POPUPDETECTORSCRFRM_INFOPIC_URL) {
        SetBkColor(dc, kHover);
        return reinterpret_cast<LRESULT>(stripHoverBrush_.get());
      }
      SetBkColor(dc, kBody);
      return reinterpret_cast<LRESULT>(bodyBrush_.get());
    }
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(bodyBrush_.get());
    case WM_DPICHANGED:
      OnDpiChanged(wp, lp);
      return 0;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDC_POPUPDETECTORSCRFRM_APPROVEWNDBTN:
        case IDC_POPUPDETECTORSCRFRM_ASXTOOLBAR1_BUTTON1:
          ApproveWndBtn_Click();
          break;
        case IDC_POPUPDETECTORSCRFRM_CLOSEBTN:
        case IDC_POPUPDETECTORSCRFRM_COMMAND1:
        case IDC_POPUPDETECTORSCRFRM_ASXTOOLBAR1_BUTTON3:
        case IDC_POPUPDETECTORSCRFRM_ASXTOOLBARCLOSE:
          CloseBtn_Click();
          break;
      }
      return 0;
    case WM_LBUTTONDOWN:
      BeginDrag({static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      return 0;
    case WM_MOUSEMOVE: {
      if (dragging_) {
        if (wp & MK_LBUTTON) DragTo();
        return 0;
      }
      POINT p = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (IsWindowVisible(Item(IDC_POPUPDETECTORSCRFRM_PICTURE1)) &&
          Contains(ClientRectOf(IDC_POPUPDETECTORSCRFRM_PICTURE1), p))
        Picture1_MouseMove();
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragging_) {
        dragging_ = false;
        if (msg == WM_LBUTTONUP) ReleaseCapture();
      }
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}
