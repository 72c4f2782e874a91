// The hook procedures in another process, driven by real window creation and
// real mouse input, seen through the hand-off values and through what the
// library passed on. The values the program acts on (a new window, a click
// in a page, a chosen menu item) are proved end to end, the handles passed
// on under load; here the cases that must write nothing.
#include <gtest/gtest.h>

#include <cstdio>

#include "hook_test_util.h"

using namespace hooktest;
using namespace hookhost;
using namespace tltest;

namespace {

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

  // A click, passed on by the mouse hook for `window` before this returns.
  void ClickIn(HWND window, POINT at) {
    host_.Send(kCmdReport);
    ClickAt(at);
    EXPECT_TRUE(host_.WaitForMouse(window, WM_LBUTTONUP));
  }
  void ClickIn(HWND window) { ClickIn(window, CenterOf(window)); }

  void SetText(int id, const std::string& text) {
    ASSERT_TRUE(SendMessageA(host_.Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
  }

  // A place the host reports as "x y", once it is there.
  static POINT Reported(const std::string& name) {
    POINT p{-1, -1};
    WaitUntil([&] { return std::sscanf(Report(name.c_str()).c_str(), "%ld %ld", &p.x, &p.y) == 2; });
    return p;
  }

  Corvel corvel_;
  Host host_;
};

std::string Decimal(HWND h) { return std::to_string(static_cast<LONG>(reinterpret_cast<LONG_PTR>(h))); }

}  // namespace

TEST_F(HookProcs, ReleaseInAClientAreaAndPressInAPageButNotOnACaptionOrAToolbar) {
  POINT free{kFreeClientX, kFreeClientY};  // the main window's own client area
  ClientToScreen(host_.main(), &free);
  ClickIn(host_.main(), free);
  EXPECT_EQ(Handoff("MouseHwnd"), Decimal(host_.main()));
  EXPECT_EQ(Handoff("MouseTimeD"), "<missing>") << "a press outside a page records no address";

  SetHandoff("MouseTime", "caption");
  SetHandoff("MouseHwnd", "caption");
  RECT r = RectOf(host_.main());
  host_.Send(kCmdReport);
  ClickAt(POINT{r.left + 120, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2});
  EXPECT_TRUE(host_.WaitForMouse(host_.main(), WM_LBUTTONUP, WM_NCLBUTTONUP));
  EXPECT_EQ(Handoff("MouseTime"), "caption");
  EXPECT_EQ(Handoff("MouseHwnd"), "caption");

  // The first address field holding a colon (the first field is proved end
  // to end), from a child of the page.
  SetText(kEdit1, "no colon here");
  SetText(kEdit2, "http://second/");
  ClickIn(host_.Item(kPageChild));
  EXPECT_EQ(Handoff("MouseTimeD"), "http://second/");
  SetText(kEdit2, "plain");
  ClickIn(host_.Item(kPageChild));
  EXPECT_EQ(HandoffRaw("MouseTimeD").bytes, std::string(1, '\0')) << "none holds a colon: empty";
  EXPECT_EQ(HandoffRaw("MouseTimeD").type, static_cast<DWORD>(REG_SZ));

  SetText(kEdit1, "about:blank");
  SetHandoff("MouseTimeD", "untouched");
  ClickIn(host_.Item(kToolbar));
  EXPECT_EQ(Handoff("MouseTimeD"), "untouched");
}

TEST_F(HookProcs, AnOwnerDrawnMenuItemHasNoTextAndWritesNothing) {
  SetHandoff("MenuName", "before");
  SetHandoff("Time", "before");
  // The host's "&File" menu opened with the mouse, then the item chosen.
  const std::string item = "Item" + std::to_string(kItemOwnerDraw);
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kReportKey, item.c_str());  // written again on opening
  ClickAt(Reported("Bar0"));
  POINT at = Reported(item);
  ASSERT_GE(at.x, 0) << "the menu did not open";
  ClickAt(at);
  EXPECT_TRUE(WaitUntil(
      [&] { return host_.Send(kCmdChosen) == static_cast<LRESULT>(kFirstCommand + kItemOwnerDraw); }))
      << "the command still reaches the program";
  EXPECT_EQ(Handoff("MenuName"), "before");
  EXPECT_EQ(Handoff("Time"), "before");
}
