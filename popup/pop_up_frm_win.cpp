#include "popup/pop_up_frm_win.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <cstring>
#include <vector>

#include "app/list_view_win.h"
#include "app/program_win.h"
#include "popup/pop_blocker_win.h"

namespace {

constexpr const char* kClass = "TarvickLitePopUpPage";
constexpr int kTabIds[3][6] = {
    {PopUpFrm::IDC_POPUPFRM_BLOCKEDWNDLST, PopUpFrm::IDC_POPUPFRM_LABEL2,
     PopUpFrm::IDC_POPUPFRM_TOTALBLOCKSINCELBL, PopUpFrm::IDC_POPUPFRM_LABEL4,
     PopUpFrm::IDC_POPUPFRM_TOTALBLOCKCNTLBL, PopUpFrm::IDC_POPUPFRM_RESETBTN},
    {PopUpFrm::IDC_POPUPFRM_LABEL1_1, PopUpFrm::IDC_POPUPFRM_WHITEWNDLST,
     PopUpFrm::IDC_POPUPFRM_WHITEADDBTN, PopUpFrm::IDC_POPUPFRM_WHITEMODIBTN,
     PopUpFrm::IDC_POPUPFRM_WHITEDELBTN, 0},
    {PopUpFrm::IDC_POPUPFRM_LABEL1_3, PopUpFrm::IDC_POPUPFRM_BROWSERSLST,
     PopUpFrm::IDC_POPUPFRM_BROWSERSADDBTN, PopUpFrm::IDC_POPUPFRM_BROWSERSMODIBTN,
     PopUpFrm::IDC_POPUPFRM_BROWSERSDELBTN, 0},
};
constexpr const char* kTabHints[3] = {"List of blocked pop-ups since Tarvick started",
                                      "List of pop-ups that you don't want Tarvick to close",
                                      "List of browsers that will be scanned for pop-ups"};
constexpr int kWhiteTab = 1;  // shown, but never selected
constexpr UINT kDpiChangedAfterParent = 0x02E3;

constexpr int kConfirm = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;

void SetClipboardText(HWND owner, const std::string& text) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  if (!text.empty()) {
    if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
      if (void* p = GlobalLock(mem)) {
        memcpy(p, text.c_str(), text.size() + 1);
        GlobalUnlock(mem);
        if (!SetClipboardData(CF_TEXT, mem)) GlobalFree(mem);
      } else {
        GlobalFree(mem);
      }
    }
  }
  CloseClipboard();
}

}  // namespace

PopUpFrm::~PopUpFrm() {
  if (blocker_) blocker_->ListsChanged = nullptr;
  if (mnuBlocked_) DestroyMenu(mnuBlocked_);
  if (mnuWhite_) DestroyMenu(mnuWhite_);
}

bool PopUpFrm::Create(HWND parent, ModPop::PopupBlocker& blocker) {
  if (hwnd()) return true;
  blocker_ = &blocker;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  if (!tl::Window::Create(kClass, "", WS_CHILD | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, 0, 0, 0,
                          parent))
    return false;
  Form_Load();
  return true;
}

HWND PopUpFrm::MakeList(int id, const RECT& units, std::initializer_list<const char*> columns,
                        bool single) {
  DWORD style = LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP | (single ? LVS_SINGLESEL : 0);
  HWND list = layout_.CreateChild(WC_LISTVIEWA, "", style, id, units);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  // Columns share the width; the first is half as wide again as the others.
  int width = layout_.Px(units.right - units.left) - GetSystemMetrics(SM_CXVSCROLL) - 4;
  int n = static_cast<int>(columns.size());
  int i = 0;
  for (const char* name : columns) {
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH;
    c.pszText = const_cast<char*>(name);
    c.cx = n == 1 ? width : (i == 0 ? width * 3 / (2 * n + 1) : width * 2 / (2 * n + 1));
    SendMessageA(list, LVM_INSERTCOLUMNA, i++, reinterpret_cast<LPARAM>(&c));
  }
  return list;
}

