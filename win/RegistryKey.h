// Holds one open registry key and closes it when done.
#pragma once
#include <windows.h>

#include <utility>

class TRegistryKey {
 public:
  TRegistryKey() = default;
  ~TRegistryKey() { Reset(); }
  TRegistryKey(const TRegistryKey&) = delete;
  TRegistryKey& operator=(const TRegistryKey&) = delete;
  TRegistryKey(TRegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  TRegistryKey& operator=(TRegistryKey&& other) noexcept {
    if (this != &other) {
      Reset();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }

  HKEY Get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  // For out-parameters of RegOpenKeyEx and RegCreateKeyEx: closes what is
  // held and hands out the slot.
  HKEY* Put() {
    Reset();
    return &key_;
  }
  void Reset() {
    if (key_) RegCloseKey(std::exchange(key_, nullptr));
  }

 private:
  HKEY key_ = nullptr;
};
