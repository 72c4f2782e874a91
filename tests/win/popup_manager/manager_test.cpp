// The manager page and the browser dialog in-process, hosted in a plain
// window and driven through their real controls; boxes answered by their
// buttons from another thread; the "PopUp" section read back raw.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <map>
#include <thread>

#include "app/list_view_win.h"
#include "app/program_win.h"
#include "popup/pop_blocker_win.h"
#include "popup/pop_up_frm_win.h"
#include "win_test_util.h"

using namespace tltest;
using Page = PopUpFrm;

namespace {

const std::string kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

// Answers the next "Tarvick Lite" box of this process and keeps what it showed.
class Answer {
 public:
  explicit Answer(const char* button)
      : thread_([this, button] {
          HWND box = WaitForMessageBox(GetCurrentProcessId(), "Tarvick Lite", 10000);
          if (!box) return;
          info_ = ReadMessageBox(box);
          PressButton(box, button);
        }) {}
  ~Answer() { Seen(); }
  const MessageBoxInfo& Seen() {
    if (thread_.joinable()) thread_.join();
    return info_;
  }

 private:
  MessageBoxInfo info_;
  std::thread thread_;
};

// Every value of the "PopUp" section, raw.
std::map<std::string, std::string> PopUpSection() {
  std::map<std::string, std::string> out;
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKey("PopUp").c_str(), 0, KEY_READ, &k)) return out;
  char name[256];
  for (DWORD i = 0, n = sizeof name; RegEnumValueA(k, i, name, &n, nullptr, nullptr, nullptr, nullptr) == 0;
       ++i, n = sizeof name)
    out[name] = ReadRaw(HKEY_CURRENT_USER, SettingsKey("PopUp"), name).bytes;
  RegCloseKey(k);
  return out;
}
std::string Sz(const std::string& text) { return text + '\0'; }

std::string TextOf(HWND h) {
  char buf[1024] = {};
  GetWindowTextA(h, buf, sizeof buf);
  return buf;
}

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
  void Select(HWND list, int row) {
    LVITEMA st{};
    st.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    st.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&st));
  }
  void ClickHeader(int listId, int col) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(Item(listId), LVM_GETHEADER, 0, 0));
    RECT r{};
    SendMessageA(header, HDM_GETITEMRECT, col, reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(header, WM_LBUTTONUP, 0, at);
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
  auto before = PopUpSection();

  // No row selected: the question is still asked; Yes changes and stores nothing.
  {
    Answer yes("&Yes");
    Click(page.hwnd(), Page::IDC_POPUPFRM_BROWSERSDELBTN);
    const MessageBoxInfo& box = yes.Seen();
    EXPECT_EQ(box.text, "Are you sure you want to remove the selected items?");
    EXPECT_EQ(box.buttons, (std::vector<std::string>{"&Yes", "&No"}));
    EXPECT_EQ(box.defaultButton, "&No");
    EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_QUESTION));
  }
  EXPECT_EQ(PopUpSection(), before);
  EXPECT_EQ(blocker.Browsers.size(), 3u);

  // The first click on "Browser Path" sorts descending: row 0 is entry 2.
  ClickHeader(Page::IDC_POPUPFRM_BROWSERSLST, 1);
  ASSERT_EQ(Cell(Page::IDC_POPUPFRM_BROWSERSLST, 0, 1), "C:\\c\\mid.exe");
  Select(Item(Page::IDC_POPUPFRM_BROWSERSLST), 0);
  {
    Answer no("&No");
    Click(page.hwnd(), Page::IDC_POPUPFRM_BROWSERSDELBTN);
  }
  EXPECT_EQ(PopUpSection(), before);
  {
    Answer yes("&Yes");
    Click(page.hwnd(), Page::IDC_POPUPFRM_BROWSERSDELBTN);
  }
  auto after = PopUpSection();
  EXPECT_EQ(after["BrowsersLst_Total"], Sz("2"));
  EXPECT_EQ(after["Browsers(0).Path"], Sz("C:\\b\\zeta.exe"));
  EXPECT_EQ(after["Browsers(1).Path"], Sz("C:\\a\\alpha.exe"));
  EXPECT_EQ(after["Browsers(2).Path"], Sz("C:\\c\\mid.exe"));  // beyond the count, left as it was
  // The list keeps its order after the reload.
  ASSERT_EQ(Rows(Page::IDC_POPUPFRM_BROWSERSLST), 2);
  EXPECT_EQ(Cell(Page::IDC_POPUPFRM_BROWSERSLST, 0, 1), "C:\\b\\zeta.exe");

  // The last entry (row 1 now): only the count goes down.
  Select(Item(Page::IDC_POPUPFRM_BROWSERSLST), 1);
  {
    Answer yes("&Yes");
    Click(page.hwnd(), Page::IDC_POPUPFRM_BROWSERSDELBTN);
  }
  after = PopUpSection();
  EXPECT_EQ(after["BrowsersLst_Total"], Sz("1"));
  EXPECT_EQ(after["Browsers(0).Path"], Sz("C:\\b\\zeta.exe"));
  EXPECT_EQ(after["Browsers(1).Path"], Sz("C:\\a\\alpha.exe"));

  // Modify with nothing selected opens nothing.
  Click(page.hwnd(), Page::IDC_POPUPFRM_BROWSERSMODIBTN);
  EXPECT_EQ(page.BrowserDialog(), nullptr);
}

