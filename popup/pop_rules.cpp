#include "popup/pop_rules.h"

#include "app/conversions.h"
#include "app/ticks.h"

namespace tl {

int32_t HandoffNumber(std::string_view text) {
  auto v = ParseInt32(text);
  return v ? *v : 0;
}

bool MenuClickFresh(uint32_t now, int32_t menuTime) {
  // A click "in the future" is a stale value from before a counter wrap.
  int32_t age = TickDiff(now, static_cast<uint32_t>(menuTime));
  return age >= 0 && age <= kMenuWindowMs;
}

bool RunDialogJustClosed(uint32_t now, uint32_t closedAt) {
  if (closedAt == 0) return false;
  int32_t age = TickDiff(now, closedAt);
  return age >= 0 && age < kRunDialogWindowMs;
}

bool ClickMayAllow(const ClickEvidence& e, int32_t intervalMs) {
  int32_t gap = TickDiff(static_cast<uint32_t>(e.WinTime), static_cast<uint32_t>(e.MouseTime));
  if (gap <= 0 || gap >= intervalMs) return false;
  if (e.ClickedClass == "ToolbarWindow32") return false;
  return e.ClickedClass == "Internet Explorer_Server" ||
         e.ClickedParentClass == "Internet Explorer_Server";
}

bool ClickInPageAllows(const ClickEvidence& e, int32_t intervalMs) {
  if (!ClickMayAllow(e, intervalMs)) return false;
  // The press was in the page now shown by that browser window.
  return e.MouseTimeD.compare(0, e.CurrentAddress.size(), e.CurrentAddress) == 0;
}

bool IsWebPageDialogTitle(std::string_view title) {
  constexpr std::string_view kEnding = "-- Web Page Dialog";
  return title.size() >= kEnding.size() && title.substr(title.size() - kEnding.size()) == kEnding;
}

int BrowserProcTable::Find(uint32_t pid) const {
  if (pid == 0) return -1;
  for (size_t i = 0; i < records_.size(); ++i)
    if (records_[i].pid == pid) return static_cast<int>(i);
  return -1;
}

int BrowserProcTable::AddBrowserProcess(uint32_t pid) {
  for (size_t i = 0; i < records_.size(); ++i) {
    if (records_[i].pid == 0) {
      records_[i].pid = pid;
      records_[i].windows.clear();
      return static_cast<int>(i);
    }
  }
  records_.push_back({pid, {}});
  return static_cast<int>(records_.size() - 1);
}

bool BrowserProcTable::MarkWindowSeen(int record, uint32_t hwnd) {
  for (Entry& e : records_[record].windows) {
    if (e.hwnd == hwnd) {
      e.seen = true;
      return true;
    }
  }
  return false;
}

void BrowserProcTable::AddBrowserWindow(int record, uint32_t hwnd) {
  auto& windows = records_[record].windows;
  for (Entry& e : windows) {
    if (e.hwnd == 0) {
      e = {hwnd, true};
      return;
    }
  }
  windows.push_back({hwnd, true});
}

void BrowserProcTable::ClearSeen() {
  for (Record& r : records_)
    for (Entry& e : r.windows) e.seen = false;
}

void BrowserProcTable::Purge() {
  for (Record& r : records_) {
    if (r.pid == 0) continue;
    bool anySeen = false;
    for (Entry& e : r.windows) {
      if (e.seen) anySeen = true;
      else e.hwnd = 0;
    }
    if (!anySeen) {
      r.pid = 0;
      r.windows.clear();
    }
  }
}

bool KnownDialogList::Contains(uint32_t hwnd) const {
  for (uint32_t h : slots_)
    if (h == hwnd) return true;
  return false;
}

void KnownDialogList::AddKnownDialog(uint32_t hwnd) {
  for (uint32_t& h : slots_) {
    if (h == 0) {
      h = hwnd;
      return;
    }
  }
  slots_.push_back(hwnd);
}

}  // namespace tl
