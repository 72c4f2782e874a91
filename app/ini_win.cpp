#include "app/ini_win.h"

#include <windows.h>

#include "app/ini_rules.h"
#include "app/program_win.h"

namespace modIni {

std::vector<std::string> ClassList;

std::string IniAccess(const std::string& mode, const std::string& section, const std::string& key,
                      const std::string& value) {
  if (auto err = tl::IniArgumentError(mode, section, key)) return *err;
  const std::string& path = ModMain::Prog().IniPath;
  switch (tl::IniModeOf(mode)) {
    case tl::IniMode::Write:
      WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str());
      return "";
    case tl::IniMode::Get: {
      // 255 characters, up to 3 bytes each in UTF-8.
      constexpr DWORD kRoom = 255 * 3;
      char buf[kRoom + 1] = {};
      DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), tl::kIniMissing, buf, kRoom,
                                         path.c_str());
      // Cut at 254 characters as ever, not at 254 bytes.
      size_t end = 0;
      for (size_t chars = 0; end < n && end < kRoom - 1; ++end)
        if ((static_cast<unsigned char>(buf[end]) & 0xC0) != 0x80 && chars++ == 254) break;
      return tl::IniGetResult(std::string_view(buf, end));
    }
    default:
      return "";
  }
}

void WriteDefaultClassList() {
  IniAccess("WRITE", "Classes", "Number", "2");
  IniAccess("WRITE", "Classes", "Class1", "RUNDLL");
  IniAccess("WRITE", "Classes", "Class2", "STUBWINDOW32");
}

void ReadClassList() {
  ClassList.clear();
  int n = tl::ClassCountOf(IniAccess("GET", "Classes", "Number"));
  ClassList.reserve(n);
  for (int i = 1; i <= n; ++i) ClassList.push_back(IniAccess("GET", "Classes", "Class" + std::to_string(i)));
}

}  // namespace modIni
