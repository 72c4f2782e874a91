// "prog.ini" in the program folder: the window-class list (and, through the
// same access, the Run dialog's history).
#pragma once
#include <string>
#include <vector>

namespace modIni {

// mode "WRITE" or "GET" (any case); returns the text read, "" or an error text.
std::string IniAccess(const std::string& mode, const std::string& section, const std::string& key,
                      const std::string& value = "");
void WriteDefaultClassList();
void ReadClassList();

// Items 1..n of the list are ClassList[0..n-1].
extern std::vector<std::string> ClassList;

}  // namespace modIni
