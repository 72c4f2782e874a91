#include "dialogs/about_frm_win.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "dialogs/dialog_wiring_win.h"
#include "dialogs/dialogs_res.h"

namespace {

// "Version 1.0.0" from the program file's own version resource; empty when
// it has none.
std::string VersionText() {
  char path[MAX_PATH] = {};
  if (!GetModuleFileNameA(nullptr, path, MAX_PATH)) return "";
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (!size) return "";
  std::vector<char> data(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  if (!GetFileVersionInfoA(path, 0, size, data.data()) ||
      !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &len) || !info)
    return "";
  return "Version " + std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
         std::to_string(LOWORD(info->dwFileVersionMS)) + "." + std::to_string(HIWORD(info->dwFileVersionLS));
}

// The system's information tool, or empty when this system has none.
std::string SystemInfoTool() {
  char found[MAX_PATH] = {};
  DWORD n = SearchPathA(nullptr, "msinfo32.exe", nullptr, MAX_PATH, found, nullptr);
  return n && n < MAX_PATH ? std::string(found, n) : std::string();
}

}  // namespace

bool frmAbout::Open(HWND owner) {
  if (!hwnd() && !Create(IDD_FRMABOUT, owner)) return false;
  Dialogs::ShowForward(hwnd());
  return true;
}

bool frmAbout::OnInit() {
  SetDlgItemTextA(hwnd(), IDC_FRMABOUT_VERSION, VersionText().c_str());
  // A button that could only fail is offered greyed.
  EnableWindow(Item(IDC_FRMABOUT_SYSINFO), !SystemInfoTool().empty());
  return true;
}

bool frmAbout::OnCommand(int id, int, HWND) {
  if (id != IDC_FRMABOUT_SYSINFO) return false;
  std::string tool = SystemInfoTool();
  if (!tool.empty()) ShellExecuteA(hwnd(), "open", tool.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return true;
}
