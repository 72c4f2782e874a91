// Whether the user asked for a new browser window, judged from the input
// the program watched itself (clicks, keys, buttons held) rather than from
// the hook library. Used for browsers that draw their own menus and address
// bars (Chromium, Firefox); Internet-Explorer-style windows keep the hand-off
// rules and only borrow the modifiers recorded at the click.
#pragma once
#include <cstdint>
#include <string_view>

namespace tl {

// A dragged-out tab appears just after the button is let go, at the latest.
inline constexpr int32_t kDragReleaseMs = 500;

enum Modifier : uint8_t { kModCtrl = 1, kModShift = 2, kModAlt = 4 };

// One press, release or key: when, into which top-level window and process,
// with which modifiers down. tick 0 with pid 0 = nothing recorded.
struct InputMoment {
  uint32_t tick = 0;
  uint32_t pid = 0;
  uint32_t window = 0;  // top-level window (the foreground one for a key)
  uint8_t mods = 0;
  bool left = false;    // left button (else middle); unused for keys
  bool inPage = false;  // over the browser's page child; unused for keys
};

struct InputEvidence {
  InputMoment press, release, key;
  bool leftDown = false;  // the left button is held now
};

// The page child of a browser window, by class.
bool IsPageClass(std::string_view cls);

// Evidence for a window of browser process `pid` that appeared at `appeared`.
// blockMode 1 = Intelligent (any click in the browser counts), 0 = Aggressive
// (a click in the page counts only with Ctrl or Shift).
bool InputAsksForWindow(const InputEvidence& in, uint32_t pid, uint32_t appeared,
                        int32_t intervalMs, int blockMode);

// Ctrl or Shift was down at a click or key into `pid` within the interval:
// what an Internet-Explorer-style window takes instead of the key state at
// the pass, which may come too late.
bool RecordedModifierAsks(const InputEvidence& in, uint32_t pid, uint32_t appeared,
                          int32_t intervalMs);

}  // namespace tl
