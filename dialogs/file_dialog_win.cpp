#include "dialogs/file_dialog_win.h"

#include <commdlg.h>

namespace Dialogs {

std::optional<std::string> BrowseForFile(HWND owner, const char* title, const char* filter) {
  std::string pairs(filter);
  for (char& c : pairs)
    if (c == '|') c = '\0';
  pairs.push_back('\0');
  char file[MAX_PATH] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = pairs.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = title;
  ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!GetOpenFileNameA(&ofn)) return std::nullopt;
  file[MAX_PATH - 1] = '\0';
  return std::string(file);
}

}  // namespace Dialogs
