// The pop-up blocker end to end: the built TarvickLite.exe and corvel.dll
// against the fixture browser, driven by real input; assertions on windows
// and on the stored counters.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "win_test_util.h"

using namespace tltest;

namespace {

constexpr int kOpenByItself = 200;
constexpr int kOpenTrusted = 201;
constexpr int kOpenDialog = 202;
constexpr int kClickMenuItem = 203;
const std::string kHandoffKey = "Software\\VB and VBA Program Settings\\Tarvick\\tmp";
const std::string kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= ms) return false;
    Sleep(20);
  }
  return true;
}

void PutSz(const std::string& section, const std::string& name, const std::string& value) {
  WriteRaw(HKEY_CURRENT_USER, SettingsKey(section), name, REG_SZ, value + '\0');
}

// Pop.dat with one record for the fixture: white-lists the address "trusted.test".
void WritePopDat(const std::string& folder) {
  std::string head(2846, ' '), rec(2846, ' ');
  auto put = [](std::string& r, size_t off, const char* text) { std::memcpy(r.data() + off, text, std::strlen(text)); };
  put(head, 256, "1");
  put(rec, 0, "Fixture Browser");
  put(rec, 256, "pop_browser.exe");
  put(rec, 512, "open in new window");
  std::memset(rec.data() + 1280, 0, 18);   // options, version, white types
  std::memset(rec.data() + 2834, 0, 12);   // exact flags
  rec[1280] = 1;                            // PopDisNotf
  rec[1282] = 1;                            // HidePop
  put(rec, 1298, "trusted.test");          // white entry 0: page address, contained
  std::string data = head + rec;
  HANDLE f = CreateFileA((folder + "\\Pop.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD w;
  WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &w, nullptr);
  CloseHandle(f);
}

class PopupE2E : public ::testing::Test {
 protected:
  // An installed program of a LAN user whose one listed browser is the fixture.
  void Install(int hidePop, int popDisNotf, bool noticeSuppressed = true) {
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Tarvick Lite");
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Tarvick");
    folder_ = MakeProgramFolder("e2e");
    fixture_ = BinaryDir() + "\\tests\\fixtures\\pop_browser.exe";
    WritePopDat(folder_);
    WriteRaw(HKEY_LOCAL_MACHINE, kAppPaths + "TarvickLite.exe", "", REG_SZ, folder_ + "\\TarvickLite.exe" + '\0');
    WriteRaw(HKEY_LOCAL_MACHINE, kAppPaths + "pop_browser.exe", "", REG_SZ, fixture_ + '\0');
    PutSz("Options", "LANCon", "1");
    PutSz("Options", "SplashAtStartUp", "0");
    PutSz("Options", "PopPlaySnd", "0");
    PutSz("PopUp", "BrowsersLst_Total", "1");
    PutSz("PopUp", "Browsers(0).Path", fixture_);
    PutSz("PopUp", "Browsers(0).MenuName(0)", "open in new window");
    PutSz("PopUp", "Browsers(0).MenuName(1)", "open in new window");
    PutSz("PopUp", "Browsers(0).HidePop", std::to_string(hidePop));
    PutSz("PopUp", "Browsers(0).PopDisNotf", std::to_string(popDisNotf));
    if (noticeSuppressed) PutSz("General", "MsgID-1", "False");
    SetCursorPos(5, 5);  // away from the detector screen
  }

  void StartBoth() {
    ASSERT_TRUE(program_.Start(folder_ + "\\TarvickLite.exe", "", folder_));
    // Protection is on once the hooks are installed.
    ASSERT_TRUE(WaitUntil([] { return ReadRaw(HKEY_CURRENT_USER, kHandoffKey, "hHook_mouse").exists; }, 15000));
    ASSERT_TRUE(browser_.Start(fixture_, "", ""));
    browserMain_ = FindProcessWindow(browser_.pid(), "PopFixtureFrame", "Fixture Browser", 10000);
    ASSERT_TRUE(browserMain_);
    Sleep(700);  // the browser's own first window is recorded, not judged
  }

  HWND Open(int command, const char* title, const char* cls = "PopFixtureFrame") {
    PostMessageA(browserMain_, WM_COMMAND, command, 0);
    return FindProcessWindow(browser_.pid(), cls, title, 5000);
  }
  HWND Screen() { return FindProcessWindow(program_.pid(), "TarvickLitePopUpDetector", nullptr, 0); }
  bool ScreenVisible() {
    HWND s = Screen();
    return s && IsWindowVisible(s);
  }
  std::string BlockCount() { return Setting("PopUp", "TotalBlockCnt"); }
  // Nothing hides or closes the window for this long.
  bool StaysVisible(HWND w, DWORD ms) {
    return !WaitUntil([&] { return !IsWindow(w) || !IsWindowVisible(w); }, ms);
  }

  std::string folder_, fixture_;
  Process program_, browser_;
  HWND browserMain_ = nullptr;
};

TEST_F(PopupE2E, PopupOpenedByItselfIsHiddenAnnouncedAndClosedAfterFiveSeconds) {
  Install(1, 1);
  StartBoth();
  HWND pop = Open(kOpenByItself, "Popup Ad");
  ASSERT_TRUE(pop);
  DWORD opened = GetTickCount();
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(pop); }, 2000)) << "the pop-up was not hidden";
  std::printf("hidden after %lu ms\n", GetTickCount() - opened);
  EXPECT_TRUE(WaitUntil([&] { return ScreenVisible(); }, 1000));
  EXPECT_TRUE(IsWindow(pop));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(pop); }, 10000)) << "the pop-up was not closed";
  DWORD closedAfter = GetTickCount() - opened;
  EXPECT_GE(closedAfter, 4500u);
  EXPECT_EQ(BlockCount(), "1");
  EXPECT_TRUE(IsWindow(browserMain_)) << "the pop-up is closed, not its browser";
}

