#include "dialogs/options_frm_win.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>

#include "app/program_win.h"
#include "dialogs/dialogs_res.h"
#include "dialogs/dialog_wiring_win.h"
#include "dialogs/file_dialog_win.h"
#include "dialogs/sprog_list_win.h"

namespace {

// Each tab's controls hold one block of IDs.
struct IdRange {
  int first, last;
};
constexpr IdRange kTabIds[frmOptions::kTabs] = {
    {IDC_FRMOPTIONS_CHKSTARTUP, IDC_FRMOPTIONS_TXTNUMLOGDATA},
    {IDC_FRMOPTIONS_PROCWARNCHK, IDC_FRMOPTIONS_ENABLEBTN},
    {IDC_FRMOPTIONS_HIDEWNDCHK, IDC_FRMOPTIONS_WNDDISPLAYOPT0 + 3},
    {IDC_FRMOPTIONS_FRAME4, IDC_FRMOPTIONS_WNDLISTCHK0 + 9},
    {IDC_FRMOPTIONS_LABEL7, IDC_FRMOPTIONS_LABEL8},
    {IDC_FRMOPTIONS_LANCONOPT0, IDC_FRMOPTIONS_LABEL5},
    {IDC_FRMOPTIONS_POPPLAYSNDCHK, IDC_FRMOPTIONS_LABEL9},
};
const char* const kTabCaptions[frmOptions::kTabs] = {
    "General", "Programs", "Windows", "Task Manager Lists", "Tracker Bar", "Internet Monitor",
    "Pop-up blocker"};

constexpr int kAppListBoxes = 12;
constexpr int kWndListBoxes = 10;

// The history block, the connection-cost block and the terminate-and-restart
// hotkey stay hidden; their values are still loaded and stored.
constexpr int kSwitchedOff[] = {
    IDC_FRMOPTIONS_FRAME2,         IDC_FRMOPTIONS_LABEL6,        IDC_FRMOPTIONS_LOGPROCCHK,
    IDC_FRMOPTIONS_LOGWNDSCHK,     IDC_FRMOPTIONS_LABEL1_0,      IDC_FRMOPTIONS_LABEL1_1,
    IDC_FRMOPTIONS_TXTSECLOGDATA,  IDC_FRMOPTIONS_TXTNUMLOGDATA, IDC_FRMOPTIONS_FRAME3,
    IDC_FRMOPTIONS_LABEL3,         IDC_FRMOPTIONS_EVERYXSECONDSTXT, IDC_FRMOPTIONS_LABEL4,
    IDC_FRMOPTIONS_CURRNCSYMBLBL0, IDC_FRMOPTIONS_COSTOFXSECONDTXT, IDC_FRMOPTIONS_CURRNCSYMBLBL1,
    IDC_FRMOPTIONS_EXTRACOSTTXT,   IDC_FRMOPTIONS_LABEL5,        IDC_FRMOPTIONS_CHECK2,
    IDC_FRMOPTIONS_HKFRAM1,        IDC_FRMOPTIONS_HKFRAM1TEXT,   IDC_FRMOPTIONS_CHKCTRL1,
    IDC_FRMOPTIONS_CHKALT1,        IDC_FRMOPTIONS_CHKSHIFT1,     IDC_FRMOPTIONS_LBLCHAR4,
    IDC_FRMOPTIONS_TXTCHARCODE1};
constexpr int kHotkeyBlock0[] = {IDC_FRMOPTIONS_HKFRAM0, IDC_FRMOPTIONS_CHKCTRL0,
                                 IDC_FRMOPTIONS_CHKALT0, IDC_FRMOPTIONS_CHKSHIFT0,
                                 IDC_FRMOPTIONS_LBLCHAR0, IDC_FRMOPTIONS_TXTCHARCODE0};

bool Ticked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }
void Tick(HWND dlg, int id, bool on) { CheckDlgButton(dlg, id, on ? BST_CHECKED : BST_UNCHECKED); }

std::string Text(HWND dlg, int id) {
  char buf[MAX_PATH * 2] = {};
  GetDlgItemTextA(dlg, id, buf, sizeof buf);
  return buf;
}

// The first ticked option of a group, -1 when none is.
int SelectedOption(HWND dlg, int first, int count) {
  for (int i = 0; i < count; ++i)
    if (Ticked(dlg, first + i)) return i;
  return -1;
}

}  // namespace

