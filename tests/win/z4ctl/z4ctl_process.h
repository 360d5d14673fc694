// z4ctl.exe run as a process by the tests: its exit code and what it wrote to its standard
// output and error, read while it runs; and the settings key saved and put back around a test.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fw/handles.h"

namespace z4::test {

struct Z4ctlResult {
  DWORD exitCode = STILL_ACTIVE;
  std::string out;
  std::string err;
};

class Z4ctlProcess {
 public:
  // Starts Z4CTL_EXE with args; throws std::runtime_error when it cannot start.
  explicit Z4ctlProcess(const std::vector<std::string>& args);
  ~Z4ctlProcess();  // kills it if it still runs
  Z4ctlProcess(const Z4ctlProcess&) = delete;
  Z4ctlProcess& operator=(const Z4ctlProcess&) = delete;

  // Waits until standard error holds text; false after timeoutMs.
  bool WaitForErr(const std::string& text, DWORD timeoutMs);
  // Waits for the end (exitCode stays STILL_ACTIVE after timeoutMs) and collects the output.
  Z4ctlResult Finish(DWORD timeoutMs = 90000);

 private:
  struct Pipes;
  std::unique_ptr<Pipes> pipes_;
  fw::KernelHandle process_;
};

// Runs z4ctl to its end.
Z4ctlResult RunZ4ctl(const std::vector<std::string>& args);

// A file path for the test's own use, in Windows form, UTF-8.
std::string TempFile(const std::string& name);
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);

// The agent's settings key: removed for the test, put back as it was afterwards.
class SavedSettingsKey {
 public:
  SavedSettingsKey();
  ~SavedSettingsKey();

  // A value as the registry holds it (type 0 and no bytes when missing).
  struct Value {
    DWORD type = 0;
    std::vector<std::uint8_t> bytes;
    bool operator==(const Value& o) const { return type == o.type && bytes == o.bytes; }
  };
  static Value Get(const wchar_t* name);
  static void Set(const wchar_t* name, const std::vector<std::uint8_t>& bytes, DWORD type = REG_BINARY);
  static std::map<std::wstring, Value> All();  // every value of the key
  static void Remove();

 private:
  bool existed_ = false;
  std::map<std::wstring, Value> saved_;
};

}  // namespace z4::test
