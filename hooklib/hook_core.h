// The platform-free part of corvel.dll: the result codes of installing and
// removing the hooks, and the fixed-buffer text helpers the hook procedures
// use. Nothing here allocates, throws or keeps state.
#pragma once
#include <cstddef>
#include <cstdint>

namespace Corvel {

enum HookKind : int { kShellHook = 0, kMsgHook = 1, kMouseHook = 2, kHookKinds = 3 };

// What installing and removing touch; the DLL implements it with the real
// hook and registry calls.
class HookHost {
 public:
  // Sets the system-wide hook of this kind; 0 when the system refuses it.
  virtual std::uintptr_t Install(HookKind kind) = 0;
  // Keeps the handle in the per-process state (0 included).
  virtual void Store(HookKind kind, std::uintptr_t handle) = 0;
  // Hands the handle to the other processes.
  virtual void Publish(HookKind kind, std::uintptr_t handle) = 0;
  // Removes the stored hook of this kind; false when that fails.
  virtual bool Remove(HookKind kind) = 0;

 protected:
  ~HookHost() = default;
};

// Shell, message-filter, mouse in turn; stops at the first refusal with
// 1, 2 or 3 and leaves the hooks before it in place. 0 when all three hold.
long InstallHooks(HookHost& host);
// Always tries all three; the last failure (1, 2 or 3) is the result, 0 if none.
long RemoveHooks(HookHost& host);

// Longest signed 32-bit decimal ("-2147483648") plus its NUL.
constexpr std::size_t kDecimalChars = 12;
// Writes the bit pattern as a signed 32-bit decimal, so tick counts past
// 2147483647 come out negative as the reader expects. Returns the length.
std::size_t FormatSigned32(char (&out)[kDecimalChars], std::uint32_t bits);

// Copies at most capacity - 1 characters and always ends with a NUL.
// Returns the characters copied. capacity 0 writes nothing.
std::size_t CopyBounded(char* out, std::size_t capacity, const char* text);

// Ends the text within the buffer's last byte, whatever a system call left.
inline void TerminateWithin(char* buffer, std::size_t capacity) {
  if (capacity) buffer[capacity - 1] = '\0';
}

bool ContainsColon(const char* text);
bool SameText(const char* a, const char* b);  // exact, case-sensitive

}  // namespace Corvel
