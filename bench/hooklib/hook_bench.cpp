// Per-event cost of corvel.dll's hook procedures, measured in this process
// as the hooks see its own events: window creation and destruction, menu
// messages passed through CallMsgFilter, and real mouse input. Each event
// kind is timed with no hook, with an empty hook that only calls
// CallNextHookEx, and with corvel.dll's hooks, in alternating rounds so the
// three see the same conditions. Run by hand from the build tree:
//   wine bench/hooklib/hook_bench.exe [rounds]
// It writes the library's hand-off values of the current user.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

enum Config { kNone, kEmpty, kCorvel, kConfigs };
const char* const kConfigNames[kConfigs] = {"none", "empty", "corvel"};

enum Event {
  kCreate,        // ShellProc, writes NewWin and WinTime
  kDestroy,       // ShellProc, other code: nothing written
  kFilterMove,    // SysMsgFilterProc, WM_MOUSEMOVE: nothing written
  kFilterChoose,  // SysMsgFilterProc, release on a menu item: MenuName and Time
  kMouseMove,     // MouseProc, WM_MOUSEMOVE: nothing written
  kPressPlain,    // MouseProc, press outside a page: class checks, nothing written
  kPressPage,     // MouseProc, press in a page: address search, MouseTimeD
  kRelease,       // MouseProc, release in a client area: MouseTime and MouseHwnd
  kEvents
};
const char* const kEventNames[kEvents] = {
    "ShellProc        window created (write)",
    "ShellProc        window destroyed",
    "SysMsgFilterProc mouse move in menu",
    "SysMsgFilterProc item chosen (write)",
    "MouseProc        mouse move",
    "MouseProc        press outside a page",
    "MouseProc        press in a page (write)",
    "MouseProc        release in client (write)",
};

double gTicksPerUs;
std::vector<double> gSamples[kConfigs][kEvents];

HWND gMain, gPage;
HMENU gMenu;

double NowUs() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / gTicksPerUs;
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

void Mouse(POINT at, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | flags;
  SendInput(1, &in, sizeof in);
}

POINT Screen(HWND w, int x, int y) {
  POINT p{x, y};
  ClientToScreen(w, &p);
  return p;
}

template <class F>
void Time(Config c, Event e, F&& f) {
  double start = NowUs();
  f();
  gSamples[c][e].push_back(NowUs() - start);
}

