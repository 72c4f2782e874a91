// The manager page and the browser dialog in-process, hosted in a plain
// window and driven through their real controls; boxes answered by their
// buttons from another thread; the "PopUp" section read back raw.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <thread>

#include "app/list_view_win.h"
#include "app/program_win.h"
#include "popup/pop_blocker_win.h"
#include "popup/pop_up_frm_win.h"
#include "tests/core/popup/pop_record.h"
#include "win_test_util.h"

using namespace tltest;
using Page = PopUpFrm;

namespace {

const std::string kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

class ManagerPage : public ::testing::Test {
 protected:
  ModPop::PopupBlocker blocker;
  Page page;
  HWND host = nullptr;

  void SetUp() override {
    ModMain::InitProcessValues();
    ModMain::Prog().ProgramFolder = MakeTempDir("manager");
    DeleteKeyTree(HKEY_CURRENT_USER, SettingsKey("PopUp"));
    host = CreateWindowExA(0, "STATIC", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 460, 320,
                           nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    page.Destroy();
    DestroyWindow(host);
  }
  // The stored browsers, then the page on them.
  void Start(std::initializer_list<const char*> paths) {
    for (const char* p : paths) blocker.Browsers.emplace_back().Path = p;
    blocker.SavePopupLists();
    blocker.LoadPopupLists();
    ASSERT_TRUE(page.Create(host, blocker));
    ShowWindow(page.hwnd(), SW_SHOW);
    Pump();
  }
  HWND Item(int id) { return GetDlgItem(page.hwnd(), id); }
  void Click(HWND parent, int id) { SendMessageA(GetDlgItem(parent, id), BM_CLICK, 0, 0); }
  std::string Cell(int listId, int row, int col) { return tl::ListViewText(Item(listId), row, col); }
  int Rows(int listId) { return static_cast<int>(SendMessageA(Item(listId), LVM_GETITEMCOUNT, 0, 0)); }
  // Selects (or with state 0 unselects) a row, -1: every row.
  void Select(HWND list, int row, UINT state = LVIS_SELECTED | LVIS_FOCUSED) {
    LVITEMA st{};
    st.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    st.state = state;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&st));
  }
  // A press (or a double click) and a release at the centre of r, a rectangle
  // of the control asked for with `query` and `index`.
  static void ClickItem(HWND control, UINT query, WPARAM index, RECT r = {}, UINT down = WM_LBUTTONDOWN) {
    SendMessageA(control, query, index, reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(control, down, MK_LBUTTON, at);
    SendMessageA(control, WM_LBUTTONUP, 0, at);
  }
  std::string Clipboard() {
    std::string s;
    if (!OpenClipboard(nullptr)) return "<closed>";
    if (HANDLE h = GetClipboardData(CF_TEXT))
      if (const char* p = static_cast<const char*>(GlobalLock(h))) {
        s = p;
        GlobalUnlock(h);
      }
    CloseClipboard();
    return s;
  }
  AddBrowserFrm& Dialog() { return *page.BrowserDialog(); }
};

}  // namespace

TEST_F(ManagerPage, RemoveAsksFirstAndRemovesTheEntryTheSortedRowShows) {
  Start({"C:\\b\\zeta.exe", "C:\\a\\alpha.exe", "C:\\c\\mid.exe"});
  ASSERT_EQ(Rows(Page::IDC_POPUPFRM_BROWSERSLST), 3);
  auto before = Section("PopUp");

  // No row selected: the question is still asked; Yes changes and stores nothing.
  auto remove = [&] { Click(page.hwnd(), Page::IDC_POPUPFRM_BROWSERSDELBTN); };
  MessageBoxInfo box = AnsweringBoxes("&Yes", remove);
  EXPECT_EQ(box.text, "Are you sure you want to remove the selected items?");
  EXPECT_EQ(box.buttons, (std::vector<std::string>{"&Yes", "&No"}));
  EXPECT_EQ(box.defaultButton, "&No");
  EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_QUESTION));
  EXPECT_EQ(Section("PopUp"), before);

  // The first click on "Browser Path" sorts descending: row 0 is entry 2.
  HWND list = Item(Page::IDC_POPUPFRM_BROWSERSLST);
  ClickItem(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMRECT, 1);
  ASSERT_EQ(Cell(Page::IDC_POPUPFRM_BROWSERSLST, 0, 1), "C:\\c\\mid.exe");
  Select(list, 0);
  AnsweringBoxes("&No", remove);
  EXPECT_EQ(Section("PopUp"), before);
  AnsweringBoxes("&Yes", remove);
  auto after = Section("PopUp");
  EXPECT_EQ(after["BrowsersLst_Total"], RegSz("2"));
  EXPECT_EQ(after["Browsers(0).Path"], RegSz("C:\\b\\zeta.exe"));
  EXPECT_EQ(after["Browsers(1).Path"], RegSz("C:\\a\\alpha.exe"));
  // The list keeps its order after the reload.
  ASSERT_EQ(Rows(Page::IDC_POPUPFRM_BROWSERSLST), 2);
  EXPECT_EQ(Cell(Page::IDC_POPUPFRM_BROWSERSLST, 0, 1), "C:\\b\\zeta.exe");

  // Modify with nothing selected opens nothing.
  Click(page.hwnd(), Page::IDC_POPUPFRM_BROWSERSMODIBTN);
  EXPECT_EQ(page.BrowserDialog(), nullptr);
}