bool frmOptions::Open(HWND owner, int tab) {
  // The template's tab and list controls need their classes registered.
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  if (!hwnd() && !Create(IDD_FRMOPTIONS, owner)) return false;
  if (TabAvailable(tab)) SelectTab(tab);
  Dialogs::ShowForward(hwnd());
  return true;
}

bool frmOptions::OnInit() {
  HWND tabs = Item(IDC_FRMOPTIONS_SSTAB1);
  // A themed tab body is lighter than the dialog, and the check boxes and
  // frames on it would stand on grey patches: the tab is drawn plain.
  SetWindowTheme(tabs, L" ", L" ");
  for (int i = 0; i < kTabs; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kTabCaptions[i]);
    SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  SendDlgItemMessageA(hwnd(), IDC_FRMOPTIONS_TXTCHARCODE0, EM_LIMITTEXT, 1, 0);
  SendDlgItemMessageA(hwnd(), IDC_FRMOPTIONS_TXTCHARCODE1, EM_LIMITTEXT, 1, 0);
  SendDlgItemMessageA(hwnd(), IDC_FRMOPTIONS_TXTSECLOGDATA, EM_LIMITTEXT, 2, 0);
  SendDlgItemMessageA(hwnd(), IDC_FRMOPTIONS_TXTNUMLOGDATA, EM_LIMITTEXT, 2, 0);
  SendDlgItemMessageA(hwnd(), IDC_FRMOPTIONS_TXTLOWRES0, EM_LIMITTEXT, 3, 0);
  SendDlgItemMessageA(hwnd(), IDC_FRMOPTIONS_TXTLOWRES1, EM_LIMITTEXT, 3, 0);
  SProgList::Setup(Item(IDC_FRMOPTIONS_SPROGSLIST));
  HWND tracker = Item(IDC_FRMOPTIONS_TRACKERITEMSLV);
  SendMessageA(tracker, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNA col{};
  col.mask = LVCF_WIDTH;
  RECT r;
  GetClientRect(tracker, &r);
  col.cx = r.right - GetSystemMetrics(SM_CXVSCROLL);
  SendMessageA(tracker, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
  OpeningSteps();
  return true;
}

void frmOptions::OpeningSteps() {
  auto& prog = ModMain::Prog();
  appColumns_ = std::min<size_t>(prog.ProcessColumnTable.size(), kAppListBoxes);
  wndColumns_ = std::min<size_t>(prog.WindowColumnTable.size(), kWndListBoxes);
  // Boxes beyond the column tables (the twelfth only exists on NT) stay hidden.
  hidden_.assign(std::begin(kSwitchedOff), std::end(kSwitchedOff));
  for (size_t i = 0; i < kAppListBoxes; ++i) {
    if (i < appColumns_)
      SetDlgItemTextA(hwnd(), IDC_FRMOPTIONS_APPLISTCHK0 + int(i), prog.ProcessColumnTable[i].caption.c_str());
    else
      hidden_.push_back(IDC_FRMOPTIONS_APPLISTCHK0 + int(i));
  }
  for (size_t i = 0; i < kWndListBoxes; ++i) {
    if (i < wndColumns_)
      SetDlgItemTextA(hwnd(), IDC_FRMOPTIONS_WNDLISTCHK0 + int(i), prog.WindowColumnTable[i].caption.c_str());
    else
      hidden_.push_back(IDC_FRMOPTIONS_WNDLISTCHK0 + int(i));
  }

  ModMain::LoadOptions();
  tl::OptionsValues v = tl::ValuesFromSettings(prog.Settings, appColumns_, wndColumns_);
  std::vector<tl::SpecialProgramRow> rows;
  tl::SpecialProgramList(prog.Env(), prog.Settings, tl::kLoadSpecialPrograms, "", &rows);
  v.programs = rows;
  FillControls(v);

  // Only General, Internet Monitor and Pop-up blocker are offered.
  for (int i = 0; i < kTabs; ++i) available_[i] = i == 0 || i >= 5;
  SelectTab(0);
}

void frmOptions::FillControls(const tl::OptionsValues& v) {
  HWND d = hwnd();
  Tick(d, IDC_FRMOPTIONS_CHKSTARTUP, v.startUp);
  Tick(d, IDC_FRMOPTIONS_CHKSPLASHATSTARTUP, v.splash);
  Tick(d, IDC_FRMOPTIONS_CHECK1, v.hkEnabled);
  Tick(d, IDC_FRMOPTIONS_CHKALT0, v.hk.alt);
  Tick(d, IDC_FRMOPTIONS_CHKCTRL0, v.hk.ctrl);
  Tick(d, IDC_FRMOPTIONS_CHKSHIFT0, v.hk.shift);
  SetDlgItemTextA(d, IDC_FRMOPTIONS_TXTCHARCODE0, v.hkChar.c_str());
  Tick(d, IDC_FRMOPTIONS_CHECK2, v.restartEnabled);
  Tick(d, IDC_FRMOPTIONS_CHKALT1, v.restart.alt);
  Tick(d, IDC_FRMOPTIONS_CHKCTRL1, v.restart.ctrl);
  Tick(d, IDC_FRMOPTIONS_CHKSHIFT1, v.restart.shift);
  SetDlgItemTextA(d, IDC_FRMOPTIONS_TXTCHARCODE1, v.restartChar.c_str());
  SetDlgItemTextA(d, IDC_FRMOPTIONS_TXTSECLOGDATA, v.secLogData.c_str());
  SetDlgItemTextA(d, IDC_FRMOPTIONS_TXTNUMLOGDATA, v.numLogData.c_str());
  Tick(d, IDC_FRMOPTIONS_PROCWARNCHK, v.procWarn);
  HWND list = Item(IDC_FRMOPTIONS_SPROGSLIST);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (const auto& row : v.programs) SProgList::Add(list, row);
  ChkBtnsEnbl();
  Tick(d, IDC_FRMOPTIONS_HIDEWNDCHK, v.hideWnd);
  for (int i = 0; i < 4; ++i) Tick(d, IDC_FRMOPTIONS_WNDDISPLAYOPT0 + i, v.wndDisplay == i);
  for (size_t i = 0; i < appColumns_; ++i) Tick(d, IDC_FRMOPTIONS_APPLISTCHK0 + int(i), v.appList[i]);
  for (size_t i = 0; i < wndColumns_; ++i) Tick(d, IDC_FRMOPTIONS_WNDLISTCHK0 + int(i), v.wndList[i]);
  SetDlgItemTextA(d, IDC_FRMOPTIONS_TXTLOWRES0, v.lowRes[0].c_str());
  SetDlgItemTextA(d, IDC_FRMOPTIONS_TXTLOWRES1, v.lowRes[1].c_str());
  Tick(d, IDC_FRMOPTIONS_LANCONOPT0, v.lanCon == 0);
  Tick(d, IDC_FRMOPTIONS_LANCONOPT1, v.lanCon == 1);
  SetDlgItemTextA(d, IDC_FRMOPTIONS_EVERYXSECONDSTXT, v.everyXSeconds.c_str());
  SetDlgItemTextA(d, IDC_FRMOPTIONS_COSTOFXSECONDTXT, v.costOfXSecond.c_str());
  SetDlgItemTextA(d, IDC_FRMOPTIONS_EXTRACOSTTXT, v.extraCost.c_str());
  Tick(d, IDC_FRMOPTIONS_POPPLAYSNDCHK, v.popPlaySnd);
  SetDlgItemTextA(d, IDC_FRMOPTIONS_POPPLAYSNDFILETXT, v.popPlaySndFile.c_str());
  Tick(d, IDC_FRMOPTIONS_BLOCKDIALOGCHK, v.blockDialog);
  Tick(d, IDC_FRMOPTIONS_BLOCKMODEOPT0, v.blockMode == 0);
  Tick(d, IDC_FRMOPTIONS_BLOCKMODEOPT1, v.blockMode == 1);
}

tl::OptionsValues frmOptions::ReadControls() const {
  HWND d = hwnd();
  tl::OptionsValues v;
  v.startUp = Ticked(d, IDC_FRMOPTIONS_CHKSTARTUP);
  v.splash = Ticked(d, IDC_FRMOPTIONS_CHKSPLASHATSTARTUP);
  v.hkEnabled = Ticked(d, IDC_FRMOPTIONS_CHECK1);
  v.hk = {Ticked(d, IDC_FRMOPTIONS_CHKALT0), Ticked(d, IDC_FRMOPTIONS_CHKCTRL0),
          Ticked(d, IDC_FRMOPTIONS_CHKSHIFT0)};
  v.hkChar = Text(d, IDC_FRMOPTIONS_TXTCHARCODE0);
  v.restartEnabled = Ticked(d, IDC_FRMOPTIONS_CHECK2);
  v.restart = {Ticked(d, IDC_FRMOPTIONS_CHKALT1), Ticked(d, IDC_FRMOPTIONS_CHKCTRL1),
               Ticked(d, IDC_FRMOPTIONS_CHKSHIFT1)};
  v.restartChar = Text(d, IDC_FRMOPTIONS_TXTCHARCODE1);
  v.secLogData = Text(d, IDC_FRMOPTIONS_TXTSECLOGDATA);
  v.numLogData = Text(d, IDC_FRMOPTIONS_TXTNUMLOGDATA);
  v.procWarn = Ticked(d, IDC_FRMOPTIONS_PROCWARNCHK);
  v.programs = SProgList::Rows(Item(IDC_FRMOPTIONS_SPROGSLIST));
  v.hideWnd = Ticked(d, IDC_FRMOPTIONS_HIDEWNDCHK);
  v.wndDisplay = SelectedOption(d, IDC_FRMOPTIONS_WNDDISPLAYOPT0, 4);
  for (size_t i = 0; i < appColumns_; ++i) v.appList.push_back(Ticked(d, IDC_FRMOPTIONS_APPLISTCHK0 + int(i)));
  for (size_t i = 0; i < wndColumns_; ++i) v.wndList.push_back(Ticked(d, IDC_FRMOPTIONS_WNDLISTCHK0 + int(i)));
  v.lowRes[0] = Text(d, IDC_FRMOPTIONS_TXTLOWRES0);
  v.lowRes[1] = Text(d, IDC_FRMOPTIONS_TXTLOWRES1);
  v.lanCon = SelectedOption(d, IDC_FRMOPTIONS_LANCONOPT0, 2);
  v.everyXSeconds = Text(d, IDC_FRMOPTIONS_EVERYXSECONDSTXT);
  v.costOfXSecond = Text(d, IDC_FRMOPTIONS_COSTOFXSECONDTXT);
  v.extraCost = Text(d, IDC_FRMOPTIONS_EXTRACOSTTXT);
  v.popPlaySnd = Ticked(d, IDC_FRMOPTIONS_POPPLAYSNDCHK);
  v.popPlaySndFile = Text(d, IDC_FRMOPTIONS_POPPLAYSNDFILETXT);
  v.blockDialog = Ticked(d, IDC_FRMOPTIONS_BLOCKDIALOGCHK);
  v.blockMode = SelectedOption(d, IDC_FRMOPTIONS_BLOCKMODEOPT0, 2);
  return v;
}

void frmOptions::SelectTab(int tab) {
  if (tab < 0 || tab >= kTabs) return;
  tab_ = tab;
  SendDlgItemMessageA(hwnd(), IDC_FRMOPTIONS_SSTAB1, TCM_SETCURSEL, tab, 0);
  ShowControls();
}

void frmOptions::ShowControls() {
  bool block0 = Ticked(hwnd(), IDC_FRMOPTIONS_CHECK1);
  for (int t = 0; t < kTabs; ++t) {
    for (int id = kTabIds[t].first; id <= kTabIds[t].last; ++id) {
      HWND c = Item(id);
      if (!c) continue;
      bool show = t == tab_ && std::find(hidden_.begin(), hidden_.end(), id) == hidden_.end();
      if (show && !block0 && std::find(std::begin(kHotkeyBlock0), std::end(kHotkeyBlock0), id) != std::end(kHotkeyBlock0))
        show = false;
      ShowWindow(c, show ? SW_SHOWNA : SW_HIDE);
    }
  }
}

void frmOptions::ChkBtnsEnbl() {
  BOOL any = SProgList::FirstSelected(Item(IDC_FRMOPTIONS_SPROGSLIST)) >= 0;
  EnableWindow(Item(IDC_FRMOPTIONS_REMOVEBTN), any);
  EnableWindow(Item(IDC_FRMOPTIONS_CHANGEBTN), any);
  EnableWindow(Item(IDC_FRMOPTIONS_ENABLEBTN), any);
}

void frmOptions::ShowError(const char* message) {
  ModMain::ShowMessage(hwnd(), message, MB_OK | MB_ICONERROR);
}

bool frmOptions::CheckErrors() {
  auto error = tl::CheckErrors(ReadControls());
  if (!error) return false;
  ShowError(error->message);
  SelectTab(error->tab);
  if (error->focus == tl::OptionsError::MainCharBox) SetFocus(Item(IDC_FRMOPTIONS_TXTCHARCODE0));
  else if (error->focus == tl::OptionsError::RestartCharBox) SetFocus(Item(IDC_FRMOPTIONS_TXTCHARCODE1));
  return true;
}

bool frmOptions::ApplySettings() {
  if (CheckErrors()) return true;
  auto& prog = ModMain::Prog();
  const auto& wire = Dialogs::Wire();
  if (tl::StoreOptions(prog.Env(), prog.Settings, ReadControls()) && wire.stopPopupBlocking)
    wire.stopPopupBlocking();
  return wire.applySystemSettings ? wire.applySystemSettings() : false;
}

void frmOptions::cmdOK_Click() {
  if (!ApplySettings()) End(IDOK);
}

void frmOptions::DefaultBtn_Click() {
  int answer = ModMain::ShowMessage(hwnd(), "Are you sure you want set all options to default settings?",
                                    MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
  if (answer != IDOK) return;
  auto& prog = ModMain::Prog();
  SendDlgItemMessageA(hwnd(), IDC_FRMOPTIONS_SPROGSLIST, LVM_DELETEALLITEMS, 0, 0);
  tl::ResetToDefaults(prog.Env(), prog.Settings);
  ModMain::SaveOptions();
  if (Dialogs::Wire().applySystemSettings) Dialogs::Wire().applySystemSettings();
  OpeningSteps();
}

void frmOptions::HelpBtn_Click() {
  if (Dialogs::Wire().openHelp) Dialogs::Wire().openHelp();
}

void frmOptions::OpenProgramDialog(const char* caption, const std::string& path, int option) {
  AddSProgFrm::Request r;
  r.options = hwnd();
  r.list = Item(IDC_FRMOPTIONS_SPROGSLIST);
  r.caption = caption;
  r.path = path;
  r.option = option;
  programForm_.Open(r);
}

void frmOptions::AddBtn_Click() { OpenProgramDialog(kAddProgramCaption, "", tl::kWarnBeforeClose); }

void frmOptions::ChangeBtn_Click() {
  HWND list = Item(IDC_FRMOPTIONS_SPROGSLIST);
  int row = SProgList::FirstSelected(list);
  if (row < 0) return;
  auto rows = SProgList::Rows(list);
  std::string index = tl::ActionIndex(rows[row].actionCaption);
  int option = index.empty() ? -1 : index[0] - '0';
  OpenProgramDialog(kChangeProgramCaption, rows[row].path, option);
}

void frmOptions::RemoveBtn_Click() {
  HWND list = Item(IDC_FRMOPTIONS_SPROGSLIST);
  for (int i = 0; i < static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));) {
    if (SProgList::Selected(list, i)) SendMessageA(list, LVM_DELETEITEM, i, 0);
    else ++i;
  }
  ChkBtnsEnbl();
}

void frmOptions::EnableBtn_Click() {
  HWND list = Item(IDC_FRMOPTIONS_SPROGSLIST);
  int n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i)
    if (SProgList::Selected(list, i)) SProgList::SetIcon(list, i, SProgList::Icon(list, i) == 1 ? 2 : 1);
}