TEST_F(PopupE2E, WindowsTheUserAskedForAreLeftAlone) {
  Install(1, 1);
  StartBoth();
  // A real click in the page opens a window 300 ms later.
  HWND page = FindWindowExA(browserMain_, nullptr, "Internet Explorer_Server", nullptr);
  ASSERT_TRUE(page);
  RECT r;
  GetWindowRect(page, &r);
  ClickAt(r);
  HWND clicked = FindProcessWindow(browser_.pid(), "PopFixtureFrame", "Clicked Window", 5000);
  ASSERT_TRUE(clicked);
  SetCursorPos(5, 5);
  EXPECT_TRUE(StaysVisible(clicked, 1500));

  // The menu item "Open in &New Window" chosen with the mouse.
  PostMessageA(browserMain_, WM_COMMAND, kClickMenuItem, 0);
  HWND asked = FindProcessWindow(browser_.pid(), "PopFixtureFrame", "Asked Window", 5000);
  ASSERT_TRUE(asked);
  SetCursorPos(5, 5);
  EXPECT_TRUE(StaysVisible(asked, 1500));
  EXPECT_FALSE(ScreenVisible());
  EXPECT_EQ(BlockCount(), "<missing>");
}

TEST_F(PopupE2E, ClassicModeClosesAtOnceAndCountsOnce) {
  Install(0, 1);
  StartBoth();
  HWND pop = Open(kOpenByItself, "Popup Ad");
  ASSERT_TRUE(pop);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(pop); }, 2000));
  EXPECT_TRUE(WaitUntil([&] { return ScreenVisible(); }, 1000));  // it only reports
  EXPECT_TRUE(WaitUntil([&] { return !ScreenVisible(); }, 10000));
  EXPECT_EQ(BlockCount(), "1");
}

TEST_F(PopupE2E, NoNotificationClosesWithoutAnyScreen) {
  Install(1, 0);
  StartBoth();
  PostMessageA(browserMain_, WM_COMMAND, kOpenByItself, 0);
  // Closed within a pass or two: too fast to watch the window itself.
  ASSERT_TRUE(WaitUntil([&] { return BlockCount() == "1" || ScreenVisible(); }, 3000));
  EXPECT_FALSE(ScreenVisible());
  EXPECT_FALSE(FindProcessWindow(browser_.pid(), "PopFixtureFrame", "Popup Ad", 500));
  EXPECT_EQ(BlockCount(), "1");
}

TEST_F(PopupE2E, WebPageDialogOpenedByItselfIsAnnounced) {
  Install(1, 1);
  StartBoth();
  HWND dlg = Open(kOpenDialog, "Offer -- Web Page Dialog", "Internet Explorer_TridentDlgFrame");
  ASSERT_TRUE(dlg);
  EXPECT_TRUE(WaitUntil([&] { return ScreenVisible(); }, 3000));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }, 10000));
  EXPECT_EQ(BlockCount(), "1");
}

TEST_F(PopupE2E, WhiteListedAddressLetsThePopupThrough) {
  Install(1, 1);
  StartBoth();
  HWND pop = Open(kOpenTrusted, "Trusted Window");
  ASSERT_TRUE(pop);
  EXPECT_TRUE(StaysVisible(pop, 2000));
  EXPECT_FALSE(ScreenVisible());
  EXPECT_EQ(BlockCount(), "<missing>");
}

}  // namespace
