#include "mainwin/interface_frm_win.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "app/program_win.h"
#include "app/reminders_win.h"
#include "app/system_win.h"
#include "inspect/window_query_win.h"
#include "mainwin/gradient_win.h"

namespace {

using Id = InterfaceFrm::ControlId;

// Layout in 96-DPI units.
// The page area between the page toolbar and the hint line holds the
// manager page whole (420 x 270).
constexpr int kClientW = 432, kClientH = 370;
constexpr RECT kMainTblRect = {6, 4, 426, 32};
constexpr RECT kToolbar1Rect = {6, 36, 426, 62};
constexpr RECT kHintFrameRect = {6, 342, 342, 364};
constexpr RECT kHintRect = {10, 345, 338, 361};
constexpr RECT kCommand1Rect = {348, 342, 386, 364};
constexpr RECT kCommand2Rect = {388, 342, 426, 364};
constexpr int kButtonHeight = 24;

constexpr const char* kExitQuestion =
    "Tarvick needs to be always running to block pop-ups. Are you still sure you want to exit?";
constexpr const char* kPopUpPageCaption = "Pop-Up Blocker";
// The hint line's text until the mouse first passes over the window.
constexpr const char* kHintDesignText = "On-Line Help (The limit of this label is 88)";

struct MenuItem {
  int id;  // 0: separator
  const char* caption;
};

constexpr MenuItem kFileItems[] = {
    {Id::IDC_INTERFACEFRM_MNUFILEOPEN, "&Open"},
    {0, nullptr},
    {Id::IDC_INTERFACEFRM_MNUFILEBLOCK, "&Block Pop-Up's"},
    {Id::IDC_INTERFACEFRM_MNUFILEBLOCKMSG, "Block &Messenger Spam"},
    {0, nullptr},
    {Id::IDC_INTERFACEFRM_MNUFILEOPTIONS, "O&ptions"},
    {Id::IDC_INTERFACEFRM_MNUFILEABOUT, "&About"},
    {0, nullptr},
    {Id::IDC_INTERFACEFRM_MNUFILEEXIT, "&Exit"},
};
constexpr MenuItem kSettingsItems[] = {
    {Id::IDC_INTERFACEFRM_MNUSETTINGSTOP, "Always On &Top"},
    {0, nullptr},
    {Id::IDC_INTERFACEFRM_MNUSETTINGSPOPBLOCK, "Enable &Pop-up blocker on startup"},
    {Id::IDC_INTERFACEFRM_MNUSETTINGSMSGBLOCK, "Enable &Messenger blocker on startup"},
};
// Indexed arrays: the index is the item's number; nullptr captions are separators.
constexpr const char* kShutDownItems[] = {
    "&Exit Windows by Force", "Exit &Windows", nullptr, "&Reboot by Force", "Re&boot", nullptr,
    "&Log Off by Force",      "Log &Off",      nullptr, "Restart in MS-DOS"};
constexpr const char* kUpdateSpeedItems[] = {"&High", "&Normal", "&Slow", "&Paused"};
constexpr int16_t kUpdateSeconds[] = {InterfaceFrm::FastInterval, 20, 35, 0};

struct ToolButton {
  int id;
  const char* key;
  const char* text;
  const char* hint;
  BYTE style;
};
constexpr ToolButton kMainTblButtons[] = {
    {Id::IDC_INTERFACEFRM_TBSHUT, "Shut", "Shutdown", "Shutdown Windows !!", BTNS_WHOLEDROPDOWN},
    {Id::IDC_INTERFACEFRM_TBRUN, "Run", "Run", "Run Program, Document ... etc", BTNS_BUTTON},
    {Id::IDC_INTERFACEFRM_TBSETTINGS, "Settings", "Settings", "Quick settings", BTNS_WHOLEDROPDOWN},
    {Id::IDC_INTERFACEFRM_TBOPTIONS, "Options", "Options", "View Options window", BTNS_BUTTON},
    // The arrow beside Help opens the Help menu.
    {Id::IDC_INTERFACEFRM_TBHELP, "Help", "Help", "View Help", BTNS_DROPDOWN},
    {Id::IDC_INTERFACEFRM_TBEXIT, "Exit", "Exit", "Exit Tarvick", BTNS_BUTTON},
};
constexpr ToolButton kToolbar1Buttons[] = {
    {Id::IDC_INTERFACEFRM_TBPOPUP, "PopUp", kPopUpPageCaption,
     "Poptarn. Manange\\View blocked Pop-up ad", BTNS_CHECKGROUP},
};

const ToolButton* ButtonById(int id) {
  for (const ToolButton& b : kMainTblButtons)
    if (b.id == id) return &b;
  for (const ToolButton& b : kToolbar1Buttons)
    if (b.id == id) return &b;
  return nullptr;
}

HMENU MakeMenu(const MenuItem* items, size_t n) {
  HMENU m = CreatePopupMenu();
  for (size_t i = 0; i < n; ++i) {
    if (items[i].id == 0)
      AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
    else
      AppendMenuA(m, MF_STRING, static_cast<UINT_PTR>(items[i].id), items[i].caption);
  }
  return m;
}

HMENU MakeIndexedMenu(int firstId, const char* const* captions, size_t n) {
  HMENU m = CreatePopupMenu();
  for (size_t i = 0; i < n; ++i) {
    if (captions[i])
      AppendMenuA(m, MF_STRING, static_cast<UINT_PTR>(firstId + static_cast<int>(i)), captions[i]);
    else
      AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  }
  return m;
}

tl::Rgb ToRgb(COLORREF c) {
  return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

void AddButtons(HWND tb, const ToolButton* buttons, size_t n) {
  SendMessageA(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(tb, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  SendMessageA(tb, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));  // text only
  for (size_t i = 0; i < n; ++i) {
    TBBUTTON b{};
    b.iBitmap = I_IMAGENONE;
    b.idCommand = buttons[i].id;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = static_cast<BYTE>(buttons[i].style | BTNS_AUTOSIZE);
    b.iString = reinterpret_cast<INT_PTR>(buttons[i].text);
    SendMessageA(tb, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
  }
}

}  // namespace

bool InterfaceFrm::Load() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  if (!Create("TarvickLiteMain", "Tarvick Lite", style, 0, 0, 0, kClientW, kClientH)) return false;
  layout_.Attach(hwnd());
  SIZE outer = tl::OuterSize({layout_.Px(kClientW), layout_.Px(kClientH)}, style, 0, layout_.Dpi());
  RECT work = tl::WorkAreaOf(hwnd());
  SetWindowPos(hwnd(), nullptr, work.left + (work.right - work.left - outer.cx) / 2,
               work.top + (work.bottom - work.top - outer.cy) / 2, outer.cx, outer.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);

  icon_ = static_cast<HICON>(LoadImageA(tl::AppInstance(), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                        GetSystemMetrics(SM_CXSMICON),
                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (!icon_) icon_ = LoadIconA(nullptr, IDI_APPLICATION);
  // Explorer announces a restart with this message; every tray icon is lost then.
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  hintBrush_.Reset(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
  hintText_ = kHintDesignText;

  BuildMenus();
  BuildToolbars();
  layout_.CreateChild("STATIC", "", SS_SUNKEN | SS_WHITERECT, -1, kHintFrameRect);
  hint_ = layout_.CreateChild("STATIC", kHintDesignText, SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX,
                              IDC_INTERFACEFRM_LBLONLINEHELP, kHintRect);
  layout_.CreateChild("BUTTON", "Con", BS_PUSHBUTTON, IDC_INTERFACEFRM_COMMAND1, kCommand1Rect);
  layout_.CreateChild("BUTTON", "Dis", BS_PUSHBUTTON, IDC_INTERFACEFRM_COMMAND2, kCommand2Rect);
  emptyPage_ = CreateWindowExA(WS_EX_CLIENTEDGE, "STATIC", "", WS_CHILD | SS_WHITERECT, 0, 0, 0, 0,
                               hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_INTERFACEFRM_PAGE)),
                               tl::AppInstance(), nullptr);
  page_ = emptyPage_;
  return true;
}

void InterfaceFrm::BuildMenus() {
  mnuFile_ = MakeMenu(kFileItems, std::size(kFileItems));
  mnuSettings_ = MakeMenu(kSettingsItems, std::size(kSettingsItems));
  // Restart in MS-DOS mode and its separator exist only outside the NT family.
  size_t shutDownCount = ModMain::Prog().IsNT ? 8 : std::size(kShutDownItems);
  mnuShutDownHeader_ = MakeIndexedMenu(IDC_INTERFACEFRM_MNUSHUTDOWN0, kShutDownItems, shutDownCount);
  mnuHelpHeader_ = CreatePopupMenu();
  AppendMenuA(mnuHelpHeader_, MF_STRING, IDC_INTERFACEFRM_MNUHELP0 + 0, "Tarvick &Help");
  AppendMenuA(mnuHelpHeader_, MF_STRING, IDC_INTERFACEFRM_MNUHELP0 + 1, "&Visit Tarvick Website");
  AppendMenuA(mnuHelpHeader_, MF_SEPARATOR, 0, nullptr);  // item 3
  AppendMenuA(mnuHelpHeader_, MF_STRING, IDC_INTERFACEFRM_MNUHELP0 + 4, "&About Tarvick");
  mnuSettingsUpdate_ = MakeIndexedMenu(IDC_INTERFACEFRM_MNUSETTINGSUPDATESPD0, kUpdateSpeedItems,
                                       std::size(kUpdateSpeedItems));
}

void InterfaceFrm::BuildToolbars() {
  constexpr DWORD tbStyle = TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TRANSPARENT | CCS_NORESIZE |
                            CCS_NOPARENTALIGN | CCS_NODIVIDER;
  mainTbl_ = layout_.CreateChild(TOOLBARCLASSNAMEA, "", tbStyle, IDC_INTERFACEFRM_MAINTBL, kMainTblRect);
  toolbar1_ = layout_.CreateChild(TOOLBARCLASSNAMEA, "", tbStyle, IDC_INTERFACEFRM_TOOLBAR1, kToolbar1Rect);
  AddButtons(mainTbl_, kMainTblButtons, std::size(kMainTblButtons));
  AddButtons(toolbar1_, kToolbar1Buttons, std::size(kToolbar1Buttons));
  SizeToolbars();
}

void InterfaceFrm::SizeToolbars() {
  for (HWND tb : {mainTbl_, toolbar1_}) {
    SendMessageA(tb, TB_SETPADDING, 0, MAKELPARAM(layout_.Px(12), layout_.Px(6)));
    SendMessageA(tb, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, layout_.Px(kButtonHeight)));
    SendMessageA(tb, TB_AUTOSIZE, 0, 0);
  }
  // A checked button draws its text shifted, and autosizing leaves no room
  // for that: the page buttons get their width from the text.
  HDC dc = GetDC(toolbar1_);
  HGDIOBJ old = SelectObject(dc, layout_.MessageFont());
  for (const ToolButton& b : kToolbar1Buttons) {
    SIZE text{};
    GetTextExtentPoint32A(dc, b.text, lstrlenA(b.text), &text);
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_SIZE;
    info.cx = static_cast<WORD>(text.cx + layout_.Px(24));
    SendMessageA(toolbar1_, TB_SETBUTTONINFOA, b.id, reinterpret_cast<LPARAM>(&info));
  }
  SelectObject(dc, old);
  ReleaseDC(toolbar1_, dc);
}

void InterfaceFrm::SetPage(HWND page) {
  if (!page || page == page_) return;
  ShowWindow(page_, SW_HIDE);
  LONG_PTR style = GetWindowLongPtrA(page, GWL_STYLE);
  SetWindowLongPtrA(page, GWL_STYLE, (style & ~(WS_POPUP | WS_CAPTION | WS_THICKFRAME)) | WS_CHILD);
  page_ = page;
  if (selectedPage_ == "PopUp") TlbButtons("PopUp");
}

RECT InterfaceFrm::PageRect() const {
  RECT client{}, tb{};
  GetClientRect(hwnd(), &client);
  GetWindowRect(toolbar1_, &tb);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&tb), 2);
  RECT frame = layout_.Px(kHintFrameRect);
  return {layout_.Px(6), tb.bottom + layout_.Px(2), client.right - layout_.Px(6),
          frame.top - layout_.Px(4)};
}