TEST_F(ManagerPage, BlockedRowsCopyResetAndTheCountersShownOnF5) {
  ModMain::Prog().Store.Write(tl::kAppTitle, "PopUp", "TotalBlockCnt", "7");
  ModMain::Prog().Store.Write(tl::kAppTitle, "PopUp", "TotalBlockSince", "01/02/2003");
  Start({});
  EXPECT_EQ(TextOf(Item(Page::IDC_POPUPFRM_TOTALBLOCKCNTLBL)), "7");
  EXPECT_EQ(TextOf(Item(Page::IDC_POPUPFRM_TOTALBLOCKSINCELBL)), "01/02/2003");

  // Two pop-ups closed and logged: the rows appear at once, the labels on F5.
  HWND untitled = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND titled = CreateWindowExA(0, "STATIC", "Win a prize", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  blocker.CurrentURL = "http://ads.test/a";
  blocker.ClosePopupAndLog(untitled, "C:\\nowhere\\browser.exe", "");
  blocker.CurrentURL = "http://ads.test/b";
  blocker.ClosePopupAndLog(titled, "C:\\nowhere\\browser.exe", "Win a prize");
  ASSERT_EQ(Rows(Page::IDC_POPUPFRM_BLOCKEDWNDLST), 2);
  EXPECT_EQ(Cell(Page::IDC_POPUPFRM_BLOCKEDWNDLST, 0, 0), "(none)");
  EXPECT_EQ(Cell(Page::IDC_POPUPFRM_BLOCKEDWNDLST, 1, 1), "http://ads.test/b");
  EXPECT_EQ(TextOf(Item(Page::IDC_POPUPFRM_TOTALBLOCKCNTLBL)), "7");
  SendMessageA(Item(Page::IDC_POPUPFRM_BLOCKEDWNDLST), WM_KEYDOWN, VK_F5, 0);
  EXPECT_EQ(TextOf(Item(Page::IDC_POPUPFRM_TOTALBLOCKCNTLBL)), "9");

  // Copy: nothing selected empties the clipboard; "(none)" is followed by "(" at once.
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    HGLOBAL m = GlobalAlloc(GMEM_MOVEABLE, 5);
    memcpy(GlobalLock(m), "junk", 5);
    GlobalUnlock(m);
    SetClipboardData(CF_TEXT, m);
    CloseClipboard();
  }
  SendMessageA(page.hwnd(), WM_COMMAND, Page::IDM_POPUPFRM_MNUBLOCKEDCOPY, 0);
  EXPECT_EQ(Clipboard(), "");
  Select(Item(Page::IDC_POPUPFRM_BLOCKEDWNDLST), 0);
  SendMessageA(page.hwnd(), WM_COMMAND, Page::IDM_POPUPFRM_MNUBLOCKEDCOPY, 0);
  EXPECT_EQ(Clipboard(), "(none)(http://ads.test/a)\r\n");

  // A real right click on a row opens the list's menu ("&Send To White List"
  // hidden); its Copy works on the row the click selected.
  std::vector<std::string> items;
  std::atomic<bool> done{false};
  std::thread user([&] {
    HWND menu = nullptr;
    for (int i = 0; i < 200 && !menu; ++i, Sleep(50)) {
      menu = FindWindowA("#32768", nullptr);
      if (menu && !IsWindowVisible(menu)) menu = nullptr;
    }
    HMENU h = menu ? reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)) : nullptr;
    for (int i = 0; h && i < GetMenuItemCount(h); ++i) {
      char text[64] = {};
      GetMenuStringA(h, i, text, sizeof text, MF_BYPOSITION);
      items.push_back(text);
    }
    INPUT key[2] = {};
    key[0].type = key[1].type = INPUT_KEYBOARD;
    key[0].ki.wVk = key[1].ki.wVk = 'C';
    key[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, key, sizeof(INPUT));
    done = true;
  });
  SetForegroundWindow(host);
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  SendMessageA(Item(Page::IDC_POPUPFRM_BLOCKEDWNDLST), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  POINT at{row.left + 20, (row.top + row.bottom) / 2};
  ClientToScreen(Item(Page::IDC_POPUPFRM_BLOCKEDWNDLST), &at);
  SetCursorPos(at.x, at.y);
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(2, click, sizeof(INPUT));
  const std::string copied = "Win a prize(http://ads.test/b)\r\n";
  while (!done) Pump(), Sleep(20);  // the menu runs in this thread
  for (int i = 0; i < 100 && Clipboard() != copied; ++i) Pump(), Sleep(20);
  user.join();
  EXPECT_EQ(items, (std::vector<std::string>{"&Copy Name\\URL", "&Goto URL"}));
  EXPECT_EQ(Clipboard(), copied);

  // Reset: No keeps both; Yes shows today's date and 0 at once and stores them.
  {
    Answer no("&No");
    Click(page.hwnd(), Page::IDC_POPUPFRM_RESETBTN);
    EXPECT_EQ(no.Seen().text, "Are you sure you want to reset pop-ups counter?");
  }
  EXPECT_EQ(Setting("PopUp", "TotalBlockCnt"), "9");
  EXPECT_EQ(TextOf(Item(Page::IDC_POPUPFRM_TOTALBLOCKCNTLBL)), "9");
  {
    Answer yes("&Yes");
    Click(page.hwnd(), Page::IDC_POPUPFRM_RESETBTN);
  }
  char today[64] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, today, sizeof today);
  EXPECT_EQ(TextOf(Item(Page::IDC_POPUPFRM_TOTALBLOCKCNTLBL)), "0");
  EXPECT_EQ(TextOf(Item(Page::IDC_POPUPFRM_TOTALBLOCKSINCELBL)), today);
  auto stored = PopUpSection();
  EXPECT_EQ(stored["TotalBlockCnt"], Sz("0"));
  EXPECT_EQ(stored["TotalBlockSince"], Sz(today));
  DestroyWindow(untitled);
  DestroyWindow(titled);
}

