#include "hooklib/hook_core.h"

namespace Corvel {

long InstallHooks(HookHost& host) {
  for (int k = kShellHook; k < kHookKinds; ++k) {
    auto kind = static_cast<HookKind>(k);
    std::uintptr_t handle = host.Install(kind);
    host.Store(kind, handle);
    if (!handle) return k + 1;  // no rollback: the earlier hooks stay
    host.Publish(kind, handle);
  }
  return 0;
}

long RemoveHooks(HookHost& host) {
  long result = 0;
  for (int k = kShellHook; k < kHookKinds; ++k) {
    if (!host.Remove(static_cast<HookKind>(k))) result = k + 1;
  }
  return result;
}

std::size_t FormatSigned32(char (&out)[kDecimalChars], std::uint32_t bits) {
  // Work on the magnitude as unsigned so INT32_MIN needs no special case.
  bool negative = (bits & 0x80000000u) != 0;
  std::uint32_t magnitude = negative ? 0u - bits : bits;
  char digits[10];
  std::size_t n = 0;
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  std::size_t len = 0;
  if (negative) out[len++] = '-';
  while (n) out[len++] = digits[--n];
  out[len] = '\0';
  return len;
}

std::size_t CopyBounded(char* out, std::size_t capacity, const char* text) {
  if (!capacity) return 0;
  std::size_t n = 0;
  while (n + 1 < capacity && text[n]) {
    out[n] = text[n];
    ++n;
  }
  out[n] = '\0';
  return n;
}

bool ContainsColon(const char* text) {
  for (; *text; ++text)
    if (*text == ':') return true;
  return false;
}

bool SameText(const char* a, const char* b) {
  for (; *a && *a == *b; ++a, ++b) {
  }
  return *a == *b;
}

}  // namespace Corvel
