// Settings put into effect on the system: the Run key entry, the hotkey,
// the notification-area icon and the messenger service.
#pragma once
#include <windows.h>

#include <string>

#include "app/system_settings.h"

namespace ModMain {

inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
// The icon's mouse messages arrive as this message with the mouse message in lParam.
inline constexpr UINT kTrayCallback = WM_RBUTTONUP;
inline constexpr UINT kTrayId = 1;

// Where the Run entry may live: machine-wide first, else per user (a
// standard user cannot write the machine's key). Tests hand other roots.
struct RunKeyRoots {
  HKEY machine = HKEY_LOCAL_MACHINE;
  HKEY user = HKEY_CURRENT_USER;
};
// The entry counts as present when either key holds a non-empty text.
bool RunEntryPresent(const RunKeyRoots& roots);
// runAtStartUp 1: writes exePath where it can if no entry is present;
// 0: deletes every present entry. Only a disagreement changes anything.
void ApplyRunAtStartup(int16_t runAtStartUp, const std::string& exePath,
                       const RunKeyRoots& roots = {});

// Registers the hotkey on `owner` as the settings say, remembering what was
// passed. False only when a registration was tried and failed.
bool ApplyHotkey(HWND owner, int16_t enabled, int32_t modifiers, int32_t charCode,
                 tl::HotkeyMemory& registered);

// Shell_NotifyIconA's answer; failures are otherwise ignored.
bool AddTrayIcon(HWND owner, HICON icon);
void RemoveTrayIcon(HWND owner);

// "net stop messenger" when blocking, else "net start messenger"; hidden,
// not waited for.
void SetMessengerService(bool block);

}  // namespace ModMain