// The rows and the counter on F5 are proved on the running program.
TEST_F(ManagerPage, BlockedRowsCopyAndReset) {
  ModMain::Prog().Store.Write(tl::kAppTitle, "PopUp", "TotalBlockCnt", "7");
  ModMain::Prog().Store.Write(tl::kAppTitle, "PopUp", "TotalBlockSince", "01/02/2003");
  Start({});
  HWND list = Item(Page::IDC_POPUPFRM_BLOCKEDWNDLST);
  HWND untitled = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND titled = CreateWindowExA(0, "STATIC", "Win a prize", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  blocker.CurrentURL = "http://ads.test/a";
  blocker.ClosePopupAndLog(untitled, "C:\\nowhere\\browser.exe", "");
  blocker.CurrentURL = "http://ads.test/b";
  blocker.ClosePopupAndLog(titled, "C:\\nowhere\\browser.exe", "Win a prize");
  ASSERT_EQ(Rows(Page::IDC_POPUPFRM_BLOCKEDWNDLST), 2);

  // Copy: "(none)" is followed by "(" at once; nothing selected empties the clipboard.
  Select(list, 0);
  SendMessageA(page.hwnd(), WM_COMMAND, Page::IDM_POPUPFRM_MNUBLOCKEDCOPY, 0);
  EXPECT_EQ(Clipboard(), "(none)(http://ads.test/a)\r\n");
  Select(list, -1, 0);
  SendMessageA(page.hwnd(), WM_COMMAND, Page::IDM_POPUPFRM_MNUBLOCKEDCOPY, 0);
  EXPECT_EQ(Clipboard(), "");

  // A real right click on a row opens the list's menu ("&Send To White List"
  // hidden); its Copy works on the row the click selected.
  std::vector<std::string> items;
  std::atomic<bool> done{false};
  std::thread user([&] {
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }, 10000);
    HMENU h = menu ? reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)) : nullptr;
    for (int i = 0; h && i < GetMenuItemCount(h); ++i) {
      char text[64] = {};
      GetMenuStringA(h, i, text, sizeof text, MF_BYPOSITION);
      items.push_back(text);
    }
    PressKeys({'C'});
    done = true;
  });
  SetForegroundWindow(host);
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  SendMessageA(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  POINT at{row.left + 20, (row.top + row.bottom) / 2};
  ClientToScreen(list, &at);
  ClickAt(at, MOUSEEVENTF_RIGHTDOWN);
  const std::string copied = "Win a prize(http://ads.test/b)\r\n";
  while (!done) Pump(20);  // the menu runs in this thread
  WaitUntil([&] { return Clipboard() == copied; }, 2000, /*pump=*/true);
  user.join();
  EXPECT_EQ(items, (std::vector<std::string>{"&Copy Name\\URL", "&Goto URL"}));
  EXPECT_EQ(Clipboard(), copied);

  // Reset: No keeps the stored counter; Yes shows today's date and 0 at once and stores them.
  auto reset = [&] { Click(page.hwnd(), Page::IDC_POPUPFRM_RESETBTN); };
  EXPECT_EQ(AnsweringBoxes("&No", reset).text, "Are you sure you want to reset pop-ups counter?");
  EXPECT_EQ(Setting("PopUp", "TotalBlockCnt"), "9");
  AnsweringBoxes("&Yes", reset);
  char today[64] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, today, sizeof today);
  EXPECT_EQ(TextOf(Item(Page::IDC_POPUPFRM_TOTALBLOCKCNTLBL)), "0");
  EXPECT_EQ(TextOf(Item(Page::IDC_POPUPFRM_TOTALBLOCKSINCELBL)), today);
  auto stored = Section("PopUp");
  EXPECT_EQ(stored["TotalBlockCnt"], RegSz("0"));
  EXPECT_EQ(stored["TotalBlockSince"], RegSz(today));
  DestroyWindow(untitled);
  DestroyWindow(titled);
}

