// The common file-open dialog as the dialogs use it.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace Dialogs {

// filter: "Name|pattern|Name|pattern"; the chosen file's full path, or
// nothing when the user cancelled.
std::optional<std::string> BrowseForFile(HWND owner, const char* title, const char* filter);

}  // namespace Dialogs
