// InstallMainHook in the installing process: the three handles it publishes
// (the result codes of a refused hook are proved in the core tests).
#include <gtest/gtest.h>

#include <vector>

#include "hook_test_util.h"
#include "iat_patch.h"

using namespace hooktest;
using namespace tltest;

namespace {

// What the library asked SetWindowsHookExA for, and what it got.
std::vector<std::pair<int, HHOOK>> gInstalled;
decltype(&SetWindowsHookExA) gRealSetHook;

HHOOK WINAPI WatchSetHook(int type, HOOKPROC proc, HINSTANCE instance, DWORD thread) {
  HHOOK h = gRealSetHook(type, proc, instance, thread);
  gInstalled.push_back({type, h});
  return h;
}

void LoadWatched(Corvel& c) {
  ForgetHandoff();
  ASSERT_TRUE(c.Load());
  gRealSetHook = reinterpret_cast<decltype(gRealSetHook)>(
      PatchImport(c.lib, "user32.dll", "SetWindowsHookExA", reinterpret_cast<void*>(WatchSetHook)));
  ASSERT_NE(gRealSetHook, nullptr);
}

std::string DwordBytes(HHOOK h) {
  DWORD bits = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(h));
  return std::string(reinterpret_cast<const char*>(&bits), 4);
}

}  // namespace

TEST(Install, PublishesTheThreeHookHandlesThenRemovalGivesZeroAndAfterThatThree) {
  Corvel c;
  LoadWatched(c);
  HKEY key;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kHandoffKey, 0, KEY_READ, &key), ERROR_SUCCESS)
      << "loading the library must not touch the registry";

  EXPECT_EQ(c.Install(), 0);
  const int types[] = {WH_SHELL, WH_SYSMSGFILTER, WH_MOUSE};
  const char* names[] = {"hHook_shell", "hHook_msg", "hHook_mouse"};
  ASSERT_EQ(gInstalled.size(), 3u);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(gInstalled[k].first, types[k]);
    RawValue v = HandoffRaw(names[k]);
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_DWORD)) << names[k];
    EXPECT_EQ(v.bytes, DwordBytes(gInstalled[k].second)) << names[k];
  }
  EXPECT_EQ(c.Remove(), 0);
  EXPECT_EQ(c.Remove(), 3) << "the stored handles are gone from the system by now";
}
