#include "win_test_util.h"

#include "tests/core/popup/pop_record.h"

#include <cstdlib>
#include <cstring>

namespace tltest {

std::string BinaryDir() { return TL_BINARY_DIR; }

bool WaitUntil(const std::function<bool()>& done, DWORD ms, bool pump) {
  for (DWORD start = GetTickCount(); !done(); pump ? Pump(20) : Sleep(20))
    if (GetTickCount() - start >= ms) return false;
  return true;
}

void Pump(DWORD ms) {
  DWORD start = GetTickCount();
  do {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (ms) Sleep(10);
  } while (GetTickCount() - start < ms);
}

std::string TextOf(HWND h) {
  char buf[4096] = {};
  SendMessageTimeoutA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG,
                      2000, nullptr);
  buf[sizeof buf - 1] = '\0';
  return buf;
}

RECT RectOf(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

std::string MakeTempDir(const std::string& stem) {
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  static int counter = 0;
  for (;;) {
    std::string dir = std::string(tmp) + "tl_" + stem + "_" + std::to_string(GetCurrentProcessId()) +
                      "_" + std::to_string(++counter);
    if (CreateDirectoryA(dir.c_str(), nullptr)) return dir;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return std::string(tmp);
  }
}

std::string MakeProgramFolder(const std::string& stem) {
  std::string dir = MakeTempDir(stem);
  CopyFileA((BinaryDir() + "\\TarvickLite.exe").c_str(), (dir + "\\TarvickLite.exe").c_str(), FALSE);
  CopyFileA((BinaryDir() + "\\hooklib\\corvel.dll").c_str(), (dir + "\\corvel.dll").c_str(), FALSE);
  return dir;
}

void ForgetInstallation() {
  const std::string appPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TarvickLite.exe";
  DeleteKeyTree(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Tarvick Lite");
  DeleteKeyTree(HKEY_LOCAL_MACHINE, appPaths);
  DeleteKeyTree(HKEY_CURRENT_USER, appPaths);
}

// Through the ANSI file functions, as the program opens its files.
std::string ReadFileBytes(const std::string& path) {
  std::string out;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  char buf[4096];
  for (DWORD n; f != INVALID_HANDLE_VALUE && ReadFile(f, buf, sizeof buf, &n, nullptr) && n;)
    out.append(buf, n);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  return out;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD w;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &w, nullptr);
  CloseHandle(f);
}

// Pop.dat with one record for the fixture: white-lists the address "trusted.test".
void WriteFixturePopDat(const std::string& folder, const std::string& exe) {
  WriteFileBytes(folder + "\\Pop.dat",
                 poptest::PopRecord("", "1") + poptest::PopRecord("Fixture Browser", exe,
                                                                  "open in new window", 0, "trusted.test"));
}

Process::~Process() { Kill(); }

bool Process::Start(const std::string& exe, const std::string& args, const std::string& cwd) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
  return CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        cwd.empty() ? nullptr : cwd.c_str(), &si, &pi_) != 0;
}

bool Process::Running() const {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Process::Wait(DWORD ms) {
  if (!pi_.hProcess) return STILL_ACTIVE;
  if (WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

void Process::Kill() {
  if (!pi_.hProcess) return;
  if (Running()) {
    TerminateProcess(pi_.hProcess, 99);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hProcess);
  CloseHandle(pi_.hThread);
  pi_ = {};
}

namespace {
struct FindArgs {
  DWORD pid;
  const char* cls;
  const char* title;
  bool visibleOnly;
  HWND found;
};

BOOL CALLBACK FindProc(HWND h, LPARAM lp) {
  auto* a = reinterpret_cast<FindArgs*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (a->pid && pid != a->pid) return TRUE;
  if (a->visibleOnly && !IsWindowVisible(h)) return TRUE;
  char buf[512];
  if (a->cls) {
    GetClassNameA(h, buf, sizeof buf);
    if (lstrcmpA(buf, a->cls) != 0) return TRUE;
  }
  if (a->title) {
    // The stored text, without a message: a window of this process whose
    // thread waits (on an answerer, say) must not stall the search.
    WCHAR text[512];
    InternalGetWindowText(h, text, 512);
    WideCharToMultiByte(CP_ACP, 0, text, -1, buf, sizeof buf, nullptr, nullptr);
    if (lstrcmpA(buf, a->title) != 0) return TRUE;
  }
  a->found = h;
  return FALSE;
}

HWND Poll(FindArgs args, DWORD timeoutMs) {
  WaitUntil([&] { return !EnumWindows(FindProc, reinterpret_cast<LPARAM>(&args)); }, timeoutMs);
  return args.found;
}
}  // namespace

HWND FindProcessWindow(DWORD pid, const char* className, const char* title, DWORD timeoutMs) {
  return Poll({pid, className, title, false, nullptr}, timeoutMs);
}

HWND WaitForMessageBox(DWORD pid, const char* caption, DWORD timeoutMs) {
  return Poll({pid, "#32770", caption, true, nullptr}, timeoutMs);
}

MessageBoxInfo ReadMessageBox(HWND box) {
  MessageBoxInfo info;
  info.hwnd = box;
  info.caption = TextOf(box);
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[64] = {};
    GetClassNameA(c, cls, sizeof cls);
    LONG style = GetWindowLongA(c, GWL_STYLE);
    if (lstrcmpiA(cls, "Button") == 0) {
      if (!IsWindowVisible(c)) continue;
      info.buttons.push_back(TextOf(c));
      if ((style & 0x0F) == BS_DEFPUSHBUTTON) info.defaultButton = info.buttons.back();
    } else if (lstrcmpiA(cls, "Static") == 0) {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        if (IsWindowVisible(c))
          info.icon = reinterpret_cast<HICON>(SendMessageA(c, STM_GETICON, 0, 0));
      } else if (info.text.empty()) {
        info.text = TextOf(c);
      }
    }
  }
  return info;
}

bool PressButton(HWND box, const char* text) {
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[64] = {};
    GetClassNameA(c, cls, sizeof cls);
    if (lstrcmpiA(cls, "Button") == 0 && TextOf(c) == text) {
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), BN_CLICKED),
                   reinterpret_cast<LPARAM>(c));
      // Done when the box is gone, so the next look sees what came after it.
      return WaitUntil([box] { return !IsWindow(box); });
    }
  }
  return false;
}

