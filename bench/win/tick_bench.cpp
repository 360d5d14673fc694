// CPU cost of the resident agent: one switching tick, and idle running with no binding and with
// seven, beside a bare message-loop program measured in the same run.
//   bench_tick [SECONDS]   (idle duration per case, default 60)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/task_messages.h"
#include "fixture/agent_process.h"
#include "fixture/wine_path.h"
#include "settings/profiles.h"
#include "support/bytes.h"

namespace {

namespace fs = std::filesystem;
using z4::e2e::AgentProcess;

constexpr int kTicks = 2000;

double CpuSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

// CPU share of process over seconds of wall time, in percent of one core. Wine reports another
// process's times from the kernel's accounting, in 10 ms steps.
double IdleShare(HANDLE process, int seconds) {
  const double before = CpuSeconds(process);
  ::Sleep(static_cast<DWORD>(seconds) * 1000);
  return (CpuSeconds(process) - before) * 100.0 / seconds;
}

// Binds profiles 0..6 to programs that are not running.
void BindSeven(const AgentProcess& agent) {
  for (int i = 0; i < 7; ++i) {
    std::vector<std::uint8_t> file(z4::kProfileFileSize, 0);
    const std::u16string program = u"C:\\Games\\game" + std::u16string(1, char16_t(u'1' + i)) + u".exe";
    for (std::size_t k = 0; k < program.size(); ++k)
      z4::StoreU16(&file[z4::kProfileProgramOffset + 2 * k], program[k]);
    z4::StoreU32(&file[z4::kProfileBindingOffset], 1);
    std::ofstream(fs::path(agent.Folder()) / "Profile" / ("Profile " + std::to_string(i + 1) + ".pro"),
                  std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  }
  agent.Send(z4::WM_APPLY_SETTINGS, 0, 1);  // its refresh reads the bindings
}

// CPU per switching tick, sent kTicks times; the sending costs the agent its dispatch as well.
double TickMicroseconds(const AgentProcess& agent) {
  const double before = CpuSeconds(agent.Process());
  for (int i = 0; i < kTicks; ++i) agent.Send(WM_TIMER, z4::TIMER_AUTOSWITCH, 0);
  return (CpuSeconds(agent.Process()) - before) * 1e6 / kTicks;
}

// The bare loop program, running.
struct BareLoop {
  PROCESS_INFORMATION pi{};
  BareLoop() {
    const std::wstring exe = z4::e2e::WindowsPath(Z4_BARE_LOOP_EXE);
    std::wstring cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    ::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    ::WaitForInputIdle(pi.hProcess, 5000);
  }
  ~BareLoop() {
    ::TerminateProcess(pi.hProcess, 0);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
  if (seconds <= 0) {
    std::fprintf(stderr, "usage: bench_tick [SECONDS]\n");
    return 2;
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Korvu\\Z4");
  AgentProcess agent(Z4_AGENT_EXE, Z4_AGENT_DATA_DIR);
  agent.Start();
  ::Sleep(2000);  // creation done, first run's files written

  BareLoop bare;
  std::printf("idle over %d s, CPU in %% of one core (no foreground program bound)\n", seconds);
  const double bareShare = IdleShare(bare.pi.hProcess, seconds);
  const double unbound = IdleShare(agent.Process(), seconds);
  const double unboundTick = TickMicroseconds(agent);
  BindSeven(agent);
  const double bound = IdleShare(agent.Process(), seconds);
  const double boundTick = TickMicroseconds(agent);

  std::printf("  bare message loop          %7.3f %%\n", bareShare);
  std::printf("  agent, nothing bound       %7.3f %%   tick %7.1f us CPU\n", unbound, unboundTick);
  std::printf("  agent, seven bindings      %7.3f %%   tick %7.1f us CPU\n", bound, boundTick);
  std::printf("  agent minus bare loop      %7.3f / %7.3f %% (nothing bound / seven)\n",
              unbound - bareShare, bound - bareShare);
  std::printf("  ticks per idle period      %d (every 500 ms): %.2f ms CPU per minute from ticks\n",
              seconds * 2, boundTick * 120 / 1000);
  agent.Close();
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Korvu\\Z4");
  return 0;
}
