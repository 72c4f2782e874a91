// The detector screen's arithmetic and texts: placement and slide in twips,
// the countdown, the address test and the first-use notices.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tl {

// Twips per pixel at a given number of pixels per logical inch (15 at 96).
int32_t TwipsPerPixel(int32_t dpi);
int32_t PixelsToTwips(int32_t px, int32_t tpp);
// Rounded to the nearest pixel, so a slide step never loses a pixel per step.
int32_t TwipsToPixels(int32_t twips, int32_t tpp);

// Where the screen sits when loaded: 400 twips left of the maximised area's
// right edge, its bottom 100 twips above the maximised area's bottom. The
// maximised size counts the frame that hangs off the screen, so the place is
// kept inside the work area (without a taskbar it would fall off the bottom).
struct ScreenPlacement {
  int32_t Left = 0;    // twips
  int32_t Bottom = 0;  // twips
};
ScreenPlacement PlaceAtLoad(int32_t maxWidthPx, int32_t maxHeightPx, int32_t formWidthTwips,
                            int32_t tpp, int32_t workRightPx, int32_t workBottomPx);

// The vertical state of the screen, all in twips.
struct ScreenSlide {
  int32_t Top = 0;
  int32_t Height = 0;
  int32_t TargetHeight = 0;
  int32_t FinalTop = 0;
  int32_t Bottom = 0;
};

// Height that shows the form down to a panel: border height, the panel's
// top and height, and 2 more pixels.
int32_t TargetHeightPx(int32_t borderPx, int32_t panelTopPx, int32_t panelHeightPx);

// Starts an announcement: the final top above the bottom edge; an already
// showing screen jumps to it, a hidden one starts as a 10-twip sliver 100
// twips above the bottom edge.
void StartSlide(ScreenSlide& s, int32_t targetHeight, bool alreadyShowing);
// One step: grows by an eighth of the target; true once in place (and the
// geometry is then exactly the final one).
bool SlideStep(ScreenSlide& s);
// A drag leaves the screen where it was dropped: later steps and later
// pop-ups keep that place.
void DropAt(ScreenSlide& s, int32_t top);

inline constexpr int32_t kCountdownMs = 5000;
inline constexpr int32_t kNoticeExtraMs = 1000;
// Ticks compared as a signed 32-bit difference (wrap-around safe); a start
// in the future (after the notice) has not expired.
bool CountdownExpired(bool cursorOnScreen, uint32_t now, uint32_t start);

// An address still to be read: empty or "about:blank".
bool AddressPending(std::string_view url);

std::string WindowNameCaption(std::string_view name);
std::string URLCaption(std::string_view url);

// First-use notices by number; empty texts for numbers without a notice.
std::string NoticeCaption(int16_t msgId);
std::string NoticeBody(int16_t msgId);
// The suppression flag's value name in section "General".
std::string NoticeFlagKey(int16_t msgId);
// Whether a stored flag text lets the notice show: missing or unreadable
// text shows it; only a false flag suppresses.
bool NoticeWanted(const std::optional<std::string>& storedText);

}  // namespace tl
