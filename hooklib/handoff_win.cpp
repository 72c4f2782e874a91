#include "hooklib/corvel_state_win.h"
#include "hooklib/hook_core.h"

namespace Corvel {

const char kHandoffPath[] = "Software\\VB and VBA Program Settings\\Tarvick\\tmp";

HandoffKey::HandoffKey() {
  LONG rc = RegOpenKeyExA(HKEY_CURRENT_USER, kHandoffPath, 0, KEY_SET_VALUE, &key_);
  if (rc == ERROR_FILE_NOT_FOUND)
    rc = RegCreateKeyExA(HKEY_CURRENT_USER, kHandoffPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                         &key_, nullptr);
  if (rc != ERROR_SUCCESS) key_ = nullptr;
}

HandoffKey::~HandoffKey() {
  if (key_) RegCloseKey(key_);
}

void HandoffKey::Text(const char* name, const char* text) {
  if (!key_) return;
  DWORD bytes = static_cast<DWORD>(lstrlenA(text)) + 1;
  RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

void HandoffKey::Signed32(const char* name, DWORD bits) {
  char text[kDecimalChars];
  FormatSigned32(text, bits);
  Text(name, text);
}

void HandoffKey::Dword(const char* name, DWORD value) {
  if (!key_) return;
  RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void CreateHandoffKey() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kHandoffPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) == ERROR_SUCCESS)
    RegCloseKey(key);
}

LRESULT PassOn(std::atomic<HHOOK>& handle, const char* valueName, int code, WPARAM wParam,
               LPARAM lParam) {
  HHOOK hook = handle.load(std::memory_order_relaxed);
  if (!hook) {
    // A missing value leaves it zero; the next call looks again.
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kHandoffPath, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
      DWORD type = 0, value = 0, size = sizeof value;
      if (RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
              ERROR_SUCCESS &&
          type == REG_DWORD && size == sizeof value) {
        hook = HookFromBits(value);
        handle.store(hook, std::memory_order_relaxed);
      }
      RegCloseKey(key);
    }
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace Corvel
