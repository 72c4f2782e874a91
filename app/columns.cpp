#include "app/columns.h"

namespace tl {

namespace {
struct Row {
  const char* caption;
  int width;
};

std::vector<Column> Build(const Row* rows, size_t n) {
  std::vector<Column> cols;
  cols.reserve(n);
  for (size_t i = 0; i < n; ++i) cols.push_back({rows[i].caption, rows[i].width * 5.6});
  return cols;
}
}  // namespace

std::vector<Column> ProcessColumns(bool isNT) {
  // The two families differ in the CPU column and in one caption's case.
  static const Row nt[] = {
      {"Program Title", 16},          {"Status", 14},          {"Full Path", 40},
      {"Committed memory (K)", 11},   {"Reserved memory (k)", 11},
      {"Free memory (k)", 11},        {"Priority (Performance)", 10},
      {"CPU usage (%)", 5},           {"Processes", 5},        {"Program Description", 40},
      {"Company Name", 22},           {"Product name", 25},
  };
  static const Row other[] = {
      {"Program Title", 16},          {"Status", 14},          {"Full Path", 40},
      {"Committed memory (k)", 11},   {"Reserved memory (k)", 11},
      {"Free memory (k)", 11},        {"Priority (Performance)", 10},
      {"Processes", 5},               {"Program Description", 40},
      {"Company Name", 22},           {"Product name", 25},
  };
  return isNT ? Build(nt, std::size(nt)) : Build(other, std::size(other));
}

std::vector<Column> WindowColumns() {
  static const Row rows[] = {
      {"Window Name", 20}, {"Status", 14},     {"Handle", 7},      {"Exe File", 40},
      {"Visible", 10},     {"Always on-Top", 14}, {"Enabled", 10}, {"Process ID", 10},
      {"Thread ID", 10},   {"Position", 21},
  };
  return Build(rows, std::size(rows));
}

}  // namespace tl
