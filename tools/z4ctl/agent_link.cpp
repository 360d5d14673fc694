// Finding the agent's window and sending it a message with a bounded wait.
#include "agent_link.h"

#include <string>

#include "console.h"

#ifndef SMTO_ERRORONEXIT
#define SMTO_ERRORONEXIT 0x0020
#endif

namespace z4ctl {

HWND FindAgent() {
  HWND agent = ::FindWindowW(nullptr, kAgentWindowTitle);
  if (!agent)
    Fail(kExitNotRunning, "the Z4 settings agent is not running (no window titled \"KorvuZ4_Setting\")");
  return agent;
}

int SendToAgent(HWND agent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  DWORD_PTR answer = 0;
  // SMTO_ERRORONEXIT: an agent that ends while we wait ends the wait too.
  if (::SendMessageTimeoutW(agent, msg, wParam, lParam, SMTO_NORMAL | SMTO_ERRORONEXIT, kSendTimeoutMs,
                            &answer)) {
    result = static_cast<LRESULT>(answer);
    return kExitOk;
  }
  const DWORD error = ::GetLastError();
  if (error == ERROR_TIMEOUT)
    return Fail(kExitNoAnswer, "the agent did not answer within " + std::to_string(kSendTimeoutMs / 1000) + " s");
  if (error == ERROR_INVALID_WINDOW_HANDLE || !::IsWindow(agent))
    return Fail(kExitNotRunning, "the Z4 settings agent ended before it answered");
  if (error == ERROR_ACCESS_DENIED)
    return Fail(kExitNoAnswer,
                "the agent refused the message: it runs as administrator, so run z4ctl as administrator too");
  return Fail(kExitNoAnswer, "the message to the agent failed: " + SystemMessage(error));
}

}  // namespace z4ctl
