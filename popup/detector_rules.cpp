#include "popup/detector_rules.h"

#include "app/conversions.h"

namespace tl {

int32_t TwipsPerPixel(int32_t dpi) { return dpi > 0 ? 1440 / dpi : 15; }

int32_t PixelsToTwips(int32_t px, int32_t tpp) { return px * tpp; }

int32_t TwipsToPixels(int32_t twips, int32_t tpp) {
  if (tpp <= 0) tpp = 15;
  return twips >= 0 ? (twips + tpp / 2) / tpp : -((-twips + tpp / 2) / tpp);
}

ScreenPlacement PlaceAtLoad(int32_t maxWidthPx, int32_t maxHeightPx, int32_t formWidthTwips,
                            int32_t tpp, int32_t workRightPx, int32_t workBottomPx) {
  ScreenPlacement p;
  p.Left = PixelsToTwips(maxWidthPx, tpp) - formWidthTwips - 400;
  p.Bottom = PixelsToTwips(maxHeightPx, tpp) - 100;
  int32_t rightmost = PixelsToTwips(workRightPx, tpp) - formWidthTwips;
  if (p.Left > rightmost) p.Left = rightmost;
  int32_t lowest = PixelsToTwips(workBottomPx, tpp);
  if (p.Bottom > lowest) p.Bottom = lowest;
  return p;
}

int32_t TargetHeightPx(int32_t borderPx, int32_t panelTopPx, int32_t panelHeightPx) {
  return borderPx + panelTopPx + panelHeightPx + 2;
}

void StartSlide(ScreenSlide& s, int32_t targetHeight, bool alreadyShowing) {
  s.TargetHeight = targetHeight;
  s.FinalTop = s.Bottom - targetHeight;
  if (alreadyShowing) {
    s.Top = s.FinalTop;
    s.Height = targetHeight;
  } else {
    s.Top = s.Bottom - 100;
    s.Height = 10;
  }
}

bool SlideStep(ScreenSlide& s) {
  if (s.Height < s.TargetHeight) {
    // A target under 8 twips still grows, so the slide always ends.
    int32_t step = s.TargetHeight / 8 > 0 ? s.TargetHeight / 8 : 1;
    s.Top -= step;
    s.Height += step;
    return false;
  }
  s.Top = s.FinalTop;
  s.Height = s.TargetHeight;
  return true;
}

void DropAt(ScreenSlide& s, int32_t top) {
  s.Top = top;
  s.FinalTop = top;
  s.Bottom = top + s.TargetHeight;
}

bool CountdownExpired(bool cursorOnScreen, uint32_t now, uint32_t start) {
  if (cursorOnScreen) return false;
  return static_cast<int32_t>(now - start) >= kCountdownMs;
}

bool AddressPending(std::string_view url) { return url.empty() || url == "about:blank"; }

std::string WindowNameCaption(std::string_view name) {
  return "Window Name:        " + std::string(name);
}

std::string URLCaption(std::string_view url) { return "URL:      " + std::string(url); }

std::string NoticeCaption(int16_t msgId) { return msgId == 1 ? "Poptarn" : ""; }

std::string NoticeBody(int16_t msgId) {
  if (msgId != 1) return "";
  return std::string("This is your first time to use") +
         " Tarvick pop-up blocker, Poptarn. When Tarvick detects" +
         " a pop-up, it hides it and just shows information" +
         " about it. With a simple mouse hover you can take" +
         " a peek and decide whether to show it. Otherwise," +
         " the pop-up will be automatically blocked after" + " a few seconds.";
}

std::string NoticeFlagKey(int16_t msgId) { return "MsgID-" + std::to_string(msgId); }

bool NoticeWanted(const std::optional<std::string>& storedText) {
  if (!storedText) return true;
  return ParseFlag(*storedText).value_or(true);
}

}  // namespace tl
