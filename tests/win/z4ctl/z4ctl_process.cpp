// Running z4ctl.exe with its output captured, and saving the settings key around tests.
#include "z4ctl_process.h"

#include <mutex>
#include <stdexcept>
#include <thread>

#include "fixture/wine_path.h"

namespace z4::test {
namespace {

constexpr const wchar_t* kKeyPath = L"Software\\Korvu\\Z4";

std::wstring Quote(const std::wstring& arg) { return L"\"" + arg + L"\""; }

std::wstring Wide(const std::string& s) {
  std::wstring w(s.size(), L'\0');
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(),
                                    static_cast<int>(w.size()));
  w.resize(static_cast<std::size_t>(n));
  return w;
}

}  // namespace

// Two pipes, each drained by a thread so that neither can fill up and stall the child.
struct Z4ctlProcess::Pipes {
  std::mutex lock;
  std::string out, err;
  std::thread outReader, errReader;

  static void Drain(HANDLE h, std::string& into, std::mutex& lock) {
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) {
      std::lock_guard<std::mutex> g(lock);
      into.append(buf, n);
    }
    CloseHandle(h);
  }
  ~Pipes() {
    if (outReader.joinable()) outReader.join();
    if (errReader.joinable()) errReader.join();
  }
};

Z4ctlProcess::Z4ctlProcess(const std::vector<std::string>& args) : pipes_(std::make_unique<Pipes>()) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE outRead, outWrite, errRead, errWrite;
  if (!CreatePipe(&outRead, &outWrite, &inherit, 0) || !CreatePipe(&errRead, &errWrite, &inherit, 0))
    throw std::runtime_error("z4ctl: no pipes");
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

  const std::wstring exe = e2e::WindowsPath(Z4CTL_EXE);
  std::wstring cmd = Quote(exe);
  for (const std::string& a : args) cmd += L" " + Quote(Wide(a));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = outWrite;
  si.hStdError = errWrite;
  PROCESS_INFORMATION pi{};
  const BOOL started = CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  pipes_->outReader = std::thread(Pipes::Drain, outRead, std::ref(pipes_->out), std::ref(pipes_->lock));
  pipes_->errReader = std::thread(Pipes::Drain, errRead, std::ref(pipes_->err), std::ref(pipes_->lock));
  if (!started) throw std::runtime_error("z4ctl: cannot start " + std::string(Z4CTL_EXE));
  CloseHandle(pi.hThread);
  process_.reset(pi.hProcess);
}

Z4ctlProcess::~Z4ctlProcess() {
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 10000);
  }
}

bool Z4ctlProcess::WaitForErr(const std::string& text, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    {
      std::lock_guard<std::mutex> g(pipes_->lock);
      if (pipes_->err.find(text) != std::string::npos) return true;
    }
    Sleep(20);
  }
  return false;
}

Z4ctlResult Z4ctlProcess::Finish(DWORD timeoutMs) {
  Z4ctlResult r;
  if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return r;
  GetExitCodeProcess(process_.get(), &r.exitCode);
  pipes_->outReader.join();
  pipes_->errReader.join();
  r.out = pipes_->out;
  r.err = pipes_->err;
  return r;
}

Z4ctlResult RunZ4ctl(const std::vector<std::string>& args) { return Z4ctlProcess(args).Finish(); }

std::string TempFile(const std::string& name) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring path = std::wstring(temp) + Wide(name);
  std::string out(path.size() * 3, '\0');
  out.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()),
                                                          out.data(), static_cast<int>(out.size()), nullptr, nullptr)));
  return out;
}

std::string ReadText(const std::string& path) {
  fw::FileHandle f(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f) throw std::runtime_error("cannot read " + path);
  std::string text(static_cast<std::size_t>(GetFileSize(f.get(), nullptr)), '\0');
  DWORD n = 0;
  ReadFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
  text.resize(n);
  return text;
}

void WriteText(const std::string& path, const std::string& text) {
  fw::FileHandle f(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD n = 0;
  if (!f || !WriteFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &n, nullptr))
    throw std::runtime_error("cannot write " + path);
}

SavedSettingsKey::SavedSettingsKey() {
  HKEY key = nullptr;
  existed_ = RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key) == ERROR_SUCCESS;
  if (key) RegCloseKey(key);
  if (existed_) saved_ = All();
  Remove();
}

SavedSettingsKey::~SavedSettingsKey() {
  Remove();
  if (!existed_) return;
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (key) RegCloseKey(key);
  for (const auto& [name, value] : saved_) Set(name.c_str(), value.bytes, value.type);
}

SavedSettingsKey::Value SavedSettingsKey::Get(const wchar_t* name) {
  Value v;
  v.bytes.resize(200000);
  DWORD size = static_cast<DWORD>(v.bytes.size());
  if (RegGetValueW(HKEY_CURRENT_USER, kKeyPath, name, RRF_RT_ANY, &v.type, v.bytes.data(), &size) != ERROR_SUCCESS)
    return {};
  v.bytes.resize(size);
  return v;
}

void SavedSettingsKey::Set(const wchar_t* name, const std::vector<std::uint8_t>& bytes, DWORD type) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create the settings key");
  RegSetValueExW(key, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

std::map<std::wstring, SavedSettingsKey::Value> SavedSettingsKey::All() {
  std::map<std::wstring, Value> all;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return all;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    all[name] = Get(name);
  }
  RegCloseKey(key);
  return all;
}

void SavedSettingsKey::Remove() { RegDeleteTreeW(HKEY_CURRENT_USER, kKeyPath); }

}  // namespace z4::test
