#include "popup/pop_manager.h"

#include <algorithm>

#include "app/conversions.h"

namespace tl {

std::optional<size_t> EntryByPath(const std::vector<BrowserEntry>& list, std::string_view path) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].Path == path) return i;
  return std::nullopt;
}

bool PathTaken(const std::vector<BrowserEntry>& list, std::string_view path,
               std::optional<size_t> skip) {
  std::string lower = ToLower(path);
  for (size_t i = 0; i < list.size(); ++i)
    if (i != skip && ToLower(list[i].Path) == lower) return true;
  return false;
}

bool RemoveEntry(std::vector<BrowserEntry>& list, size_t i) {
  if (i >= list.size()) return false;
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
  return true;
}

std::vector<size_t> SortedOrder(const std::vector<std::string>& texts, bool descending) {
  std::vector<std::string> keys;
  keys.reserve(texts.size());
  for (const std::string& t : texts) keys.push_back(ToLower(t));
  std::vector<size_t> order(texts.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return descending ? keys[b] < keys[a] : keys[a] < keys[b];
  });
  return order;
}

std::string CopyText(const std::vector<CopiedRow>& rows) {
  std::string out;
  for (const CopiedRow& r : rows) {
    out += r.name;
    if (r.address) out += "(" + *r.address + ")";
    out += "\r\n";
  }
  return out;
}

std::vector<PreDefRow> PredefinedRows(const std::vector<PopDatRecord>& records,
                                      const std::vector<InstalledFacts>& facts) {
  std::vector<PreDefRow> rows;
  for (size_t i = 0; i < records.size() && i < facts.size(); ++i) {
    const InstalledFacts& f = facts[i];
    if (f.path.empty() || !f.exists || !VersionApplies(records[i].Version, f.fileVersion)) continue;
    rows.push_back({records[i].DisplayName, f.path, i + 1});
  }
  return rows;
}

}  // namespace tl
