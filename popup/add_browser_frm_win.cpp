#include "popup/add_browser_frm_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <iterator>

#include "app/conversions.h"
#include "app/form_win.h"
#include "app/program_win.h"
#include "app/registry_win.h"
#include "inspect/process_query_win.h"
#include "popup/pop_blocker_win.h"

namespace {

constexpr int kTab0[] = {IDC_ADDBROWSERFRM_FRAME2,        IDC_ADDBROWSERFRM_BROWSERPATHTXT,
                         IDC_ADDBROWSERFRM_BROWSEBTN,     IDC_ADDBROWSERFRM_POPDISNOTFCHK,
                         IDC_ADDBROWSERFRM_HIDEPOPOPT0,   IDC_ADDBROWSERFRM_HIDEPOPOPT1,
                         IDC_ADDBROWSERFRM_CHANGESOUNDFILELBL};
constexpr int kTab1[] = {IDC_ADDBROWSERFRM_LABEL3, IDC_ADDBROWSERFRM_LABEL2_0,
                         IDC_ADDBROWSERFRM_MENUNAMETXT0, IDC_ADDBROWSERFRM_LABEL2_1,
                         IDC_ADDBROWSERFRM_MENUNAMETXT1};
constexpr int kTab2[] = {IDC_ADDBROWSERFRM_LABEL1, IDC_ADDBROWSERFRM_PREDEFLST};
constexpr const char* kTabNames[] = {"General Properties", "Advanced Properties",
                                     "Predefined Browser"};

bool IsFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return !path.empty() && a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// The predefined browsers of Pop.dat as this machine has them.
std::vector<tl::PreDefRow> InstalledPredefined() {
  std::vector<tl::PopDatRecord> records = tl::PopDatBrowsers(ModPop::ReadPopDat());
  std::vector<tl::InstalledFacts> facts;
  for (const tl::PopDatRecord& r : records) {
    tl::InstalledFacts f;
    f.path = modRegEnum::AppPathOf(r.ExeName);
    f.exists = IsFile(f.path);
    if (f.exists) {
      ModProgInfo::FileVersionInfo(1, f.path);
      f.fileVersion = ModProgInfo::VerInfo[2];
    }
    facts.push_back(std::move(f));
  }
  return tl::PredefinedRows(records, facts);
}

}  // namespace

std::string AddBrowserFrm::Text(int id) const {
  HWND c = Item(id);
  std::string s(static_cast<size_t>(GetWindowTextLengthA(c)) + 1, '\0');
  s.resize(static_cast<size_t>(GetWindowTextA(c, s.data(), static_cast<int>(s.size()))));
  return s;
}

bool AddBrowserFrm::Ensure() {
  if (hwnd()) return true;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  return Create(IDD_ADDBROWSERFRM, owner_);
}

