// The hook procedures in another process, driven by real window creation and
// real mouse input, seen through the hand-off values and through what the
// library passed on.
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
    Click(at);
    EXPECT_TRUE(host_.WaitForMouse(window, WM_LBUTTONUP));
  }
  void ClickIn(HWND window) { ClickIn(window, CenterOf(window)); }
  POINT FreePoint() const { return ClientPoint(host_.main(), kFreeClientX, kFreeClientY); }

  void SetText(int id, const std::string& text) {
    ASSERT_TRUE(SendMessageA(host_.Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
  }

  // A place the host reports as "x y", once it is there.
  static POINT Reported(const std::string& name) {
    POINT p{-1, -1};
    WaitUntil([&] { return std::sscanf(Report(name.c_str()).c_str(), "%ld %ld", &p.x, &p.y) == 2; });
    return p;
  }

  // Opens the host's "&File" menu with the mouse and chooses an item.
  void Choose(int item) {
    std::string name = "Item" + std::to_string(item);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kReportKey, name.c_str());  // written again on opening
    Click(Reported("Bar0"));
    POINT at = Reported(name);
    ASSERT_GE(at.x, 0) << "the menu did not open";
    Click(at);
    EXPECT_TRUE(WaitUntil([&] { return host_.Send(kCmdChosen) == static_cast<LRESULT>(kFirstCommand + item); }))
        << "the command still reaches the program";
  }

  static void ExpectTickText(const char* name, DWORD before, DWORD after) {
    RawValue v = HandoffRaw(name);
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_SZ)) << name;
    long long t = std::atoll(v.bytes.c_str());
    EXPECT_EQ(v.bytes, std::to_string(t) + '\0') << name << ": signed decimal";
    EXPECT_GE(static_cast<DWORD>(t), before) << name;
    EXPECT_LE(static_cast<DWORD>(t), after) << name;
  }

  Corvel corvel_;
  Host host_;
};

std::string Decimal(HWND h) { return std::to_string(static_cast<LONG>(reinterpret_cast<LONG_PTR>(h))); }

}  // namespace

TEST_F(HookProcs, AnotherProcessReadsEachHandleOnFirstCallPassesEventsOnAndRecordsNewWindows) {
  ASSERT_TRUE(host_.Send(kCmdNewTop));
  ClickIn(host_.main(), FreePoint());  // passed on as it came: the release and the window

  SetHandoff("NewWin", "0");
  DWORD before = GetTickCount();
  HWND top = reinterpret_cast<HWND>(host_.Send(kCmdNewTop));
  ASSERT_TRUE(top);
  EXPECT_EQ(HandoffRaw("NewWin").bytes, std::string("1\0", 2));
  EXPECT_EQ(HandoffRaw("NewWin").type, static_cast<DWORD>(REG_SZ));
  ExpectTickText("WinTime", before, GetTickCount());

  host_.Send(kCmdReport);
  for (std::string kind : {"Shell", "Mouse"}) {
    EXPECT_EQ(Report((kind + "FirstQueryAt").c_str()), "0") << kind << ": the first call found no handle";
    EXPECT_EQ(Report((kind + "Queries").c_str()), "1") << kind << ": and read it once";
    EXPECT_GE(std::stoi(Report((kind + "Calls").c_str())), 2) << kind;
  }
  EXPECT_EQ(Report("Unknown"), "0") << "every call passed on the installer's handle";
  EXPECT_EQ(Report("ShellLast"), "1 " + std::to_string(reinterpret_cast<LONG_PTR>(top)))
      << "HSHELL_WINDOWCREATED and the new window, unchanged";
}

TEST_F(HookProcs, ReleaseInAClientAreaAndPressInAPageButNotOnACaptionOrAToolbar) {
  DWORD before = GetTickCount();
  ClickIn(host_.main(), FreePoint());
  EXPECT_EQ(Handoff("MouseHwnd"), Decimal(host_.main()));
  ExpectTickText("MouseTime", before, GetTickCount());
  EXPECT_EQ(Handoff("MouseTimeD"), "<missing>") << "a press outside a page records no address";

  SetHandoff("MouseTime", "caption");
  SetHandoff("MouseHwnd", "caption");
  RECT r;
  GetWindowRect(host_.main(), &r);
  host_.Send(kCmdReport);
  Click({r.left + 120, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2});
  EXPECT_TRUE(host_.WaitForMouse(host_.main(), WM_LBUTTONUP, WM_NCLBUTTONUP));
  EXPECT_EQ(Handoff("MouseTime"), "caption");
  EXPECT_EQ(Handoff("MouseHwnd"), "caption");

  // The first address field holding a colon, from the page or a child of it.
  SetText(kEdit1, "about:blank");
  ClickIn(host_.Item(kPage), ClientPoint(host_.Item(kPage), 400, 250));
  EXPECT_EQ(Handoff("MouseTimeD"), "about:blank");
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

TEST_F(HookProcs, MenuItemChosenWithTheMouseIsWrittenWithItsAccessKeyAndTime) {
  DWORD before = GetTickCount();
  Choose(kItemOpenNew);
  EXPECT_TRUE(WaitUntil([] { return Handoff("MenuName") == kOpenNewText; })) << Handoff("MenuName");
  EXPECT_EQ(HandoffRaw("MenuName").bytes, std::string(kOpenNewText) + '\0');
  ExpectTickText("Time", before, GetTickCount());

  // An owner-drawn item has no text to read: nothing is written, and the
  // previous item's text is not reported again.
  SetHandoff("MenuName", "before");
  SetHandoff("Time", "before");
  Choose(kItemOwnerDraw);
  EXPECT_EQ(Handoff("MenuName"), "before");
  EXPECT_EQ(Handoff("Time"), "before");
  host_.Send(kCmdReport);
  EXPECT_EQ(Report("MsgFirstQueryAt"), "0");
  EXPECT_EQ(Report("MsgQueries"), "1");
  EXPECT_EQ(Report("Unknown"), "0");
}
