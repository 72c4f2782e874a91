// Helpers of the Windows tests: program folders, processes, message boxes
// found by caption and answered by their buttons, raw registry values.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace tltest {

// The build tree as Windows sees it (for the built programs).
std::string BinaryDir();
// A new empty folder under %TEMP%.
std::string MakeTempDir(const std::string& stem);
// A fresh program folder with TarvickLite.exe and corvel.dll copied in.
std::string MakeProgramFolder(const std::string& stem);
// The user's settings and the program's App Paths registration gone, as
// before a first install.
void ForgetInstallation();
// A file's bytes ("" when it cannot be read); a file made of these bytes.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Polls until done() holds (pumping this thread's messages meanwhile, if
// asked); false when ms ran out first.
bool WaitUntil(const std::function<bool()>& done, DWORD ms = 5000, bool pump = false);
// Dispatches this thread's pending messages, for about ms milliseconds.
void Pump(DWORD ms = 0);
// A window's text (through WM_GETTEXT, so also another process's controls)
// and its rectangle on the screen.
std::string TextOf(HWND h);
RECT RectOf(HWND h);
// Pop.dat with one record, for the fixture browser pop_browser.exe: white-lists
// the address "trusted.test".
void WriteFixturePopDat(const std::string& folder, const std::string& exe = "pop_browser.exe");

// A started process; killed on destruction when still running.
class Process {
 public:
  Process() = default;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();
  bool Start(const std::string& exe, const std::string& args = "", const std::string& cwd = "");
  DWORD pid() const { return pi_.dwProcessId; }
  HANDLE handle() const { return pi_.hProcess; }
  bool Running() const;
  // Exit code after waiting, or STILL_ACTIVE on timeout.
  DWORD Wait(DWORD ms);
  void Kill();

 private:
  PROCESS_INFORMATION pi_{};
};

// Top-level window of a process by class name (pid 0: any process).
HWND FindProcessWindow(DWORD pid, const char* className, const char* title, DWORD timeoutMs);

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::string caption;
  std::string text;
  std::vector<std::string> buttons;  // in the box's order
  std::string defaultButton;         // the one with BS_DEFPUSHBUTTON
  HICON icon = nullptr;              // the icon control's image, if any
};
// Waits for a dialog-class box with this caption in the process (0: any).
HWND WaitForMessageBox(DWORD pid, const char* caption, DWORD timeoutMs);
MessageBoxInfo ReadMessageBox(HWND box);
// Clicks the box's button with this text ("&No", "OK") and waits until the box is gone.
bool PressButton(HWND box, const char* text);

// Answers every box of this process with this caption from another thread
// until Wait(), as a user would, and keeps what the last one showed (an
// empty button: the box's default). For calls that show their boxes and
// return, so that by Wait() every box has come and gone.
class BoxAnswerer {
 public:
  BoxAnswerer(const char* caption, const char* button);
  ~BoxAnswerer() { Wait(); }
  MessageBoxInfo Wait();
  std::atomic<int> boxes{0};

 private:
  MessageBoxInfo info_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Runs action (a call that shows its boxes and returns) while a BoxAnswerer
// answers with button; what the last box showed (hwnd null: none came).
MessageBoxInfo AnsweringBoxes(const char* button, const std::function<void()>& action,
                              const char* caption = "Tarvick Lite");

// Real input (SendInput): a click of the left button, or of the right one
// (MOUSEEVENTF_RIGHTDOWN), `times` in a row at a screen point, or at the
// centre of a screen rectangle; keys pressed in order and released in reverse.
void ClickAt(POINT p, DWORD down = MOUSEEVENTF_LEFTDOWN, int times = 1);
void ClickAt(const RECT& r);
void PressKeys(std::initializer_list<WORD> keys);

// Registry.
void DeleteKeyTree(HKEY root, const std::string& path);
struct RawValue {
  bool exists = false;
  DWORD type = 0;
  std::string bytes;
};
RawValue ReadRaw(HKEY root, const std::string& path, const std::string& name);
void WriteRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
              const std::string& bytes);
std::string SettingsKey(const std::string& section);  // HKCU path of a "Tarvick Lite" section
std::string TextOf(const RawValue& v);  // up to the first NUL, "<missing>" when absent
std::string Setting(const std::string& section, const std::string& name);  // its TextOf
// Every value of a "Tarvick Lite" section: name -> "type:" and the raw bytes.
std::map<std::string, std::string> Section(const std::string& section);
inline std::string RegSz(const std::string& text) { return "1:" + text + '\0'; }  // as Section shows it

}  // namespace tltest