void InterfaceFrm::PlacePage() {
  if (selectedPage_ != "PopUp") return;
  RECT r = PageRect();
  SetWindowPos(page_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER);
}

void InterfaceFrm::TlbButtons(const std::string& key) {
  const ToolButton* button = nullptr;
  for (const ToolButton& b : kToolbar1Buttons)
    if (key == b.key) button = &b;
  std::string caption = "Tarvick Lite - ";
  if (button) caption += button->text;
  SetWindowTextA(hwnd(), caption.c_str());
  for (const ToolButton& b : kToolbar1Buttons)
    SendMessageA(toolbar1_, TB_CHECKBUTTON, b.id, MAKELPARAM(&b == button, 0));
  ShowWindow(page_, SW_HIDE);
  selectedPage_ = key;
  if (key == "PopUp") {
    SetParent(page_, hwnd());
    PlacePage();
    ShowWindow(page_, SW_SHOW);
  }
  RefreshNow();
}

void InterfaceFrm::RefreshNow() {
  if (selectedPage_ == "PopUp" && commands.RefreshPage) commands.RefreshPage();
}

void InterfaceFrm::DoRefresh() {
  ++refreshCount_;
  RefreshNow();
}

void InterfaceFrm::SetHint(const std::string& text) {
  if (text == hintText_) return;
  hintText_ = text;
  SetWindowTextA(hint_, text.c_str());
}

