// The per-user settings store: one text per (application, section, key).
// The program keeps it in the registry; core tests use the memory one.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace tl {

inline constexpr const char* kAppTitle = "Tarvick Lite";  // application name of the settings
inline constexpr const char* kHandoffApp = "Tarvick";     // application name of the hook hand-off

struct StoreRead {
  enum Status { Missing, Ok, Failed };  // Failed: present but unreadable (wrong type, I/O)
  Status status = Missing;
  std::string text;
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual StoreRead Read(std::string_view app, std::string_view section,
                         std::string_view key) const = 0;
  virtual bool Write(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view text) = 0;
  virtual bool Delete(std::string_view app, std::string_view section, std::string_view key) = 0;

  // A read with a default: the text, the default when missing, nullopt when
  // the value exists but cannot be read.
  std::optional<std::string> Get(std::string_view app, std::string_view section,
                                 std::string_view key, std::string_view def) const;
};

class MemorySettingsStore : public SettingsStore {
 public:
  StoreRead Read(std::string_view app, std::string_view section,
                 std::string_view key) const override;
  bool Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view text) override;
  bool Delete(std::string_view app, std::string_view section, std::string_view key) override;

  // For tests: a value that exists but reads as a failure.
  void PutUnreadable(std::string_view app, std::string_view section, std::string_view key);
  bool Has(std::string_view app, std::string_view section, std::string_view key) const;
  size_t Size() const { return values_.size(); }
  bool readOnly = false;  // writes and deletes fail, as on a locked store

 private:
  using Key = std::tuple<std::string, std::string, std::string>;
  static Key MakeKey(std::string_view a, std::string_view s, std::string_view k);
  std::map<Key, StoreRead> values_;
};

}  // namespace tl
