// Decisions of putting the settings into effect: whether the hotkey must be
// registered again, given what was last passed to RegisterHotKey.
#pragma once
#include <cstdint>

namespace tl {

// What was last passed to RegisterHotKey (kept also when it failed, so
// unchanged settings do not try again).
struct HotkeyMemory {
  int16_t Enabled = 0;
  int32_t Modifiers = 0;
  int32_t CharCode = 0;
};

enum class HotkeyStep { Unregister, Keep, Register };

HotkeyStep DecideHotkey(int16_t enabled, int32_t modifiers, int32_t charCode,
                        const HotkeyMemory& registered);

// The modifier bits of the stored hotkey (RegisterHotKey's own).
inline constexpr int32_t kHotkeyAlt = 1, kHotkeyCtrl = 2, kHotkeyShift = 4;
inline constexpr int kHotkeyId = 49151;

}  // namespace tl