void Round(Config c, int n) {
  for (int i = 0; i < n; ++i) {
    HWND w = nullptr;
    Time(c, kCreate, [&] {
      w = CreateWindowExA(0, "HookBenchTop", "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
    });
    Time(c, kDestroy, [&] { DestroyWindow(w); });

    MSG m{};
    m.hwnd = gMain;
    m.pt = {3, 1000};  // no menu window there
    m.message = WM_MOUSEMOVE;
    Time(c, kFilterMove, [&] { CallMsgFilterA(&m, MSGF_MENU); });
    m.message = WM_MENUSELECT;
    m.wParam = MAKEWPARAM(11, MF_STRING);
    m.lParam = reinterpret_cast<LPARAM>(gMenu);
    CallMsgFilterA(&m, MSGF_MENU);
    m.message = WM_LBUTTONUP;
    m.wParam = m.lParam = 0;
    Time(c, kFilterChoose, [&] { CallMsgFilterA(&m, MSGF_MENU); });

    POINT plain = Screen(gMain, 420 + i % 20, 300);
    POINT page = Screen(gPage, 100 + i % 20, 100);
    Time(c, kMouseMove, [&] { Mouse(plain, MOUSEEVENTF_MOVE); Pump(); });
    Time(c, kPressPlain, [&] { Mouse(plain, MOUSEEVENTF_LEFTDOWN); Pump(); });
    Time(c, kRelease, [&] { Mouse(plain, MOUSEEVENTF_LEFTUP); Pump(); });
    Mouse(page, MOUSEEVENTF_MOVE);
    Pump();
    Time(c, kPressPage, [&] { Mouse(page, MOUSEEVENTF_LEFTDOWN); Pump(); });
    Time(c, kRelease, [&] { Mouse(page, MOUSEEVENTF_LEFTUP); Pump(); });
  }
}

void MakeWindows() {
  for (const char* cls : {"HookBenchMain", "HookBenchTop", "Internet Explorer_Server"}) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = cls;
    RegisterClassA(&wc);
  }
  gMain = CreateWindowExA(0, "HookBenchMain", "Hook Bench", WS_POPUP | WS_VISIBLE, 50, 50, 600, 400,
                          nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  // A browser's worth of fields before the address bar.
  for (int i = 0; i < 5; ++i)
    CreateWindowExA(0, "Edit", "search", WS_CHILD | WS_VISIBLE, 10 + 70 * i, 10, 60, 20, gMain,
                    nullptr, GetModuleHandleA(nullptr), nullptr);
  CreateWindowExA(0, "Edit", "http://www.example.com/", WS_CHILD | WS_VISIBLE, 10, 40, 380, 20,
                  gMain, nullptr, GetModuleHandleA(nullptr), nullptr);
  gPage = CreateWindowExA(0, "Internet Explorer_Server", "", WS_CHILD | WS_VISIBLE, 10, 70, 380, 300,
                          gMain, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(gMain);
  gMenu = CreatePopupMenu();
  AppendMenuA(gMenu, MF_STRING, 11, "Open in &New Window");
  Pump();
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  const int perRound = 100;
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  gTicksPerUs = static_cast<double>(f.QuadPart) / 1e6;

  char dir[MAX_PATH];
  GetModuleFileNameA(nullptr, dir, MAX_PATH);
  std::string here(dir);
  here.resize(here.find_last_of('\\'));
  std::string top = here.substr(0, here.find_last_of('\\'));
  top.resize(top.find_last_of('\\'));  // the build tree
  HMODULE corvel = LoadLibraryA((top + "\\hooklib\\corvel.dll").c_str());
  HMODULE empty = LoadLibraryA((here + "\\hook_bench_empty.dll").c_str());
  auto install = reinterpret_cast<long(WINAPI*)(long, long)>(
      reinterpret_cast<void*>(GetProcAddress(corvel, "InstallMainHook")));
  auto emptyProc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(empty, "EmptyProc")));
  if (!install || !emptyProc) {
    std::fprintf(stderr, "corvel.dll or hook_bench_empty.dll not found beside the build tree\n");
    return 1;
  }
  MakeWindows();

  Round(kNone, 20);  // warm-up: classes, registry, input path
  for (auto& row : gSamples)
    for (auto& v : row) v.clear();
  for (int r = 0; r < rounds; ++r) {
    for (int i = 0; i < kConfigs; ++i) {
      int c = (i + r) % kConfigs;  // each set in each place of the order in turn
      HHOOK hooks[3] = {};
      if (c == kEmpty) {
        int types[3] = {WH_SHELL, WH_SYSMSGFILTER, WH_MOUSE};
        for (int k = 0; k < 3; ++k) hooks[k] = SetWindowsHookExA(types[k], emptyProc, empty, 0);
      } else if (c == kCorvel) {
        install(0, 1);
      }
      Round(static_cast<Config>(c), perRound);
      if (c == kEmpty) {
        for (HHOOK h : hooks) UnhookWindowsHookEx(h);
      } else if (c == kCorvel) {
        install(0, 0);
      }
    }
  }

  std::printf("%d events of each kind per hook set; median microseconds per event\n\n",
              rounds * perRound);
  std::printf("%-42s %7s %7s %7s | %11s %11s %7s\n", "procedure and event", "none", "empty", "corvel",
              "empty cost", "corvel cost", "ratio");
  for (int e = 0; e < kEvents; ++e) {
    double us[kConfigs];
    for (int c = 0; c < kConfigs; ++c) {
      std::vector<double>& v = gSamples[c][e];
      std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
      us[c] = v[v.size() / 2];
    }
    double emptyCost = us[kEmpty] - us[kNone];
    double corvelCost = us[kCorvel] - us[kNone];
    std::printf("%-42s %7.1f %7.1f %7.1f | %11.1f %11.1f %7.1f\n", kEventNames[e], us[kNone],
                us[kEmpty], us[kCorvel], emptyCost, corvelCost,
                emptyCost > 0 ? corvelCost / emptyCost : 0.0);
  }
  std::printf("\ncost = time with the hook minus time with none; ratio = corvel cost / empty cost\n");
  return 0;
}
