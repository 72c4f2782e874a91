// InstallMainHook in the installing process: its result codes, the three
// handles it publishes, and what another process does with them.
#include <gtest/gtest.h>

#include <vector>

#include "hook_test_util.h"
#include "iat_patch.h"

using namespace hooktest;
using namespace tltest;

namespace {

// What the library asked SetWindowsHookExA for, and what it got.
struct Installed {
  int type;
  HHOOK handle;
};
std::vector<Installed> gInstalled;
decltype(&SetWindowsHookExA) gRealSetHook;
int gRefuse = -1;  // a hook type the system "refuses"

HHOOK WINAPI WatchSetHook(int type, HOOKPROC proc, HINSTANCE instance, DWORD thread) {
  if (type == gRefuse) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  HHOOK h = gRealSetHook(type, proc, instance, thread);
  gInstalled.push_back({type, h});
  return h;
}

void WatchInstalls(const Corvel& c) {
  gRealSetHook = reinterpret_cast<decltype(gRealSetHook)>(
      PatchImport(c.lib, "user32.dll", "SetWindowsHookExA", reinterpret_cast<void*>(WatchSetHook)));
  ASSERT_NE(gRealSetHook, nullptr);
}

std::string DwordBytes(HHOOK h) {
  DWORD bits = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(h));
  return std::string(reinterpret_cast<const char*>(&bits), 4);
}

}  // namespace

TEST(Install, PublishesTheThreeHandlesAndRemovesThem) {
  ForgetHandoff();
  Corvel c;
  ASSERT_TRUE(c.Load());
  EXPECT_FALSE(HandoffKeyExists()) << "loading the library must not touch the registry";
  WatchInstalls(c);

  EXPECT_EQ(c.Install(), 0);
  ASSERT_EQ(gInstalled.size(), 3u);
  EXPECT_EQ(gInstalled[0].type, WH_SHELL);
  EXPECT_EQ(gInstalled[1].type, WH_SYSMSGFILTER);
  EXPECT_EQ(gInstalled[2].type, WH_MOUSE);
  const char* names[] = {"hHook_shell", "hHook_msg", "hHook_mouse"};
  for (int k = 0; k < 3; ++k) {
    RawValue v = HandoffRaw(names[k]);
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_DWORD)) << names[k];
    EXPECT_EQ(v.bytes, DwordBytes(gInstalled[k].handle)) << names[k];
  }

  EXPECT_EQ(c.Remove(), 0);
  for (int k = 0; k < 3; ++k)
    EXPECT_EQ(HandoffRaw(names[k]).bytes, DwordBytes(gInstalled[k].handle)) << "left as it was";
  EXPECT_EQ(c.Remove(), 3) << "the stored handles are gone from the system by now";
}

TEST(Install, RemovingWhatWasNeverInstalledGivesThree) {
  Corvel c;
  ASSERT_TRUE(c.Load());
  EXPECT_EQ(c.Remove(), 3);
}

TEST(Install, RefusedMouseHookGivesThreeAndKeepsTheOtherTwoWorking) {
  ForgetHandoff();
  WriteRaw(HKEY_CURRENT_USER, kHandoffKey, "hHook_mouse", REG_DWORD, std::string("\x2a\0\0\0", 4));
  Corvel c;
  ASSERT_TRUE(c.Load());
  WatchInstalls(c);
  gRefuse = WH_MOUSE;

  EXPECT_EQ(c.Install(), 3);
  ASSERT_EQ(gInstalled.size(), 2u);
  EXPECT_EQ(HandoffRaw("hHook_shell").bytes, DwordBytes(gInstalled[0].handle));
  EXPECT_EQ(HandoffRaw("hHook_msg").bytes, DwordBytes(gInstalled[1].handle));
  EXPECT_EQ(HandoffRaw("hHook_mouse").bytes, std::string("\x2a\0\0\0", 4)) << "not written";

  // The shell hook is live in another process; the mouse hook is not.
  Host host;
  ASSERT_TRUE(host.Start(false));
  SetHandoff("NewWin", "0");
  SetHandoff("MouseTime", "none");
  HWND top = reinterpret_cast<HWND>(host.Send(hookhost::kCmdNewTop, 1));
  ASSERT_TRUE(top);
  EXPECT_TRUE(WaitForHandoff("NewWin", "1"));
  Click(ClientPoint(host.main(), hookhost::kFreeClientX, hookhost::kFreeClientY));
  Sleep(300);
  EXPECT_EQ(Handoff("MouseTime"), "none");

  EXPECT_EQ(c.Remove(), 3) << "the mouse handle is zero";
  SetHandoff("NewWin", "0");
  ASSERT_TRUE(host.Send(hookhost::kCmdNewTop, 1));
  EXPECT_EQ(Handoff("NewWin"), "0") << "the shell hook was removed all the same";
}

TEST(Install, TheKeyIsMadeBeforeTheHooksAndAgainByAWriterWhenMissing) {
  ForgetHandoff();
  Corvel c;
  ASSERT_TRUE(c.Load());
  ASSERT_EQ(c.Install(), 0);
  EXPECT_TRUE(HandoffKeyExists());

  Host host;
  ASSERT_TRUE(host.Start(false));
  ForgetHandoff();
  ASSERT_TRUE(host.Send(hookhost::kCmdNewTop, 1));
  EXPECT_EQ(Handoff("NewWin"), "1") << "the shell hook made the key again";
  EXPECT_EQ(c.Remove(), 0);
}