TEST_F(ManagerPage, AddRefusesACaseOnlyDuplicateAndStoresWhatWasTyped) {
  Start({"C:\\Apps\\Web.exe"});
  Click(page.hwnd(), Page::IDC_POPUPFRM_BROWSERSADDBTN);
  HWND dlg = Dialog().hwnd();
  ASSERT_TRUE(dlg && IsWindowVisible(dlg));
  EXPECT_EQ(TextOf(dlg), "Add Browser");
  EXPECT_EQ(TextOf(GetDlgItem(dlg, IDC_ADDBROWSERFRM_OKBTN)), "Add");
  EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_ADDBROWSERFRM_POPDISNOTFCHK), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_ADDBROWSERFRM_HIDEPOPOPT1), BST_CHECKED);

  SetDlgItemTextA(dlg, IDC_ADDBROWSERFRM_BROWSERPATHTXT, "c:\\apps\\WEB.EXE");
  {
    Answer ok("OK");
    Click(dlg, IDC_ADDBROWSERFRM_OKBTN);
    EXPECT_EQ(ok.Seen().text, "The browser already exists");
    EXPECT_EQ(ok.Seen().icon, LoadIconA(nullptr, IDI_EXCLAMATION));
  }
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
  auto s = PopUpSection();
  EXPECT_EQ(s["BrowsersLst_Total"], Sz("2"));
  EXPECT_EQ(s["Browsers(1).Path"], Sz("C:\\Other\\b.exe "));
  EXPECT_EQ(s["Browsers(1).MenuName(0)"], Sz("Open in New Window"));
  EXPECT_EQ(s["Browsers(1).MenuName(1)"], Sz(""));
  EXPECT_EQ(s["Browsers(1).HidePop"], Sz("0"));
  EXPECT_EQ(s["Browsers(1).PopDisNotf"], Sz("0"));
  EXPECT_EQ(Rows(Page::IDC_POPUPFRM_BROWSERSLST), 2);

  // A full list takes no more.
  while (blocker.Browsers.size() < 51)
    blocker.Browsers.emplace_back().Path = "C:\\x" + std::to_string(blocker.Browsers.size());
  Click(page.hwnd(), Page::IDC_POPUPFRM_BROWSERSADDBTN);
  SetDlgItemTextA(dlg, IDC_ADDBROWSERFRM_BROWSERPATHTXT, "C:\\new.exe");
  {
    Answer ok("OK");
    Click(dlg, IDC_ADDBROWSERFRM_OKBTN);
    EXPECT_NE(ok.Seen().text.find("full"), std::string::npos) << ok.Seen().text;
  }
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
  EXPECT_EQ(TextOf(GetDlgItem(dlg, IDC_ADDBROWSERFRM_OKBTN)), "Ok");
  EXPECT_EQ(TextOf(GetDlgItem(dlg, IDC_ADDBROWSERFRM_BROWSERPATHTXT)), "C:\\a.exe");
  EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_ADDBROWSERFRM_POPDISNOTFCHK), BST_UNCHECKED);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, IDC_ADDBROWSERFRM_HIDEPOPOPT1)));
  SetDlgItemTextA(dlg, IDC_ADDBROWSERFRM_MENUNAMETXT1, "new window");
  Click(dlg, IDC_ADDBROWSERFRM_OKBTN);
  auto s = PopUpSection();
  EXPECT_EQ(s["BrowsersLst_Total"], Sz("3"));
  EXPECT_EQ(s["Browsers(0).Path"], Sz("C:\\b.exe"));
  EXPECT_EQ(s["Browsers(2).Path"], Sz("C:\\a.exe"));
  EXPECT_EQ(s["Browsers(2).MenuName(1)"], Sz("new window"));
  EXPECT_EQ(Cell(Page::IDC_POPUPFRM_BROWSERSLST, 2, 1), "C:\\a.exe");
}

