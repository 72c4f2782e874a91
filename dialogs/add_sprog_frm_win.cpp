#include "dialogs/add_sprog_frm_win.h"

#include <commctrl.h>
#include <shlwapi.h>

#include "app/program_win.h"
#include "app/settings.h"
#include "dialogs/dialog_wiring_win.h"
#include "dialogs/dialogs_res.h"
#include "dialogs/file_dialog_win.h"
#include "dialogs/sprog_list_win.h"

bool AddSProgFrm::Open(const Request& r) {
  if (hwnd()) return false;
  req_ = r;
  if (!Create(IDD_ADDSPROGFRM, r.options)) return false;
  EnableWindow(r.options, FALSE);
  Dialogs::ShowForward(hwnd());
  return true;
}

bool AddSProgFrm::OnInit() {
  SetWindowTextA(hwnd(), req_.caption.c_str());
  SetDlgItemTextA(hwnd(), IDC_ADDSPROGFRM_SPROGTXT, req_.path.c_str());
  if (req_.option >= 0 && req_.option < 3)
    CheckRadioButton(hwnd(), IDC_ADDSPROGFRM_SPROGOPT0, IDC_ADDSPROGFRM_SPROGOPT0 + 2,
                     IDC_ADDSPROGFRM_SPROGOPT0 + req_.option);
  // Filling the box counts as a change; the dialog opens with nothing to apply.
  EnableWindow(Item(IDC_ADDSPROGFRM_CMDAPPLY), FALSE);
  return true;
}

std::string AddSProgFrm::GetSelectedOptText() const {
  for (int i = 0; i < 3; ++i)
    if (IsDlgButtonChecked(hwnd(), IDC_ADDSPROGFRM_SPROGOPT0 + i) == BST_CHECKED)
      return tl::ActionCaption(i);
  return "";
}

void AddSProgFrm::cmdApply_Click() {
  char buf[MAX_PATH * 2] = {};
  GetDlgItemTextA(hwnd(), IDC_ADDSPROGFRM_SPROGTXT, buf, sizeof buf);
  std::string path = buf;
  if (!PathIsDirectoryA(buf) && !PathFileExistsA(buf)) {
    int answer = ModMain::ShowMessage(
        hwnd(), "The file " + path + " wasn't found, Are you still sure you want to add it?",
        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (answer != IDYES) return;
  }
  int icon = 1;
  if (ChangeMode()) {
    int row = SProgList::FirstSelected(req_.list);
    if (row >= 0) {
      icon = SProgList::Icon(req_.list, row);
      SendMessageA(req_.list, LVM_DELETEITEM, row, 0);
    }
  }
  // The locale's lower case, as Windows compares paths.
  CharLowerBuffA(buf, static_cast<DWORD>(path.size()));
  SProgList::Add(req_.list, {buf, GetSelectedOptText(), icon});
  if (ChangeMode()) {
    // A further Apply in this opening changes the row just made, not
    // whichever row happens to follow.
    int last = static_cast<int>(SendMessageA(req_.list, LVM_GETITEMCOUNT, 0, 0)) - 1;
    LVITEMA st{};
    st.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(req_.list, LVM_SETITEMSTATE, -1, reinterpret_cast<LPARAM>(&st));
    st.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(req_.list, LVM_SETITEMSTATE, last, reinterpret_cast<LPARAM>(&st));
  }
  EnableWindow(Item(IDC_ADDSPROGFRM_CMDAPPLY), FALSE);
}

void AddSProgFrm::cmdOK_Click() {
  if (IsWindowEnabled(Item(IDC_ADDSPROGFRM_CMDAPPLY))) cmdApply_Click();
  End(IDOK);
}

void AddSProgFrm::BrowseBtn_Click() {
  if (auto file = Dialogs::BrowseForFile(hwnd(), "Browse", "Programs (*.exe)|*.exe|All files (*.*)|*.*"))
    SetDlgItemTextA(hwnd(), IDC_ADDSPROGFRM_SPROGTXT, file->c_str());
}

bool AddSProgFrm::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_ADDSPROGFRM_CMDAPPLY: cmdApply_Click(); return true;
    case IDC_ADDSPROGFRM_CMDOK: cmdOK_Click(); return true;
    case IDC_ADDSPROGFRM_CMDCANCEL: cmdCancel_Click(); return true;
    case IDC_ADDSPROGFRM_BROWSEBTN: BrowseBtn_Click(); return true;
    case IDC_ADDSPROGFRM_SPROGTXT:
      if (code == EN_CHANGE) EnableWindow(Item(IDC_ADDSPROGFRM_CMDAPPLY), TRUE);
      return true;
    default:
      if (id >= IDC_ADDSPROGFRM_SPROGOPT0 && id <= IDC_ADDSPROGFRM_SPROGOPT0 + 2) {
        if (code == BN_CLICKED) EnableWindow(Item(IDC_ADDSPROGFRM_CMDAPPLY), TRUE);
        return true;
      }
      return false;
  }
}

INT_PTR AddSProgFrm::HandleMessage(UINT msg, WPARAM, LPARAM) {
  if (msg == WM_DESTROY && req_.options) {
    // However this dialog ends, the Options dialog is usable again.
    EnableWindow(req_.options, TRUE);
    SetForegroundWindow(req_.options);
  }
  return FALSE;
}
