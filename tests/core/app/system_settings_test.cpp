#include "app/system_settings.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(DecideHotkey, RegistersOnlyWhatDiffersFromTheLastAttempt) {
  HotkeyMemory none;
  EXPECT_EQ(DecideHotkey(1, kHotkeyCtrl | kHotkeyAlt, 69, none), HotkeyStep::Register);
  // Remembered also after a failed attempt: the same settings are not tried again.
  HotkeyMemory tried{1, 3, 69};
  EXPECT_EQ(DecideHotkey(1, 3, 69, tried), HotkeyStep::Keep);
  EXPECT_EQ(DecideHotkey(1, 3, 70, tried), HotkeyStep::Register);
  EXPECT_EQ(DecideHotkey(1, 1, 69, tried), HotkeyStep::Register);
  EXPECT_EQ(DecideHotkey(0, 3, 69, tried), HotkeyStep::Unregister);
  // Switched off and on again: registered anew although the keys match.
  EXPECT_EQ(DecideHotkey(1, 3, 69, HotkeyMemory{0, 3, 69}), HotkeyStep::Register);
}

}  // namespace
}  // namespace tl
