// The one owner of the program's process-wide state: the values set at
// start-up, the settings and their store, and the windows handed to the
// subsystems. Reached through Prog(). The forms and the pop-up blocker are
// the program root's (root_win.h).
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/columns.h"
#include "app/registry_win.h"
#include "app/settings.h"
#include "app/system_settings.h"

namespace ModMain {

class Program {
 public:
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Process-wide values, set by InitProcessValues.
  bool IsNT = false;
  bool IsNT4 = false;
  DWORD OwnProcessId = 0;
  std::string ProgramFolder;  // no trailing backslash
  std::string ExeName;        // file name without extension
  std::string OwnExePath;
  std::string IniPath;
  DWORD PriorityClasses[4] = {};
  bool Exiting = false;
  bool DialUpStartPending = true;
  bool LanStartPending = true;
  COLORREF InterfaceColours[3] = {};
  // The captions and widths the Options dialog offers for the lists.
  std::vector<tl::Column> ProcessColumnTable;
  std::vector<tl::Column> WindowColumnTable;

  tl::SettingsRecord Settings;
  tl::HotkeyMemory RegisteredHK;  // what was last passed to RegisterHotKey
  tl::RegistrySettingsStore Store;
  // The store, the folders and the error box, as the settings code takes them.
  tl::SettingsEnv& Env();

  // Windows handed to the subsystems that need one.
  HWND HookOwner = nullptr;     // the countdown form: the hooks' owner
  HWND MessageOwner = nullptr;  // the main window: owner of message boxes

 private:
  std::optional<tl::SettingsEnv> env_;
};

Program& Prog();

// Fills the process-wide values that do not depend on the settings; tests
// call it to work in-process.
void InitProcessValues();
void EnablePrivilege(const char* name);
// Every message box of the program: captioned with its title.
int ShowMessage(HWND owner, const std::string& text, UINT style);
// The settings operations bound to the program's store and record.
void LoadOptions();
void SaveOptions();

}  // namespace ModMain
