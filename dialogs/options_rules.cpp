#include "dialogs/options_rules.h"

#include <cctype>
#include <cmath>
#include <limits>

#include "app/conversions.h"

namespace tl {

ModifierBoxes SeperateModifiers(int32_t m) {
  ModifierBoxes b;
  if (m >= 4) {
    b.shift = true;
    m -= 4;
  }
  if (m >= 2) {
    b.ctrl = true;
    m -= 2;
  }
  if (m == 1) b.alt = true;
  return b;
}

int32_t CollectModifiers(const ModifierBoxes& b) {
  return (b.alt ? 1 : 0) | (b.shift ? 4 : 0) | (b.ctrl ? 2 : 0);
}

std::string ColumnText(const std::vector<bool>& shown) {
  std::string s;
  for (bool b : shown) s += b ? '1' : '0';
  return s;
}

std::vector<bool> ColumnChecks(std::string_view text, size_t columns) {
  std::vector<bool> v(columns, false);
  for (size_t i = 0; i < columns && i < text.size(); ++i) v[i] = text[i] == '1';
  return v;
}

double LeadingNumber(std::string_view s, bool allowFraction) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  double value = 0;
  for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i)
    value = value * 10 + (s[i] - '0');
  if (allowFraction && i < s.size() && s[i] == '.') {
    double scale = 0.1;
    for (++i; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
      value += (s[i] - '0') * scale;
      scale /= 10;
    }
  }
  return std::isfinite(value) ? value : 0;
}

namespace {
template <typename T>
T LeadingWhole(std::string_view s) {
  // The boxes take digits only, but a long one must not wrap into a
  // negative interval: it stops at the field's largest value.
  double v = LeadingNumber(s, false);
  constexpr double top = std::numeric_limits<T>::max();
  return static_cast<T>(v > top ? top : v);
}
}  // namespace

int16_t LeadingInt16(std::string_view s) { return LeadingWhole<int16_t>(s); }
int32_t LeadingInt32(std::string_view s) { return LeadingWhole<int32_t>(s); }

std::string CharBoxText(int32_t code) {
  if (code <= 0 || code > 255) return "";
  return std::string(1, static_cast<char>(code));
}

int32_t CharBoxCode(std::string_view text, char emptyDefault) {
  // Enter can apply while the emptied box still has the focus, before the
  // box puts its default back: the default is what it stands for then.
  char c = text.empty() ? emptyDefault : text[0];
  return static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(c)));
}

OptionsValues ValuesFromSettings(const SettingsRecord& rec, size_t appColumns,
                                 size_t wndColumns) {
  OptionsValues v;
  v.startUp = rec.RunAtStartUp == 1;
  v.splash = rec.SplashAtStartUp == 1;
  v.hkEnabled = rec.AppHKEnabled == 1;
  v.hk = SeperateModifiers(rec.AppHKModifiers);
  v.hkChar = CharBoxText(rec.AppHKCharCode);
  v.restartEnabled = rec.RestartHKEnabled == 1;
  v.restart = SeperateModifiers(rec.RestartHKModifiers);
  v.restartChar = CharBoxText(rec.RestartHKCharCode);
  v.secLogData = std::to_string(rec.HistoryInterval);
  v.numLogData = std::to_string(rec.HistoryLines);
  v.procWarn = rec.ProcWarn == 1;
  v.hideWnd = rec.HideWnd == 1;
  v.wndDisplay = rec.WndDisplay;
  v.appList = ColumnChecks(rec.AppList, appColumns);
  v.wndList = ColumnChecks(rec.WndList, wndColumns);
  v.lowRes[0] = std::to_string(rec.TrackerThresholds[0]);
  v.lowRes[1] = std::to_string(rec.TrackerThresholds[1]);
  v.lanCon = rec.LANCon;
  v.everyXSeconds = std::to_string(rec.CostInterval);
  v.costOfXSecond = SingleText(rec.CostPerInterval);
  v.extraCost = SingleText(rec.CostPerConnection);
  v.popPlaySnd = rec.PopPlaySnd == 1;
  v.popPlaySndFile = rec.PopPlaySndFile;
  v.blockDialog = rec.BlockDialog == 1;
  v.blockMode = rec.BlockMode;
  return v;
}

std::optional<OptionsError> CheckErrors(const OptionsValues& v) {
  auto none = [](const ModifierBoxes& b) { return !b.alt && !b.ctrl && !b.shift; };
  auto anyShown = [](const std::vector<bool>& l) {
    for (bool b : l)
      if (b) return true;
    return false;
  };
  if (v.hkEnabled && none(v.hk)) return OptionsError{kNoMainModifier, 0, OptionsError::MainCharBox};
  if (v.restartEnabled && none(v.restart))
    return OptionsError{kNoRestartModifier, 0, OptionsError::RestartCharBox};
  if (!anyShown(v.appList)) return OptionsError{kNoProgramColumn, 3, OptionsError::None};
  if (!anyShown(v.wndList)) return OptionsError{kNoWindowColumn, 3, OptionsError::None};
  return std::nullopt;
}

bool StoreOptions(SettingsEnv& env, SettingsRecord& rec, const OptionsValues& v) {
  rec.RunAtStartUp = v.startUp;
  rec.SplashAtStartUp = v.splash;
  rec.HistoryInterval = LeadingInt32(v.secLogData);
  rec.HistoryLines = LeadingInt16(v.numLogData);
  rec.AppHKEnabled = v.hkEnabled;
  rec.AppHKModifiers = CollectModifiers(v.hk);
  rec.AppHKCharCode = CharBoxCode(v.hkChar, kMainHotkeyChar);
  rec.RestartHKEnabled = v.restartEnabled;
  rec.RestartHKModifiers = CollectModifiers(v.restart);
  rec.RestartHKCharCode = CharBoxCode(v.restartChar, kRestartHotkeyChar);

  for (int i = 1; i <= rec.SProgCount; ++i)
    env.store.Delete(kAppTitle, "Options", "SProg" + std::to_string(i));
  rec.SProgCount = static_cast<int16_t>(v.programs.size());

  rec.ProcWarn = v.procWarn;
  rec.HideWnd = v.hideWnd;
  if (v.wndDisplay >= 0) rec.WndDisplay = static_cast<int16_t>(v.wndDisplay);
  rec.AppList = ColumnText(v.appList);
  rec.WndList = ColumnText(v.wndList);
  rec.TrackerThresholds[0] = LeadingInt16(v.lowRes[0]);
  rec.TrackerThresholds[1] = LeadingInt16(v.lowRes[1]);

  int16_t lan = v.lanCon == 0 ? 0 : 1;
  bool lanChanged = lan != rec.LANCon;
  rec.LANCon = lan;

  rec.CostInterval = LeadingInt16(v.everyXSeconds);
  rec.CostPerInterval = static_cast<float>(LeadingNumber(v.costOfXSecond, true));
  rec.CostPerConnection = static_cast<float>(LeadingNumber(v.extraCost, true));

  rec.PopPlaySnd = v.popPlaySnd;
  rec.PopPlaySndFile = v.popPlaySndFile;
  rec.BlockDialog = v.blockDialog;
  rec.BlockMode = v.blockMode == 0 ? 0 : 1;

  SaveOptions(env, rec);
  std::vector<SpecialProgramRow> rows = v.programs;
  SpecialProgramList(env, rec, kSaveSpecialPrograms, "", &rows);
  return lanChanged;
}

}  // namespace tl
