#include "popup_bed.h"

namespace tltest {

namespace {

const std::string kHandoffKey = "Software\\VB and VBA Program Settings\\Tarvick\\tmp";
const std::string kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

void PutSz(const std::string& section, const std::string& name, const std::string& value) {
  WriteRaw(HKEY_CURRENT_USER, SettingsKey(section), name, REG_SZ, value + '\0');
}

}  // namespace

void PopupBed::Install(int hidePop, int popDisNotf, bool noticeSuppressed,
                       const std::string& stem) {
  DeleteKeyTree(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Tarvick Lite");
  DeleteKeyTree(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Tarvick");
  folder = MakeProgramFolder(stem);
  // A browser installed under the same folder name, as a per-user install is.
  fixture = folder + "\\" + fixtureName + ".exe";
  CopyFileA((BinaryDir() + "\\tests\\fixtures\\" + fixtureName + ".exe").c_str(), fixture.c_str(),
            FALSE);
  WriteFixturePopDat(folder, fixtureName + ".exe");
  WriteRaw(HKEY_LOCAL_MACHINE, kAppPaths + "TarvickLite.exe", "", REG_SZ,
           folder + "\\TarvickLite.exe" + '\0');
  WriteRaw(HKEY_LOCAL_MACHINE, kAppPaths + fixtureName + ".exe", "", REG_SZ, fixture + '\0');
  PutSz("Options", "LANCon", "1");
  PutSz("Options", "SplashAtStartUp", "0");
  PutSz("Options", "PopPlaySnd", "0");
  if (blockMode >= 0) PutSz("Options", "BlockMode", std::to_string(blockMode));
  PutSz("PopUp", "BrowsersLst_Total", "1");
  PutSz("PopUp", "Browsers(0).Path", fixture);
  PutSz("PopUp", "Browsers(0).MenuName(0)", "open in new window");
  PutSz("PopUp", "Browsers(0).MenuName(1)", "open in new window");
  PutSz("PopUp", "Browsers(0).HidePop", std::to_string(hidePop));
  PutSz("PopUp", "Browsers(0).PopDisNotf", std::to_string(popDisNotf));
  if (noticeSuppressed) PutSz("General", "MsgID-1", "False");
  SetCursorPos(5, 5);  // away from the detector screen
}

bool PopupBed::StartBoth() {
  if (!program.Start(folder + "\\TarvickLite.exe", "", folder)) return false;
  // Protection is on once the hooks are installed.
  if (!WaitUntil([] { return ReadRaw(HKEY_CURRENT_USER, kHandoffKey, "hHook_mouse").exists; },
                 15000))
    return false;
  if (!browser.Start(fixture, fixtureArgs, "")) return false;
  browserMain = FindProcessWindow(browser.pid(), frameClass, frameTitle, 10000);
  Sleep(700);  // the browser's own first window is recorded, not judged
  return browserMain != nullptr;
}

HWND PopupBed::FixtureWindow(DWORD pid, const char* cls, const char* title, DWORD timeoutMs) {
  HWND w = FindProcessWindow(pid, cls, title, timeoutMs);
  if (w) WaitUntil([&] { return GetWindowLongPtrA(w, GWLP_USERDATA) != 0; }, timeoutMs);
  return w;
}

HWND PopupBed::Screen() {
  return FindProcessWindow(program.pid(), "TarvickLitePopUpDetector", nullptr, 0);
}

bool PopupBed::ScreenVisible() {
  HWND s = Screen();
  return s && IsWindowVisible(s);
}

std::string PopupBed::BlockCount() { return Setting("PopUp", "TotalBlockCnt"); }

}  // namespace tltest
