// The column tables of the process and window lists (captions and widths).
#pragma once
#include <string>
#include <vector>

namespace tl {

struct Column {
  std::string caption;
  double width = 0;  // the table's number times 5.6
};

std::vector<Column> ProcessColumns(bool isNT);  // twelve columns on NT, eleven otherwise
std::vector<Column> WindowColumns();            // ten columns

}  // namespace tl