void InterfaceFrm::MainTbl_ButtonClick(const std::string& key) {
  if (key == "Shut") DropDown(mnuShutDownHeader_, IDC_INTERFACEFRM_TBSHUT);
  else if (key == "Run") { if (commands.ShowRun) commands.ShowRun(); }
  else if (key == "Settings") DropDown(mnuSettings_, IDC_INTERFACEFRM_TBSETTINGS);
  else if (key == "Options") mnuFileOptions_Click();
  else if (key == "Help") OpenHelp();
  else if (key == "Exit") mnuFileExit_Click();
}

void InterfaceFrm::DropDown(HMENU menu, int buttonId) {
  // The menu's top left corner at the button's bottom left corner.
  RECT r{};
  SendMessageA(mainTbl_, TB_GETRECT, buttonId, reinterpret_cast<LPARAM>(&r));
  POINT p = {r.left, r.bottom};
  ClientToScreen(mainTbl_, &p);
  PopUp(menu, p);
}

void InterfaceFrm::PopUp(HMENU menu, POINT screen) {
  int cmd = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                           screen.x, screen.y, 0, hwnd(), nullptr);
  // Lets the menu close properly when it was opened for the tray icon.
  PostMessageA(hwnd(), WM_NULL, 0, 0);
  if (cmd) OnCommand(cmd);
}

