#include "inspect/window_query_win.h"

#include <exception>
#include <optional>

#include "app/conversions.h"
#include "app/ini_win.h"
#include "app/program_win.h"
#include "inspect/process_query_win.h"

namespace ModWndOpr {

tl::WindowRecord WndRecord;
bool ProgNotFound = false;

namespace {

constexpr UINT kWarnStyle = MB_YESNO | MB_ICONHAND | MB_DEFBUTTON2;  // 276

std::string ClassOf(HWND hwnd) {
  char buf[257] = {};
  int n = GetClassNameA(hwnd, buf, 256);
  return std::string(buf, n > 0 ? n : 0);
}

// The facts of one window, each asked for when the filter reaches it.
class LiveWindowFacts {
 public:
  explicit LiveWindowFacts(HWND hwnd) : hwnd_(hwnd) {}
  bool visible() const { return IsWindowVisible(hwnd_) != 0; }
  uint32_t exStyle() const {
    if (!exStyle_) exStyle_ = static_cast<uint32_t>(GetWindowLongA(hwnd_, GWL_EXSTYLE));
    return *exStyle_;
  }
  bool ownerIsWindow() const { return IsWindow(Owner()) != 0; }
  std::string className() const { return ClassOf(hwnd_); }
  std::string ownerClassName() const { return ClassOf(Owner()); }

 private:
  HWND Owner() const {
    if (!owner_) owner_ = GetWindow(hwnd_, GW_OWNER);
    return *owner_;
  }
  HWND hwnd_;
  mutable std::optional<uint32_t> exStyle_;
  mutable std::optional<HWND> owner_;
};

struct EnumContext {
  tl::SpecialLookup special;
  DWORD ownPid;
  int wndDisplay;
  int hideWnd;
};

BOOL CALLBACK EnumProc(HWND hwnd, LPARAM lp) {
  if (!Enumerating) return FALSE;
  try {
    auto& ctx = *reinterpret_cast<EnumContext*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == ctx.ownPid) return TRUE;
    if (!tl::WindowFilter(LiveWindowFacts(hwnd), ctx.wndDisplay, ctx.hideWnd, modIni::ClassList))
      return TRUE;
    // The program as code 2 finds it, without touching LastProgName.
    std::string program = tl::ToLower(ModProgInfo::Picture.NameOf(pid));
    if (ctx.special.Action(program) == tl::kHideWithWindows) return TRUE;
    WndHandles.push_back(hwnd);
    WndPids.push_back(pid);
    WndCount = static_cast<int16_t>(WndHandles.size() - 1);
    return TRUE;
  } catch (const std::exception&) {
    return FALSE;  // out of memory: the list ends here
  }
}

void Enumerate() {
  WndHandles.clear();
  WndPids.clear();
  WndCount = -1;
  EnumContext ctx{tl::SpecialLookup(ModMain::Prog().Env(), ModMain::Prog().Settings), ModMain::Prog().OwnProcessId,
                  ModMain::Prog().Settings.WndDisplay, ModMain::Prog().Settings.HideWnd};
  Enumerating = true;
  EnumWindows(EnumProc, reinterpret_cast<LPARAM>(&ctx));
  Enumerating = false;
}

// The text followed by its terminating NUL, as the buffer holds it.
std::string WindowText(HWND hwnd) {
  int n = GetWindowTextLengthA(hwnd) + 1;
  std::string buf(static_cast<size_t>(n), '\0');
  GetWindowTextA(hwnd, buf.data(), n);
  return buf;
}

// Code 4 with the handle; LastProgName is emptied first so that a miss shows.
std::string ProgramOfWindow(const std::string& handleText) {
  ModProgInfo::LastProgName.clear();
  ModProgInfo::ProcessQuery(tl::kProcWindowProgram, handleText);
  return ModProgInfo::LastProgName;
}

void FillRecord(HWND hwnd, const std::string& handleText) {
  WndRecord = {};
  if (!IsWindow(hwnd)) return;
  WndRecord.title = WindowText(hwnd);
  if (ProgramOfWindow(handleText).empty()) {
    // Started after the last refresh: look once more after a light one.
    Sleep(100);
    ModProgInfo::ProcessQuery(tl::kProcRefresh, "True");
    ProgramOfWindow(handleText);
  }
  WndRecord.program = ModProgInfo::LastProgName;
  DWORD pid = 0;
  WndRecord.threadId = GetWindowThreadProcessId(hwnd, &pid);
  WndRecord.processId = pid;
  RECT r{};
  GetWindowRect(hwnd, &r);
  WndRecord.position = tl::PositionText(r.left, r.top, r.right, r.bottom);
  if (IsWindowHung(hwnd)) return;  // responding, visible, topmost, enabled stay false
  WndRecord.responding = IsWindowResponding(hwnd, false);
  WndRecord.enabled = IsWindowEnabled(hwnd) != 0;
  WndRecord.visible = IsWindowVisible(hwnd) != 0;
  WndRecord.topmost = IsTopMost(hwnd);
}

}  // namespace


