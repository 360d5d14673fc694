// An in-memory settings key for the store: values with their types, and a log of every access.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "settings/store.h"

namespace z4::test {

struct StoredValue {
  std::uint32_t type = kRegBinary;
  std::vector<std::uint8_t> bytes;
};

class FakeRegistry : public SettingsRegistry {
 public:
  bool keyExists = true;
  bool createFails = false;
  std::map<std::u16string, StoredValue> values;
  std::vector<std::string> log;  // "open", "create", "read Name", "write Name"

  std::unique_ptr<SettingsKey> Open() override {
    log.push_back("open");
    if (!keyExists) return nullptr;
    return std::make_unique<Key>(*this);
  }
  std::unique_ptr<SettingsKey> Create() override {
    log.push_back("create");
    if (createFails) return nullptr;
    keyExists = true;
    return std::make_unique<Key>(*this);
  }

  void SetBinary(const std::u16string& name, std::vector<std::uint8_t> bytes,
                 std::uint32_t type = kRegBinary) {
    values[name] = {type, std::move(bytes)};
  }
  std::vector<std::string> Writes() const {
    std::vector<std::string> w;
    for (const auto& entry : log)
      if (entry.rfind("write ", 0) == 0) w.push_back(entry.substr(6));
    return w;
  }

 private:
  struct Key : SettingsKey {
    explicit Key(FakeRegistry& r) : reg(r) {}
    bool Read(const char16_t* name, std::uint8_t* buf, std::size_t capacity,
              std::uint32_t& type) override {
      reg.log.push_back("read " + Narrow(name));
      auto it = reg.values.find(name);
      if (it == reg.values.end() || it->second.bytes.size() > capacity) return false;
      std::copy(it->second.bytes.begin(), it->second.bytes.end(), buf);
      type = it->second.type;
      return true;
    }
    bool WriteBinary(const char16_t* name, const std::uint8_t* data, std::size_t size) override {
      reg.log.push_back("write " + Narrow(name));
      reg.values[name] = {kRegBinary, std::vector<std::uint8_t>(data, data + size)};
      return true;
    }
    FakeRegistry& reg;
  };

  static std::string Narrow(const char16_t* s) {
    std::string out;
    for (; *s; ++s) out.push_back(static_cast<char>(*s));
    return out;
  }
};

}  // namespace z4::test
