#include "dialogs_test_util.h"

#include "app/program_win.h"
#include "app/settings.h"
#include "dialogs/dialogs_win.h"

namespace dlgtest {

void Click(HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }
bool Ticked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }

std::string Text(HWND dlg, int id) {
  char buf[512] = {};
  GetDlgItemTextA(dlg, id, buf, sizeof buf);
  return buf;
}

std::thread Answer(tltest::MessageBoxInfo& seen, const char* button) {
  return std::thread([&seen, button] {
    HWND box = tltest::WaitForMessageBox(GetCurrentProcessId(), "Tarvick Lite", 10000);
    if (!box) return;
    seen = tltest::ReadMessageBox(box);
    tltest::PressButton(box, button);
  });
}

std::map<std::string, std::string> Section(const std::string& section) {
  std::map<std::string, std::string> values;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, tltest::SettingsKey(section).c_str(), 0, KEY_READ, &key))
    return values;
  for (DWORD i = 0;; ++i) {
    char name[256];
    BYTE data[2048];
    DWORD nameLen = sizeof name, dataLen = sizeof data, type = 0;
    if (RegEnumValueA(key, i, name, &nameLen, nullptr, &type, data, &dataLen)) break;
    values[name] = std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), dataLen);
  }
  RegCloseKey(key);
  return values;
}

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
