// The shell and mouse hook procedures in another process, driven by real
// window creation and real mouse input, seen through the hand-off values and
// through what the library passed on.
#include <gtest/gtest.h>

#include "hook_test_util.h"

using namespace hooktest;
using namespace hookhost;
using namespace tltest;

namespace {

std::string Decimal(HWND h) {
  return std::to_string(static_cast<LONG>(reinterpret_cast<LONG_PTR>(h)));
}

// Installed by this process; the host runs with the probe watching.
class HookProcs : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetHandoff();
    ASSERT_TRUE(corvel_.Load());
    ASSERT_EQ(corvel_.Install(), 0);
    ASSERT_TRUE(host_.Start());
  }
  void TearDown() override {
    if (corvel_.install) corvel_.Remove();
  }

  // A press in `window`, passed on by the mouse hook before this returns.
  void PressIn(HWND window, POINT at) {
    long mark = host_.MouseCalls();
    Press(at);
    Release(at);
    EXPECT_TRUE(host_.WaitForMouse(WM_LBUTTONDOWN, window, mark)) << Report("MouseHistory");
    EXPECT_TRUE(host_.WaitForMouse(WM_LBUTTONUP, window, mark)) << Report("MouseHistory");
  }
  void PressIn(HWND window) { PressIn(window, Center(window)); }

  void SetText(int id, const std::string& text) {
    ASSERT_TRUE(SendMessageA(host_.Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
  }

  Corvel corvel_;
  Host host_;
};

}  // namespace

TEST_F(HookProcs, AnotherProcessLoadsEachHandleOnceAndPassesEventsOn) {
  HWND top = reinterpret_cast<HWND>(host_.Send(kCmdNewTop, 1));
  ASSERT_TRUE(top);
  long mark = host_.MouseCalls();
  Click(ClientPoint(host_.main(), kFreeClientX, kFreeClientY));
  // Passed on as it came: the release, the window and the hit-test code.
  ASSERT_TRUE(host_.WaitForMouse(WM_LBUTTONUP, host_.main(), mark));
  HWND second = reinterpret_cast<HWND>(host_.Send(kCmdNewTop, 1));
  ASSERT_TRUE(second);
  host_.Send(kCmdReport);

  for (const char* kind : {"Shell", "Mouse"}) {
    std::string k = kind;
    EXPECT_EQ(Report((k + "FirstQueryAt").c_str()), "0") << "the first call found no handle";
    EXPECT_EQ(Report((k + "Queries").c_str()), "1") << "and read it once";
    EXPECT_GE(std::stoi(Report((k + "Calls").c_str())), 2) << kind;
  }
  EXPECT_EQ(Report("Unknown"), "0") << "every call passed on the installer's handle";
  EXPECT_EQ(Report("ShellLast"), "1 " + std::to_string(reinterpret_cast<LONG_PTR>(second)))
      << "HSHELL_WINDOWCREATED and the new window, unchanged";
}

