#include "app/settings.h"

#include <optional>

#include "app/conversions.h"

namespace tl {

const char* const kWinReminderDefaultText =
    "'Long hours on the computer can be rewarding, even fun, but they can also lead to aches "
    "and pains in your neck, shoulders, arms and hands.' This is one of the several warning "
    "signs of using computers for long time. Do you know that few minutes every hour can save "
    "you from all these dangers? Let Tarvick Plus reminds you kindly every specified active "
    "interval to walk around for a few minutes, stretch, and relax to protect your invaluable "
    "health.";

namespace {

constexpr const char* kOptions = "Options";
constexpr const char* kGeneral = "General";
constexpr const char* kMoreTools = "MoreTools";

const char* const kActionCaptions[] = {
    "Hide from programs list",
    "Hide it and all its windows from lists",
    "Give warning message before closing it",
};

std::string SProgKey(int i) { return "SProg" + std::to_string(i); }

void Report(SettingsEnv& env, const char* message) {
  if (env.showError) env.showError(message);
}

// Reads one value with its default and converts it; false when either fails.
class Reader {
 public:
  Reader(const SettingsStore& store, const char* section) : store_(store), section_(section) {}
  bool ok = true;

  void Int16(const char* key, int16_t def, int16_t& field) {
    if (auto t = Text(key, std::to_string(def))) {
      if (auto v = ParseInt16(*t)) field = *v; else ok = false;
    }
  }
  void Int32(const char* key, int32_t def, int32_t& field) {
    if (auto t = Text(key, std::to_string(def))) {
      if (auto v = ParseInt32(*t)) field = *v; else ok = false;
    }
  }
  void Flag(const char* key, bool def, bool& field) {
    if (auto t = Text(key, FlagText(def))) {
      if (auto v = ParseFlag(*t)) field = *v; else ok = false;
    }
  }
  void String(const char* key, const std::string& def, std::string& field) {
    if (auto t = Text(key, def)) field = *t;
  }

