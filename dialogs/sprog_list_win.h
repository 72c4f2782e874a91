// The special-program list of the Options dialog: a report list view whose
// rows carry the path, the action caption and the icon number (the entry's
// state; 1 = active). The special-program dialog edits the same rows.
#pragma once
#include <windows.h>

#include <vector>

#include "app/settings.h"

namespace SProgList {

// Columns "Path" and "Special Action" and the icons of the states.
void Setup(HWND list);
void Add(HWND list, const tl::SpecialProgramRow& row);
std::vector<tl::SpecialProgramRow> Rows(HWND list);
int Icon(HWND list, int index);
void SetIcon(HWND list, int index, int icon);
int FirstSelected(HWND list);  // -1 when none
bool Selected(HWND list, int index);
// Sorts by a column's text; each call on a list flips the direction.
void SortBy(HWND list, int column);

}  // namespace SProgList
