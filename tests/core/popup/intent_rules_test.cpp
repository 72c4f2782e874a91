#include "popup/intent_rules.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

constexpr uint32_t kBrowser = 40, kOther = 50;
constexpr int kIntelligent = 1, kAggressive = 0;

InputMoment At(uint32_t tick, uint32_t pid, bool inPage = false, uint8_t mods = 0) {
  InputMoment m;
  m.tick = tick;
  m.pid = pid;
  m.left = true;
  m.inPage = inPage;
  m.mods = mods;
  return m;
}

// A finished click: pressed 80 ms before it was let go.
InputEvidence Click(uint32_t release, uint32_t pid, bool inPage, uint8_t mods = 0) {
  InputEvidence in;
  in.press = At(release - 80, pid, inPage, mods);
  in.release = At(release, pid, inPage, mods);
  return in;
}

TEST(InputIntent, KeyIntoTheBrowserWithinTheInterval) {
  InputEvidence in;
  in.key = At(10000, kBrowser);
  EXPECT_TRUE(InputAsksForWindow(in, kBrowser, 10000, 1500, kAggressive));  // same tick
  EXPECT_TRUE(InputAsksForWindow(in, kBrowser, 11499, 1500, kAggressive));
  EXPECT_FALSE(InputAsksForWindow(in, kBrowser, 11500, 1500, kAggressive));
  EXPECT_FALSE(InputAsksForWindow(in, kBrowser, 9990, 1500, kAggressive));  // typed after
  // Across the counter's wrap.
  in.key = At(0xFFFFFF00u, kBrowser);
  EXPECT_TRUE(InputAsksForWindow(in, kBrowser, 0x100, 1500, kAggressive));
}

TEST(InputIntent, ClickCountsByModeAndPlace) {
  InputEvidence page = Click(10000, kBrowser, true);
  EXPECT_TRUE(InputAsksForWindow(page, kBrowser, 10300, 1500, kIntelligent));
  EXPECT_FALSE(InputAsksForWindow(page, kBrowser, 10300, 1500, kAggressive));
  // The browser's own menu or toolbar counts in both modes.
  EXPECT_TRUE(InputAsksForWindow(Click(10000, kBrowser, false), kBrowser, 10300, 1500, kAggressive));
  // Ctrl or Shift recorded at the click, whatever the keys are now; not Alt.
  EXPECT_TRUE(InputAsksForWindow(Click(10000, kBrowser, true, kModShift), kBrowser, 10300, 1500, kAggressive));
  EXPECT_FALSE(InputAsksForWindow(Click(10000, kBrowser, true, kModAlt), kBrowser, 10300, 1500, kAggressive));
  // Internet-Explorer-style windows take only the recorded modifiers.
  EXPECT_TRUE(RecordedModifierAsks(Click(10000, kBrowser, true, kModCtrl), kBrowser, 10300, 1500));
  EXPECT_FALSE(RecordedModifierAsks(Click(10000, kBrowser, true), kBrowser, 10300, 1500));
}

TEST(InputIntent, TabDraggedOut) {
  // Pressed on the tab strip, still held when the window appears, let go
  // over another program (the release names that program).
  InputEvidence drag;
  drag.press = At(10000, kBrowser);
  drag.leftDown = true;
  EXPECT_TRUE(InputAsksForWindow(drag, kBrowser, 14000, 1500, kAggressive));
  EXPECT_FALSE(InputAsksForWindow(drag, kBrowser, 9000, 1500, kAggressive));  // there before
  drag.leftDown = false;
  drag.release = At(14400, kOther);
  EXPECT_TRUE(InputAsksForWindow(drag, kBrowser, 14000, 1500, kAggressive));  // let go after
  EXPECT_TRUE(InputAsksForWindow(drag, kBrowser, 14899, 1500, kAggressive));
  EXPECT_FALSE(InputAsksForWindow(drag, kBrowser, 14900, 1500, kAggressive));
  // A page holding the button down proves nothing in Aggressive mode.
  InputEvidence pagePress;
  pagePress.press = At(10000, kBrowser, true);
  pagePress.leftDown = true;
  EXPECT_FALSE(InputAsksForWindow(pagePress, kBrowser, 10100, 1500, kAggressive));
  // A middle button held is no drag.
  drag.press.left = false;
  drag.leftDown = true;
  EXPECT_FALSE(InputAsksForWindow(drag, kBrowser, 14000, 1500, kAggressive));
}

}  // namespace
}  // namespace tl
