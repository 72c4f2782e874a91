// Per-process state of corvel.dll and the registry hand-off it shares with
// the program and with its own copies in other processes.
#pragma once
#include <windows.h>

#include <atomic>

namespace Corvel {

// One per process that maps the library, zero at load. Only the installing
// process knows the hook handles from the start; the others read them from
// the hand-off key on their first hook call.
struct StateBlock {
  HINSTANCE instance;
  LONG owner;  // the window InstallMainHook was last given; read by nothing
  std::atomic<HHOOK> shellHook;
  std::atomic<HHOOK> msgHook;
  std::atomic<HHOOK> mouseHook;
};
extern constinit StateBlock State;

extern const char kHandoffPath[];  // under HKEY_CURRENT_USER
// The REG_DWORD values holding the three hook handles.
inline constexpr char kShellValue[] = "hHook_shell";
inline constexpr char kMsgValue[] = "hHook_msg";
inline constexpr char kMouseValue[] = "hHook_mouse";

// The hand-off key opened for writing for one event, created first when
// someone deleted it. Every write is one RegSetValueExA; failures are ignored.
class HandoffKey {
 public:
  HandoffKey();
  ~HandoffKey();
  HandoffKey(const HandoffKey&) = delete;
  HandoffKey& operator=(const HandoffKey&) = delete;

  void Text(const char* name, const char* text);
  void Signed32(const char* name, DWORD bits);  // tick counts and window handles
  void Dword(const char* name, DWORD value);

 private:
  HKEY key_ = nullptr;
};

// Creates the hand-off key if it does not exist yet.
void CreateHandoffKey();

// The hook handle of this process, read from its REG_DWORD value while the
// copy here is still zero, then passed on with the event unchanged.
LRESULT PassOn(std::atomic<HHOOK>& handle, const char* valueName, int code, WPARAM wParam,
               LPARAM lParam);

// Hook handles carry 32 significant bits; they widen by sign extension.
inline DWORD HandleBits(const void* handle) {
  return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(handle));
}
inline HHOOK HookFromBits(DWORD bits) {
  return reinterpret_cast<HHOOK>(static_cast<LONG_PTR>(static_cast<LONG>(bits)));
}

// Class name of a window ("" when it has none or is gone), in a per-process
// buffer that the next call overwrites.
const char* ClassNameOf(HWND window);
// For a window of a browser page (class "Internet Explorer_Server", or a
// child of one) and not a toolbar: true, with out the text of the first
// "Edit" of its top-level window that holds a colon ("" when none does).
bool GetBrowserURL(HWND window, const char*& out);
BOOL CALLBACK EnumEditProc(HWND child, LPARAM);

// The hook procedures, set by InstallMainHook.
LRESULT CALLBACK ShellProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SysMsgFilterProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam);

}  // namespace Corvel