bool AddBrowserFrm::OnInit() {
  HWND tab = Item(IDC_ADDBROWSERFRM_SSTAB1);
  tl::PlainTabBody(tab, GetSysColor(COLOR_BTNFACE));
  for (int i = 0; i < 3; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kTabNames[i]);
    SendMessageA(tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  // First load: the predefined browsers installed here, in a matching version.
  HWND list = Item(IDC_ADDBROWSERFRM_PREDEFLST);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  RECT rc{};
  GetClientRect(list, &rc);
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH;
  col.cx = rc.right - GetSystemMetrics(SM_CXVSCROLL);
  col.pszText = const_cast<char*>("Browser Name");
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  preDef_ = InstalledPredefined();
  for (size_t i = 0; i < preDef_.size(); ++i) {
    LVITEMA it{};
    it.mask = LVIF_TEXT | LVIF_PARAM;
    it.iItem = static_cast<int>(i);
    it.pszText = preDef_[i].name.data();
    it.lParam = static_cast<LPARAM>(i);
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
  }
  return true;
}

void AddBrowserFrm::ShowTab(int tab) {
  tab_ = tab;
  SendMessageA(Item(IDC_ADDBROWSERFRM_SSTAB1), TCM_SETCURSEL, tab, 0);
  auto show = [&](const int* ids, size_t n, bool on) {
    for (size_t i = 0; i < n; ++i) ShowWindow(Item(ids[i]), on ? SW_SHOW : SW_HIDE);
  };
  show(kTab0, std::size(kTab0), tab == 0);
  show(kTab1, std::size(kTab1), tab == 1);
  show(kTab2, std::size(kTab2), tab == 2);
  if (tab == 0) ShowOptions(IsDlgButtonChecked(hwnd(), IDC_ADDBROWSERFRM_POPDISNOTFCHK) == BST_CHECKED);
}

void AddBrowserFrm::ShowOptions(bool show) {
  for (int id : {IDC_ADDBROWSERFRM_HIDEPOPOPT0, IDC_ADDBROWSERFRM_HIDEPOPOPT1})
    ShowWindow(Item(id), show && tab_ == 0 ? SW_SHOW : SW_HIDE);
}

void AddBrowserFrm::Present() {
  // Shown like every modeless form: in front, and topmost while its owner is.
  HWND root = owner_ ? GetAncestor(owner_, GA_ROOT) : nullptr;
  bool top = root && (GetWindowLongA(root, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(hwnd(), top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
}

void AddBrowserFrm::ShowAddBrowserFrm(const std::string& path) {
  if (!Ensure()) return;
  adding_ = true;
  SetWindowTextA(hwnd(), "Add Browser");
  SetDlgItemTextA(hwnd(), IDC_ADDBROWSERFRM_BROWSERPATHTXT, path.c_str());
  SetDlgItemTextA(hwnd(), IDC_ADDBROWSERFRM_MENUNAMETXT0, "");
  SetDlgItemTextA(hwnd(), IDC_ADDBROWSERFRM_MENUNAMETXT1, "");
  CheckDlgButton(hwnd(), IDC_ADDBROWSERFRM_POPDISNOTFCHK, BST_CHECKED);
  CheckRadioButton(hwnd(), IDC_ADDBROWSERFRM_HIDEPOPOPT0, IDC_ADDBROWSERFRM_HIDEPOPOPT1,
                   IDC_ADDBROWSERFRM_HIDEPOPOPT1);
  SetDlgItemTextA(hwnd(), IDC_ADDBROWSERFRM_OKBTN, "Add");
  ShowTab(0);
  Present();
}

void AddBrowserFrm::ShowModifyBrowserFrm(int16_t k) {
  const auto& list = blocker_.Browsers;
  if (k < 1 || static_cast<size_t>(k) > list.size() || !Ensure()) return;
  adding_ = false;
  k_ = k;
  const tl::BrowserEntry& b = list[static_cast<size_t>(k - 1)];
  SetWindowTextA(hwnd(), "Modify Browser");
  SetDlgItemTextA(hwnd(), IDC_ADDBROWSERFRM_OKBTN, "Ok");
  SetDlgItemTextA(hwnd(), IDC_ADDBROWSERFRM_BROWSERPATHTXT, b.Path.c_str());
  SetDlgItemTextA(hwnd(), IDC_ADDBROWSERFRM_MENUNAMETXT0, b.MenuName[0].c_str());
  SetDlgItemTextA(hwnd(), IDC_ADDBROWSERFRM_MENUNAMETXT1, b.MenuName[1].c_str());
  CheckDlgButton(hwnd(), IDC_ADDBROWSERFRM_POPDISNOTFCHK, b.PopDisNotf ? BST_CHECKED : BST_UNCHECKED);
  CheckRadioButton(hwnd(), IDC_ADDBROWSERFRM_HIDEPOPOPT0, IDC_ADDBROWSERFRM_HIDEPOPOPT1,
                   b.HidePop == 0 ? IDC_ADDBROWSERFRM_HIDEPOPOPT0 : IDC_ADDBROWSERFRM_HIDEPOPOPT1);
  ShowTab(0);
  Present();
}

bool AddBrowserFrm::CheckError(const std::string& path) {
  std::optional<size_t> self;
  if (!adding_) self = static_cast<size_t>(k_ - 1);
  if (!tl::PathTaken(blocker_.Browsers, path, self)) return false;
  ModMain::ShowMessage(hwnd(), "The browser already exists", MB_OK | MB_ICONEXCLAMATION);
  return true;
}

void AddBrowserFrm::OkBtn_Click() {
  std::string path;
  const tl::PreDefRow* picked = nullptr;
  if (tab_ == 2) {
    int sel = static_cast<int>(SendMessageA(Item(IDC_ADDBROWSERFRM_PREDEFLST), LVM_GETNEXTITEM,
                                            static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (sel < 0) return;  // nothing picked: nothing to add
    LVITEMA it{};
    it.mask = LVIF_PARAM;
    it.iItem = sel;
    SendMessageA(Item(IDC_ADDBROWSERFRM_PREDEFLST), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    if (static_cast<size_t>(it.lParam) >= preDef_.size()) return;
    picked = &preDef_[static_cast<size_t>(it.lParam)];
    path = picked->path;
  } else {
    path = Text(IDC_ADDBROWSERFRM_BROWSERPATHTXT);
  }
  auto& list = blocker_.Browsers;
  // The stored list holds at most 51 entries; a change keeps the count.
  if (adding_ && list.size() >= tl::kMaxBrowsers) {
    ModMain::ShowMessage(hwnd(),
                         "The browsers list is full (51 browsers). Remove a browser before adding "
                         "another.",
                         MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (CheckError(path)) return;
  if (!adding_) tl::RemoveEntry(list, static_cast<size_t>(k_ - 1));
  if (picked) {
    // Read again: the record the row was made from, the browser record number n.
    std::vector<tl::PopDatRecord> records = tl::PopDatBrowsers(ModPop::ReadPopDat());
    if (picked->recordNumber - 1 < records.size())
      blocker_.AddPredefinedBrowser(records[picked->recordNumber - 1]);
  } else {
    tl::BrowserEntry b;
    b.Path = path;  // as typed, not trimmed
    b.MenuName[0] = Text(IDC_ADDBROWSERFRM_MENUNAMETXT0);
    b.MenuName[1] = Text(IDC_ADDBROWSERFRM_MENUNAMETXT1);
    b.HidePop = IsDlgButtonChecked(hwnd(), IDC_ADDBROWSERFRM_HIDEPOPOPT0) == BST_CHECKED ? 0 : 1;
    b.PopDisNotf = IsDlgButtonChecked(hwnd(), IDC_ADDBROWSERFRM_POPDISNOTFCHK) == BST_CHECKED ? 1 : 0;
    list.push_back(std::move(b));
  }
  blocker_.SavePopupLists();
  blocker_.LoadPopupLists();
  ShowWindow(hwnd(), SW_HIDE);
}

void AddBrowserFrm::BrowseBtn_Click() {
  char file[MAX_PATH] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd();
  ofn.lpstrFilter = "Programs (*.exe)\0*.exe\0All files (*.*)\0*.*\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrTitle = "Browse";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (GetOpenFileNameA(&ofn)) SetDlgItemTextA(hwnd(), IDC_ADDBROWSERFRM_BROWSERPATHTXT, file);
}

void AddBrowserFrm::PopDisNotfChk_Click() {
  ShowOptions(IsDlgButtonChecked(hwnd(), IDC_ADDBROWSERFRM_POPDISNOTFCHK) == BST_CHECKED);
}

void AddBrowserFrm::ChangeSoundFileLbl_Click() {
  if (commands.ShowSoundOptions) commands.ShowSoundOptions();
}

bool AddBrowserFrm::OnCommand(int id, int code, HWND /*control*/) {
  switch (id) {
    case IDC_ADDBROWSERFRM_BROWSEBTN:
      if (code == BN_CLICKED) BrowseBtn_Click();
      return true;
    case IDC_ADDBROWSERFRM_POPDISNOTFCHK:
      if (code == BN_CLICKED) PopDisNotfChk_Click();
      return true;
    case IDC_ADDBROWSERFRM_CHANGESOUNDFILELBL:
      if (code == STN_CLICKED) ChangeSoundFileLbl_Click();
      return true;
    default:
      return false;
  }
}

INT_PTR AddBrowserFrm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NOTIFY: {
      const NMHDR* n = reinterpret_cast<const NMHDR*>(lp);
      if (n->idFrom == IDC_ADDBROWSERFRM_SSTAB1 && n->code == TCN_SELCHANGE) {
        int sel = static_cast<int>(SendMessageA(n->hwndFrom, TCM_GETCURSEL, 0, 0));
        // The predefined tab is for adding only.
        ShowTab(sel == 2 && !adding_ ? tab_ : sel);
        return TRUE;
      }
      if (n->idFrom == IDC_ADDBROWSERFRM_PREDEFLST && n->code == NM_DBLCLK) {
        OkBtn_Click();
        return TRUE;
      }
      return FALSE;
    }
    case WM_HELP:
      if (commands.ShowHelp) commands.ShowHelp();
      return TRUE;
    case WM_CTLCOLORSTATIC:
      // The sound link reads as a link.
      if (reinterpret_cast<HWND>(lp) == Item(IDC_ADDBROWSERFRM_CHANGESOUNDFILELBL)) {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      }
      return FALSE;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == Item(IDC_ADDBROWSERFRM_CHANGESOUNDFILELBL)) {
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}
