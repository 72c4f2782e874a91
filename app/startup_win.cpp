#include "app/startup_win.h"

#include <optional>

#include "app/conversions.h"
#include "app/ini_win.h"
#include "app/main_loop_win.h"
#include "app/registry_win.h"
#include "app/reminders_win.h"
#include "app/splash_frm_win.h"
#include "mainwin/interface_frm_win.h"
#include "popup/detector_scr_frm_win.h"
#include "popup/pop_lists_win.h"
#include "shutdown/cancel_event_win.h"

namespace ModMain {

bool IsNT = false;
bool IsNT4 = false;
DWORD OwnProcessId = 0;
std::string ProgramFolder;
std::string ExeName;
std::string OwnExePath;
std::string IniPath;
DWORD PriorityClasses[4] = {};
bool Exiting = false;
bool DialUpStartPending = false;
bool LanStartPending = false;
COLORREF InterfaceColours[3] = {};
int16_t ProcessRowCount = 0;
int16_t WindowRowCount = 0;
std::vector<tl::Column> ProcessColumnTable;
std::vector<tl::Column> WindowColumnTable;
tl::SettingsRecord Settings;

namespace {

constexpr const char* kPrevInstanceMutex = "Local\\TarvickLite.Instance";
constexpr const char* kConnectionQuestion =
    "Do you use a modem to connect to the Internet (dial-up connection) ? Or a leased line (LAN, "
    "DSL, ... etc) ? Click Yes if you use a modem and No if you use a leased line. You may change "
    "it later at any time from Options.";
constexpr int kHotkeyId = 49151;

tl::RegistrySettingsStore gStore;
std::optional<tl::SettingsEnv> gEnv;
InterfaceFrm gMainForm;
CancelEvent gCancelForm;
PopUpDetectorScrFrm gDetectorForm;

std::string DirectoryOf(UINT (WINAPI* get)(LPSTR, UINT), UINT size) {
  std::string buf(size, '\0');
  UINT n = get(buf.data(), size);
  buf.resize(n < size ? n : 0);
  return buf;
}

// The folders and the executable's name, from the running module.
void InitPaths() {
  char path[MAX_PATH * 4] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path - 1);
  std::string full(path, n);
  size_t slash = full.find_last_of('\\');
  ProgramFolder = slash == std::string::npos ? "." : full.substr(0, slash);
  std::string file = slash == std::string::npos ? full : full.substr(slash + 1);
  size_t dot = file.find_last_of('.');
  ExeName = dot == std::string::npos ? file : file.substr(0, dot);
  OwnExePath = ProgramFolder + "\\" + ExeName + ".exe";
  IniPath = ProgramFolder + "\\prog.ini";
}

void InitVersion() {
  OSVERSIONINFOA vi{};
  vi.dwOSVersionInfoSize = sizeof vi;  // 148
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&vi)) return;
#pragma GCC diagnostic pop
  IsNT = vi.dwPlatformId == VER_PLATFORM_WIN32_NT;
  IsNT4 = IsNT && vi.dwMajorVersion == 4;
}

bool PreviousInstanceRunning() {
  // A mutex of its own, kept open for the life of the process.
  HANDLE m = CreateMutexA(nullptr, FALSE, kPrevInstanceMutex);
  return m && GetLastError() == ERROR_ALREADY_EXISTS;
}

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void PumpPendingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

float TwipsPerPixel() {
  HDC dc = GetDC(nullptr);
  int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return 1440.0f / (dpi > 0 ? dpi : 96);
}

// Help windows exist only if the help library was loaded by this process.
void CloseHelpWindows() {
  HMODULE hh = GetModuleHandleA("hhctrl.ocx");
  if (!hh) return;
  using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
  auto fn = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(GetProcAddress(hh, "HtmlHelpA")));
  if (fn) fn(gMainForm.hwnd(), "", 18 /* HH_CLOSE_ALL */, 0);
}

}  // namespace

tl::SettingsStore& Store() { return gStore; }

tl::SettingsEnv& Env() {
  if (!gEnv) {
    tl::SystemDirs dirs{ProgramFolder, DirectoryOf(GetWindowsDirectoryA, 200),
                        DirectoryOf(GetSystemDirectoryA, 255)};
    gEnv.emplace(tl::SettingsEnv{gStore, dirs, [](std::string_view message) {
                                   ShowMessage(nullptr, std::string(message), MB_OK | MB_ICONERROR);
                                 }});
  }
  return *gEnv;
}

InterfaceFrm& MainForm() { return gMainForm; }
CancelEvent& CancelForm() { return gCancelForm; }
PopUpDetectorScrFrm& DetectorForm() { return gDetectorForm; }

int ShowMessage(HWND owner, const std::string& text, UINT style) {
  return MessageBoxA(owner, text.c_str(), tl::kAppTitle, style);
}

void InitProcessValues() {
  InitPaths();
  InitVersion();
  InterfaceColours[0] = RGB(233, 233, 233);
  InterfaceColours[1] = RGB(233, 233, 233);
  InterfaceColours[2] = RGB(176, 184, 207);
  DialUpStartPending = true;
  LanStartPending = true;
  PriorityClasses[0] = IDLE_PRIORITY_CLASS;
  PriorityClasses[1] = NORMAL_PRIORITY_CLASS;
  PriorityClasses[2] = HIGH_PRIORITY_CLASS;
  PriorityClasses[3] = REALTIME_PRIORITY_CLASS;
  ProcessRowCount = -1;
  WindowRowCount = -1;
  OwnProcessId = GetCurrentProcessId();
  ProcessColumnTable = tl::ProcessColumns(IsNT);
  WindowColumnTable = tl::WindowColumns();
}

