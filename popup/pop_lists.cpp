#include "popup/pop_lists.h"

#include <cstring>

#include "app/conversions.h"

namespace tl {

namespace {

constexpr const char* kPopUp = "PopUp";

// Fixed-width text: up to the first NUL, blanks trimmed.
std::string Field(std::string_view rec, size_t off, size_t len) {
  std::string_view f = rec.substr(off, len);
  f = f.substr(0, f.find('\0'));
  return Trim(f);
}

int16_t Int16At(std::string_view rec, size_t off) {
  auto lo = static_cast<unsigned char>(rec[off]);
  auto hi = static_cast<unsigned char>(rec[off + 1]);
  return static_cast<int16_t>(lo | (hi << 8));
}

// A number as the lists store it: leading decimal digits (and sign); text
// that is no number reads as 0.
long Leading(std::string_view text) {
  std::string t = Trim(text);
  size_t i = 0;
  bool neg = false;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) neg = t[i++] == '-';
  long v = 0;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
    v = v * 10 + (t[i] - '0');
    if (v > 1000000) break;  // far beyond any count here
  }
  return neg ? -v : v;
}

std::string Key(size_t i, const char* ending) {
  return "Browsers(" + std::to_string(i) + ")." + ending;
}
std::string WhiteKey(size_t i, int j, const char* field) {
  return "Browsers(" + std::to_string(i) + ").PreDefinedWhite(" + std::to_string(j) + ")." + field;
}

int16_t Int16Of(const SettingsStore& store, const std::string& key) {
  auto t = store.Get(kAppTitle, kPopUp, key, "0");
  long v = t ? Leading(*t) : 0;
  return static_cast<int16_t>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
}

}  // namespace

std::optional<PopDatRecord> ReadPopRecord(std::string_view data, size_t number) {
  if (number == 0 || number > data.size() / kPopRecordSize) return std::nullopt;
  std::string_view rec = data.substr((number - 1) * kPopRecordSize, kPopRecordSize);
  PopDatRecord r;
  r.DisplayName = Field(rec, 0, 256);
  r.ExeName = Field(rec, 256, 256);
  r.MenuName[0] = Field(rec, 512, 256);
  r.MenuName[1] = Field(rec, 768, 256);
  r.PopDisNotf = Int16At(rec, 1280);
  r.HidePop = Int16At(rec, 1282);
  r.Version = Int16At(rec, 1284);
  for (int j = 0; j < kWhiteEntries; ++j) {
    r.White[j].WhiteType = Int16At(rec, 1286 + 2 * j);
    r.White[j].URL_Or_Name_text = Field(rec, 1298 + 256 * j, 256);
    r.White[j].ExactText = Int16At(rec, 2834 + 2 * j);
  }
  return r;
}

std::vector<PopDatRecord> PopDatBrowsers(std::string_view data) {
  std::vector<PopDatRecord> out;
  auto head = ReadPopRecord(data, 1);
  if (!head) return out;
  long n = Leading(head->ExeName);
  long present = static_cast<long>(data.size() / kPopRecordSize) - 1;
  if (n > present) n = present;
  for (long i = 2; i <= n + 1; ++i) out.push_back(*ReadPopRecord(data, static_cast<size_t>(i)));
  return out;
}

bool VersionApplies(int16_t recordVersion, std::string_view fileVersion) {
  if (recordVersion == 0) return true;
  std::string v = Trim(fileVersion);
  // The record keeps one digit: compared with the version's first character.
  return !v.empty() && std::to_string(recordVersion) == std::string(1, v[0]);
}

std::vector<BrowserEntry> LoadBrowserEntries(const SettingsStore& store) {
  std::vector<BrowserEntry> list;
  long count = Int16Of(store, "BrowsersLst_Total");
  if (count < 0) count = 0;
  if (count > static_cast<long>(kMaxBrowsers)) count = kMaxBrowsers;
  for (long i = 0; i < count; ++i) {
    BrowserEntry b;
    auto text = [&](const char* ending) {
      return store.Get(kAppTitle, kPopUp, Key(i, ending), "").value_or("");
    };
    b.Path = text("Path");
    b.MenuName[0] = text("MenuName(0)");
    b.MenuName[1] = text("MenuName(1)");
    b.HidePop = Int16Of(store, Key(i, "HidePop"));
    b.PopDisNotf = Int16Of(store, Key(i, "PopDisNotf"));
    list.push_back(std::move(b));
  }
  return list;
}

PopupCounters LoadCounters(SettingsStore& store, const std::string& today) {
  PopupCounters c;
  c.TotalBlockSince = store.Get(kAppTitle, kPopUp, "TotalBlockSince", today).value_or(today);
  if (c.TotalBlockSince.empty()) c.TotalBlockSince = today;
  if (c.TotalBlockSince == today) store.Write(kAppTitle, kPopUp, "TotalBlockSince", today);
  c.TotalBlockCnt = Int16Of(store, "TotalBlockCnt");
  return c;
}

void SavePopupLists(SettingsStore& store, const std::vector<BrowserEntry>& list) {
  store.Write(kAppTitle, kPopUp, "BrowsersLst_Total", std::to_string(list.size()));
  for (size_t i = 0; i < list.size(); ++i) {
    const BrowserEntry& b = list[i];
    store.Write(kAppTitle, kPopUp, Key(i, "Path"), b.Path);
    store.Write(kAppTitle, kPopUp, Key(i, "MenuName(0)"), b.MenuName[0]);
    store.Write(kAppTitle, kPopUp, Key(i, "MenuName(1)"), b.MenuName[1]);
    store.Write(kAppTitle, kPopUp, Key(i, "HidePop"), std::to_string(b.HidePop));
    store.Write(kAppTitle, kPopUp, Key(i, "PopDisNotf"), std::to_string(b.PopDisNotf));
    for (int j = 0; j < kWhiteEntries; ++j) {
      const WhiteEntry& w = b.PreDefinedWhite[j];
      store.Write(kAppTitle, kPopUp, WhiteKey(i, j, "ExactText"), std::to_string(w.ExactText));
      store.Write(kAppTitle, kPopUp, WhiteKey(i, j, "URL_Or_Name_text"), w.URL_Or_Name_text);
      store.Write(kAppTitle, kPopUp, WhiteKey(i, j, "WhiteType"), std::to_string(w.WhiteType));
    }
  }
}

void SaveBlockCount(SettingsStore& store, int16_t count) {
  store.Write(kAppTitle, kPopUp, "TotalBlockCnt", std::to_string(count));
}

bool WhiteEntryMatches(const BrowserEntry& b, int32_t type, std::string_view text) {
  if (text.empty()) return false;
  for (const WhiteEntry& w : b.PreDefinedWhite) {
    if (w.WhiteType != type) continue;
    if (w.ExactText) {
      if (text == Trim(w.URL_Or_Name_text)) return true;
    } else if (!w.URL_Or_Name_text.empty() && text.find(w.URL_Or_Name_text) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

std::string StripAccessKey(std::string_view text) {
  size_t p = text.find('&');
  if (p == std::string_view::npos) return "";
  return std::string(text.substr(0, p)) + std::string(text.substr(p + 1));
}

bool MenuRuleAllows(std::string_view menuLower, const BrowserEntry& b) {
  if (menuLower.empty()) return false;
  for (const std::string& name : b.MenuName)
    if (menuLower.find(ToLower(name)) != std::string_view::npos) return true;
  return false;
}

}  // namespace tl