void PopUpFrm::Form_Load() {
  layout_.Attach(hwnd());
  backColour_ = ModMain::Prog().InterfaceColours[0];
  back_.Reset(CreateSolidBrush(backColour_));
  SetWindowPos(hwnd(), nullptr, 0, 0, layout_.Px(kWidth), layout_.Px(kHeight),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  using U = RECT;  // 96-DPI units
  HWND tab = layout_.CreateChild(WC_TABCONTROLA, "", WS_TABSTOP | WS_CLIPSIBLINGS,
                                 IDC_POPUPFRM_SSTAB1, U{0, 0, kWidth, kHeight});
  for (const char* name : {"Blocked Pop-ups", "White List", "Browsers List"}) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(name);
    SendMessageA(tab, TCM_INSERTITEMA, SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0),
                 reinterpret_cast<LPARAM>(&item));
  }
  SetWindowSubclass(tab, TabProc, 1, reinterpret_cast<DWORD_PTR>(this));
  tl::PlainTabBody(tab, backColour_);

  MakeList(IDC_POPUPFRM_BLOCKEDWNDLST, U{10, 34, 410, 226}, {"Window Name", "URL", "Browser", "Time"},
           false);
  // The counter line is one sentence; FlowCounterLine sets the widths.
  constexpr DWORD kLine = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
  layout_.CreateChild("STATIC", "Total number of blocked pop-up's since ", kLine,
                      IDC_POPUPFRM_LABEL2, U{10, 240, 200, 258});
  layout_.CreateChild("STATIC", "00/00/00", kLine, IDC_POPUPFRM_TOTALBLOCKSINCELBL,
                      U{200, 240, 260, 258}, tl::FormLayout::Face::Bold);
  layout_.CreateChild("STATIC", "is", kLine, IDC_POPUPFRM_LABEL4, U{260, 240, 272, 258});
  layout_.CreateChild("STATIC", "0000", kLine, IDC_POPUPFRM_TOTALBLOCKCNTLBL, U{272, 240, 310, 258},
                      tl::FormLayout::Face::Bold);
  layout_.CreateChild("BUTTON", "Reset", BS_PUSHBUTTON | WS_TABSTOP, IDC_POPUPFRM_RESETBTN,
                      U{346, 233, 410, 259});

  layout_.CreateChild("STATIC", "White List of good pop-ups:", SS_LEFT, IDC_POPUPFRM_LABEL1_1,
                      U{10, 36, 320, 54});
  MakeList(IDC_POPUPFRM_WHITEWNDLST, U{10, 56, 326, 260}, {"Window Name \\ URL"}, false);
  layout_.CreateChild("STATIC", "Browsers List:", SS_LEFT, IDC_POPUPFRM_LABEL1_3, U{10, 36, 320, 54});
  MakeList(IDC_POPUPFRM_BROWSERSLST, U{10, 56, 326, 260}, {"Browser Name", "Browser Path"}, true);
  const int buttons[2][3] = {
      {IDC_POPUPFRM_WHITEADDBTN, IDC_POPUPFRM_WHITEMODIBTN, IDC_POPUPFRM_WHITEDELBTN},
      {IDC_POPUPFRM_BROWSERSADDBTN, IDC_POPUPFRM_BROWSERSMODIBTN, IDC_POPUPFRM_BROWSERSDELBTN}};
  const char* captions[3] = {"Add", "Modify", "Remove"};
  for (const auto& row : buttons)
    for (int i = 0; i < 3; ++i)
      layout_.CreateChild("BUTTON", captions[i], BS_PUSHBUTTON | WS_TABSTOP, row[i],
                          U{336, 56 + 32 * i, 410, 82 + 32 * i});
  // Beneath the controls it frames, so they take the clicks.
  SetWindowPos(tab, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  mnuBlocked_ = CreatePopupMenu();
  AppendMenuA(mnuBlocked_, MF_STRING, IDM_POPUPFRM_MNUBLOCKEDCOPY, "&Copy Name\\URL");
  AppendMenuA(mnuBlocked_, MF_STRING, IDM_POPUPFRM_MNUBLOCKEDGOTO, "&Goto URL");
  // "&Send To White List" stays hidden: the white list cannot be edited here.
  mnuWhite_ = CreatePopupMenu();
  AppendMenuA(mnuWhite_, MF_STRING, IDM_POPUPFRM_MNUWHITEREMOVE, "&Remove");
  AppendMenuA(mnuWhite_, MF_STRING, IDM_POPUPFRM_MNUWHITEMODIFY, "&Modify");
  AppendMenuA(mnuWhite_, MF_STRING, IDM_POPUPFRM_MNUWHITECOPY, "&Copy Name\\URL");

  ShowTab(0);
  blocker_->ListsChanged = [this] {
    FillBrowsers();
    SyncBlocked();
  };
  FillBrowsers();
  SyncBlocked();
  RefreshMe();
}

void PopUpFrm::RefreshMe() {
  if (!hwnd()) return;
  SetWindowTextA(Item(IDC_POPUPFRM_TOTALBLOCKSINCELBL), blocker_->Counters.TotalBlockSince.c_str());
  SetWindowTextA(Item(IDC_POPUPFRM_TOTALBLOCKCNTLBL),
                 std::to_string(blocker_->Counters.TotalBlockCnt).c_str());
  FlowCounterLine();
}