void InterfaceFrm::OnTrayMessage(UINT mouseMsg) {
  if (mouseMsg == WM_LBUTTONDBLCLK) {
    mnuFileOpen_Click();
  } else if (mouseMsg == WM_RBUTTONUP) {
    SetForegroundWindow(hwnd());
    POINT p{};
    GetCursorPos(&p);
    PopUp(mnuFile_, p);
  }
}

void InterfaceFrm::OnCommand(int id) {
  if (id >= IDC_INTERFACEFRM_MNUSETTINGSUPDATESPD0 && id < IDC_INTERFACEFRM_MNUSETTINGSUPDATESPD0 + 4)
    return mnuSettingsUpdateSpd_Click(id - IDC_INTERFACEFRM_MNUSETTINGSUPDATESPD0);
  if (id >= IDC_INTERFACEFRM_MNUSHUTDOWN0 && id < IDC_INTERFACEFRM_MNUSHUTDOWN0 + 10)
    return mnuShutDown_Click(id - IDC_INTERFACEFRM_MNUSHUTDOWN0);
  if (id >= IDC_INTERFACEFRM_MNUHELP0 && id < IDC_INTERFACEFRM_MNUHELP0 + 5)
    return mnuhelp_Click(id - IDC_INTERFACEFRM_MNUHELP0);
  switch (id) {
    case IDC_INTERFACEFRM_COMMAND1: return Command1_Click();
    case IDC_INTERFACEFRM_COMMAND2: return Command2_Click();
    case IDC_INTERFACEFRM_MNUFILEOPEN: return mnuFileOpen_Click();
    case IDC_INTERFACEFRM_MNUFILEBLOCK: return mnuFileBlock_Click();
    case IDC_INTERFACEFRM_MNUFILEBLOCKMSG: return mnuFileBlockMsg_Click();
    case IDC_INTERFACEFRM_MNUFILEOPTIONS: return mnuFileOptions_Click();
    case IDC_INTERFACEFRM_MNUFILEABOUT: return mnuFileAbout_Click();
    case IDC_INTERFACEFRM_MNUFILEEXIT: return mnuFileExit_Click();
    case IDC_INTERFACEFRM_MNUSETTINGSTOP: return mnuSettingsTop_Click();
    case IDC_INTERFACEFRM_MNUSETTINGSPOPBLOCK: return mnuSettingsPopBlock_Click();
    case IDC_INTERFACEFRM_MNUSETTINGSMSGBLOCK: return mnuSettingsMsgBlock_Click();
    case IDC_INTERFACEFRM_TBPOPUP: return TlbButtons("PopUp");
    default:
      if (const ToolButton* b = ButtonById(id)) MainTbl_ButtonClick(b->key);
  }
}

