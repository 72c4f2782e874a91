// Driving the dialogs in-process: clicks by control ID and message boxes
// answered from a second thread while the click's handler waits in them.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <thread>

#include "win_test_util.h"

namespace dlgtest {

void Click(HWND dlg, int id);
bool Ticked(HWND dlg, int id);
std::string Text(HWND dlg, int id);
// Waits for the program's next message box, keeps what it showed in seen
// and presses button.
std::thread Answer(tltest::MessageBoxInfo& seen, const char* button);
// Every value of a settings section: name -> type and raw bytes.
std::map<std::string, std::string> Section(const std::string& section);
// Fresh settings: the stored defaults, the program's paths, prog.ini in
// its own folder, no wiring.
void FreshProgram();

}  // namespace dlgtest