void PopUpFrm::FlowCounterLine() {
  HDC dc = GetDC(hwnd());
  if (!dc) return;
  int x = layout_.Px(10);
  RECT first{};
  GetWindowRect(Item(IDC_POPUPFRM_LABEL2), &first);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&first), 2);
  for (int id : {IDC_POPUPFRM_LABEL2, IDC_POPUPFRM_TOTALBLOCKSINCELBL, IDC_POPUPFRM_LABEL4,
                 IDC_POPUPFRM_TOTALBLOCKCNTLBL}) {
    HWND label = Item(id);
    char text[256] = {};
    int n = GetWindowTextA(label, text, sizeof text);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text, n, &size);
    SelectObject(dc, old);
    // A blank between the parts, as the sentence reads.
    int width = size.cx + layout_.Px(4);
    SetWindowPos(label, nullptr, x, first.top, width, first.bottom - first.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    x += width;
  }
  ReleaseDC(hwnd(), dc);
}

void PopUpFrm::SelectTab(int tab) {
  if (tab == 0 || tab == 2) ShowTab(tab);
}

void PopUpFrm::ShowTab(int tab) {
  tab_ = tab;
  SendMessageA(Item(IDC_POPUPFRM_SSTAB1), TCM_SETCURSEL, tab, 0);
  for (int t = 0; t < 3; ++t)
    for (int id : kTabIds[t])
      if (id) ShowWindow(Item(id), t == tab ? SW_SHOW : SW_HIDE);
}

void PopUpFrm::TabPressed() {
  int tab = static_cast<int>(SendMessageA(Item(IDC_POPUPFRM_SSTAB1), TCM_GETCURSEL, 0, 0));
  if (tab >= 0 && tab < 3 && commands.ShowHint) commands.ShowHint(kTabHints[tab]);
}

LRESULT CALLBACK PopUpFrm::TabProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<PopUpFrm*>(data);
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      // The tab changes on the press, except to the unavailable white list;
      // the hint names the tab then current.
      TCHITTESTINFO hit{{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, 0};
      LRESULT r = 0;
      if (SendMessageA(h, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) != kWhiteTab)
        r = DefSubclassProc(h, msg, wp, lp);
      self->TabPressed();
      return r;
    }
    case WM_KEYDOWN:
      // Arrow keys step over the white list to the tab beyond it.
      if (wp == VK_LEFT || wp == VK_RIGHT) {
        int next = self->tab_ + (wp == VK_RIGHT ? 1 : -1);
        if (next == kWhiteTab) next += wp == VK_RIGHT ? 1 : -1;
        if (next >= 0 && next < 3) self->ShowTab(next);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(h, TabProc, 1);
      break;
  }
  return DefSubclassProc(h, msg, wp, lp);
}

void PopUpFrm::AddRow(HWND list, const std::string* texts, size_t n, LPARAM param) {
  LVITEMA it{};
  it.mask = LVIF_TEXT | LVIF_PARAM;
  it.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  it.pszText = const_cast<char*>(texts[0].c_str());
  it.lParam = param;
  int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it)));
  for (size_t c = 1; c < n && row >= 0; ++c) {
    LVITEMA sub{};
    sub.iSubItem = static_cast<int>(c);
    sub.pszText = const_cast<char*>(texts[c].c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&sub));
  }
}

std::string PopUpFrm::CellText(HWND list, int row, int col) const {
  return tl::ListViewText(list, row, col);
}

PopUpFrm::ReportList* PopUpFrm::ListOf(int id) {
  for (ReportList& l : lists_)
    if (l.id == id) return &l;
  return nullptr;
}

