// z4ctl: the command-line stand-in for the Z4 configuration program. It moves the settings
// between the registry and a text file, shows them, and sends the agent its messages.
#include <algorithm>
#include <iterator>

#include "commands.h"
#include "console.h"

namespace z4ctl {
namespace {

struct Command {
  const char* name;
  const char* usage;
  const char* help;
  std::vector<std::string> valueOptions;
  std::vector<std::string> flagOptions;
  std::size_t operands;
  int (*run)(const CommandLine&);
};

const Command kCommands[] = {
    {"show", "z4ctl show [--layout FILE]",
     "Prints the stored settings in words: every key's assignment, then the macros and\n"
     "combinations the keys use, with their steps and keys. Key names come from ButtonPos.xml\n"
     "beside z4ctl.exe, or from --layout FILE.\n",
     {"--layout"}, {}, 0, RunShow},
    {"export", "z4ctl export FILE [--layout FILE]",
     "Writes all stored settings (key assignments, macros, combinations, rate, selected\n"
     "profile) to FILE as settings text, which import reads back.\n",
     {"--layout"}, {}, 1, RunExport},
    {"import", "z4ctl import FILE [--layout FILE]",
     "Reads settings text from FILE and stores all five settings values. The whole file is\n"
     "checked first: any error is reported with its line and nothing is stored. Keys the\n"
     "file does not assign get their default. Run apply afterwards to send them to the keyboard.\n",
     {"--layout"}, {}, 1, RunImport},
    {"status", "z4ctl status [--wait S]",
     "Tells whether the agent is running and has finished its start-up. --wait: wait up to S\n"
     "seconds for it.\n",
     {"--wait"}, {}, 0, RunStatus},
    {"apply", "z4ctl apply [--silent]",
     "Asks the running agent to apply the stored settings to the keyboard and waits until it\n"
     "has (at most 60 s). --silent: without the agent's progress window.\n",
     {}, {"--silent"}, 0, RunApply},
    {"rate", "z4ctl rate 1|2|8",
     "Stores the rate code and asks the running agent to set it on the keyboard.\n",
     {}, {}, 1, RunRate},
    {"reset", "z4ctl reset",
     "Asks the running agent to give the keyboard its factory key layout and to clear its\n"
     "combination and macro slots. The stored settings stay as they are.\n",
     {}, {}, 0, RunReset},
    {"close", "z4ctl close",
     "Sends the agent WM_CLOSE, as the configuration program may, and waits until it has\n"
     "ended; prints its exit code.\n",
     {}, {}, 0, RunClose},
    {"watch", "z4ctl watch [--count N] [--timeout S]",
     "Registers with the running agent as the configuration window and prints each message\n"
     "it sends, one line each: \"profile-changed N\", \"key-reset 0xNN NAME\", \"close\".\n"
     "Ends on close, on Ctrl+C, after N messages (--count) or after S seconds (--timeout).\n",
     {"--count", "--timeout"}, {}, 0, RunWatch},
};

constexpr const char* kExitCodes =
    "Exit codes: 0 done; 1 bad command line, file, key layout, settings text or registry\n"
    "access; 2 the agent is not running; 3 the agent did not answer in time, refused the\n"
    "message or did not confirm it (and watch's --timeout ran out).\n";

void PrintOverview() {
  std::string text = "z4ctl: Z4 keyboard settings from the command line.\n\nCommands:\n";
  for (const Command& c : kCommands) text += "  " + std::string(c.usage) + "\n";
  text += "\nz4ctl COMMAND --help describes a command.\n";
  Out(text + kExitCodes);
}

void PrintHelp(const Command& c) {
  Out("Usage: " + std::string(c.usage) + "\n\n" + c.help + "\n" + kExitCodes);
}

bool Contains(const std::vector<std::string>& list, const std::string& s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

int Dispatch(std::vector<std::string> args) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    if (args.size() == 2) args = {args[1], "--help"};  // "help import"
    else {
      PrintOverview();
      return args.empty() ? kExitFailed : kExitOk;
    }
  }
  const auto* command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                     [&](const Command& c) { return args[0] == c.name; });
  if (command == std::end(kCommands))
    return Fail(kExitFailed, "unknown command \"" + args[0] + "\"; z4ctl --help lists them");

  CommandLine line;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      PrintHelp(*command);
      return kExitOk;
    }
    if (Contains(command->valueOptions, a)) {
      if (i + 1 == args.size()) return Fail(kExitFailed, a + " needs a value; usage: " + command->usage);
      line.values[a] = args[++i];
    } else if (Contains(command->flagOptions, a)) {
      line.flags.insert(a);
    } else if (a.size() > 1 && a[0] == '-' && !(a[1] >= '0' && a[1] <= '9')) {
      return Fail(kExitFailed, "unknown option \"" + a + "\"; usage: " + command->usage);
    } else {
      line.operands.push_back(a);
    }
  }
  if (line.operands.size() != command->operands)
    return Fail(kExitFailed, std::string("usage: ") + command->usage);
  return command->run(line);
}

}  // namespace
}  // namespace z4ctl

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(z4ctl::Utf8(argv[i]));
  return z4ctl::Dispatch(args);
}