void frmOptions::ShiftItemBtn_Click(int index) {
  HWND lv = Item(IDC_FRMOPTIONS_TRACKERITEMSLV);
  int row = static_cast<int>(SendMessageA(lv, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
  int n = static_cast<int>(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0));
  int other = index == 0 ? row - 1 : row + 1;
  if (row < 0 || other < 0 || other >= n) return;
  // Text, tag and check mark change places; the selection follows the row.
  char text[2][256] = {};
  LVITEMA it[2]{};
  for (int k = 0; k < 2; ++k) {
    it[k].mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    it[k].iItem = k == 0 ? row : other;
    it[k].pszText = text[k];
    it[k].cchTextMax = sizeof text[k];
    it[k].stateMask = LVIS_STATEIMAGEMASK;
    SendMessageA(lv, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it[k]));
  }
  std::swap(it[0].iItem, it[1].iItem);
  for (auto& item : it) SendMessageA(lv, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  LVITEMA sel{};
  sel.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(lv, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&sel));
  sel.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(lv, LVM_SETITEMSTATE, other, reinterpret_cast<LPARAM>(&sel));
}

void frmOptions::BrowseBtn_Click() {
  if (auto file = Dialogs::BrowseForFile(hwnd(), "Browse", "Wave Files (*.wav)|*.wav|All files (*.*)|*.*"))
    SetDlgItemTextA(hwnd(), IDC_FRMOPTIONS_POPPLAYSNDFILETXT, file->c_str());
}