// Pop.dat with 13 browser records "Browser 1".."Browser 13" (exe "bN.exe",
// menu "menu N"); the versions and App Paths decide which are offered.
TEST_F(ManagerPage, PredefinedRowsFollowTheInstalledVersionAndRow12AddsRecord13) {
  std::string exe = BinaryDir() + "\\TarvickLite.exe";  // FileVersion 1.0.0.0
  auto record = [](const std::string& name, const std::string& file, const std::string& menu,
                   int version) {
    std::string r(2846, ' ');
    r.replace(0, name.size(), name);
    r.replace(256, file.size(), file);
    r.replace(512, menu.size(), menu);
    std::fill(r.begin() + 1280, r.begin() + 1298, '\0');
    std::fill(r.begin() + 2834, r.end(), '\0');
    r[1280] = 1;
    r[1282] = 1;
    r[1284] = static_cast<char>(version);
    return r;
  };
  std::string data = record("", "13", "", 0);
  for (int i = 1; i <= 13; ++i) {
    std::string n = std::to_string(i);
    data += record("Browser " + n, "b" + n + ".exe", "menu " + n, i == 1 ? 1 : i == 2 ? 2 : 0);
    DeleteKeyTree(HKEY_CURRENT_USER, kAppPaths + "b" + n + ".exe");
    if (i == 4) continue;  // not registered
    WriteRaw(HKEY_CURRENT_USER, kAppPaths + "b" + n + ".exe", "", REG_SZ,
             (i == 5 ? "C:\\missing\\b5.exe" : exe) + '\0');
  }
  HANDLE f = CreateFileA((ModMain::Prog().ProgramFolder + "\\Pop.dat").c_str(), GENERIC_WRITE, 0,
                         nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(f);

  Start({});
  Click(page.hwnd(), Page::IDC_POPUPFRM_BROWSERSADDBTN);
  HWND dlg = Dialog().hwnd();
  ASSERT_TRUE(dlg);
  HWND tab = GetDlgItem(dlg, IDC_ADDBROWSERFRM_SSTAB1);
  RECT r{};
  SendMessageA(tab, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
  SendMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  SendMessageA(tab, WM_LBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  HWND list = GetDlgItem(dlg, IDC_ADDBROWSERFRM_PREDEFLST);
  ASSERT_TRUE(IsWindowVisible(list));

  // Offered: 1 (version 1), 3 and 6..13 (any version); not 2 (version 2),
  // 4 (not registered) or 5 (no such file).
  std::vector<std::string> names;
  int n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char buf[64] = {};
    LVITEMA it{};
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&it));
    names.push_back(buf);
  }
  std::vector<std::string> expected = {"Browser 1", "Browser 3"};
  for (int i = 6; i <= 13; ++i) expected.push_back("Browser " + std::to_string(i));
  ASSERT_EQ(names, expected);

  // OK with no row picked does nothing; a double click on "Browser 12" adds record 13.
  Click(dlg, IDC_ADDBROWSERFRM_OKBTN);
  EXPECT_TRUE(blocker.Browsers.empty());
  Select(list, 8);
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  SendMessageA(list, LVM_GETITEMRECT, 8, reinterpret_cast<LPARAM>(&row));
  LPARAM at = MAKELPARAM(row.left + 10, (row.top + row.bottom) / 2);
  SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageA(list, WM_LBUTTONUP, 0, at);
  auto s = PopUpSection();
  EXPECT_EQ(s["BrowsersLst_Total"], Sz("1"));
  EXPECT_EQ(s["Browsers(0).Path"], Sz(exe));
  EXPECT_EQ(s["Browsers(0).MenuName(0)"], Sz("menu 12"));
  EXPECT_FALSE(IsWindowVisible(dlg));
  for (int i = 1; i <= 13; ++i) DeleteKeyTree(HKEY_CURRENT_USER, kAppPaths + "b" + std::to_string(i) + ".exe");
}