void PopUpFrm::ApplySort(ReportList& l) {
  if (l.sort.column < 0) return;
  HWND list = Item(l.id);
  int cols = static_cast<int>(
      SendMessageA(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
  int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  if (l.sort.column >= cols || count < 2) return;
  struct Row {
    std::vector<std::string> texts;
    LPARAM param;
    bool selected;
  };
  std::vector<Row> rows;
  std::vector<std::string> keys;
  for (int r = 0; r < count; ++r) {
    Row row;
    for (int c = 0; c < cols; ++c) row.texts.push_back(CellText(list, r, c));
    LVITEMA it{};
    it.mask = LVIF_PARAM | LVIF_STATE;
    it.stateMask = LVIS_SELECTED;
    it.iItem = r;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    row.param = it.lParam;
    row.selected = (it.state & LVIS_SELECTED) != 0;
    keys.push_back(row.texts[static_cast<size_t>(l.sort.column)]);
    rows.push_back(std::move(row));
  }
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (size_t i : tl::SortedOrder(keys, l.sort.descending)) {
    AddRow(list, rows[i].texts.data(), rows[i].texts.size(), rows[i].param);
    if (rows[i].selected) {
      LVITEMA st{};
      st.stateMask = st.state = LVIS_SELECTED;
      SendMessageA(list, LVM_SETITEMSTATE, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) - 1,
                   reinterpret_cast<LPARAM>(&st));
    }
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void PopUpFrm::FillBrowsers() {
  // The lists change together: a blocked row alone leaves the browsers as
  // shown, and their names (read from each program's version data) are not
  // read again for it.
  std::vector<std::string> paths;
  for (const tl::BrowserEntry& b : blocker_->Browsers) paths.push_back(b.Path);
  if (browsersShown_ && paths == shownPaths_) return;
  shownPaths_ = std::move(paths);
  browsersShown_ = true;
  HWND list = Item(IDC_POPUPFRM_BROWSERSLST);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (const tl::BrowserEntry& b : blocker_->Browsers) {
    std::string texts[2] = {ModPop::BrowserDisplayName(b.Path), b.Path};
    AddRow(list, texts, 2, 0);
  }
  ApplySort(lists_[2]);
}

void PopUpFrm::SyncBlocked() {
  HWND list = Item(IDC_POPUPFRM_BLOCKEDWNDLST);
  const auto& rows = blocker_->BlockedList;
  if (rows.size() < blockedShown_) {  // the list was started afresh
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    blockedShown_ = 0;
  }
  if (rows.size() == blockedShown_) return;
  for (; blockedShown_ < rows.size(); ++blockedShown_) {
    const ModPop::BlockedRow& r = rows[blockedShown_];
    std::string texts[4] = {r.WindowName, r.PageAddress, r.BrowserName, r.ClosedAt};
    AddRow(list, texts, 4, static_cast<LPARAM>(blockedShown_));
  }
  ApplySort(lists_[0]);
}

int PopUpFrm::SelectedRow(int listId) const {
  return static_cast<int>(
      SendMessageA(Item(listId), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::optional<size_t> PopUpFrm::SelectedEntry() const {
  int row = SelectedRow(IDC_POPUPFRM_BROWSERSLST);
  if (row < 0) return std::nullopt;
  // By the path the row shows: after a sort, rows and entries differ in order.
  return tl::EntryByPath(blocker_->Browsers, CellText(Item(IDC_POPUPFRM_BROWSERSLST), row, 1));
}

void PopUpFrm::ResetBtn_Click() {
  if (ModMain::ShowMessage(hwnd(), "Are you sure you want to reset pop-ups counter?", kConfirm) != IDYES)
    return;
  blocker_->ResetBlockCount();
  RefreshMe();
}

void PopUpFrm::BrowsersDelBtn_Click() {
  if (ModMain::ShowMessage(hwnd(), "Are you sure you want to remove the selected items?", kConfirm) !=
      IDYES)
    return;
  std::optional<size_t> entry = SelectedEntry();
  if (!entry) return;
  tl::RemoveEntry(blocker_->Browsers, *entry);
  blocker_->SavePopupLists();
  blocker_->LoadPopupLists();
}

void PopUpFrm::BrowsersModiBtn_Click() {
  std::optional<size_t> entry = SelectedEntry();
  if (!entry) return;
  if (!addBrowser_) addBrowser_ = std::make_unique<AddBrowserFrm>(*blocker_);
  addBrowser_->commands = {commands.ShowHelp, commands.ShowSoundOptions};
  addBrowser_->SetOwner(GetAncestor(hwnd(), GA_ROOT));
  addBrowser_->ShowModifyBrowserFrm(static_cast<int16_t>(*entry + 1));
}

void PopUpFrm::BrowsersAddBtn_Click() {
  if (!addBrowser_) addBrowser_ = std::make_unique<AddBrowserFrm>(*blocker_);
  addBrowser_->commands = {commands.ShowHelp, commands.ShowSoundOptions};
  addBrowser_->SetOwner(GetAncestor(hwnd(), GA_ROOT));
  addBrowser_->ShowAddBrowserFrm("");
}

void PopUpFrm::CopyRows(int listId, bool withAddress) {
  HWND list = Item(listId);
  std::vector<tl::CopiedRow> rows;
  for (int r = -1; (r = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(r),
                                                       LVNI_SELECTED))) >= 0;) {
    tl::CopiedRow row{CellText(list, r, 0), std::nullopt};
    if (withAddress) row.address = CellText(list, r, 1);
    rows.push_back(std::move(row));
  }
  SetClipboardText(hwnd(), tl::CopyText(rows));
}

void PopUpFrm::mnuBlockedCopy_Click() { CopyRows(IDC_POPUPFRM_BLOCKEDWNDLST, true); }
void PopUpFrm::mnuWhiteCopy_Click() { CopyRows(IDC_POPUPFRM_WHITEWNDLST, false); }

void PopUpFrm::mnuBlockedGoto_Click() {
  int row = SelectedRow(IDC_POPUPFRM_BLOCKEDWNDLST);
  if (row < 0) return;
  std::string url = CellText(Item(IDC_POPUPFRM_BLOCKEDWNDLST), row, 1);
  if (!url.empty()) ShellExecuteA(hwnd(), "Open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void PopUpFrm::ShowContextMenu(int listId) {
  POINT p;
  GetCursorPos(&p);
  HMENU menu = listId == IDC_POPUPFRM_BLOCKEDWNDLST ? mnuBlocked_ : mnuWhite_;
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd(), nullptr);
}

void PopUpFrm::Keys(WORD key) {
  if (key == VK_F1 && commands.ShowHelp) commands.ShowHelp();
  else if (key == VK_F5) RefreshMe();
}

void PopUpFrm::OnNotify(const NMHDR& n) {
  int id = static_cast<int>(n.idFrom);
  if (id == IDC_POPUPFRM_SSTAB1) {
    if (n.code == TCN_SELCHANGE) {
      int sel = static_cast<int>(SendMessageA(n.hwndFrom, TCM_GETCURSEL, 0, 0));
      ShowTab(sel == kWhiteTab ? tab_ : sel);  // the white list is unavailable
    } else if (n.code == TCN_KEYDOWN) {
      Keys(reinterpret_cast<const NMTCKEYDOWN&>(n).wVKey);
    }
    return;
  }
  ReportList* l = ListOf(id);
  if (!l) return;
  switch (n.code) {
    case LVN_COLUMNCLICK:
      l->sort.HeaderClicked(reinterpret_cast<const NMLISTVIEW&>(n).iSubItem);
      ApplySort(*l);
      break;
    case LVN_KEYDOWN:
      Keys(reinterpret_cast<const NMLVKEYDOWN&>(n).wVKey);
      break;
    case NM_RCLICK:
      // A menu for a row only, not for the empty part of a list.
      if (id != IDC_POPUPFRM_BROWSERSLST && reinterpret_cast<const NMITEMACTIVATE&>(n).iItem >= 0)
        ShowContextMenu(id);
      break;
    case NM_DBLCLK:
      if (id == IDC_POPUPFRM_BROWSERSLST && reinterpret_cast<const NMITEMACTIVATE&>(n).iItem >= 0)
        BrowsersModiBtn_Click();
      break;
  }
}

LRESULT PopUpFrm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lp));
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDC_POPUPFRM_RESETBTN: ResetBtn_Click(); break;
        case IDC_POPUPFRM_BROWSERSADDBTN: BrowsersAddBtn_Click(); break;
        case IDC_POPUPFRM_BROWSERSMODIBTN: BrowsersModiBtn_Click(); break;
        case IDC_POPUPFRM_BROWSERSDELBTN: BrowsersDelBtn_Click(); break;
        case IDM_POPUPFRM_MNUBLOCKEDCOPY: mnuBlockedCopy_Click(); break;
        case IDM_POPUPFRM_MNUBLOCKEDGOTO: mnuBlockedGoto_Click(); break;
        case IDM_POPUPFRM_MNUWHITECOPY: mnuWhiteCopy_Click(); break;
        default: break;  // the white list's own buttons and entries do nothing
      }
      return 0;
    case WM_KEYDOWN:
      Keys(static_cast<WORD>(wp));
      return 0;
    case WM_WINDOWPOSCHANGED:
      // Shown again (by ShowWindow or SetWindowPos): the counters as they
      // stand, not as they stood when hidden.
      if (reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW) RefreshMe();
      return Default(msg, wp, lp);
    case WM_HELP:
      if (commands.ShowHelp) commands.ShowHelp();
      return TRUE;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd(), &r);
      FillRect(reinterpret_cast<HDC>(wp), &r, back_);
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wp), backColour_);
      return reinterpret_cast<LRESULT>(back_.get());
    case kDpiChangedAfterParent:
      layout_.OnDpiChanged(MAKEWPARAM(tl::DpiOf(hwnd()), tl::DpiOf(hwnd())), 0);
      FlowCounterLine();
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}
