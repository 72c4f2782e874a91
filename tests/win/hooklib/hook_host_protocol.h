// What the hook tests and the hook_host fixture agree on: window classes,
// control identifiers, command messages and the key of its reports.
#pragma once
#include <windows.h>

namespace hookhost {

constexpr char kMainClass[] = "HookHostMain";
constexpr char kPageClass[] = "Internet Explorer_Server";
constexpr char kPageChildClass[] = "HookHostPageChild";

// Children of the main window: two address fields, then the page with a
// child and a "ToolbarWindow32" inside it.
constexpr int kEdit1 = 201, kEdit2 = 202;
constexpr int kPage = 301, kPageChild = 302, kToolbar = 303;
// The main window's own client area is free here (client coordinates).
constexpr int kFreeClientX = 600, kFreeClientY = 440;

// The menu bar's "&File" popup, by position; commands start at kFirstCommand.
constexpr int kItemLong = 0;  // "&Long " and 300 more characters
constexpr int kItemOwnerDraw = 1;
constexpr UINT kFirstCommand = 101;

// Commands, sent to the main window. kCmdReport also empties the probe's
// record of mouse calls, "[code message hwnd]" each.
constexpr UINT kCmdReport = WM_APP + 2;  // writes the probe's findings to kReportKey
constexpr UINT kCmdChosen = WM_APP + 3;  // returns the last menu command received

// Under HKEY_CURRENT_USER: "Ready", the centres of the menu bar's first
// entry ("Bar0") and of the open menu's items ("Item0"..) as "x y" (screen),
// and the probe's reports.
constexpr char kReportKey[] = "Software\\TarvickLite Tests\\hook_host";

inline POINT CenterOf(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Real mouse input at a screen point: a move with `flags` (button changes).
inline void SendMouse(POINT screen, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
  SendInput(1, &in, sizeof in);
}

}  // namespace hookhost
