// Driving the dialogs in-process: clicks and texts by control ID, on fresh
// settings.
#pragma once
#include <windows.h>

#include <string>

#include "win_test_util.h"

namespace dlgtest {

void Click(HWND dlg, int id);
bool Ticked(HWND dlg, int id);
inline std::string Text(HWND dlg, int id) { return tltest::TextOf(GetDlgItem(dlg, id)); }
// Fresh settings: the stored defaults, the program's paths, prog.ini in
// its own folder, no wiring.
void FreshProgram();

}  // namespace dlgtest
