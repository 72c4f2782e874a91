// The user settings: the in-memory record, its load/save/reset against the
// settings store, the special-program entries and the "General" section.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings_store.h"

namespace tl {

struct SettingsRecord {
  int16_t RunAtStartUp = 0;
  int16_t SplashAtStartUp = 0;
  int16_t ProcWarn = 0;
  int16_t PopPlaySnd = 0;
  std::string PopPlaySndFile;
  int16_t BlockDialog = 0;
  int16_t BlockMode = 0;
  int16_t AppHKEnabled = 0;
  int32_t AppHKModifiers = 0;
  int32_t AppHKCharCode = 0;
  int16_t WndDisplay = 0;
  int16_t HideWnd = 0;
  int16_t LANCon = 0;
  int16_t SProgCount = 0;
  std::string AppList;
  std::string WndList;
  bool BlockMessenger = false;
  bool BlockPopUps = false;
  int16_t UpdateSpeed = 0;

  // Kept in memory only: set by a reset, never loaded.
  int16_t WinReminderInterval = 0;  // minutes; 0 = reminder off
  int16_t IdleResetMinutes = 0;
  std::string WinReminderText;
  int16_t CostInterval = 0;      // seconds per charged interval
  float CostPerInterval = 0;
  float CostPerConnection = 0;   // charged at the start of a connection
  int32_t HistoryInterval = 0;   // seconds between recorded samples
  int16_t HistoryLines = 0;      // most lines the recorder keeps
  int16_t TrackerThresholds[2] = {0, 0};  // high and very high CPU/memory use, %
  // The terminate-and-restart hotkey; nothing outside the Options dialog reads it.
  int16_t RestartHKEnabled = 0;
  int32_t RestartHKModifiers = 0;
  int32_t RestartHKCharCode = 0;
};

// The folders the settings refer to: the program folder (no trailing
// backslash), and the Windows and system directories.
struct SystemDirs {
  std::string programFolder;
  std::string windowsDir;
  std::string systemDir;
};

// The messages the load operations report (shown as error boxes by the program).
inline constexpr const char* kLoadOptionsError =
    "Error loading settings from registry, default settings will be loaded";
inline constexpr const char* kLoadGeneralError =
    "Error loading general settings from registry, default settings will be loaded";
inline constexpr const char* kLoadSpecialError =
    "Error loading special programs, default settings will be loaded";
extern const char* const kWinReminderDefaultText;

// What the settings operations work on.
struct SettingsEnv {
  SettingsStore& store;
  SystemDirs dirs;
  std::function<void(std::string_view message)> showError;  // may be empty
};

// A value that cannot be read shows kLoadOptionsError and stores the reset
// values, except the connection choice when "LANCon" itself reads.
void LoadOptions(SettingsEnv& env, SettingsRecord& rec);
void SaveOptions(SettingsEnv& env, const SettingsRecord& rec);
void ResetToDefaults(SettingsEnv& env, SettingsRecord& rec);
// The first run's options: the reset values, except a start-up choice
// already stored (the setup's "Start with Windows" box), which is kept.
void FirstRunDefaults(SettingsEnv& env, SettingsRecord& rec);
void WriteDefaultSpecialPrograms(SettingsEnv& env, SettingsRecord& rec);

// "General" and "MoreTools".
struct GeneralSettings {
  bool BlockMessenger = true;
  bool BlockPopUps = true;
  bool AlwaysOnTop = true;
  int16_t UpdateSpeed = 0;  // 0..3
};
// Reads both sections. A failing read shows kLoadGeneralError, writes the
// recovery values (centreLeft/centreTop: the centred main window, twips) and
// the default of each "MoreTools" flag that failed, and reads again; if that
// fails too, the defaults stand.
GeneralSettings LoadGeneralSettings(SettingsEnv& env, float centreLeft, float centreTop);

struct GeneralState {
  bool AlwaysOnTop = false;
  int16_t UpdateSpeed = 0;
  float LeftTwips = 0;
  float TopTwips = 0;
};
void SaveGeneralSettings(SettingsStore& store, const GeneralState& state);

// Special programs.
enum SpecialAction : int { kHideFromList = 0, kHideWithWindows = 1, kWarnBeforeClose = 2 };
struct SpecialProgramEntry {
  std::string path;
  int16_t action = 0;
  int16_t state = 0;  // 1 = active
};
// "path,action;state": the first "," and the first ";" delimit the parts.
bool ParseSpecialProgram(std::string_view text, SpecialProgramEntry& out);
std::string SpecialProgramText(const SpecialProgramEntry& e);
bool SpecialProgramMatches(const SpecialProgramEntry& e, std::string_view path);
// First active entry whose path is a prefix of path, ignoring case; -1 if none.
int MatchSpecialProgram(const std::vector<SpecialProgramEntry>& entries, std::string_view path);

// A row of the Options dialog's special-program list.
struct SpecialProgramRow {
  std::string path;          // row text
  std::string actionCaption; // second column
  int icon = 0;              // icon index = the entry's state
};
enum SpecialListMode : int { kSaveSpecialPrograms = 1, kLoadSpecialPrograms = 2, kLookupSpecialProgram = 3 };
// Mode 1 writes entries 1..SProgCount from rows; mode 2 appends a row per
// entry; mode 3 returns the action of the first matching entry. Modes 1 and
// 2 (and every failed read) return -1.
int SpecialProgramList(SettingsEnv& env, SettingsRecord& rec, int mode, std::string_view path,
                       std::vector<SpecialProgramRow>* rows);

std::string ActionCaption(int index);
std::string ActionIndex(std::string_view caption);  // decimal text, "" if unknown

}  // namespace tl
