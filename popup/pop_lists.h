// The pop-up blocker's lists: browser entries with their white entries, the
// predefined browsers of Pop.dat (fixed records), their storage in the
// settings store, and the matching rules on them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings_store.h"

namespace tl {

inline constexpr size_t kPopRecordSize = 2846;
inline constexpr size_t kMaxBrowsers = 51;
inline constexpr int kWhiteEntries = 6;

struct WhiteEntry {
  int32_t WhiteType = 0;  // 0 = page address, 1 = window name
  std::string URL_Or_Name_text;
  int16_t ExactText = 0;  // non-zero: whole-text match
};

struct BrowserEntry {
  std::string Path;
  std::string MenuName[2];
  int16_t PopDisNotf = 0;  // non-zero: announce on the detector screen
  int16_t HidePop = 0;     // 1: hide for a few seconds; 0: close at once
  WhiteEntry PreDefinedWhite[kWhiteEntries];
};

// One record of Pop.dat, texts trimmed of blanks and NULs.
struct PopDatRecord {
  std::string DisplayName;
  std::string ExeName;  // in record 1: the number of browser records
  std::string MenuName[2];
  int16_t PopDisNotf = 0;
  int16_t HidePop = 0;
  int16_t Version = 0;  // browser major version the white entries apply to; 0 = any
  WhiteEntry White[kWhiteEntries];
};

// Record `number` (1-based) of a Pop.dat image; nullopt past the data's end.
std::optional<PopDatRecord> ReadPopRecord(std::string_view data, size_t number);
// The browser records of a Pop.dat image (records 2 .. n + 1, n from record
// 1): a count that is not a number, negative, or larger than the records
// present reads as what is there.
std::vector<PopDatRecord> PopDatBrowsers(std::string_view data);

// Whether a record applies to a browser whose file version is `fileVersion`.
bool VersionApplies(int16_t recordVersion, std::string_view fileVersion);

// "PopUp" section of the "Tarvick Lite" store.
struct PopupCounters {
  int16_t TotalBlockCnt = 0;
  std::string TotalBlockSince;
};
// Reads the entries' paths, menu names and options (white entries empty).
std::vector<BrowserEntry> LoadBrowserEntries(const SettingsStore& store);
PopupCounters LoadCounters(SettingsStore& store, const std::string& today);
void SavePopupLists(SettingsStore& store, const std::vector<BrowserEntry>& list);
void SaveBlockCount(SettingsStore& store, int16_t count);

// White-entry test of one browser: exact (equal to the trimmed entry) or
// contained (case-sensitive, non-empty entry). The "Microsoft Internet
// Explorer" rule on the window class is the caller's.
bool WhiteEntryMatches(const BrowserEntry& b, int32_t type, std::string_view text);

// The item text without its first "&"; "" when it has none.
std::string StripAccessKey(std::string_view text);
// Whether a clicked menu item (stripped, lower-cased) names a browser's
// new-window command: contains MenuName(0) or MenuName(1), lower-cased; an
// empty configured name matches any non-empty item.
bool MenuRuleAllows(std::string_view menuLower, const BrowserEntry& b);

}  // namespace tl