 private:
  std::optional<std::string> Text(const char* key, const std::string& def) {
    if (!ok) return std::nullopt;  // the first failure ends the load
    auto t = store_.Get(kAppTitle, section_, key, def);
    if (!t) ok = false;
    return t;
  }
  const SettingsStore& store_;
  const char* section_;
};

bool ReadOptions(const SettingsStore& store, const SystemDirs& dirs, SettingsRecord& rec) {
  Reader r(store, kOptions);
  r.Int16("RunAtStartUp", 0, rec.RunAtStartUp);
  r.Int16("SplashAtStartUp", 1, rec.SplashAtStartUp);
  r.Int16("ProcWarn", 1, rec.ProcWarn);
  r.Int16("PopPlaySnd", 1, rec.PopPlaySnd);
  r.String("PopPlaySndFile", dirs.programFolder + "\\Bell.wav", rec.PopPlaySndFile);
  r.Int16("BlockDialog", 1, rec.BlockDialog);
  r.Int16("BlockMode", 1, rec.BlockMode);
  r.Int16("AppHK.Enabled", 1, rec.AppHKEnabled);
  r.Int32("AppHK.Modifiers", 3, rec.AppHKModifiers);
  r.Int32("AppHK.CharCode", 69, rec.AppHKCharCode);
  r.Int16("WndDisplay", 1, rec.WndDisplay);
  r.Int16("HideWnd", 1, rec.HideWnd);
  r.Int16("LANCon", 0, rec.LANCon);
  r.Int16("SProgCount", -1, rec.SProgCount);
  r.String("AppList", "1111111111", rec.AppList);
  r.String("WndList", "1111111111", rec.WndList);
  return r.ok;
}

// The "MoreTools" flags; each one that cannot be read is named in `bad`.
bool ReadMoreTools(const SettingsStore& store, GeneralSettings& g,
                   std::vector<const char*>* bad = nullptr) {
  bool ok = true;
  for (auto [key, field] : {std::pair{"BlockMessenger", &g.BlockMessenger},
                            std::pair{"BlockPopUps", &g.BlockPopUps}}) {
    Reader r(store, kMoreTools);
    r.Flag(key, true, *field);
    if (r.ok) continue;
    ok = false;
    if (bad) bad->push_back(key);
  }
  return ok;
}

std::optional<GeneralSettings> ReadGeneral(const SettingsStore& store) {
  GeneralSettings g;
  if (!ReadMoreTools(store, g)) return std::nullopt;
  Reader gen(store, kGeneral);
  gen.Flag("AlwaysOnTop", true, g.AlwaysOnTop);
  gen.Int16("UpdateSpeed", 0, g.UpdateSpeed);
  // The index picks one of four menu items: anything else cannot be applied.
  if (!gen.ok || g.UpdateSpeed < 0 || g.UpdateSpeed > 3) return std::nullopt;
  return g;
}

// The reset after a load error. The connection choice is kept when its own
// value reads: with the reset value a LAN user's protection would stay off,
// and nothing asks again.
void RecoverFromLoadError(SettingsEnv& env, SettingsRecord& rec, const char* message) {
  Report(env, message);
  int16_t lanCon = 0;
  Reader r(env.store, kOptions);
  r.Int16("LANCon", 0, lanCon);
  ResetToDefaults(env, rec);
  if (r.ok) rec.LANCon = lanCon;
  SaveOptions(env, rec);
}

}  // namespace

void LoadOptions(SettingsEnv& env, SettingsRecord& rec) {
  if (!ReadOptions(env.store, env.dirs, rec)) {
    RecoverFromLoadError(env, rec, kLoadOptionsError);
    return;
  }
  // -1 marks a list never written; any other negative count is no list
  // either, and would reach code that sizes a list by it.
  if (rec.SProgCount < 0) WriteDefaultSpecialPrograms(env, rec);
}

void SaveOptions(SettingsEnv& env, const SettingsRecord& rec) {
  auto put = [&](const char* key, const std::string& text) {
    env.store.Write(kAppTitle, kOptions, key, text);
  };
  auto num = [&](const char* key, long v) { put(key, std::to_string(v)); };
  num("RunAtStartUp", rec.RunAtStartUp);
  num("SplashAtStartUp", rec.SplashAtStartUp);
  num("ProcWarn", rec.ProcWarn);
  num("PopPlaySnd", rec.PopPlaySnd);
  put("PopPlaySndFile", rec.PopPlaySndFile);
  num("BlockDialog", rec.BlockDialog);
  num("BlockMode", rec.BlockMode);
  num("AppHK.Enabled", rec.AppHKEnabled);
  num("AppHK.Modifiers", rec.AppHKModifiers);
  num("AppHK.CharCode", rec.AppHKCharCode);
  num("WndDisplay", rec.WndDisplay);
  num("HideWnd", rec.HideWnd);
  num("LANCon", rec.LANCon);
  num("SProgCount", rec.SProgCount);
  put("AppList", rec.AppList);
  put("WndList", rec.WndList);
  put("BlockMessenger", FlagText(rec.BlockMessenger));
}

void FirstRunDefaults(SettingsEnv& env, SettingsRecord& rec) {
  int16_t chosen = -1;
  Reader r(env.store, kOptions);
  r.Int16("RunAtStartUp", -1, chosen);
  ResetToDefaults(env, rec);
  if (r.ok && (chosen == 0 || chosen == 1)) rec.RunAtStartUp = chosen;
}

void ResetToDefaults(SettingsEnv& env, SettingsRecord& rec) {
  rec.RunAtStartUp = 1;
  rec.SplashAtStartUp = 1;
  rec.ProcWarn = 1;
  rec.PopPlaySnd = 1;
  rec.PopPlaySndFile = env.dirs.programFolder + "\\Bell.wav";
  rec.BlockDialog = 1;
  rec.BlockMode = 1;
  rec.AppHKEnabled = 1;
  rec.AppHKModifiers = 3;
  rec.AppHKCharCode = 69;
  rec.WndDisplay = 1;
  rec.HideWnd = 1;
  rec.LANCon = 0;
  rec.AppList = "11111111111";
  rec.WndList = "1111111111";
  rec.BlockMessenger = true;
  rec.WinReminderInterval = 60;
  rec.IdleResetMinutes = 3;
  rec.WinReminderText = kWinReminderDefaultText;
  rec.CostInterval = 60;
  rec.CostPerInterval = 0.02f;
  rec.CostPerConnection = 0.01f;
  rec.HistoryInterval = 5;
  rec.HistoryLines = 25;
  rec.TrackerThresholds[0] = 80;
  rec.TrackerThresholds[1] = 95;
  for (int i = 1; i <= rec.SProgCount; ++i) env.store.Delete(kAppTitle, kOptions, SProgKey(i));
  rec.SProgCount = -1;
  WriteDefaultSpecialPrograms(env, rec);
}

void WriteDefaultSpecialPrograms(SettingsEnv& env, SettingsRecord& rec) {
  env.store.Write(kAppTitle, kOptions, "SProg1",
                  ToLower(env.dirs.windowsDir + "\\explorer.exe" + ",2;1"));
  env.store.Write(kAppTitle, kOptions, "SProg2",
                  ToLower(env.dirs.systemDir + "\\kernel32.dll" + ",0;1"));
  rec.SProgCount = 2;
  env.store.Write(kAppTitle, kOptions, "SProgCount", "2");
}

GeneralSettings LoadGeneralSettings(SettingsEnv& env, float centreLeft, float centreTop) {
  if (auto g = ReadGeneral(env.store)) return *g;
  Report(env, kLoadGeneralError);
  auto put = [&](const char* key, const std::string& text) {
    env.store.Write(kAppTitle, kGeneral, key, text);
  };
  put("AlwaysOnTop", "True");
  put("UpdateSpeed", "0");
  put("AppsLst", "2");
  put("WndsLst", "2");
  put("Toolbar", "True");
  put("Left", SingleText(centreLeft));
  put("Top", SingleText(centreTop));
  // A bad "MoreTools" value left in place would bring this box back, and
  // cost the window's place, at every start.
  GeneralSettings probe;
  std::vector<const char*> bad;
  ReadMoreTools(env.store, probe, &bad);
  for (const char* key : bad) env.store.Write(kAppTitle, kMoreTools, key, FlagText(true));
  // One more read; a store that cannot be written leaves the defaults.
  if (auto g = ReadGeneral(env.store)) return *g;
  return GeneralSettings{};
}

void SaveGeneralSettings(SettingsStore& store, const GeneralState& s) {
  store.Write(kAppTitle, kGeneral, "AlwaysOnTop", FlagText(s.AlwaysOnTop));
  store.Write(kAppTitle, kGeneral, "UpdateSpeed", std::to_string(s.UpdateSpeed));
  store.Write(kAppTitle, kGeneral, "Left", SingleText(s.LeftTwips));
  store.Write(kAppTitle, kGeneral, "Top", SingleText(s.TopTwips));
}

bool ParseSpecialProgram(std::string_view text, SpecialProgramEntry& out) {
  size_t comma = text.find(',');
  size_t semi = text.find(';');
  if (comma == std::string_view::npos || semi == std::string_view::npos || semi < comma)
    return false;
  auto action = ParseInt16(text.substr(comma + 1, semi - comma - 1));
  auto state = ParseInt16(text.substr(semi + 1));
  if (!action || !state) return false;
  out.path = std::string(text.substr(0, comma));
  out.action = *action;
  out.state = *state;
  return true;
}

std::string SpecialProgramText(const SpecialProgramEntry& e) {
  return e.path + "," + std::to_string(e.action) + ";" + std::to_string(e.state);
}

bool SpecialProgramMatches(const SpecialProgramEntry& e, std::string_view path) {
  // An empty path would be a prefix of every program: it marks nothing.
  // Windows paths ignore case, and the Options dialog keeps entries as the
  // user typed them, so the comparison must too.
  if (e.state != 1 || e.path.empty() || path.size() < e.path.size()) return false;
  return ToLower(path.substr(0, e.path.size())) == ToLower(e.path);
}

int MatchSpecialProgram(const std::vector<SpecialProgramEntry>& entries, std::string_view path) {
  for (const auto& e : entries)
    if (SpecialProgramMatches(e, path)) return e.action;
  return -1;
}

int SpecialProgramList(SettingsEnv& env, SettingsRecord& rec, int mode, std::string_view path,
                       std::vector<SpecialProgramRow>* rows) {
  if (mode == kSaveSpecialPrograms) {
    for (int i = 1; rows && i <= rec.SProgCount && i <= static_cast<int>(rows->size()); ++i) {
      const auto& row = (*rows)[i - 1];
      env.store.Write(kAppTitle, kOptions, SProgKey(i),
                      row.path + "," + ActionIndex(row.actionCaption) + ";" +
                          std::to_string(row.icon));
    }
    return -1;
  }
  if (mode != kLoadSpecialPrograms && mode != kLookupSpecialProgram) return -1;
  for (int i = 1; i <= rec.SProgCount; ++i) {
    SpecialProgramEntry e;
    StoreRead r = env.store.Read(kAppTitle, kOptions, SProgKey(i));
    if (r.status != StoreRead::Ok || !ParseSpecialProgram(r.text, e)) {
      RecoverFromLoadError(env, rec, kLoadSpecialError);
      return -1;
    }
    if (mode == kLoadSpecialPrograms) {
      if (rows) rows->push_back({e.path, ActionCaption(e.action), e.state});
    } else if (SpecialProgramMatches(e, path)) {
      return e.action;
    }
  }
  return -1;
}

std::string ActionCaption(int index) {
  return index >= 0 && index < 3 ? kActionCaptions[index] : "";
}

std::string ActionIndex(std::string_view caption) {
  for (int i = 0; i < 3; ++i)
    if (caption == kActionCaptions[i]) return std::to_string(i);
  return "";
}

}  // namespace tl
