#include "app/system_win.h"

#include <shellapi.h>

#include "app/registry_win.h"
#include "app/settings_store.h"

namespace ModMain {

namespace {

bool PresentUnder(HKEY root) {
  modRegEnum::RegKey key = modRegEnum::RegOpenKey(root, kRunKey, KEY_QUERY_VALUE);
  return key && !modRegEnum::RegReadValue(key.get(), tl::kAppTitle).empty();
}

bool WriteUnder(HKEY root, const std::string& exePath) {
  HKEY h = nullptr;
  if (RegCreateKeyExA(root, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) !=
      ERROR_SUCCESS)
    return false;
  modRegEnum::RegKey key(h);
  return RegSetValueExA(h, tl::kAppTitle, 0, REG_SZ, reinterpret_cast<const BYTE*>(exePath.c_str()),
                        static_cast<DWORD>(exePath.size() + 1)) == ERROR_SUCCESS;
}

void DeleteUnder(HKEY root) {
  modRegEnum::RegKey key = modRegEnum::RegOpenKey(root, kRunKey, KEY_SET_VALUE);
  if (key) modRegEnum::RegDeleteValue(key.get(), tl::kAppTitle);
}

NOTIFYICONDATAA TrayRecord(HWND owner) {
  NOTIFYICONDATAA nid{};
  nid.cbSize = sizeof nid;  // the platform's own size: a 32-bit size fails on x64
  nid.hWnd = owner;
  nid.uID = kTrayId;
  return nid;
}

}  // namespace

bool RunEntryPresent(const RunKeyRoots& roots) {
  return PresentUnder(roots.machine) || PresentUnder(roots.user);
}

void ApplyRunAtStartup(int16_t runAtStartUp, const std::string& exePath, const RunKeyRoots& roots) {
  bool present = RunEntryPresent(roots);
  if (runAtStartUp == 1 && !present) {
    if (!WriteUnder(roots.machine, exePath)) WriteUnder(roots.user, exePath);
  } else if (runAtStartUp == 0 && present) {
    DeleteUnder(roots.machine);
    DeleteUnder(roots.user);
  }
}

bool ApplyHotkey(HWND owner, int16_t enabled, int32_t modifiers, int32_t charCode,
                 tl::HotkeyMemory& registered) {
  switch (tl::DecideHotkey(enabled, modifiers, charCode, registered)) {
    case tl::HotkeyStep::Keep:
      return true;
    case tl::HotkeyStep::Unregister:
      UnregisterHotKey(owner, tl::kHotkeyId);
      registered.Enabled = 0;
      return true;
    case tl::HotkeyStep::Register:
      break;
  }
  UnregisterHotKey(owner, tl::kHotkeyId);
  BOOL ok = RegisterHotKey(owner, tl::kHotkeyId, static_cast<UINT>(modifiers),
                           static_cast<UINT>(charCode));
  registered = {1, modifiers, charCode};
  return ok != FALSE;
}

bool AddTrayIcon(HWND owner, HICON icon) {
  NOTIFYICONDATAA nid = TrayRecord(owner);
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = kTrayCallback;
  nid.hIcon = icon;
  lstrcpynA(nid.szTip, tl::kAppTitle, sizeof nid.szTip);
  return Shell_NotifyIconA(NIM_ADD, &nid) != FALSE;
}

void RemoveTrayIcon(HWND owner) {
  NOTIFYICONDATAA nid = TrayRecord(owner);
  Shell_NotifyIconA(NIM_DELETE, &nid);
}

void SetMessengerService(bool block) {
  char cmd[] = "net stop messenger";
  char startCmd[] = "net start messenger";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION pi{};
  if (CreateProcessA(nullptr, block ? cmd : startCmd, nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                     nullptr, nullptr, &si, &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

}  // namespace ModMain
