#include "app/startup_win.h"

#include "app/conversions.h"
#include "app/exit_request_win.h"
#include "app/ini_win.h"
#include "app/main_loop_win.h"
#include "app/program_win.h"
#include "app/root_win.h"
#include "app/registry_win.h"
#include "app/reminders_win.h"
#include "app/splash_frm_win.h"
#include "app/system_settings_win.h"
#include "app/system_win.h"
#include "dialogs/dialogs_win.h"
#include "mainwin/gradient_win.h"
#include "mainwin/interface_frm_win.h"
#include "popup/detector_scr_frm_win.h"
#include "popup/pop_blocker_win.h"
#include "popup/pop_up_frm_win.h"
#include "shutdown/shutdown_win.h"
#include "shutdown/cancel_event_win.h"

namespace ModMain {

namespace {

constexpr const char* kPrevInstanceMutex = "Local\\TarvickLite.Instance";
constexpr const char* kConnectionQuestion =
    "Do you use a modem to connect to the Internet (dial-up connection) ? Or a leased line (LAN, "
    "DSL, ... etc) ? Click Yes if you use a modem and No if you use a leased line. You may change "
    "it later at any time from Options.";

bool PreviousInstanceRunning() {
  // A mutex of its own, kept open for the life of the process.
  HANDLE m = CreateMutexA(nullptr, FALSE, kPrevInstanceMutex);
  return m && GetLastError() == ERROR_ALREADY_EXISTS;
}

// The installer's way in: ends the program as the Exit command does.
tl::ExitRequestWindow& ExitRequest() {
  static tl::ExitRequestWindow window;
  return window;
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
  if (fn) fn(MainForm().hwnd(), "", 18 /* HH_CLOSE_ALL */, 0);
}

}  // namespace

void LoadGeneralSettings() {
  Program& p = Prog();
  InterfaceFrm& main = MainForm();
  RECT r{};
  GetWindowRect(main.hwnd(), &r);
  float tpp = TwipsPerPixel();
  float left = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2 * tpp;
  float top = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2 * tpp;
  tl::GeneralSettings g = tl::LoadGeneralSettings(p.Env(), left, top);
  p.Settings.BlockMessenger = g.BlockMessenger;
  p.Settings.BlockPopUps = g.BlockPopUps;
  p.Settings.UpdateSpeed = g.UpdateSpeed;
  main.SetStartupChecks(g.BlockMessenger, g.BlockPopUps);
  if (g.AlwaysOnTop) main.mnuSettingsTop_Click();  // starts not on top
  main.mnuSettingsUpdateSpd_Click(g.UpdateSpeed);
}

void SaveGeneralSettings() {
  InterfaceFrm& main = MainForm();
  RECT r{};
  GetWindowRect(main.hwnd(), &r);
  float tpp = TwipsPerPixel();
  tl::GeneralState s;
  s.AlwaysOnTop = main.AlwaysOnTop();
  s.UpdateSpeed = static_cast<int16_t>(main.UpdateSpeedIndex());
  s.LeftTwips = r.left * tpp;
  s.TopTwips = r.top * tpp;
  tl::SaveGeneralSettings(Prog().Store, s);
}

bool IsFirstRun() {
  Program& p = Prog();
  std::string exe = p.ExeName + ".exe";
  if (!tl::Trim(modRegEnum::AppPathOf(exe)).empty()) return false;
  // The registration is the mark of a finished first run: FirstRunSetup
  // writes it last, so a run cut short repeats every step at the next start.
  tl::FirstRunDefaults(p.Env(), p.Settings);
  SaveOptions();
  return true;
}

void FirstRunSetup() {
  Program& p = Prog();
  // The predefined browsers come from Pop.dat; a missing file is created
  // empty, as opening it for records would.
  std::string popDat = p.ProgramFolder + "\\Pop.dat";
  tl::FileHandle f(CreateFileA(popDat.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  f.reset();
  Blocker().ImportPredefinedBrowsers();

  // The always-on-top splash would cover the question for seconds.
  SplashFrm::CloseSplash();
  int answer = ShowMessage(CancelForm().hwnd(), kConnectionQuestion, MB_YESNO | MB_ICONINFORMATION);
  p.Settings.LANCon = answer == IDYES ? 0 : 1;
  SaveOptions();
  modRegEnum::RegisterAppPath(p.ExeName + ".exe", p.OwnExePath, p.ProgramFolder);
}

void LoadForms() {
  Program& p = Prog();
  MainForm().Load();
  CancelForm().Load([] {
    // Windows is ending the session: save and leave now. Also when Exiting
    // is already set (Log Off sets it before the main loop gets to the
    // exit): once this returns, Windows may end the process unsaved.
    ExitProgram();
  });
  DetectorForm().Load(Blocker());
  ExitRequest().Load([] {
    if (!Prog().Exiting) ExitProgram();
  });
  CancelForm().SetBackgroundPainter(
      [](HWND form, HDC dc) { PaintGradient(form, dc, {245, 245, 245}, {200, 200, 200}); });
  InterfaceFrm::Commands& c = MainForm().commands;
  c.ShowMainWindow = ModMainLoop::ShowMainWindow;
  c.ShutDown = [](int index) { ModExitWin::ShutDownCommand(CancelForm(), index); };
  c.StartDetection = [] { Blocker().StartPopupBlocking(Prog().HookOwner); };
  // The page lives in the main window, hidden until its page is chosen.
  PopUpPage().Create(MainForm().hwnd(), Blocker());
  p.HookOwner = CancelForm().hwnd();
  p.MessageOwner = MainForm().hwnd();
  // The reminder's "Settings ...": the toolbar's quick settings (the
  // toolbar has no "MoreTools" button; asked for, it did nothing).
  IntMod::ShowSettings = [] {
    ModMainLoop::ShowMainWindow();
    MainForm().MainTbl_ButtonClick("Settings");
  };
  Dialogs::Wiring& w = Dialogs::Wire();
  w.stopPopupBlocking = [] { Blocker().StopPopupBlocking(); };
  w.applySystemSettings = ApplySystemSettings;
  w.showForm = ShowForm;
  w.openHelp = [] { MainForm().OpenHelp(); };
  w.showBrowsersList = [] {
    ModMainLoop::ShowMainWindow();
    MainForm().TlbButtons("PopUp");
    PopUpPage().SelectTab(2);
  };
  c.ShowOptions = [](int tab) { Dialogs::ShowOptionsDialog(MainForm().hwnd(), tab); };
  c.ShowAbout = [] { Dialogs::ShowAboutDialog(MainForm().hwnd()); };
  c.ShowRun = [] { Dialogs::ShowRunDialog(MainForm().hwnd()); };
  MainForm().SetPage(PopUpPage().hwnd());
  c.RefreshPage = [] { PopUpPage().RefreshMe(); };
  PopUpFrm::Commands& page = PopUpPage().commands;
  page.ShowHint = [](const std::string& text) { MainForm().SetHint(text); };
  page.ShowHelp = [] { MainForm().OpenHelp(); };
  page.ShowSoundOptions = [] { Dialogs::ShowOptionsDialog(MainForm().hwnd(), 6); };
}

void StartUp() {
  Program& p = Prog();
  InitProcessValues();
  SetCurrentDirectoryA(p.ProgramFolder.c_str());
  if (PreviousInstanceRunning()) {
    ShowMessage(nullptr,
                std::string(tl::kAppTitle) +
                    " is already running, double-click Tarvick tray icon to launch it",
                MB_OK | MB_ICONINFORMATION);
    ExitProcess(0);
  }
  CreateMutexA(nullptr, FALSE, "MyProgramsMutexName");  // kept open; not otherwise used

  if (auto splash = p.Store.Get(tl::kAppTitle, "Options", "SplashAtStartUp", "1");
      splash && tl::ParseInt16(*splash) == 1) {
    SplashFrm::ShowSplash();
    PumpPendingMessages();
  }
  if (p.IsNT) {
    p.Store.Write(tl::kAppTitle, "tmpcpu", "none", "");
    p.Store.Delete(tl::kAppTitle, "tmpcpu", "none");
    EnablePrivilege("SeDebugPrivilege");
  }

  if (!FileExists(p.IniPath)) modIni::WriteDefaultClassList();
  modIni::ReadClassList();

  bool firstRun = IsFirstRun();
  LoadOptions();
  LoadForms();
  LoadGeneralSettings();
  Blocker().LoadPopupLists();
  if (firstRun) FirstRunSetup();
  ApplySystemSettings();
  ModMainLoop::RunMainLoop();
  ExitProgram();
}

void ExitProgram() {
  Program& p = Prog();
  ShowWindow(MainForm().hwnd(), SW_HIDE);
  p.Exiting = true;
  SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  SaveGeneralSettings();
  CloseHelpWindows();
  RemoveTrayIcon(MainForm().hwnd());
  UnregisterHotKey(MainForm().hwnd(), tl::kHotkeyId);
  if (p.Settings.LANCon == 1 || IntMod::IsDialUpConnected() || IntMod::IsInternetConnected(GetTickCount()))
    ModMainLoop::StopProtection();
  SaveOptions();
  ModMainLoop::ReleaseExternalComponent();
  ModMainLoop::RemoveHooks();
  MainForm().Destroy();
  TerminateProcess(GetCurrentProcess(), 0);
  ExitProcess(0);  // not reached
}

}  // namespace ModMain
