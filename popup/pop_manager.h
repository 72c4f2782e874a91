// Rules of the manager page and the browser dialog: finding, refusing and
// removing browser entries, the report lists' sort order, the copied text of
// selected rows and the predefined browsers offered on this machine.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "popup/pop_lists.h"

namespace tl {

// The entry whose path is exactly `path` (a row of the browser list holds
// its entry's path); nullopt when none has it.
std::optional<size_t> EntryByPath(const std::vector<BrowserEntry>& list, std::string_view path);
// Whether an entry other than `skip` already has this path, letter case
// ignored (the dialog's duplicate check).
bool PathTaken(const std::vector<BrowserEntry>& list, std::string_view path,
               std::optional<size_t> skip);
// Removes entry i; the later entries move up. False when i is out of range.
bool RemoveEntry(std::vector<BrowserEntry>& list, size_t i);

// Sort state of one report list: a header click flips the direction,
// whichever column it names, and sorts by that column.
struct ListSort {
  int column = -1;  // -1: never sorted, rows in the order they came
  bool descending = false;
  void HeaderClicked(int col) {
    descending = !descending;
    column = col;
  }
};
// Row positions in sorted order of the texts (letter case ignored; equal
// texts keep their order).
std::vector<size_t> SortedOrder(const std::vector<std::string>& texts, bool descending);

// Text copied from selected rows: each name followed by "(" address ")"
// when there is an address column, then CR LF.
struct CopiedRow {
  std::string name;
  std::optional<std::string> address;
};
std::string CopyText(const std::vector<CopiedRow>& rows);

// What the dialog learned about one browser record on this machine.
struct InstalledFacts {
  std::string path;  // full path through App Paths; empty when unresolved
  bool exists = false;
  std::string fileVersion;
};
struct PreDefRow {
  std::string name;
  std::string path;
  size_t recordNumber;  // position among the browser records, from 1
};
// The predefined browsers installed here in a matching version; facts[i]
// belongs to records[i].
std::vector<PreDefRow> PredefinedRows(const std::vector<PopDatRecord>& records,
                                      const std::vector<InstalledFacts>& facts);

}  // namespace tl
