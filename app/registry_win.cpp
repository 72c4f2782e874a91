#include "app/registry_win.h"

#include <cstring>
#include <vector>

#include "app/conversions.h"

namespace modRegEnum {

RegKey RegOpenKey(HKEY root, const std::string& subkey, REGSAM access) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, access, &h) != ERROR_SUCCESS) return RegKey();
  return RegKey(h);
}

LONG RegDeleteValue(HKEY key, const std::string& name) {
  return RegDeleteValueA(key, name.c_str());
}

void RegWriteValue(HKEY root, const std::string& subkey, const std::string& name,
                   std::string_view text, DWORD type) {
  RegKey key = RegOpenKey(root, subkey);
  if (!key) return;
  if (type == 0) type = REG_SZ;
  RegSetValueExA(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.data()),
                 static_cast<DWORD>(text.size()));
}

std::string RegReadValue(HKEY key, const std::string& name) {
  if (!key) return "";
  tl::StoreRead r = tl::ReadStringValue(key, name);
  return r.status == tl::StoreRead::Ok ? tl::Trim(r.text) : "";
}

std::string AppPathsKey(const std::string& exeFileName) {
  return "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + exeFileName;
}

std::string AppPathOf(const std::string& exeFileName) {
  // Read access is enough to look; a standard user may not open HKLM for writing.
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    RegKey key = RegOpenKey(root, AppPathsKey(exeFileName), KEY_QUERY_VALUE);
    if (!key) continue;
    std::string path = RegReadValue(key.get(), "");
    if (!path.empty()) return path;
  }
  return "";
}

bool RegisterAppPathUnder(HKEY root, const std::string& exeFileName, const std::string& exePath,
                          const std::string& folder) {
  HKEY h = nullptr;
  char cls[] = "REG_SZ";
  if (RegCreateKeyExA(root, AppPathsKey(exeFileName).c_str(), 0, cls, 0, KEY_ALL_ACCESS, nullptr,
                      &h, nullptr) != ERROR_SUCCESS)
    return false;
  RegKey key(h);
  // Both values must land, or the next start would count as a first run again.
  auto set = [&](const char* name, const std::string& text) {
    return RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  };
  return set("", exePath) && set("Path", folder);
}

HKEY RegisterAppPath(const std::string& exeFileName, const std::string& exePath,
                     const std::string& folder) {
  if (RegisterAppPathUnder(HKEY_LOCAL_MACHINE, exeFileName, exePath, folder))
    return HKEY_LOCAL_MACHINE;
  if (RegisterAppPathUnder(HKEY_CURRENT_USER, exeFileName, exePath, folder))
    return HKEY_CURRENT_USER;
  return nullptr;
}

}  // namespace modRegEnum

namespace tl {

StoreRead ReadStringValue(HKEY key, const std::string& name) {
  // Most values are short: one query into a stack buffer, no allocation.
  char small[256];
  DWORD type = 0, size = sizeof small - 1;
  LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(small), &size);
  if (rc == ERROR_FILE_NOT_FOUND) return {StoreRead::Missing, {}};
  bool text = type == REG_SZ || type == REG_EXPAND_SZ;
  if (rc == ERROR_SUCCESS) {
    // Another tool may store a number as a number. It reads as the decimal
    // text the program itself writes, signed, as every numeric field is.
    if (type == REG_DWORD && size == 4) {
      int32_t v;
      std::memcpy(&v, small, 4);
      return {StoreRead::Ok, std::to_string(v)};
    }
    if (type == REG_QWORD && size == 8) {
      int64_t v;
      std::memcpy(&v, small, 8);
      return {StoreRead::Ok, std::to_string(v)};
    }
    if (!text) return {StoreRead::Failed, {}};
    small[size < sizeof small - 1 ? size : sizeof small - 1] = '\0';  // no terminator is promised
    return {StoreRead::Ok, std::string(small)};
  }
  if (rc != ERROR_MORE_DATA || !text) return {StoreRead::Failed, {}};
  // Longer: ask for the size (Wine leaves it out on ERROR_MORE_DATA) and read
  // again, a few times if the value keeps growing meanwhile.
  for (int attempt = 0; attempt < 4; ++attempt) {
    size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return {StoreRead::Failed, {}};
    std::vector<char> buf(size + 1, '\0');
    DWORD got = size;
    rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {StoreRead::Failed, {}};
    buf[got < size ? got : size] = '\0';
    return {StoreRead::Ok, std::string(buf.data())};
  }
  return {StoreRead::Failed, {}};
}

std::string RegistrySettingsStore::KeyPath(std::string_view app, std::string_view section) {
  return "Software\\VB and VBA Program Settings\\" + std::string(app) + "\\" + std::string(section);
}

StoreRead RegistrySettingsStore::Read(std::string_view app, std::string_view section,
                                      std::string_view key) const {
  modRegEnum::RegKey k = modRegEnum::RegOpenKey(HKEY_CURRENT_USER, KeyPath(app, section), KEY_QUERY_VALUE);
  if (!k) return {StoreRead::Missing, {}};
  return ReadStringValue(k.get(), std::string(key));
}

bool RegistrySettingsStore::Write(std::string_view app, std::string_view section,
                                  std::string_view key, std::string_view text) {
  HKEY h = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
    return false;
  modRegEnum::RegKey k(h);
  std::string name(key), value(text);  // stored with its terminating NUL
  return RegSetValueExA(h, name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::Delete(std::string_view app, std::string_view section,
                                   std::string_view key) {
  modRegEnum::RegKey k = modRegEnum::RegOpenKey(HKEY_CURRENT_USER, KeyPath(app, section), KEY_SET_VALUE);
  if (!k) return false;
  return RegDeleteValueA(k.get(), std::string(key).c_str()) == ERROR_SUCCESS;
}

}  // namespace tl
