// The pop-up blocker's main job on the fixture browsers, for people to
// watch: the program from the program folder, each browser opening windows
// by itself, after a click, from the keyboard and by a dragged-out tab.
// Prints what was blocked and what was allowed; saves screenshots (BMP).
//   tl_demo <program folder> <fixtures folder> <screenshot folder>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "win_test_util.h"

using namespace tltest;

namespace {

// The fixtures' commands: a page opens a window; the real mouse chooses the
// browser's menu item that opens one.
constexpr int kOpenByItself = 200;
constexpr int kClickMenuItem = 203;

struct Browser {
  const char* exe;
  const char* frameClass;
  const char* pageClass;
  std::vector<std::vector<WORD>> keys;  // the keyboard way to a new window: chords in order
  RECT tab;                // a tab in the frame's client area; empty when it has none
};

// One line per fixture browser; one that is not built is skipped.
const Browser kBrowsers[] = {
    {"pop_browser.exe", "PopFixtureFrame", "Internet Explorer_Server", {{VK_MENU, 'F'}, {'N'}}, {}},
    {"chromium_browser.exe", "Chrome_WidgetWin_1", "Chrome_RenderWidgetHostHWND",
     {{VK_CONTROL, 'N'}}, {8, 4, 160, 32}},
};

const std::string kSettings = "Software\\VB and VBA Program Settings\\Tarvick Lite\\";
const std::string kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

void Put(const std::string& section, const std::string& name, const std::string& value) {
  WriteRaw(HKEY_CURRENT_USER, kSettings + section, name, REG_SZ, value + '\0');
}

// A LAN user's settings with the browsers listed, past the first run.
void Prepare(const std::string& program, const std::string& fixtures) {
  DeleteKeyTree(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Tarvick Lite");
  DeleteKeyTree(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Tarvick");
  WriteRaw(HKEY_CURRENT_USER, kAppPaths + "TarvickLite.exe", "", REG_SZ,
           program + "\\TarvickLite.exe" + '\0');
  Put("Options", "LANCon", "1");
  Put("Options", "SplashAtStartUp", "0");
  Put("Options", "PopPlaySnd", "0");
  Put("General", "MsgID-1", "False");
  int i = 0;
  for (const Browser& b : kBrowsers) {
    std::string e = "Browsers(" + std::to_string(i++) + ").";
    Put("PopUp", e + "Path", fixtures + "\\" + b.exe);
    Put("PopUp", e + "MenuName(0)", "open in new window");
    Put("PopUp", e + "MenuName(1)", "open in new window");
    Put("PopUp", e + "HidePop", "1");
    Put("PopUp", e + "PopDisNotf", "1");
  }
  Put("PopUp", "BrowsersLst_Total", std::to_string(i));
}

void Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}

// A real mouse event; with a point, a move there (screen pixels).
void Mouse(DWORD flags, POINT at = {-1, -1}) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  if (at.x >= 0) {
    in.mi.dwFlags |= MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  SendInput(1, &in, sizeof in);
}

// The browser's visible top-level windows of its frame class.
std::set<HWND> Frames(DWORD pid, const char* cls) {
  struct Ctx {
    DWORD pid;
    const char* cls;
    std::set<HWND> found;
  } ctx{pid, cls, {}};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(lp);
        DWORD p = 0;
        char name[128] = {};
        GetWindowThreadProcessId(w, &p);
        GetClassNameA(w, name, sizeof name);
        if (p == c->pid && name == std::string(c->cls)) c->found.insert(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ctx));
  return ctx.found;
}

void SaveScreenshot(const std::string& path) {
  int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFOHEADER bi{sizeof bi, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<char> pixels(((w * 3 + 3) & ~3) * h);
  GetDIBits(mem, bmp, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  BITMAPFILEHEADER bf{0x4D42, static_cast<DWORD>(sizeof bf + sizeof bi + pixels.size()), 0, 0,
                      sizeof bf + sizeof bi};
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&bf, sizeof bf, 1, f);
    std::fwrite(&bi, sizeof bi, 1, f);
    std::fwrite(pixels.data(), pixels.size(), 1, f);
    std::fclose(f);
  }
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

struct Run {
  const Browser& b;
  Process& browser;
  HWND main;
  std::string shots;
  int blocked = 0, allowed = 0;

  // Does one way of opening a window and reports what became of the window.
  void Try(const std::string& way, const std::function<void()>& act) {
    std::set<HWND> before = Frames(browser.pid(), b.frameClass);
    SetForegroundWindow(main);
    Sleep(300);
    act();
    HWND opened = nullptr;
    for (int i = 0; i < 60 && !opened; ++i, Sleep(50))
      for (HWND w : Frames(browser.pid(), b.frameClass))
        if (!before.count(w)) opened = w;
    SetCursorPos(5, 5);
    if (!opened) {
      std::printf("%-21s %-24s no window opened\n", b.exe, way.c_str());
      return;
    }
    bool gone = false;
    for (int i = 0; i < 40 && !gone; ++i, Sleep(50)) gone = !IsWindow(opened) || !IsWindowVisible(opened);
    std::string name = std::string(b.exe).substr(0, std::string(b.exe).find('.')) + "-" + way;
    for (char& c : name) c = c == ' ' ? '-' : c;
    if (gone) Sleep(1200);  // the announcement has slid up by then
    SaveScreenshot(shots + "\\" + name + ".bmp");
    std::printf("%-21s %-24s %s\n", b.exe, way.c_str(), gone ? "BLOCKED" : "allowed");
    ++(gone ? blocked : allowed);
    if (!gone) PostMessageA(opened, WM_CLOSE, 0, 0);
    Sleep(gone ? 5000 : 500);  // the announcement closes the pop-up after five seconds
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: tl_demo <program folder> <fixtures folder> <screenshot folder>\n");
    return 2;
  }
  std::string program = argv[1], fixtures = argv[2], shots = argv[3];
  Prepare(program, fixtures);
  Process tarvick;
  if (!tarvick.Start(program + "\\TarvickLite.exe", "", program)) return 1;
  // Protection is on once the hooks are in place.
  for (int i = 0; i < 300 && !ReadRaw(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Tarvick\\tmp",
                                      "hHook_mouse").exists; ++i)
    Sleep(50);
  int blocked = 0, allowed = 0;
  for (const Browser& b : kBrowsers) {
    Process browser;
    if (GetFileAttributesA((fixtures + "\\" + b.exe).c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    HWND main = nullptr;
    if (browser.Start(fixtures + "\\" + b.exe, "", fixtures))
      main = FindProcessWindow(browser.pid(), b.frameClass, nullptr, 10000);
    if (!main) {
      std::printf("%-21s did not start\n", b.exe);
      continue;
    }
    Sleep(700);  // the browser's own first window is not judged
    Run run{b, browser, main, shots};
    run.Try("by itself", [&] { PostMessageA(main, WM_COMMAND, kOpenByItself, 0); });
    run.Try("click in page", [&] {
      RECT r;
      GetWindowRect(FindWindowExA(main, nullptr, b.pageClass, nullptr), &r);
      ClickAt(r);
    });
    run.Try("menu by mouse", [&] { PostMessageA(main, WM_COMMAND, kClickMenuItem, 0); });
    run.Try("keyboard", [&] {
      for (const auto& chord : b.keys) {
        for (WORD k : chord) Key(k, false);
        for (auto k = chord.rbegin(); k != chord.rend(); ++k) Key(*k, true);
        Sleep(200);
      }
    });
    if (b.tab.right > b.tab.left)
      run.Try("tab drag", [&] {
        POINT p{(b.tab.left + b.tab.right) / 2, (b.tab.top + b.tab.bottom) / 2};
        ClientToScreen(main, &p);
        Mouse(0, p);
        Mouse(MOUSEEVENTF_LEFTDOWN);
        for (int d = 10; d <= 200; d += 10) Mouse(0, {p.x + d, p.y + d}), Sleep(20);
        Mouse(MOUSEEVENTF_LEFTUP);
      });
    blocked += run.blocked;
    allowed += run.allowed;
  }
  std::printf("blocked %d, allowed %d; the program counts %s blocked in all\n", blocked, allowed,
              Setting("PopUp", "TotalBlockCnt").c_str());
  PostMessageA(FindProcessWindow(tarvick.pid(), "TarvickLiteExit", nullptr, 0),
               RegisterWindowMessageA("TarvickLite.ExitRequest"), 0, 0);
  tarvick.Wait(10000);
  return 0;
}
