// MForceFore: bringing a window to the foreground although another program
// owns it.
#include "inspect/process_query_win.h"
#include "inspect/window_query_win.h"

namespace MForceFore {

bool ForceForeground(HWND hwnd, bool skipCheck) {
  if (!skipCheck) {
    ModProgInfo::ProcessQuery(tl::kProcRefresh, "");
    ModWndOpr::WindowQuery(tl::kWndEnumerate, "");
    // Attaching to a hung thread's input would hang this program too.
    for (HWND listed : std::vector<HWND>(ModWndOpr::WndHandles))
      if (!tl::FlagOf(ModWndOpr::WindowQuery(tl::kWndResponding, ModWndOpr::HandleText(listed)))) {
        SetForegroundWindow(hwnd);
        return false;
      }
  }
  HWND top = OutermostVisibleParent(hwnd);
  HWND foreground = GetForegroundWindow();
  if (top == foreground) return true;

  DWORD fg = GetWindowThreadProcessId(foreground, nullptr);
  DWORD own = GetCurrentThreadId();
  BOOL ok;
  if (fg != own && fg != 0) {
    AttachThreadInput(fg, own, TRUE);
    ok = SetForegroundWindow(top);
    AttachThreadInput(fg, own, FALSE);
  } else {
    ok = SetForegroundWindow(top);
  }
  ShowWindow(top, IsIconic(top) ? SW_RESTORE : SW_SHOW);
  return ok != 0;
}

HWND OutermostVisibleParent(HWND hwnd) {
  // GetParent also answers the owner of a pop-up window. The bound only
  // guards against a chain that never ends.
  for (int depth = 0; depth < 256; ++depth) {
    HWND parent = GetParent(hwnd);
    if (!parent || !IsWindowVisible(parent)) break;
    hwnd = parent;
  }
  return hwnd;
}

}  // namespace MForceFore
