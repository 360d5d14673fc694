// Figures of the agent under Wine against the emulated keyboard: start-up time, memory once
// idle (beside a bare window program), a silent apply against the same driver requests issued
// directly, and the agent's resources after a thousand applies. Prints figures; asserts nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/task_messages.h"
#include "fixture/agent_process.h"
#include "control/emu_keyboard.h"
#include "fixture/process_handles.h"
#include "fw/handles.h"
#include "fw/win32.h"

#include <psapi.h>  // needs the Windows types first

#include "settings/settings_image.h"
#include "support/settings_access.h"

namespace z4::e2e {
using namespace emu;
namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Resources {
  SIZE_T privateBytes = 0;
  SIZE_T workingSet = 0;
  DWORD handles = 0;
  DWORD gdiObjects = 0;
};

Resources Measure(const AgentProcess& agent) {
  Resources r;
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  ::GetProcessMemoryInfo(agent.Process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  r.privateBytes = pmc.PagefileUsage;  // Wine leaves PrivateUsage at 0; this is the same commit charge
  r.workingSet = pmc.WorkingSetSize;
  r.handles = agent.HandleCount();
  r.gdiObjects = ::GetGuiResources(agent.Process(), GR_GDIOBJECTS);
  return r;
}

void Print(const char* what, const Resources& r) {
  std::printf("  %-28s private %7.1f MB  working set %7.1f MB  handles %4lu  GDI objects %3lu\n",
              what, static_cast<double>(r.privateBytes) / 1048576.0,
              static_cast<double>(r.workingSet) / 1048576.0,
              static_cast<unsigned long>(r.handles), static_cast<unsigned long>(r.gdiObjects));
}

// A typical set: a few remaps, two macros, two combinations. The worst: every key a macro
// but eight, which take eight distinct combinations.
SettingsImage Settings(bool worst, const KeySettingImage& defaults) {
  SettingsImage s;
  s.keySetting = defaults;
  const std::size_t macros = worst ? kKeySettingCount - 8 : 2;
  for (std::size_t r = 0; r < macros; ++r)
    SetMacro(s.macroSetting, r, 1, {{0x41, true, 100}, {0x42, false, 50}, {0x43, true, 200}});
  SetMacroCount(s.macroSetting, static_cast<std::int32_t>(macros));
  for (std::size_t c = 0; c < 8; ++c)
    SetCombination(s.combSetting, c, {0xA2, static_cast<std::uint8_t>(0x31 + c)});
  if (worst) {
    for (std::size_t i = 0; i < kKeySettingCount; ++i) {
      if (i < 8)
        KeySettingEntry(s.keySetting, i).SetAction(8, static_cast<std::int32_t>(i));
      else
        KeySettingEntry(s.keySetting, i).SetAction(4, static_cast<std::int32_t>(i - 8));
    }
  } else {
    KeySettingEntry(s.keySetting, 0).SetAction(4, 0);
    KeySettingEntry(s.keySetting, 1).SetAction(4, 1);
    KeySettingEntry(s.keySetting, 2).SetAction(8, 0);
    KeySettingEntry(s.keySetting, 3).SetAction(8, 1);
    KeySettingEntry(s.keySetting, 4).SetAction(9, 0x41);
    KeySettingEntry(s.keySetting, 5).SetAction(5, 1);
  }
  return s;
}

// The requests one apply sent, issued again straight to the driver.
double ReplayMs(const std::vector<LoggedRequest>& log, int rounds) {
  fw::FileHandle device(::CreateFileW(KVKBD_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
  std::vector<std::uint8_t> out(KVKBD_KEY_BLOCK_SIZE);
  const auto start = Clock::now();
  for (int n = 0; n < rounds; ++n) {
    for (const LoggedRequest& r : log) {
      std::vector<std::uint8_t> in = r.input;
      DWORD got = 0;
      ::DeviceIoControl(device.get(), r.code, in.empty() ? nullptr : in.data(), r.inputLength,
                        r.outputLength ? out.data() : nullptr, r.outputLength, &got, nullptr);
    }
  }
  return Ms(Clock::now() - start) / rounds;
}

double ApplyMs(AgentProcess& agent, int rounds) {
  const auto start = Clock::now();
  for (int n = 0; n < rounds; ++n) agent.Send(WM_APPLY_SETTINGS, 0, kSilentApply);
  return Ms(Clock::now() - start) / rounds;
}

int Run(int applies) {
  EmuKeyboard kbd;
  kbd.Reset();
  DeleteSettingsKey();

  std::printf("start-up to window ready (median of 5)\n");
  std::vector<double> startups;
  {
    AgentProcess agent(Z4_AGENT_EXE, Z4_AGENT_DATA_DIR);
    for (int i = 0; i < 5; ++i) {
      const auto t = Clock::now();
      agent.Start();
      startups.push_back(Ms(Clock::now() - t));
      agent.Close();
    }
  }
  std::printf("  %.1f ms\n\n", Median(startups));

  std::printf("memory once idle (2 s after start-up)\n");
  AgentProcess bare(Z4_BARE_EXE, Z4_AGENT_DATA_DIR);
  bare.Start();
  AgentProcess agent(Z4_AGENT_EXE, Z4_AGENT_DATA_DIR);
  agent.Start();
  ::Sleep(2000);
  Print("bare window program", Measure(bare));
  Print("agent", Measure(agent));
  bare.Close();

  const auto stored = ReadSetting(L"KeySetting");
  KeySettingImage defaults{};
  if (stored) std::copy_n(stored->bytes.begin(), std::min(defaults.size(), stored->bytes.size()), defaults.begin());

  std::printf("\nsilent apply: the agent (SendMessage to return) against its requests issued directly\n");
  for (bool worst : {false, true}) {
    WriteTables(Settings(worst, defaults));
    kbd.ClearLog();
    agent.Send(WM_APPLY_SETTINGS, 0, kSilentApply);
    const auto log = kbd.ReadLog();
    const int rounds = 50;
    const double viaAgent = ApplyMs(agent, rounds);
    const double direct = ReplayMs(log, rounds);
    std::printf("  %-8s %3zu requests  agent %7.2f ms  direct %7.2f ms  ratio %.2f\n",
                worst ? "worst" : "typical", log.size(), viaAgent, direct, viaAgent / direct);
  }

  std::printf("\nresources after the first and after %d silent applies (typical set)\n", applies);
  WriteTables(Settings(false, defaults));
  agent.Send(WM_APPLY_SETTINGS, 0, kSilentApply);
  const Resources first = Measure(agent);
  for (int n = 1; n < applies; ++n) agent.Send(WM_APPLY_SETTINGS, 0, kSilentApply);
  const Resources last = Measure(agent);
  Print("after the first", first);
  Print("after the last", last);
  std::printf("  handles and GDI objects %s\n",
              first.handles == last.handles && first.gdiObjects == last.gdiObjects ? "unchanged" : "CHANGED");
  agent.Close();
  DeleteSettingsKey();
  return 0;
}

}  // namespace
}  // namespace z4::e2e

int main(int argc, char** argv) {
  const int applies = argc > 1 ? std::atoi(argv[1]) : 1000;
  try {
    return z4::e2e::Run(applies);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "agent_bench: %s\n", e.what());
    return 1;
  }
}
