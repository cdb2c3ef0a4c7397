#include "platform/common/port_list.h"
#include "platform/windows/internal.h"

namespace platform::windows_os {

namespace {

constexpr DWORD buffer_size = 256;

class RegistryKey {
 public:
  explicit RegistryKey(HKEY key) : key_(key) {}
  ~RegistryKey() { ::RegCloseKey(key_); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_;
};

core::Error RegistryError(const char* key, LSTATUS code) {
  return WinError("list ports", key, static_cast<DWORD>(code));
}

}  // namespace

core::Result<std::vector<std::string>> PortsInRegistry(HKEY root, const char* key) {
  HKEY opened = nullptr;
  const LSTATUS open = ::RegOpenKeyExA(root, key, 0, KEY_READ, &opened);
  if (open != ERROR_SUCCESS) return RegistryError(key, open);
  const RegistryKey guard(opened);
  std::vector<std::string> names;
  for (DWORD index = 0;; ++index) {
    char value_name[buffer_size];
    BYTE data[buffer_size];
    DWORD name_size = buffer_size;
    DWORD data_size = buffer_size;
    DWORD type = 0;
    const LSTATUS r = ::RegEnumValueA(guard.get(), index, value_name, &name_size, nullptr, &type,
                                      data, &data_size);
    if (r == ERROR_NO_MORE_ITEMS) break;
    if (r != ERROR_SUCCESS) return RegistryError(key, r);
    if (type != REG_SZ) continue;
    if (auto name = PortNameFromValue(std::span<const std::uint8_t>(data, data_size))) {
      names.push_back(std::move(*name));
    }
  }
  SortPortNames(names);
  return names;
}

}  // namespace platform::windows_os