TEST_F(ManagerPage, AddRefusesACaseOnlyDuplicateAndStoresWhatWasTyped) {
  Start({"C:\\Apps\\Web.exe"});
  Click(page.hwnd(), Page::IDC_POPUPFRM_BROWSERSADDBTN);
  HWND dlg = Dialog().hwnd();
  ASSERT_TRUE(dlg && IsWindowVisible(dlg));

  SetDlgItemTextA(dlg, IDC_ADDBROWSERFRM_BROWSERPATHTXT, "c:\\apps\\WEB.EXE");
  auto add = [&] { Click(dlg, IDC_ADDBROWSERFRM_OKBTN); };
  MessageBoxInfo box = AnsweringBoxes("OK", add);
  EXPECT_EQ(box.text, "The browser already exists");
  EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_EXCLAMATION));
  EXPECT_TRUE(IsWindowVisible(dlg));
  EXPECT_EQ(Setting("PopUp", "BrowsersLst_Total"), "1");

  // Options hidden with the box cleared, yet the chosen one is stored.
  SetDlgItemTextA(dlg, IDC_ADDBROWSERFRM_BROWSERPATHTXT, "C:\\Other\\b.exe ");
  SetDlgItemTextA(dlg, IDC_ADDBROWSERFRM_MENUNAMETXT0, "Open in New Window");
  Click(dlg, IDC_ADDBROWSERFRM_HIDEPOPOPT0);
  Click(dlg, IDC_ADDBROWSERFRM_POPDISNOTFCHK);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, IDC_ADDBROWSERFRM_HIDEPOPOPT0)));
  Click(dlg, IDC_ADDBROWSERFRM_OKBTN);
  EXPECT_FALSE(IsWindowVisible(dlg));
  auto s = Section("PopUp");
  EXPECT_EQ(s["BrowsersLst_Total"], RegSz("2"));
  EXPECT_EQ(s["Browsers(1).Path"], RegSz("C:\\Other\\b.exe "));
  EXPECT_EQ(s["Browsers(1).MenuName(0)"], RegSz("Open in New Window"));
  EXPECT_EQ(s["Browsers(1).MenuName(1)"], RegSz(""));
  EXPECT_EQ(s["Browsers(1).HidePop"], RegSz("0"));
  EXPECT_EQ(s["Browsers(1).PopDisNotf"], RegSz("0"));
  EXPECT_EQ(Rows(Page::IDC_POPUPFRM_BROWSERSLST), 2);

  // A full list takes no more.
  while (blocker.Browsers.size() < 51)
    blocker.Browsers.emplace_back().Path = "C:\\x" + std::to_string(blocker.Browsers.size());
  Click(page.hwnd(), Page::IDC_POPUPFRM_BROWSERSADDBTN);
  SetDlgItemTextA(dlg, IDC_ADDBROWSERFRM_BROWSERPATHTXT, "C:\\new.exe");
  std::string full = AnsweringBoxes("OK", add).text;
  EXPECT_NE(full.find("full"), std::string::npos) << full;
  EXPECT_EQ(blocker.Browsers.size(), 51u);
  Click(dlg, IDC_ADDBROWSERFRM_CANCELBTN);
  EXPECT_FALSE(IsWindow(dlg));
}