TEST_F(HookProcs, WindowCreationWritesNewWinAndItsTime) {
  SetHandoff("NewWin", "0");
  DWORD before = GetTickCount();
  HWND top = reinterpret_cast<HWND>(host_.Send(kCmdNewTop, 1));
  DWORD after = GetTickCount();
  ASSERT_TRUE(top);
  RawValue flag = HandoffRaw("NewWin");
  EXPECT_EQ(flag.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(flag.bytes, std::string("1\0", 2));
  RawValue time = HandoffRaw("WinTime");
  EXPECT_EQ(time.type, static_cast<DWORD>(REG_SZ));
  long long t = std::stoll(time.bytes);
  EXPECT_GE(static_cast<DWORD>(t), before);
  EXPECT_LE(static_cast<DWORD>(t), after);
  EXPECT_EQ(time.bytes, std::to_string(t) + '\0');

  SetHandoff("NewWin", "0");
  ASSERT_TRUE(host_.Send(kCmdDestroy, 0, reinterpret_cast<LPARAM>(top)));
  EXPECT_EQ(Handoff("NewWin"), "0") << "a window going away is not news";
  ASSERT_TRUE(host_.Send(kCmdNewTop, 0));
  EXPECT_EQ(Handoff("NewWin"), "1") << "a hidden one counts too";
}

TEST_F(HookProcs, ReleaseInAClientAreaWritesTimeAndWindowButNotOnACaption) {
  DWORD before = GetTickCount();
  PressIn(host_.main(), ClientPoint(host_.main(), kFreeClientX, kFreeClientY));
  EXPECT_EQ(Handoff("MouseHwnd"), Decimal(host_.main()));
  RawValue time = HandoffRaw("MouseTime");
  EXPECT_EQ(time.type, static_cast<DWORD>(REG_SZ));
  EXPECT_GE(static_cast<DWORD>(std::stoll(time.bytes)), before);
  EXPECT_EQ(Handoff("MouseTimeD"), "<missing>") << "a press outside a page records no address";

  HWND child = host_.Item(kPageChild);
  PressIn(child);
  EXPECT_EQ(Handoff("MouseHwnd"), Decimal(child));

  SetHandoff("MouseTime", "caption");
  SetHandoff("MouseHwnd", "caption");
  RECT r;
  GetWindowRect(host_.main(), &r);
  POINT caption{r.left + 120, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  long mark = host_.MouseCalls();
  Click(caption);
  EXPECT_TRUE(host_.WaitForMouse(WM_LBUTTONUP, host_.main(), mark, 3000) ||
              host_.WaitForMouse(WM_NCLBUTTONUP, host_.main(), mark, 100))
      << Report("MouseHistory");
  EXPECT_EQ(Handoff("MouseTime"), "caption");
  EXPECT_EQ(Handoff("MouseHwnd"), "caption");
}

TEST_F(HookProcs, PressInAPageRecordsTheFirstAddressFieldWithAColon) {
  SetText(kEdit1, "about:blank");
  PressIn(host_.Item(kPage), ClientPoint(host_.Item(kPage), 400, 250));
  EXPECT_EQ(Handoff("MouseTimeD"), "about:blank");

  // A child of the page counts as the page.
  SetText(kEdit1, "no colon here");
  SetText(kEdit2, "http://second/");
  SetText(kEdit3, "http://third/");
  PressIn(host_.Item(kPageChild));
  EXPECT_EQ(Handoff("MouseTimeD"), "http://second/");

  // Deeper in the tree is searched too.
  SetText(kEdit2, "");
  PressIn(host_.Item(kPageChild));
  EXPECT_EQ(Handoff("MouseTimeD"), "http://third/");

  // No field holds a colon: the address is written empty.
  SetText(kEdit3, "plain");
  PressIn(host_.Item(kPageChild));
  RawValue v = HandoffRaw("MouseTimeD");
  EXPECT_EQ(v.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(v.bytes, std::string(1, '\0'));
}

TEST_F(HookProcs, ToolbarsAndOtherWindowsRecordNoAddress) {
  SetText(kEdit1, "about:blank");
  SetHandoff("MouseTimeD", "untouched");
  PressIn(host_.Item(kToolbar));
  PressIn(host_.Item(kEdit2));
  PressIn(host_.main(), ClientPoint(host_.main(), kFreeClientX, kFreeClientY));
  EXPECT_EQ(Handoff("MouseTimeD"), "untouched");
}

TEST_F(HookProcs, LongAddressIsCutToTheBufferAndAHungFieldDoesNotHoldTheHost) {
  std::string address = "http://" + std::string(1500, 'a');
  SetText(kEdit1, address);
  PressIn(host_.Item(kPageChild));
  EXPECT_EQ(Handoff("MouseTimeD"), address.substr(0, 1023));

  // A field owned by a thread that never answers is skipped, quickly.
  SetText(kEdit1, "");
  ASSERT_TRUE(host_.Send(kCmdHungEdit));
  SetHandoff("MouseTimeD", "untouched");
  DWORD start = GetTickCount();
  PressIn(host_.Item(kPageChild));
  EXPECT_LT(GetTickCount() - start, 2000u);
  EXPECT_EQ(Handoff("MouseTimeD"), "");
  DWORD_PTR r;
  EXPECT_TRUE(SendMessageTimeoutA(host_.main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &r));
}
