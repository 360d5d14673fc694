// In-memory files, folders and initialisation files for the profiles, with a log of writes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "settings/profiles.h"

namespace z4::test {

class FakeStorage : public ProfileStorage {
 public:
  std::set<std::u16string> folders;
  std::map<std::u16string, std::vector<std::uint8_t>> files;
  std::map<std::u16string, std::map<std::u16string, std::u16string>> ini;  // "file|section" -> key -> value
  std::set<std::u16string> unwritable;
  std::vector<std::u16string> written;  // files written, in order
  std::vector<std::u16string> iniWrites;  // "key=value"

  bool FolderExists(const std::u16string& path) override { return folders.count(path) > 0; }
  void CreateFolder(const std::u16string& path) override {
    if (folders.count(path)) ADD_FAILURE() << "folder created twice";
    folders.insert(path);
  }
  bool FileExists(const std::u16string& path) override { return files.count(path) > 0; }
  std::size_t ReadFile(const std::u16string& path, std::uint8_t* buf, std::size_t size) override {
    auto it = files.find(path);
    if (it == files.end()) throw FileError(path);
    const std::size_t n = std::min(size, it->second.size());
    std::copy_n(it->second.begin(), n, buf);
    return n;
  }
  void WriteFile(const std::u16string& path, const std::uint8_t* data, std::size_t size) override {
    if (unwritable.count(path)) throw FileError(path);
    files[path].assign(data, data + size);
    written.push_back(path);
  }
  std::u16string GetIniString(const std::u16string& file, const std::u16string& section,
                              const std::u16string& key) override {
    const auto& keys = ini[file + u"|" + section];
    auto it = keys.find(key);
    return it == keys.end() ? std::u16string() : it->second;
  }
  void SetIniString(const std::u16string& file, const std::u16string& section,
                    const std::u16string& key, const std::u16string& value) override {
    ini[file + u"|" + section][key] = value;
    iniWrites.push_back(key + u"=" + value);
  }
};

}  // namespace z4::test
