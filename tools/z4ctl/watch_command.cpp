// watch: a window registered with the agent as the configuration window, printing each message
// the agent sends it until WM_CLOSE, Ctrl+C, a message count or a timeout ends the watch.
#include <atomic>
#include <cstdio>
#include <string>

#include "agent_link.h"
#include "commands.h"
#include "console.h"
#include "fw/window.h"
#include "settings/key_names.h"

namespace z4ctl {
namespace {

constexpr UINT kStopMessage = WM_APP + 1;  // posted by the Ctrl+C handler
constexpr UINT_PTR kTimeoutTimer = 1;
constexpr UINT_PTR kAgentTimer = 2;
// How often the watch checks that the agent's window still exists, for an agent that ends
// without its WM_CLOSE (killed or crashed).
constexpr UINT kAgentCheckMs = 500;

std::atomic<HWND> g_watchWindow{nullptr};

BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  // The handler runs on a thread of its own; the window's thread does the ending.
  if (HWND w = g_watchWindow.load()) ::PostMessageW(w, kStopMessage, 0, 0);
  return TRUE;
}

class WatchWindow : public fw::Window {
 public:
  WatchWindow(HWND agent, long long count) : agent_(agent), remaining_(count) {}

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    result = 0;
    switch (msg) {
      case WM_PROFILE_CHANGED:
        Print("profile-changed " + std::to_string(lParam));
        return true;
      case WM_KEY_RESET: {
        const auto code = static_cast<std::uint8_t>(lParam & 0xFF);
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(code));
        std::string line = std::string("key-reset ") + hex;
        const std::string_view name = z4::KeyCodeName(code);
        if (!name.empty()) line += " " + std::string(name);
        Print(line);
        return true;
      }
      case WM_CLOSE:  // the agent ends, or the keyboard went away; the window stays ours
        Print("close");
        ::PostQuitMessage(kExitOk);
        return true;
      case kStopMessage:
        ::PostQuitMessage(kExitOk);
        return true;
      case WM_TIMER:
        if (wParam == kTimeoutTimer) {
          ::PostQuitMessage(Fail(kExitNoAnswer, "the watch did not end within its timeout"));
        } else if (wParam == kAgentTimer && !::IsWindow(agent_)) {
          ::PostQuitMessage(Fail(kExitNotRunning, "the Z4 settings agent ended without closing the watch"));
        }
        return true;
      default:
        return false;
    }
  }

 private:
  void Print(const std::string& line) {
    Out(line + "\n");
    if (remaining_ > 0 && --remaining_ == 0) ::PostQuitMessage(kExitOk);
  }

  HWND agent_;
  long long remaining_;  // messages left to print; -1 without a count
};

}  // namespace

int RunWatch(const CommandLine& line) {
  long long count = -1;
  long long timeout = -1;
  if (const std::string* v = line.Value("--count")) {
    count = Positive(*v, 1000000000);
    if (count < 0) return Fail(kExitFailed, "--count takes a whole number from 1, not \"" + *v + "\"");
  }
  if (const std::string* v = line.Value("--timeout")) {
    timeout = Positive(*v, 2000000);
    if (timeout < 0) return Fail(kExitFailed, "--timeout takes seconds from 1, not \"" + *v + "\"");
  }
  HWND agent = FindAgent();
  if (!agent) return kExitNotRunning;

  WatchWindow window(agent, count);
  if (!window.Create(0, L"z4ctl watch", 0, 0, 0, 0, 0, HWND_MESSAGE))
    return Fail(kExitFailed, "cannot create the watch window: " + SystemMessage(::GetLastError()));
  if (timeout > 0) ::SetTimer(window.hwnd(), kTimeoutTimer, static_cast<UINT>(timeout * 1000), nullptr);
  ::SetTimer(window.hwnd(), kAgentTimer, kAgentCheckMs, nullptr);
  g_watchWindow = window.hwnd();
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);

  LRESULT result = 0;
  int code = SendToAgent(agent, WM_SET_CONFIG_WND, reinterpret_cast<WPARAM>(window.hwnd()), 0, result);
  if (code == kExitOk) {
    Err("z4ctl: watching the agent; Ctrl+C ends\n");
    MSG msg;
    BOOL got;
    while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) > 0) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    code = got == 0 ? static_cast<int>(msg.wParam) : kExitFailed;
  }
  ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  g_watchWindow = nullptr;
  return code;
}

}  // namespace z4ctl