TEST_F(ManagerPage, ModifyKeepsItsOwnPathAndMovesTheEntryToTheEnd) {
  Start({"C:\\a.exe", "C:\\b.exe", "C:\\c.exe"});
  Select(Item(Page::IDC_POPUPFRM_BROWSERSLST), 0);
  Click(page.hwnd(), Page::IDC_POPUPFRM_BROWSERSMODIBTN);
  HWND dlg = Dialog().hwnd();
  ASSERT_TRUE(dlg);
  EXPECT_EQ(TextOf(dlg), "Modify Browser");
  EXPECT_EQ(TextOf(GetDlgItem(dlg, IDC_ADDBROWSERFRM_BROWSERPATHTXT)), "C:\\a.exe");
  EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_ADDBROWSERFRM_POPDISNOTFCHK), BST_UNCHECKED);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, IDC_ADDBROWSERFRM_HIDEPOPOPT1)));
  SetDlgItemTextA(dlg, IDC_ADDBROWSERFRM_MENUNAMETXT1, "new window");
  Click(dlg, IDC_ADDBROWSERFRM_OKBTN);
  auto s = Section("PopUp");
  EXPECT_EQ(s["BrowsersLst_Total"], RegSz("3"));
  EXPECT_EQ(s["Browsers(0).Path"], RegSz("C:\\b.exe"));
  EXPECT_EQ(s["Browsers(2).Path"], RegSz("C:\\a.exe"));
  EXPECT_EQ(s["Browsers(2).MenuName(1)"], RegSz("new window"));
  EXPECT_EQ(Cell(Page::IDC_POPUPFRM_BROWSERSLST, 2, 1), "C:\\a.exe");
}

// Pop.dat with 13 browser records "Browser 1".."Browser 13" (exe "bN.exe",
// menu "menu N"); the versions and App Paths decide which are offered.
TEST_F(ManagerPage, PredefinedRowsFollowTheInstalledVersionAndRow12AddsRecord13) {
  std::string exe = BinaryDir() + "\\TarvickLite.exe";  // FileVersion 1.0.0.0
  std::string data = poptest::PopRecord("", "13");
  for (int i = 1; i <= 13; ++i) {
    std::string n = std::to_string(i);
    data += poptest::PopRecord("Browser " + n, "b" + n + ".exe", "menu " + n, i == 1 ? 1 : i == 2 ? 2 : 0);
    DeleteKeyTree(HKEY_CURRENT_USER, kAppPaths + "b" + n + ".exe");
    if (i == 4) continue;  // not registered
    WriteRaw(HKEY_CURRENT_USER, kAppPaths + "b" + n + ".exe", "", REG_SZ,
             (i == 5 ? "C:\\missing\\b5.exe" : exe) + '\0');
  }
  WriteFileBytes(ModMain::Prog().ProgramFolder + "\\Pop.dat", data);

  Start({});
  Click(page.hwnd(), Page::IDC_POPUPFRM_BROWSERSADDBTN);
  HWND dlg = Dialog().hwnd();
  ASSERT_TRUE(dlg);
  ClickItem(GetDlgItem(dlg, IDC_ADDBROWSERFRM_SSTAB1), TCM_GETITEMRECT, 2);
  HWND list = GetDlgItem(dlg, IDC_ADDBROWSERFRM_PREDEFLST);
  ASSERT_TRUE(IsWindowVisible(list));

  // Offered: 1 (version 1), 3 and 6..13 (any version); not 2 (version 2),
  // 4 (not registered) or 5 (no such file).
  std::vector<std::string> names, expected = {"Browser 1", "Browser 3"};
  for (int i = 0; i < SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); ++i)
    names.push_back(tl::ListViewText(list, i, 0));
  for (int i = 6; i <= 13; ++i) expected.push_back("Browser " + std::to_string(i));
  ASSERT_EQ(names, expected);

  // OK with no row picked does nothing; a double click on "Browser 12" adds record 13.
  Click(dlg, IDC_ADDBROWSERFRM_OKBTN);
  EXPECT_TRUE(blocker.Browsers.empty());
  Select(list, 8);
  ClickItem(list, LVM_GETITEMRECT, 8, {LVIR_BOUNDS, 0, 0, 0}, WM_LBUTTONDBLCLK);
  auto s = Section("PopUp");
  EXPECT_EQ(s["BrowsersLst_Total"], RegSz("1"));
  EXPECT_EQ(s["Browsers(0).Path"], RegSz(exe));
  EXPECT_EQ(s["Browsers(0).MenuName(0)"], RegSz("menu 12"));
  EXPECT_FALSE(IsWindowVisible(dlg));
  for (int i = 1; i <= 13; ++i) DeleteKeyTree(HKEY_CURRENT_USER, kAppPaths + "b" + std::to_string(i) + ".exe");
}