void frmOptions::Label9_Click() {
  if (Dialogs::Wire().showBrowsersList) Dialogs::Wire().showBrowsersList();
}

void frmOptions::txtCharCode_LostFocus(int index) {
  int id = index == 0 ? IDC_FRMOPTIONS_TXTCHARCODE0 : IDC_FRMOPTIONS_TXTCHARCODE1;
  if (GetWindowTextLengthA(Item(id)) == 0)
    SetDlgItemTextA(hwnd(), id, index == 0 ? "E" : "D");
}

bool frmOptions::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_FRMOPTIONS_CMDAPPLY: cmdApply_Click(); return true;
    case IDC_FRMOPTIONS_CMDOK: cmdOK_Click(); return true;
    case IDC_FRMOPTIONS_CMDCANCEL: cmdCancel_Click(); return true;
    case IDC_FRMOPTIONS_DEFAULTBTN: DefaultBtn_Click(); return true;
    case IDC_FRMOPTIONS_HELPBTN: HelpBtn_Click(); return true;
    case IDC_FRMOPTIONS_ADDBTN: AddBtn_Click(); return true;
    case IDC_FRMOPTIONS_CHANGEBTN: ChangeBtn_Click(); return true;
    case IDC_FRMOPTIONS_REMOVEBTN: RemoveBtn_Click(); return true;
    case IDC_FRMOPTIONS_ENABLEBTN: EnableBtn_Click(); return true;
    case IDC_FRMOPTIONS_SHIFTITEMBTN0: ShiftItemBtn_Click(0); return true;
    case IDC_FRMOPTIONS_SHIFTITEMBTN1: ShiftItemBtn_Click(1); return true;
    case IDC_FRMOPTIONS_BROWSEBTN: BrowseBtn_Click(); return true;
    case IDC_FRMOPTIONS_LABEL9:
      if (code == STN_CLICKED || code == STN_DBLCLK) Label9_Click();
      return true;
    case IDC_FRMOPTIONS_CHECK1:
      if (code == BN_CLICKED) ShowControls();
      return true;
    case IDC_FRMOPTIONS_TXTCHARCODE0:
    case IDC_FRMOPTIONS_TXTCHARCODE1:
      if (code == EN_KILLFOCUS) txtCharCode_LostFocus(id == IDC_FRMOPTIONS_TXTCHARCODE0 ? 0 : 1);
      return true;
    default: return false;
  }
}

