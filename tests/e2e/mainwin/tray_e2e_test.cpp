// The built program in a Wine virtual desktop, whose taskbar has a
// notification area: the tray icon after start, its double-click and
// right-click, the hotkey as real keys, and Exit with its question.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <thread>

#include "win_test_util.h"

using namespace tltest;

namespace {

const char* const kDesktop = "tltray";
const char* const kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The program registers itself to start with Windows; left behind, every
// later wineboot of this prefix would start it.
void DeleteRunValue() { RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kRunKey, "Tarvick Lite"); }

// The icon's place: icons sit at the right end of the taskbar, the first rightmost.
POINT TrayIconPoint() {
  RECT r = RectOf(FindWindowA("Shell_TrayWnd", nullptr));
  int icon = GetSystemMetrics(SM_CXSMICON) + 4;
  return {r.right - icon / 2, (r.top + r.bottom) / 2};
}

// Whether the tray still holds the icon of this window (or, NIM_DELETE,
// whether it could take it away, as a restarted Explorer does).
bool TrayHasIcon(HWND owner, DWORD message = NIM_MODIFY) {
  NOTIFYICONDATAA nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = owner;
  nid.uID = 1;
  nid.uFlags = NIF_TIP;
  lstrcpyA(nid.szTip, "Tarvick Lite");
  return Shell_NotifyIconA(message, &nid) != FALSE;
}

// Everything runs on a thread placed on the virtual desktop: its windows,
// input and tray are that desktop's.
void OnDesktop(const std::function<void()>& body) {
  std::thread t([&] {
    HDESK desk = nullptr;
    WaitUntil([&] { return (desk = OpenDesktopA(kDesktop, 0, FALSE, GENERIC_ALL)) != nullptr; }, 20000);
    ASSERT_TRUE(desk);
    ASSERT_TRUE(SetThreadDesktop(desk));
    body();
  });
  t.join();
}

TEST(TrayE2E, TrayIconHotkeyAndExitQuestion) {
  ForgetInstallation();
  DeleteRunValue();
  std::string folder = MakeProgramFolder("tray");
  Process desktop;
  ASSERT_TRUE(desktop.Start("C:\\windows\\explorer.exe",
                            std::string("/desktop=") + kDesktop + ",1024x768 \"" + folder +
                                "\\TarvickLite.exe\""));
  OnDesktop([&] {
    HWND box = WaitForMessageBox(0, "Tarvick Lite", 30000);  // the first run's question
    ASSERT_TRUE(box);
    PressButton(box, "&No");
    HWND main = FindProcessWindow(0, "TarvickLiteMain", nullptr, 10000);
    ASSERT_TRUE(main);
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE program = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(main); }, 10000)) << "no tray icon";
    EXPECT_EQ(ReadRaw(HKEY_LOCAL_MACHINE, kRunKey, "Tarvick Lite").bytes,
              folder + "\\TarvickLite.exe" + '\0');
    // Explorer restarted: the icon is lost and comes back on "TaskbarCreated".
    ASSERT_TRUE(TrayHasIcon(main, NIM_DELETE));
    ASSERT_FALSE(TrayHasIcon(main));
    PostMessageA(main, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return TrayHasIcon(main); }, 10000)) << "not re-added";

    // Double-click on the icon shows the main window.
    ClickAt(TrayIconPoint(), MOUSEEVENTF_LEFTDOWN, 2);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main); }, 10000)) << "double-click";
    PostMessageA(main, WM_CLOSE, 0, 0);  // hides it
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 10000));

    // The default hotkey, Ctrl+Alt+E, typed.
    PressKeys({VK_CONTROL, VK_MENU, 'E'});
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main); }, 10000)) << "hotkey";
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 10000));

    // Exit from the tray menu asks; Enter answers No and the program stays.
    for (const char* answer : {"enter", "&Yes"}) {
      ClickAt(TrayIconPoint(), MOUSEEVENTF_RIGHTDOWN);
      ASSERT_TRUE(WaitUntil([] { return IsWindowVisible(FindWindowA("#32768", nullptr)); }, 10000));
      EXPECT_EQ(GetForegroundWindow(), main) << "the main window comes forward before the menu";
      PressKeys({'E'});  // "&Exit"
      HWND question = WaitForMessageBox(pid, "Tarvick Lite", 10000);
      ASSERT_TRUE(question) << answer;
      MessageBoxInfo info = ReadMessageBox(question);
      EXPECT_EQ(info.text,
                "Tarvick needs to be always running to block pop-ups. Are you still sure you want to exit?");
      EXPECT_EQ(info.buttons, (std::vector<std::string>{"&Yes", "&No"}));
      EXPECT_EQ(info.defaultButton, "&No");
      if (std::string(answer) == "enter") {
        SetForegroundWindow(question);
        PressKeys({VK_RETURN});
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }, 10000));
        EXPECT_EQ(WaitForSingleObject(program, 500), static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_TRUE(TrayHasIcon(main));
      } else {
        PressButton(question, answer);
      }
    }
    EXPECT_EQ(WaitForSingleObject(program, 15000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 1;
    GetExitCodeProcess(program, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(TrayHasIcon(main)) << "the icon must go with the program";
    CloseHandle(program);
  });
  DeleteRunValue();
}

}  // namespace
