// The message-filter hook: menu items chosen with the mouse in another
// program's menu (the item under the cursor at the button release), and the
// item remembered from WM_MENUSELECT, driven here through CallMsgFilter.
#include <gtest/gtest.h>

#include "hook_test_util.h"

using namespace hooktest;
using namespace hookhost;
using namespace tltest;

namespace {

class MenuClicks : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetHandoff();
    ASSERT_TRUE(corvel_.Load());
    ASSERT_EQ(corvel_.Install(), 0);
  }
  void TearDown() override {
    if (corvel_.install) corvel_.Remove();
  }

  // Opens the host's "&File" menu with the mouse and chooses an item.
  void Choose(Host& host, int item) {
    // The host writes the item places afresh each time the menu opens.
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kReportKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      for (int i = 0; i < kItemCount; ++i) RegDeleteValueA(key, ("Item" + std::to_string(i)).c_str());
      RegCloseKey(key);
    }
    RECT bar = ParseRect(Report("Bar0"));
    ASSERT_LT(bar.left, bar.right) << "no menu bar";
    Click({(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2});
    std::string place;
    for (int i = 0; i < 250 && (place = Report(("Item" + std::to_string(item)).c_str())) == "<missing>"; ++i)
      Sleep(20);
    RECT r = ParseRect(place);
    ASSERT_LT(r.left, r.right) << "the menu did not open";
    Click({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    for (int i = 0; i < 250 && host.Send(kCmdChosen) != static_cast<LRESULT>(kFirstCommand + item); ++i)
      Sleep(20);
    EXPECT_EQ(host.Send(kCmdChosen), static_cast<LRESULT>(kFirstCommand + item))
        << "the command still reaches the program";
  }

  // One menu-loop message through the filter hooks, as a menu loop passes it.
  static void Filter(UINT message, WPARAM wParam, LPARAM lParam, int code = MSGF_MENU) {
    MSG m{};
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.pt = {3, 1000};  // no menu window there
    CallMsgFilterA(&m, code);
  }

  Corvel corvel_;
};

}  // namespace

TEST_F(MenuClicks, ItemChosenInAnotherProgramIsWrittenWithItsAccessKeyAndTime) {
  Host host;
  ASSERT_TRUE(host.Start());
  DWORD before = GetTickCount();
  Choose(host, kItemOpenNew);
  EXPECT_TRUE(WaitForHandoff("MenuName", kOpenNewText)) << Handoff("MenuName");
  RawValue name = HandoffRaw("MenuName");
  EXPECT_EQ(name.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(name.bytes, std::string(kOpenNewText) + '\0');
  DWORD t = static_cast<DWORD>(std::stoll(Handoff("Time")));
  EXPECT_GE(t, before);
  EXPECT_LE(t, GetTickCount());

  // A 306-character item is cut to the 255 characters the buffer holds.
  Choose(host, kItemLong);
  EXPECT_TRUE(WaitForHandoffChange("MenuName", kOpenNewText));
  EXPECT_EQ(Handoff("MenuName"), ("&Long " + std::string(300, 'x')).substr(0, 255));

  // An owner-drawn item has no text to read: nothing is written, and the
  // previous item's text is not reported again.
  SetHandoff("MenuName", "before");
  SetHandoff("Time", "before");
  Choose(host, kItemOwnerDraw);
  EXPECT_EQ(Handoff("MenuName"), "before");
  EXPECT_EQ(Handoff("Time"), "before");
  host.Send(kCmdReport);
  EXPECT_EQ(Report("Unknown"), "0");
  EXPECT_EQ(Report("MsgFirstQueryAt"), "0");
  EXPECT_EQ(Report("MsgQueries"), "1");
}

TEST_F(MenuClicks, ReleaseAwayFromAMenuUsesTheItemLastSelected) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 55, "&Remembered");
  AppendMenuA(menu, MF_STRING, 56, "Other");
  Filter(WM_MENUSELECT, MAKEWPARAM(55, MF_STRING), reinterpret_cast<LPARAM>(menu));
  Filter(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(Handoff("MenuName"), "&Remembered");
  EXPECT_NE(Handoff("Time"), "<missing>");

  // Other filter codes and messages record nothing.
  SetHandoff("MenuName", "x");
  Filter(WM_LBUTTONUP, 0, 0, MSGF_DIALOGBOX);
  Filter(WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(Handoff("MenuName"), "x");

  // The remembered item no longer exists, then the whole menu is gone.
  DeleteMenu(menu, 55, MF_BYCOMMAND);
  Filter(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(Handoff("MenuName"), "x");
  Filter(WM_MENUSELECT, MAKEWPARAM(56, MF_STRING), reinterpret_cast<LPARAM>(menu));
  DestroyMenu(menu);
  Filter(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(Handoff("MenuName"), "x");

  // A separator carries no text either.
  HMENU sep = CreatePopupMenu();
  AppendMenuA(sep, MF_SEPARATOR, 57, nullptr);
  Filter(WM_MENUSELECT, MAKEWPARAM(57, MF_SEPARATOR), reinterpret_cast<LPARAM>(sep));
  Filter(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(Handoff("MenuName"), "x");
  DestroyMenu(sep);
}
