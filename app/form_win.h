// Layout of hand-drawn forms: children placed in 96-DPI units and scaled to
// the DPI of the form's monitor, the message font at that DPI, and the same
// layout again when the form moves to a monitor of another DPI.
#pragma once
#include <windows.h>

#include <vector>

#include "app/gdi_win.h"

namespace tl {

// The DPI of a window's monitor, or the desktop's where the system cannot
// tell per window.
UINT DpiOf(HWND h);
inline int Scale(int units, UINT dpi) { return MulDiv(units, static_cast<int>(dpi), 96); }
RECT Scale(const RECT& units, UINT dpi);
// The message font of the system, sized for a DPI.
LOGFONTA MessageFontAt(UINT dpi);
// The outer size of a window whose client area is `client` pixels, at a DPI.
SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi);
// The nearest monitor's work area and full rectangle, in screen pixels.
RECT WorkAreaOf(HWND h);
RECT MonitorRectOf(HWND h);
RECT WorkAreaAt(POINT p);

class FormLayout {
 public:
  enum class Face { Message, Bold };

  // Reads the form's DPI and makes its fonts; call once the window exists.
  void Attach(HWND form);
  UINT Dpi() const { return dpi_; }
  int Px(int units) const { return Scale(units, dpi_); }
  RECT Px(const RECT& units) const { return Scale(units, dpi_); }
  HFONT MessageFont() const { return font_; }
  HFONT BoldFont() const { return bold_; }

  // A visible child at a rectangle in 96-DPI units, with the form's font;
  // it is placed again on a DPI change.
  HWND CreateChild(const char* cls, const char* text, DWORD style, int id, const RECT& units,
                   Face face = Face::Message);
  // WM_DPICHANGED: takes the system's suggested rectangle, makes the fonts
  // for the new DPI and places every child again.
  void OnDpiChanged(WPARAM wp, LPARAM lp);

 private:
  void MakeFonts();
  struct Child {
    HWND hwnd;
    RECT units;
    Face face;
  };
  HWND form_ = nullptr;
  UINT dpi_ = 96;
  Font font_, bold_;
  std::vector<Child> children_;
};

}  // namespace tl
