// The three hook procedures. They run inside whatever program produced the
// event, on its thread: they look at message numbers first, write a few
// hand-off values for the events the program cares about, and always pass
// the event on unchanged.
#include "hooklib/corvel_state_win.h"
#include "hooklib/hook_core.h"

namespace Corvel {

namespace {

constexpr int kClassChars = 256;
constexpr int kMenuTextChars = 256;
constexpr int kEditTextChars = 1024;
constexpr UINT kMenuWindowGetMenu = 0x01E1;  // MN_GETHMENU
// Reading a text from a window of another thread must not hold the host up.
constexpr UINT kGetTextTimeoutMs = 100;

// Per-process buffers, shared by the threads of the process. Every write
// stops one byte short of the end, so the last byte stays a NUL.
char ClassName[kClassChars];
char MenuText[kMenuTextChars];
char EditText[kEditTextChars];
char FoundAddress[kEditTextChars];

// Last item highlighted in this process's menu loop, where the system
// passes WM_MENUSELECT through the filter.
HMENU LastMenu;
WORD LastMenuItem;

// The popup menu window under the point, if it belongs to this thread's
// menu loop, and the position of the item there.
bool MenuItemAt(POINT pt, HMENU& menu, UINT& position) {
  HWND window = WindowFromPoint(pt);
  if (!window || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return false;
  if (!SameText(ClassNameOf(window), "#32768")) return false;
  // Same thread: a direct call, nothing to wait for.
  menu = reinterpret_cast<HMENU>(SendMessageA(window, kMenuWindowGetMenu, 0, 0));
  if (!menu) return false;
  int found = MenuItemFromPoint(nullptr, menu, pt);
  if (found < 0) return false;
  position = static_cast<UINT>(found);
  return true;
}

// A menu command chosen with the button release: the item under the cursor
// when it can be found, otherwise the one last highlighted.
void RecordMenuClick(const MSG& msg) {
  HMENU menu = nullptr;
  UINT item = 0;
  BOOL byPosition = TRUE;
  if (!MenuItemAt(msg.pt, menu, item)) {
    menu = LastMenu;
    item = LastMenuItem;
    byPosition = FALSE;
  }
  if (!menu) return;
  MenuText[0] = '\0';
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_TYPE;
  info.dwTypeData = MenuText;
  info.cch = kMenuTextChars;
  if (!GetMenuItemInfoA(menu, item, byPosition, &info)) return;
  // Bitmaps, owner-drawn items and separators have no text: nothing was
  // read, so nothing is reported.
  if (info.fType & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR)) return;
  TerminateWithin(MenuText, kMenuTextChars);
  HandoffKey key;
  key.Text("MenuName", MenuText);
  key.Signed32("Time", GetTickCount());
}

// A window being moved or sized holds the mouse, so the release that ends
// it is reported as a client-area release although it was made on the
// caption or the border.
bool InMoveOrSize() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMOVESIZE);
}

}  // namespace

const char* ClassNameOf(HWND window) {
  if (GetClassNameA(window, ClassName, kClassChars) == 0) ClassName[0] = '\0';
  TerminateWithin(ClassName, kClassChars);
  return ClassName;
}

BOOL CALLBACK EnumEditProc(HWND child, LPARAM) {
  if (!SameText(ClassNameOf(child), "Edit")) return TRUE;
  EditText[0] = '\0';
  DWORD_PTR copied = 0;
  // A window of this thread is called directly; another thread's may be
  // busy or hung, and the host must not wait on it.
  if (!SendMessageTimeoutA(child, WM_GETTEXT, kEditTextChars, reinterpret_cast<LPARAM>(EditText),
                           SMTO_ABORTIFHUNG, kGetTextTimeoutMs, &copied))
    return TRUE;
  TerminateWithin(EditText, kEditTextChars);
  if (!ContainsColon(EditText)) return TRUE;
  CopyBounded(FoundAddress, kEditTextChars, EditText);
  return FALSE;
}

bool GetBrowserURL(HWND window, const char*& out) {
  if (!window) return false;
  if (SameText(ClassNameOf(window), "ToolbarWindow32")) return false;
  if (!SameText(ClassName, "Internet Explorer_Server") &&
      !SameText(ClassNameOf(GetParent(window)), "Internet Explorer_Server"))
    return false;
  EditText[0] = '\0';
  FoundAddress[0] = '\0';
  // Parent chains cannot loop, but a hook must end whatever the windows do.
  for (int depth = 0; depth < 256; ++depth) {
    HWND parent = GetParent(window);
    if (!parent) break;
    window = parent;
  }
  EnumChildWindows(window, EnumEditProc, 0);
  out = FoundAddress;
  return true;
}

LRESULT CALLBACK ShellProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HSHELL_WINDOWCREATED) {
    HandoffKey key;
    key.Text("NewWin", "1");
    key.Signed32("WinTime", GetTickCount());
  }
  return PassOn(State.shellHook, kShellValue, code, wParam, lParam);
}

LRESULT CALLBACK SysMsgFilterProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_MENU && lParam) {
    const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
    if (msg.message == WM_MENUSELECT) {
      LastMenu = reinterpret_cast<HMENU>(msg.lParam);
      LastMenuItem = LOWORD(msg.wParam);
    }
    if (msg.message == WM_LBUTTONUP) RecordMenuClick(msg);
  }
  return PassOn(State.msgHook, kMsgValue, code, wParam, lParam);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  DWORD now = GetTickCount();
  if (code >= 0 && lParam) {
    const auto& mouse = *reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    if (wParam == WM_LBUTTONUP && mouse.wHitTestCode == HTCLIENT && !InMoveOrSize()) {
      HandoffKey key;
      key.Signed32("MouseTime", now);
      key.Signed32("MouseHwnd", HandleBits(mouse.hwnd));
    } else if (wParam == WM_LBUTTONDOWN && mouse.wHitTestCode == HTCLIENT) {
      const char* address = nullptr;
      if (GetBrowserURL(mouse.hwnd, address)) {
        HandoffKey key;
        key.Text("MouseTimeD", address);
      }
    }
  }
  return PassOn(State.mouseHook, kMouseValue, code, wParam, lParam);
}

}  // namespace Corvel
