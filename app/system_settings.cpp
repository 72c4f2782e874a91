#include "app/system_settings.h"

namespace tl {

HotkeyStep DecideHotkey(int16_t enabled, int32_t modifiers, int32_t charCode,
                        const HotkeyMemory& registered) {
  if (enabled == 0) return HotkeyStep::Unregister;
  if (enabled != 1) return HotkeyStep::Keep;  // only 0 and 1 are meaningful
  if (registered.Enabled == 1 && registered.Modifiers == modifiers &&
      registered.CharCode == charCode)
    return HotkeyStep::Keep;
  return HotkeyStep::Register;
}

}  // namespace tl
