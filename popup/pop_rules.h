// The judging rules of pop-up detection over plain evidence (texts, classes
// and tick counts from the hand-off values), and the tables of windows
// already judged. Tick counts compare as signed 32-bit differences.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "popup/pop_lists.h"

namespace tl {

inline constexpr int32_t kMenuWindowMs = 3000;      // a menu click counts this long
inline constexpr int32_t kRunDialogWindowMs = 2000; // after the Run dialog closed
inline constexpr int32_t kPurgeEveryMs = 2000;
inline constexpr int32_t kDefaultClickInterval = 1500;

// A hand-off tick or handle: signed 32-bit decimal text; 0 when unreadable.
int32_t HandoffNumber(std::string_view text);
// The clicked menu item still counts at `now` (0..3000 ms after it).
bool MenuClickFresh(uint32_t now, int32_t menuTime);
// The Run dialog closed less than 2 s ago (closedAt 0 = never).
bool RunDialogJustClosed(uint32_t now, uint32_t closedAt);

// What the glue gathers about the last click in a page.
struct ClickEvidence {
  int32_t WinTime = 0;    // the new window's creation
  int32_t MouseTime = 0;  // the last left-button release
  std::string ClickedClass;
  std::string ClickedParentClass;
  std::string MouseTimeD;      // address under the last press
  std::string CurrentAddress;  // address of the clicked browser window now
};
// The window followed a click in the page of the same address within the
// interval (only asked in Intelligent mode).
bool ClickInPageAllows(const ClickEvidence& e, int32_t intervalMs);
// Whether the glue must look up the address (the cheap tests pass).
bool ClickMayAllow(const ClickEvidence& e, int32_t intervalMs);

// "... -- Web Page Dialog"
bool IsWebPageDialogTitle(std::string_view title);

// Browser processes and their windows already judged. Freed records and
// gone windows' entries are reused, so a browser that runs for days never
// runs out of room.
class BrowserProcTable {
 public:
  struct Entry {
    uint32_t hwnd = 0;  // 0 = gone
    bool seen = false;
  };
  struct Record {
    uint32_t pid = 0;  // 0 = free
    std::vector<Entry> windows;
  };

  int Find(uint32_t pid) const;           // record index or -1
  int AddBrowserProcess(uint32_t pid);                 // a free record, or a new one
  // Marks the window seen when the record has it.
  bool MarkWindowSeen(int record, uint32_t hwnd);
  void AddBrowserWindow(int record, uint32_t hwnd);  // also marks it seen
  void ClearSeen();
  // Drops windows not seen since ClearSeen and frees records with none seen.
  void Purge();
  const std::vector<Record>& records() const { return records_; }

 private:
  std::vector<Record> records_;
};

// Web-page dialogs already judged; 0 marks a free slot.
class KnownDialogList {
 public:
  bool Contains(uint32_t hwnd) const;
  void AddKnownDialog(uint32_t hwnd);
  template <typename Alive>
  void DropGone(Alive alive) {
    for (uint32_t& h : slots_)
      if (h && !alive(h)) h = 0;
  }
  size_t capacity() const { return slots_.size(); }

 private:
  std::vector<uint32_t> slots_;
};

}  // namespace tl
