// ModWndOpr: the list of top-level windows, the one dispatcher for questions
// about a window, and closing, terminating and raising windows.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "inspect/query_value.h"
#include "inspect/window_list_win.h"
#include "inspect/window_query.h"

namespace ModWndOpr {

// The window asked for by the last code 10.
extern tl::WindowRecord WndRecord;
// Set by code 2 when the window's program is not in the snapshot; the
// pop-up detection reads and clears it.
extern bool ProgNotFound;

// Codes (tl::WindowCode), with the window handle as decimal text:
//  0 enumerate into WndHandles (handle ignored)     -> empty
//  1 window text, with its terminating NUL           -> text
//  2 program (lower-case path)                       -> text, "" if not found
//  3 responding (50 ms)                              -> flag
//  4 visible, 5 topmost, 6 enabled                   -> flag; empty when hung
//  7 process ID, 8 thread ID                         -> number
//  9 position "(l,t) - (r,b)"                        -> text
// 10 fill WndRecord                                  -> empty
tl::QueryValue WindowQuery(int32_t code, const std::string& handleText);


// terminate false: posts WM_CLOSE and returns true. terminate true: ends the
// window's process unless the program is marked for a warning and the user
// declines; returns false when declined.
bool CloseOrTerminateWindow(bool terminate, HWND hwnd);
// True when the user declined terminating the program (asked only for
// programs marked "Give warning message before closing it").
bool ConfirmTerminate(const std::string& programName);
// Restores a minimised window, flashes it topmost, leaves it at the top of
// the z-order as an ordinary window and forces it to the foreground.
bool BringWindowToFront(HWND hwnd);

}  // namespace ModWndOpr

namespace MForceFore {

// True when the window (its outermost visible parent) is or was made the
// foreground window. Without skipCheck, a hung listed window anywhere makes
// it a plain SetForegroundWindow and false.
bool ForceForeground(HWND hwnd, bool skipCheck);
HWND OutermostVisibleParent(HWND hwnd);

}  // namespace MForceFore
