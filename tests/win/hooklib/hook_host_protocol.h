// What the hook tests and the hook_host fixture agree on: window classes,
// control identifiers, command messages and the key of its reports.
#pragma once
#include <windows.h>

namespace hookhost {

constexpr char kMainClass[] = "HookHostMain";
constexpr char kTopClass[] = "HookHostTop";
constexpr char kPageClass[] = "Internet Explorer_Server";
constexpr char kPageChildClass[] = "HookHostPageChild";
constexpr char kPanelClass[] = "HookHostPanel";

// Main window placement (screen), so clicks have somewhere to land.
constexpr int kMainX = 40, kMainY = 40, kMainW = 700, kMainH = 520;

// Children of the main window, in creation order.
constexpr int kEdit1 = 201;   // address field, direct child
constexpr int kEdit2 = 202;   // a second field, direct child
constexpr int kPanel = 210;   // holds kEdit3, so the search must go deeper
constexpr int kEdit3 = 203;
constexpr int kPage = 301;       // "Internet Explorer_Server"
constexpr int kPageChild = 302;  // child of the page
constexpr int kToolbar = 303;    // "ToolbarWindow32" inside the page
// The main window's own client area is free below y = 400 (client coordinates):
constexpr int kFreeClientX = 600, kFreeClientY = 440;

// The menu bar's "&File" popup, by position.
constexpr int kItemOpenNew = 0;  // "Open in &New Window"
constexpr int kItemLong = 1;     // "&Long " and 300 more characters
constexpr int kItemOwnerDraw = 2;
constexpr int kItemCount = 3;
constexpr UINT kFirstCommand = 101;
constexpr char kOpenNewText[] = "Open in &New Window";

// Commands, sent to the main window.
constexpr UINT kCmdNewTop = WM_APP + 1;     // wParam 1: visible; returns the new window
constexpr UINT kCmdDestroy = WM_APP + 2;    // lParam: a window of the host
constexpr UINT kCmdHungEdit = WM_APP + 3;   // returns an "Edit" whose thread never answers
constexpr UINT kCmdReport = WM_APP + 4;     // writes the probe's findings to kReportKey
constexpr UINT kCmdChosen = WM_APP + 5;     // returns the last menu command received

// Under HKEY_CURRENT_USER: the menu's item rectangles while it is open
// ("Bar0", "Item0".. as "left top right bottom", screen) and probe reports.
constexpr char kReportKey[] = "Software\\TarvickLite Tests\\hook_host";

}  // namespace hookhost
