// Start-up and the one exit path.
#pragma once
#include <windows.h>

namespace ModMain {

[[noreturn]] void StartUp();
bool IsFirstRun();
void FirstRunSetup();
[[noreturn]] void ExitProgram();

// The main window's place and the menu states, from and to "General".
void LoadGeneralSettings();
void SaveGeneralSettings();

// Wires the forms and the blocker together and creates the forms, hidden.
void LoadForms();

}  // namespace ModMain
