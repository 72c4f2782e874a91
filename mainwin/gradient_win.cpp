#include "mainwin/gradient_win.h"

#include "app/gdi_win.h"

void PaintGradient(HWND form, HDC dc, tl::Rgb top, tl::Rgb bottom) {
  RECT client{};
  if (!GetClientRect(form, &client)) return;
  int height = client.bottom - client.top;
  if (height <= 0) return;
  auto bands = tl::GradientBands(top, bottom);
  // Band edges by proportion, so a client of any height is covered without gaps.
  for (int i = 0; i < tl::kGradientBands; ++i) {
    RECT band = client;
    band.top = client.top + MulDiv(i, height, tl::kGradientBands);
    band.bottom = client.top + MulDiv(i + 1, height, tl::kGradientBands);
    if (band.bottom <= band.top) continue;
    tl::Brush brush(CreateSolidBrush(RGB(bands[i].r, bands[i].g, bands[i].b)));
    if (brush) FillRect(dc, &band, brush);
  }
}
