// The Options dialog's decisions over plain values: the hotkey modifier
// boxes, the column-selection texts, the number boxes, the checks before
// anything is stored, and what Apply writes into the settings.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings.h"

namespace tl {

// The three modifier boxes of one hotkey block.
struct ModifierBoxes {
  bool alt = false;
  bool ctrl = false;
  bool shift = false;
};
// The boxes a stored modifier value ticks (1 Alt, 2 Ctrl, 4 Shift); the
// dialog only ticks, it never clears.
ModifierBoxes SeperateModifiers(int32_t modifiers);
int32_t CollectModifiers(const ModifierBoxes& boxes);

// One "1"/"0" per column of a table; a missing character counts as hidden.
std::string ColumnText(const std::vector<bool>& shown);
std::vector<bool> ColumnChecks(std::string_view text, size_t columns);

// Leading-number reads of the number boxes: leading blanks skipped, then
// digits (and, for amounts, one decimal point); anything else reads as 0.
// Whole numbers are held to their field's range.
double LeadingNumber(std::string_view text, bool allowFraction);
int16_t LeadingInt16(std::string_view text);
int32_t LeadingInt32(std::string_view text);

// The character box of a hotkey and the key code it stands for: the upper
// case of its first character. An empty box means the box's own default
// ("E" for the main-window hotkey, "D" for terminate-and-restart).
std::string CharBoxText(int32_t code);
int32_t CharBoxCode(std::string_view text, char emptyDefault);
inline constexpr char kMainHotkeyChar = 'E';
inline constexpr char kRestartHotkeyChar = 'D';

// What the Options dialog's controls hold.
struct OptionsValues {
  bool startUp = false;
  bool splash = false;
  bool hkEnabled = false;
  ModifierBoxes hk;
  std::string hkChar;
  bool restartEnabled = false;
  ModifierBoxes restart;
  std::string restartChar;
  std::string secLogData;
  std::string numLogData;
  bool procWarn = false;
  std::vector<SpecialProgramRow> programs;
  bool hideWnd = false;
  int wndDisplay = -1;  // the selected option, -1 none
  std::vector<bool> appList;
  std::vector<bool> wndList;
  std::string lowRes[2];
  int lanCon = -1;  // the selected connection option, -1 none
  std::string everyXSeconds;
  std::string costOfXSecond;
  std::string extraCost;
  bool popPlaySnd = false;
  std::string popPlaySndFile;
  bool blockDialog = false;
  int blockMode = -1;  // the selected blocking mode, -1 none
};

// The controls as the dialog fills them from the record when it opens
// (the special-program rows come from the store separately).
OptionsValues ValuesFromSettings(const SettingsRecord& rec, size_t appColumns,
                                 size_t wndColumns);

// A check that keeps the dialog open: the message, the tab to show and the
// box to put the focus in.
struct OptionsError {
  const char* message;
  int tab;
  enum Focus { None, MainCharBox, RestartCharBox } focus;
};
inline constexpr const char* kNoMainModifier =
    "Please select ALT or CTRL or SHIFT in the Hot Key of Tarvick";
inline constexpr const char* kNoRestartModifier =
    "Please select ALT or CTRL or SHIFT in the Hot Key of 'Terminate and restart a program'";
inline constexpr const char* kNoProgramColumn = "You must select at least one column in programs list";
inline constexpr const char* kNoWindowColumn = "You must select at least one column in windows list";
std::optional<OptionsError> CheckErrors(const OptionsValues& v);

// Writes the controls into the record and the store: the old special-program
// entries are deleted, "Options" and one entry per row are written. True
// when the connection kind changed, so blocking has to stop once.
bool StoreOptions(SettingsEnv& env, SettingsRecord& rec, const OptionsValues& v);

}  // namespace tl
