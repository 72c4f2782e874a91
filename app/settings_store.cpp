#include "app/settings_store.h"

#include "app/conversions.h"

namespace tl {

std::optional<std::string> SettingsStore::Get(std::string_view app, std::string_view section,
                                              std::string_view key, std::string_view def) const {
  StoreRead r = Read(app, section, key);
  switch (r.status) {
    case StoreRead::Ok: return r.text;
    case StoreRead::Missing: return std::string(def);
    default: return std::nullopt;
  }
}

// Registry key and value names are case-insensitive; so is this store.
MemorySettingsStore::Key MemorySettingsStore::MakeKey(std::string_view a, std::string_view s,
                                                      std::string_view k) {
  return {ToLower(a), ToLower(s), ToLower(k)};
}

StoreRead MemorySettingsStore::Read(std::string_view app, std::string_view section,
                                    std::string_view key) const {
  auto it = values_.find(MakeKey(app, section, key));
  return it == values_.end() ? StoreRead{} : it->second;
}

bool MemorySettingsStore::Write(std::string_view app, std::string_view section,
                                std::string_view key, std::string_view text) {
  if (readOnly) return false;
  values_[MakeKey(app, section, key)] = StoreRead{StoreRead::Ok, std::string(text)};
  return true;
}

bool MemorySettingsStore::Delete(std::string_view app, std::string_view section,
                                 std::string_view key) {
  if (readOnly) return false;
  return values_.erase(MakeKey(app, section, key)) > 0;
}

void MemorySettingsStore::PutUnreadable(std::string_view app, std::string_view section,
                                        std::string_view key) {
  values_[MakeKey(app, section, key)] = StoreRead{StoreRead::Failed, {}};
}

bool MemorySettingsStore::Has(std::string_view app, std::string_view section,
                              std::string_view key) const {
  return values_.count(MakeKey(app, section, key)) > 0;
}

}  // namespace tl