INT_PTR frmOptions::HandleMessage(UINT msg, WPARAM, LPARAM lp) {
  if (msg == WM_HELP) {
    HelpBtn_Click();
    return TRUE;
  }
  if (msg != WM_NOTIFY) return FALSE;
  auto* nm = reinterpret_cast<NMHDR*>(lp);
  if (nm->idFrom == IDC_FRMOPTIONS_SSTAB1) {
    if (nm->code == TCN_SELCHANGING) {
      // Tabs that are not offered cannot be picked.
      int next = -1;
      POINT pt;
      GetCursorPos(&pt);
      TCHITTESTINFO hit{};
      hit.pt = pt;
      ScreenToClient(nm->hwndFrom, &hit.pt);
      next = static_cast<int>(SendMessageA(nm->hwndFrom, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      bool block = next >= 0 && !TabAvailable(next);
      SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, block ? TRUE : FALSE);
      return TRUE;
    }
    if (nm->code == TCN_SELCHANGE) {
      int next = static_cast<int>(SendMessageA(nm->hwndFrom, TCM_GETCURSEL, 0, 0));
      if (TabAvailable(next)) SelectTab(next);
      else SelectTab(tab_);  // keyboard moves onto a tab that is not offered
      return TRUE;
    }
  }
  if (nm->idFrom == IDC_FRMOPTIONS_SPROGSLIST) {
    if (nm->code == LVN_COLUMNCLICK) {
      SProgList::SortBy(nm->hwndFrom, reinterpret_cast<NMLISTVIEW*>(lp)->iSubItem);
      return TRUE;
    }
    if (nm->code == NM_CLICK || nm->code == LVN_ITEMCHANGED) ChkBtnsEnbl();
  }
  return FALSE;
}
