#include "dialogs/run_frm_win.h"

#include <shellapi.h>

#include "app/ini_win.h"
#include "app/program_win.h"
#include "dialogs/dialog_wiring_win.h"
#include "dialogs/dialogs_res.h"
#include "dialogs/file_dialog_win.h"
#include "dialogs/run_history.h"

namespace {

std::string IniGet(const std::string& key) { return modIni::IniAccess("GET", tl::kRunSection, key); }
void IniPut(const std::string& key, const std::string& value) {
  modIni::IniAccess("WRITE", tl::kRunSection, key, value);
}

// An existing file; a folder does not count.
bool IsFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Directory(UINT (WINAPI* query)(LPSTR, UINT)) {
  char buf[MAX_PATH] = {};
  UINT n = query(buf, MAX_PATH);
  return n && n < MAX_PATH ? std::string(buf, n) : std::string();
}

}  // namespace

bool RunFrm::Open(HWND owner) {
  if (!hwnd() && !Create(IDD_RUNFRM, owner)) return false;
  Dialogs::ShowForward(hwnd());
  return true;
}

bool RunFrm::OnInit() {
  HWND combo = Item(IDC_RUNFRM_COMBO1);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  history_ = tl::LoadRunHistory(IniGet);
  for (const auto& entry : history_) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  SetCommand(history_.empty() ? "" : history_.front());
  return true;
}

void RunFrm::SetCommand(const std::string& text) {
  SetDlgItemTextA(hwnd(), IDC_RUNFRM_COMBO1, text.c_str());
  Combo1_Change();
}

void RunFrm::Combo1_Change() {
  EnableWindow(Item(IDC_RUNFRM_OKBTN), GetWindowTextLengthA(Item(IDC_RUNFRM_COMBO1)) > 0);
}

void RunFrm::OkBtn_Click() {
  char buf[MAX_PATH * 2] = {};
  GetDlgItemTextA(hwnd(), IDC_RUNFRM_COMBO1, buf, sizeof buf);
  std::string command = tl::RunCommandText(buf);

  HWND combo = Item(IDC_RUNFRM_COMBO1);
  tl::AddToRunHistory(history_, command);
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(command.c_str()));
  while (static_cast<size_t>(SendMessageA(combo, CB_GETCOUNT, 0, 0)) > history_.size())
    SendMessageA(combo, CB_DELETESTRING, 0, 0);

  bool found = false;
  for (const auto& place : tl::RunCandidates(command, Directory(GetWindowsDirectoryA),
                                             Directory(GetSystemDirectoryA)))
    if (IsFile(place)) {
      found = true;
      break;
    }
  if (!found) {
    ModMain::ShowMessage(hwnd(), "File not found", MB_OK | MB_ICONERROR);
    SetFocus(combo);
    return;
  }
  // The text as typed: the shell finds it again and picks the program a
  // document opens with.
  ShellExecuteA(hwnd(), nullptr, command.c_str(), nullptr, "C:\\", SW_SHOWNORMAL);
  End(IDOK);
}

void RunFrm::BrowseBtn_Click() {
  if (auto file = Dialogs::BrowseForFile(hwnd(), "Browse", "Programs (*.exe)|*.exe|All files (*.*)|*.*"))
    SetCommand(*file);
}

bool RunFrm::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_RUNFRM_OKBTN: OkBtn_Click(); return true;
    case IDC_RUNFRM_CANCELBTN: CancelBtn_Click(); return true;
    case IDC_RUNFRM_BROWSEBTN: BrowseBtn_Click(); return true;
    case IDC_RUNFRM_COMBO1:
      if (code == CBN_EDITCHANGE) Combo1_Change();
      // The list's text arrives after the selection notice.
      if (code == CBN_SELCHANGE) PostMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE), 0);
      return true;
    default: return false;
  }
}

INT_PTR RunFrm::HandleMessage(UINT msg, WPARAM, LPARAM) {
  switch (msg) {
    case DM_GETDEFID:
      // The dialog manager skips a disabled default button on Enter; IDOK,
      // which names no control, reaches OnOk whatever Ok's state.
      SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, MAKELONG(IDOK, DC_HASDEFID));
      return TRUE;
    case WM_DESTROY:
      // However the dialog closes, the history is kept; a file that cannot
      // be written leaves things as they were.
      tl::SaveRunHistory(IniGet, IniPut, history_);
      return FALSE;
    default: return FALSE;
  }
}