tl::QueryValue WindowQuery(int32_t code, const std::string& handleText) {
  HWND hwnd = HandleFromText(handleText);
  switch (code) {
    case tl::kWndEnumerate:
      Enumerate();
      return {};
    case tl::kWndText:
      return WindowText(hwnd);
    case tl::kWndProgram: {
      std::string program = ProgramOfWindow(handleText);
      if (program.empty()) ProgNotFound = true;
      return program;
    }
    case tl::kWndResponding:
      return IsWindowResponding(hwnd, false);
    case tl::kWndVisible:
      if (IsWindowHung(hwnd)) return {};
      return IsWindowVisible(hwnd) != 0;
    case tl::kWndTopmost:
      if (IsWindowHung(hwnd)) return {};
      return IsTopMost(hwnd);
    case tl::kWndEnabled:
      if (IsWindowHung(hwnd)) return {};
      return IsWindowEnabled(hwnd) != 0;
    case tl::kWndProcessId: {
      DWORD pid = 0;
      GetWindowThreadProcessId(hwnd, &pid);
      return static_cast<int64_t>(pid);
    }
    case tl::kWndThreadId:
      return static_cast<int64_t>(GetWindowThreadProcessId(hwnd, nullptr));
    case tl::kWndPosition: {
      RECT r{};
      GetWindowRect(hwnd, &r);
      return tl::PositionText(r.left, r.top, r.right, r.bottom);
    }
    case tl::kWndRecord:
      FillRecord(hwnd, handleText);
      return {};
    default:
      return {};
  }
}


bool CloseOrTerminateWindow(bool terminate, HWND hwnd) {
  if (!terminate) {
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return true;
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  // Emptied first: a stale name must not decide whether to ask.
  std::string program = ProgramOfWindow(HandleText(hwnd));
  if (ConfirmTerminate(program)) return false;
  ModProgInfo::ProcessQuery(tl::kProcTerminate, std::to_string(pid));
  return true;
}

bool ConfirmTerminate(const std::string& programName) {
  int action = tl::SpecialProgramList(ModMain::Prog().Env(), ModMain::Prog().Settings, tl::kLookupSpecialProgram,
                                      programName, nullptr);
  if (action != tl::kWarnBeforeClose) return false;
  return ModMain::ShowMessage(ModMain::Prog().MessageOwner, tl::TerminateQuestion(programName),
                              kWarnStyle) == IDNO;
}

bool BringWindowToFront(HWND hwnd) {
  if (GetWindowLongA(hwnd, GWL_STYLE) & WS_MINIMIZE) ShowWindow(hwnd, SW_RESTORE);
  constexpr UINT kShow = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, kShow);
  Sleep(100);
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, kShow);
  Sleep(100);
  SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, kShow | SWP_NOACTIVATE);
  return MForceFore::ForceForeground(hwnd, true);
}

}  // namespace ModWndOpr