bool InterfaceFrm::OnNotify(const NMHDR& n, LRESULT& result) {
  if (n.hwndFrom != mainTbl_ && n.hwndFrom != toolbar1_) return false;
  if (n.code == TBN_DROPDOWN) {
    int id = reinterpret_cast<const NMTOOLBARA&>(n).iItem;
    if (id == IDC_INTERFACEFRM_TBSHUT) DropDown(mnuShutDownHeader_, id);
    else if (id == IDC_INTERFACEFRM_TBSETTINGS) DropDown(mnuSettings_, id);
    else if (id == IDC_INTERFACEFRM_TBHELP) DropDown(mnuHelpHeader_, id);
    result = TBDDRET_DEFAULT;
    return true;
  }
  if (n.code == TBN_HOTITEMCHANGE) {
    const auto& hot = reinterpret_cast<const NMTBHOTITEM&>(n);
    const ToolButton* b = (hot.dwFlags & HICF_LEAVING) ? nullptr : ButtonById(hot.idNew);
    SetHint(b ? b->hint : "");
    result = 0;
    return true;
  }
  return false;
}

bool InterfaceFrm::Checked(int id) const {
  for (HMENU m : {mnuFile_, mnuSettings_, mnuSettingsUpdate_}) {
    UINT state = GetMenuState(m, id, MF_BYCOMMAND);
    if (state != static_cast<UINT>(-1)) return (state & MF_CHECKED) != 0;
  }
  return false;
}

