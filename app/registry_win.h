// Registry helpers (ANSI), the App Paths registration, and the registry
// implementation of the per-user settings store.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "app/handles_win.h"
#include "app/settings_store.h"

// winreg.h maps these names to its own; ours are the program's helpers.
#undef RegOpenKey
#undef RegDeleteValue

namespace modRegEnum {

using tl::RegKey;

// Opened key, or an empty one when opening failed.
RegKey RegOpenKey(HKEY root, const std::string& subkey, REGSAM access = KEY_ALL_ACCESS);
LONG RegDeleteValue(HKEY key, const std::string& name);
// Writes text as the value (type 0 means REG_SZ); the stored length is the
// text's, without a terminating NUL. Failures are ignored.
void RegWriteValue(HKEY root, const std::string& subkey, const std::string& name,
                   std::string_view text, DWORD type = 0);
// The value's text up to its first NUL, blanks trimmed; "" when it cannot be read.
std::string RegReadValue(HKEY key, const std::string& name);

std::string AppPathsKey(const std::string& exeFileName);
// The registered path of an executable (machine-wide first, then per user).
std::string AppPathOf(const std::string& exeFileName);
// Registers the program machine-wide, or per user when the machine-wide key
// cannot be written. Returns the root it used, or nullptr.
HKEY RegisterAppPath(const std::string& exeFileName, const std::string& exePath,
                     const std::string& folder);
bool RegisterAppPathUnder(HKEY root, const std::string& exeFileName, const std::string& exePath,
                          const std::string& folder);

}  // namespace modRegEnum

namespace tl {

// HKCU\Software\VB and VBA Program Settings\<app>\<section>, one REG_SZ per key.
class RegistrySettingsStore : public SettingsStore {
 public:
  StoreRead Read(std::string_view app, std::string_view section,
                 std::string_view key) const override;
  bool Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view text) override;
  bool Delete(std::string_view app, std::string_view section, std::string_view key) override;
  static std::string KeyPath(std::string_view app, std::string_view section);
};

// Reads a REG_SZ value of any length, or a REG_DWORD/REG_QWORD as its
// signed decimal text; Missing, Ok or Failed (other types, errors).
StoreRead ReadStringValue(HKEY key, const std::string& name);

}  // namespace tl
