// corvel.dll: entry point and InstallMainHook. The library is mapped into
// every program on the desktop through its hooks, so nothing here may throw,
// allocate on a hook path or wait.
#include "hooklib/corvel_state_win.h"
#include "hooklib/hook_core.h"

namespace Corvel {

constinit StateBlock State{};

namespace {

struct HookSpec {
  int type;
  HOOKPROC proc;
  const char* valueName;
  std::atomic<HHOOK>* slot;
};

constinit const HookSpec kSpecs[kHookKinds] = {
    {WH_SHELL, ShellProc, kShellValue, &State.shellHook},
    {WH_SYSMSGFILTER, SysMsgFilterProc, kMsgValue, &State.msgHook},
    {WH_MOUSE, MouseProc, kMouseValue, &State.mouseHook},
};

const HookSpec& SpecOf(HookKind kind) { return kSpecs[kind]; }

class SystemHooks final : public HookHost {
 public:
  std::uintptr_t Install(HookKind kind) override {
    const HookSpec& s = SpecOf(kind);
    return reinterpret_cast<std::uintptr_t>(SetWindowsHookExA(s.type, s.proc, State.instance, 0));
  }
  void Store(HookKind kind, std::uintptr_t handle) override {
    SpecOf(kind).slot->store(reinterpret_cast<HHOOK>(handle), std::memory_order_relaxed);
  }
  void Publish(HookKind kind, std::uintptr_t handle) override {
    HandoffKey key;
    key.Dword(SpecOf(kind).valueName, HandleBits(reinterpret_cast<void*>(handle)));
  }
  bool Remove(HookKind kind) override {
    return UnhookWindowsHookEx(SpecOf(kind).slot->load(std::memory_order_relaxed)) != FALSE;
  }
};

}  // namespace
}  // namespace Corvel

// Only the instance handle: the loader lock is held here, and a registry call
// under it can hang the host program. The hand-off key is made by
// InstallMainHook and, if it goes missing, by the writers.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
  Corvel::State.instance = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) long WINAPI InstallMainHook(long owner, long install) {
  using namespace Corvel;
  State.owner = owner;
  SystemHooks hooks;
  if (!install) return RemoveHooks(hooks);
  // Before the first hook exists, so no hook procedure ever finds it missing.
  CreateHandoffKey();
  return InstallHooks(hooks);
}
