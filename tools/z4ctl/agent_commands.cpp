// status, apply, rate, reset and close: one message each to the running agent.
#include <string>

#include "agent_link.h"
#include "commands.h"
#include "console.h"
#include "stored_settings.h"

namespace z4ctl {

int RunStatus(const CommandLine& line) {
  long long wait = 0;
  if (const std::string* v = line.Value("--wait")) {
    wait = Positive(*v, 3600);
    if (wait < 0) return Fail(kExitFailed, "--wait takes seconds from 1, not \"" + *v + "\"");
  }
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(wait) * 1000;
  while (!::FindWindowW(nullptr, kAgentWindowTitle) && ::GetTickCount64() < end) ::Sleep(100);
  HWND agent = FindAgent();
  if (!agent) return kExitNotRunning;
  // The window exists while the agent's start-up still runs; it answers once that is done.
  LRESULT result = 0;
  if (const int code = SendToAgent(agent, WM_NULL, 0, 0, result)) return code;
  Out("running\n");
  return kExitOk;
}

int RunApply(const CommandLine& line) {
  HWND agent = FindAgent();
  if (!agent) return kExitNotRunning;
  const LPARAM silent = line.flags.count("--silent") ? 1 : 0;
  LRESULT result = 0;
  if (const int code = SendToAgent(agent, WM_APPLY_SETTINGS, 0, silent, result)) return code;
  // The agent answers 1 once the settings are on the keyboard.
  if (result != 1)
    return Fail(kExitNoAnswer, "the agent answered " + std::to_string(result) +
                                   " instead of 1: it did not apply the settings");
  return kExitOk;
}

int RunRate(const CommandLine& line) {
  const std::string& arg = line.operands[0];
  if (arg != "1" && arg != "2" && arg != "8")
    return Fail(kExitFailed, "the rate code is 1, 2 or 8, not \"" + arg + "\"");
  HWND agent = FindAgent();
  if (!agent) return kExitNotRunning;
  const int rate = arg[0] - '0';
  // Stored as well, so that the settings values say what the keyboard was told.
  std::string error;
  if (!WriteStoredRate(rate, error)) return Fail(kExitFailed, error);
  LRESULT result = 0;
  return SendToAgent(agent, WM_SET_RATE, static_cast<WPARAM>(rate), 0, result);
}

int RunReset(const CommandLine&) {
  HWND agent = FindAgent();
  if (!agent) return kExitNotRunning;
  LRESULT result = 0;
  return SendToAgent(agent, WM_RESET_DEVICE, 0, 0, result);
}

int RunClose(const CommandLine&) {
  HWND agent = FindAgent();
  if (!agent) return kExitNotRunning;
  DWORD pid = 0;
  ::GetWindowThreadProcessId(agent, &pid);
  HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!::PostMessageW(agent, WM_CLOSE, 0, 0)) {
    if (process) ::CloseHandle(process);
    return Fail(kExitNoAnswer, "the agent refused WM_CLOSE: " + SystemMessage(::GetLastError()));
  }
  if (!process) {
    Out("closed\n");
    return kExitOk;
  }
  DWORD exitCode = STILL_ACTIVE;
  const bool ended = ::WaitForSingleObject(process, kSendTimeoutMs) == WAIT_OBJECT_0;
  ::GetExitCodeProcess(process, &exitCode);
  ::CloseHandle(process);
  if (!ended) return Fail(kExitNoAnswer, "the agent did not end after WM_CLOSE");
  Out("the agent ended with exit code " + std::to_string(exitCode) + "\n");
  return kExitOk;
}

}  // namespace z4ctl