void EnablePrivilege(const char* name) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueA(nullptr, name, &tp.Privileges[0].Luid)) {
    TOKEN_PRIVILEGES prev{};
    DWORD len = 0;
    AdjustTokenPrivileges(token, FALSE, &tp, sizeof prev, &prev, &len);
  }
  CloseHandle(token);
}

void LoadOptions() { tl::LoadOptions(Env(), Settings); }
void SaveOptions() { tl::SaveOptions(Env(), Settings); }

void LoadGeneralSettings() {
  RECT r{};
  GetWindowRect(gMainForm.hwnd(), &r);
  float tpp = TwipsPerPixel();
  float left = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2 * tpp;
  float top = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2 * tpp;
  tl::GeneralSettings g = tl::LoadGeneralSettings(Env(), left, top);
  Settings.BlockMessenger = g.BlockMessenger;
  Settings.BlockPopUps = g.BlockPopUps;
  Settings.UpdateSpeed = g.UpdateSpeed;
  gMainForm.SetStartupChecks(g.BlockMessenger, g.BlockPopUps);
  if (g.AlwaysOnTop) gMainForm.mnuSettingsTop_Click();  // starts not on top
  gMainForm.mnuSettingsUpdateSpd_Click(g.UpdateSpeed);
}

void SaveGeneralSettings() {
  RECT r{};
  GetWindowRect(gMainForm.hwnd(), &r);
  float tpp = TwipsPerPixel();
  tl::GeneralState s;
  s.AlwaysOnTop = gMainForm.AlwaysOnTop();
  s.UpdateSpeed = static_cast<int16_t>(gMainForm.UpdateSpeedIndex());
  s.LeftTwips = r.left * tpp;
  s.TopTwips = r.top * tpp;
  tl::SaveGeneralSettings(gStore, s);
}

bool IsFirstRun() {
  std::string exe = ExeName + ".exe";
  if (!tl::Trim(modRegEnum::AppPathOf(exe)).empty()) return false;
  modRegEnum::RegisterAppPath(exe, OwnExePath, ProgramFolder);
  tl::ResetToDefaults(Env(), Settings);
  SaveOptions();
  return true;
}

void FirstRunSetup() {
  // The predefined browsers come from Pop.dat; a missing file is created
  // empty, as opening it for records would.
  std::string popDat = ProgramFolder + "\\Pop.dat";
  HANDLE f = CreateFileA(popDat.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  ModPop::ImportPredefinedBrowsers();

  int answer = ShowMessage(gCancelForm.hwnd(), kConnectionQuestion, MB_YESNO | MB_ICONINFORMATION);
  Settings.LANCon = answer == IDYES ? 0 : 1;
  SaveOptions();
}

void StartUp() {
  InitPaths();
  SetCurrentDirectoryA(ProgramFolder.c_str());
  if (PreviousInstanceRunning()) {
    ShowMessage(nullptr,
                std::string(tl::kAppTitle) +
                    " is already running, double-click Tarvick tray icon to launch it",
                MB_OK | MB_ICONINFORMATION);
    ExitProcess(0);
  }
  InitProcessValues();
  CreateMutexA(nullptr, FALSE, "MyProgramsMutexName");  // kept open; not otherwise used

  if (auto splash = gStore.Get(tl::kAppTitle, "Options", "SplashAtStartUp", "1");
      splash && tl::ParseInt16(*splash) == 1) {
    SplashFrm::ShowSplash();
    PumpPendingMessages();
  }
  if (IsNT) {
    gStore.Write(tl::kAppTitle, "tmpcpu", "none", "");
    gStore.Delete(tl::kAppTitle, "tmpcpu", "none");
    EnablePrivilege("SeDebugPrivilege");
  }

  if (!FileExists(IniPath)) modIni::WriteDefaultClassList();
  modIni::ReadClassList();

  bool firstRun = IsFirstRun();
  LoadOptions();
  gMainForm.Load();
  gCancelForm.Load();
  gDetectorForm.Load();
  LoadGeneralSettings();
  ModPop::LoadPopupLists();
  if (firstRun) FirstRunSetup();
  ModMainLoop::RunMainLoop();
  ExitProgram();
}

void ExitProgram() {
  ShowWindow(gMainForm.hwnd(), SW_HIDE);
  Exiting = true;
  SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  SaveGeneralSettings();
  CloseHelpWindows();
  UnregisterHotKey(gMainForm.hwnd(), kHotkeyId);
  if (IntMod::IsDialUpConnected() || Settings.LANCon == 1) ModMainLoop::StopProtection();
  SaveOptions();
  ModMainLoop::ReleaseExternalComponent();
  ModMainLoop::RemoveHooks();
  gMainForm.Destroy();
  TerminateProcess(GetCurrentProcess(), 0);
  ExitProcess(0);  // not reached
}

}  // namespace ModMain
