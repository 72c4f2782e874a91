#include "dialogs_test_util.h"

#include "app/program_win.h"
#include "app/settings.h"
#include "dialogs/dialogs_win.h"

namespace dlgtest {

void Click(HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }
bool Ticked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }

void FreshProgram() {
  tltest::DeleteKeyTree(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Tarvick Lite");
  ModMain::InitProcessValues();
  auto& prog = ModMain::Prog();
  prog.IniPath = tltest::MakeTempDir("dlg") + "\\prog.ini";
  tl::ResetToDefaults(prog.Env(), prog.Settings);
  ModMain::SaveOptions();
  Dialogs::Wire() = {};
}

}  // namespace dlgtest
