// Paints a form's background with the vertical gradient, 256 bands over
// the client area's height, whatever its size and DPI. Call from
// WM_ERASEBKGND (or WM_PAINT) with the form's DC.
#pragma once
#include <windows.h>

#include "mainwin/gradient.h"

void PaintGradient(HWND form, HDC dc, tl::Rgb top, tl::Rgb bottom);