BoxAnswerer::BoxAnswerer(const char* caption, const char* button)
    : thread_([this, caption, button] {
        while (!stop_) {
          HWND box = WaitForMessageBox(GetCurrentProcessId(), caption, 50);
          if (!box) continue;
          info_ = ReadMessageBox(box);
          if (PressButton(box, *button ? button : info_.defaultButton.c_str())) ++boxes;
        }
      }) {}

MessageBoxInfo BoxAnswerer::Wait() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  return info_;
}

MessageBoxInfo AnsweringBoxes(const char* button, const std::function<void()>& action,
                              const char* caption) {
  BoxAnswerer user(caption, button);
  action();
  return user.Wait();
}

void ClickAt(POINT p, DWORD down, int times) {
  SetCursorPos(p.x, p.y);
  std::vector<INPUT> in(2 * times);
  for (size_t i = 0; i < in.size(); ++i) {
    in[i].type = INPUT_MOUSE;
    in[i].mi.dwFlags = i % 2 ? down << 1 : down;  // a button's release flag follows its press flag
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void ClickAt(const RECT& r) { ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}); }

void PressKeys(std::initializer_list<WORD> keys) {
  const size_t n = keys.size();
  std::vector<INPUT> in(2 * n);
  size_t i = 0;
  for (WORD k : keys) {
    INPUT& press = in[i];
    INPUT& release = in[2 * n - 1 - i++];
    press.type = release.type = INPUT_KEYBOARD;
    press.ki.wVk = release.ki.wVk = k;
    release.ki.dwFlags = KEYEVENTF_KEYUP;
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void DeleteKeyTree(HKEY root, const std::string& path) { RegDeleteTreeA(root, path.c_str()); RegDeleteKeyA(root, path.c_str()); }

RawValue ReadRaw(HKEY root, const std::string& path, const std::string& name) {
  RawValue v;
  HKEY k;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return v;
  DWORD size = 0;
  if (RegQueryValueExA(k, name.c_str(), nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
    v.bytes.assign(size, '\0');
    if (RegQueryValueExA(k, name.c_str(), nullptr, &v.type,
                         reinterpret_cast<BYTE*>(v.bytes.data()), &size) == ERROR_SUCCESS) {
      v.exists = true;
      v.bytes.resize(size);
    }
  }
  RegCloseKey(k);
  return v;
}

void WriteRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
              const std::string& bytes) {
  RegSetKeyValueA(root, path.c_str(), name.c_str(), type, bytes.data(), static_cast<DWORD>(bytes.size()));
}

std::string SettingsKey(const std::string& section) {
  return "Software\\VB and VBA Program Settings\\Tarvick Lite\\" + section;
}

std::string TextOf(const RawValue& v) { return v.exists ? std::string(v.bytes.c_str()) : "<missing>"; }

std::string Setting(const std::string& section, const std::string& name) {
  return TextOf(ReadRaw(HKEY_CURRENT_USER, SettingsKey(section), name));
}

std::map<std::string, std::string> Section(const std::string& section) {
  std::map<std::string, std::string> values;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKey(section).c_str(), 0, KEY_READ, &key)) return values;
  char name[256];
  BYTE data[2048];
  for (DWORD i = 0, nameLen = sizeof name, dataLen = sizeof data, type = 0;
       !RegEnumValueA(key, i, name, &nameLen, nullptr, &type, data, &dataLen);
       ++i, nameLen = sizeof name, dataLen = sizeof data)
    values[name] = std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), dataLen);
  RegCloseKey(key);
  return values;
}

}  // namespace tltest
