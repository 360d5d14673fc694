#include "settings/win32/foreground.h"

#include <psapi.h>

#include "fw/handles.h"
#include "fw/wide.h"

namespace z4 {

void EnableDebugPrivilege() {
  HANDLE raw = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw))
    return;
  fw::KernelHandle token(raw);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!::LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &privileges.Privileges[0].Luid))
    return;
  ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof privileges, nullptr, nullptr);
}

std::u16string ForegroundProgramName(DWORD processId) {
  std::u16string name = u"UNKNOW";
  EnableDebugPrivilege();
  fw::KernelHandle process(
      ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) return name;
  HMODULE first = nullptr;
  DWORD needed = 0;
  if (!::EnumProcessModules(process.get(), &first, sizeof first, &needed)) return name;
  wchar_t base[MAX_PATH] = {};
  const DWORD len = ::GetModuleBaseNameW(process.get(), first, base, MAX_PATH);
  if (len == 0) return name;
  return fw::FromWide(base, len < MAX_PATH ? len : MAX_PATH - 1);
}

std::u16string ForegroundProgramName() {
  DWORD processId = 0;
  if (HWND foreground = ::GetForegroundWindow()) ::GetWindowThreadProcessId(foreground, &processId);
  return ForegroundProgramName(processId);
}

}  // namespace z4