void InterfaceFrm::SetChecked(int id, bool on) {
  for (HMENU m : {mnuFile_, mnuSettings_, mnuSettingsUpdate_})
    CheckMenuItem(m, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void InterfaceFrm::SaveMoreTools(const char* key, bool on) {
  ModMain::Prog().Store.Write(tl::kAppTitle, "MoreTools", key, on ? "True" : "False");
}

void InterfaceFrm::mnuFileOpen_Click() {
  if (commands.ShowMainWindow) commands.ShowMainWindow();
}

void InterfaceFrm::mnuFileBlock_Click() {
  bool& on = ModMain::Prog().Settings.BlockPopUps;
  on = !on;
  // Switching off stops nothing here: the main loop's next pass does.
  if (on && commands.StartDetection) commands.StartDetection();
  SetChecked(IDC_INTERFACEFRM_MNUFILEBLOCK, on);
}

void InterfaceFrm::mnuFileBlockMsg_Click() {
  bool& on = ModMain::Prog().Settings.BlockMessenger;
  on = !on;
  ModMain::SetMessengerService(on);
  SetChecked(IDC_INTERFACEFRM_MNUFILEBLOCKMSG, on);
}

void InterfaceFrm::mnuFileOptions_Click() {
  if (commands.ShowOptions) commands.ShowOptions(-1);
}

void InterfaceFrm::mnuFileAbout_Click() {
  if (commands.ShowAbout) commands.ShowAbout();
}

void InterfaceFrm::mnuFileExit_Click() {
  if (ModMain::ShowMessage(hwnd(), kExitQuestion, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) !=
      IDYES)
    return;
  ShowWindow(hwnd(), SW_HIDE);
  ModMain::Prog().Exiting = true;  // the main loop ends and the exit sequence runs
}

void InterfaceFrm::mnuSettingsTop_Click() {
  bool was = AlwaysOnTop();
  if (was)
    SetWindowPos(hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  else
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  SetChecked(IDC_INTERFACEFRM_MNUSETTINGSTOP, !was);
}

void InterfaceFrm::ApplyAlwaysOnTop() {
  if (AlwaysOnTop())
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  else
    SetWindowPos(hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void InterfaceFrm::mnuSettingsUpdateSpd_Click(int index) {
  if (index < 0 || index > 3) return;
  speedIndex_ = index;
  for (int i = 0; i < 4; ++i) SetChecked(IDC_INTERFACEFRM_MNUSETTINGSUPDATESPD0 + i, i == index);
  refreshInterval_ = kUpdateSeconds[index];
}

void InterfaceFrm::mnuSettingsPopBlock_Click() {
  bool on = !PopBlockChecked();
  SetChecked(IDC_INTERFACEFRM_MNUSETTINGSPOPBLOCK, on);
  SaveMoreTools("BlockPopUps", on);
}

void InterfaceFrm::mnuSettingsMsgBlock_Click() {
  bool on = !MsgBlockChecked();
  SetChecked(IDC_INTERFACEFRM_MNUSETTINGSMSGBLOCK, on);
  SaveMoreTools("BlockMessenger", on);
}

void InterfaceFrm::mnuShutDown_Click(int index) {
  if (commands.ShutDown) commands.ShutDown(index);
}

void InterfaceFrm::mnuhelp_Click(int index) {
  if (index == 0) OpenHelp();
  else if (index == 1) Open(kWebsite);
  else if (index == 4) mnuFileAbout_Click();
}

void InterfaceFrm::OpenHelp() { Open(ModMain::Prog().ProgramFolder + "\\" + kHelpFile); }

void InterfaceFrm::Open(const std::string& address) {
  if (commands.OpenAddress) return commands.OpenAddress(address);
  ShellExecuteA(hwnd(), "Open", address.c_str(), "", "", SW_SHOWNORMAL);
}

void InterfaceFrm::SetStartupChecks(bool messengerBlock, bool popBlock) {
  SetChecked(IDC_INTERFACEFRM_MNUSETTINGSMSGBLOCK, messengerBlock);
  SetChecked(IDC_INTERFACEFRM_MNUSETTINGSPOPBLOCK, popBlock);
}

void InterfaceFrm::SetBlockChecks(bool messengerBlock, bool popBlock) {
  SetChecked(IDC_INTERFACEFRM_MNUFILEBLOCKMSG, messengerBlock);
  SetChecked(IDC_INTERFACEFRM_MNUFILEBLOCK, popBlock);
}

void InterfaceFrm::HideMessengerItems() {
  DeleteMenu(mnuFile_, IDC_INTERFACEFRM_MNUFILEBLOCKMSG, MF_BYCOMMAND);
  DeleteMenu(mnuSettings_, IDC_INTERFACEFRM_MNUSETTINGSMSGBLOCK, MF_BYCOMMAND);
}

void InterfaceFrm::BringForward() {
  // Our own window answers: the check for hung windows would only cost time.
  MForceFore::ForceForeground(hwnd(), true);
  SetActiveWindow(hwnd());
}

void InterfaceFrm::Command1_Click() { IntMod::SimulatedConnection = true; }
void InterfaceFrm::Command2_Click() { IntMod::SimulatedConnection = false; }

LRESULT InterfaceFrm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
    ModMain::AddTrayIcon(hwnd(), icon_);
    return 0;
  }
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wp));
      return 0;
    case WM_NOTIFY: {
      LRESULT r = 0;
      if (OnNotify(*reinterpret_cast<const NMHDR*>(lp), r)) return r;
      return Default(msg, wp, lp);
    }
    case WM_ERASEBKGND: {
      const COLORREF* c = ModMain::Prog().InterfaceColours;
      PaintGradient(hwnd(), reinterpret_cast<HDC>(wp), ToRgb(c[0]), ToRgb(c[2]));
      return 1;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == hint_) {
        SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOW));
        SetTextColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(hintBrush_.get());
      }
      return Default(msg, wp, lp);
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) ApplyAlwaysOnTop();
      return Default(msg, wp, lp);
    case WM_HELP:  // F1 anywhere on the window
      OpenHelp();
      return TRUE;
    case WM_LBUTTONDOWN: {
      // Dragging by the body runs at normal priority.
      SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
      POINT cursor{};
      GetCursorPos(&cursor);
      RECT w{};
      GetWindowRect(hwnd(), &w);
      dragStart_ = {cursor.x - w.left, cursor.y - w.top};
      dragging_ = true;
      SetCapture(hwnd());
      return 0;
    }
    case WM_MOUSEMOVE:
      if (dragging_ && (wp & MK_LBUTTON)) {
        POINT cursor{};
        GetCursorPos(&cursor);
        SetWindowPos(hwnd(), nullptr, cursor.x - dragStart_.x, cursor.y - dragStart_.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      } else {
        SetHint("");
      }
      return 0;
    case WM_RBUTTONUP:
      // The tray icon's messages come as this message, the icon's id in
      // wParam and the mouse message in lParam.
      if (wp == ModMain::kTrayId && (lp == WM_LBUTTONDBLCLK || lp == WM_RBUTTONUP)) {
        OnTrayMessage(static_cast<UINT>(lp));
        return 0;
      }
      [[fallthrough]];
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
      if (dragging_) {
        dragging_ = false;
        ReleaseCapture();
      }
      SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    case WM_DPICHANGED:
      layout_.OnDpiChanged(wp, lp);
      SizeToolbars();
      PlacePage();
      return 0;
    case WM_CLOSE:
      // Closing only hides the window: the program lives in the tray, and
      // only the exit sequence ends it.
      if (!ModMain::Prog().Exiting) {
        ShowWindow(hwnd(), SW_HIDE);
        return 0;
      }
      return Default(msg, wp, lp);
    case WM_DESTROY:
      for (HMENU m : {mnuFile_, mnuSettings_, mnuShutDownHeader_, mnuHelpHeader_, mnuSettingsUpdate_})
        DestroyMenu(m);
      mnuFile_ = mnuSettings_ = mnuShutDownHeader_ = mnuHelpHeader_ = mnuSettingsUpdate_ = nullptr;
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}
