// Reading a list view's cells, as the dialogs and the manager page do.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace tl {

// The text of one cell; a longer one is cut.
inline std::string ListViewText(HWND list, int row, int column) {
  char buf[2048] = {};
  LVITEMA it{};
  it.iSubItem = column;
  it.pszText = buf;
  it.cchTextMax = sizeof buf;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&it));
  buf[sizeof buf - 1] = '\0';
  return buf;
}

}  // namespace tl
