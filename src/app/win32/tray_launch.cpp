// Presence test, version choice and the two ways of starting the configuration program.
#include "app/win32/tray_launch.h"

#include <shellapi.h>

#include <cstdlib>
#include <string>

#include "app/os_version.h"
#include "device/win32/hid_device.h"
#include "fw/handles.h"
#include "fw/program_name.h"
#include "fw/wide.h"
#include "resources/language_strings.h"
#include "ui/skin.h"

namespace z4 {
namespace {

static_assert(sizeof(OSVERSIONINFOW) == 276, "the basic version structure");
static_assert(sizeof(void*) != 4 || sizeof(SHELLEXECUTEINFOW) == 60,
              "the shell's launch structure is 60 bytes in the 32-bit build");

constexpr wchar_t kConfigFile[] = L"Z4_Config.exe";
constexpr char kConfigFileA[] = "Z4_Config.exe";

// Drive and folder of the running program in the ANSI code page, ending in a backslash.
std::string ProgramFolderA() {
  char path[MAX_PATH] = {};
  const DWORD len = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (len == 0 || len >= MAX_PATH) return std::string();
  char drive[_MAX_DRIVE] = {};
  char dir[_MAX_DIR] = {};
  if (_splitpath_s(path, drive, _MAX_DRIVE, dir, _MAX_DIR, nullptr, 0, nullptr, 0) != 0)
    return std::string();
  return std::string(drive) + dir;
}

void ShellLaunch() {
  const std::wstring file = GetProgramFolder() + kConfigFile;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpFile = file.c_str();
  info.lpParameters = L" ";
  info.nShow = SW_SHOW;
  ::ShellExecuteExW(&info);
  fw::KernelHandle process(info.hProcess);  // not waited for
}

}  // namespace

int GetOSVersionCode() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!::GetVersionExW(&version)) return 0;
  return z4::GetOSVersionCode(version.dwPlatformId, version.dwMajorVersion,
                              version.dwMinorVersion);
}

void LaunchConfig(HWND owner) {
  if (!CHidDevice::IsPresent()) {
    ::MessageBoxW(owner, fw::Wide(str_msg4), fw::ProgramName().c_str(), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (GetOSVersionCode() >= kShellLaunchCode) {
    ShellLaunch();
  } else {
    const std::string file = ProgramFolderA() + kConfigFileA;
    ::WinExec(file.c_str(), SW_SHOWNORMAL);
  }
}

}  // namespace z4
