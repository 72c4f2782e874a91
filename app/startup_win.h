// Start-up, the process-wide values and the one exit path.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app/columns.h"
#include "app/settings.h"

namespace tl {
class RegistrySettingsStore;
}
class InterfaceFrm;
class CancelEvent;
class PopUpDetectorScrFrm;

namespace ModMain {

// Process-wide values, set by StartUp.
extern bool IsNT;
extern bool IsNT4;
extern DWORD OwnProcessId;
extern std::string ProgramFolder;  // no trailing backslash
extern std::string ExeName;        // file name without extension
extern std::string OwnExePath;
extern std::string IniPath;
extern DWORD PriorityClasses[4];
extern bool Exiting;
extern bool DialUpStartPending;
extern bool LanStartPending;
extern COLORREF InterfaceColours[3];
extern int16_t ProcessRowCount;
extern int16_t WindowRowCount;
extern std::vector<tl::Column> ProcessColumnTable;
extern std::vector<tl::Column> WindowColumnTable;

extern tl::SettingsRecord Settings;
tl::SettingsStore& Store();
tl::SettingsEnv& Env();  // the store, the folders and the error box

// The three forms that live from start-up to exit.
InterfaceFrm& MainForm();
CancelEvent& CancelForm();
PopUpDetectorScrFrm& DetectorForm();

[[noreturn]] void StartUp();
bool IsFirstRun();
void FirstRunSetup();
[[noreturn]] void ExitProgram();
void EnablePrivilege(const char* name);

// Every message box of the program: captioned with its title.
int ShowMessage(HWND owner, const std::string& text, UINT style);

// The settings operations bound to the program's store and record.
void LoadOptions();
void SaveOptions();
void LoadGeneralSettings();
void SaveGeneralSettings();

// Fills the process-wide values that do not depend on the settings (steps 3,
// 5, 8, 9 and 10 of the start-up); tests call it to work in-process.
void InitProcessValues();

}  // namespace ModMain
