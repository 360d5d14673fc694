// The commands of z4ctl, each taking its checked command line and returning its exit code.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace z4ctl {

// What follows the command name: operands in order, options with their values, flags.
struct CommandLine {
  std::vector<std::string> operands;
  std::map<std::string, std::string> values;  // "--layout" -> "FILE"
  std::set<std::string> flags;                // "--silent"

  const std::string* Value(const std::string& option) const {
    const auto it = values.find(option);
    return it == values.end() ? nullptr : &it->second;
  }
};

int RunShow(const CommandLine& line);
int RunImport(const CommandLine& line);
int RunExport(const CommandLine& line);
int RunStatus(const CommandLine& line);
int RunApply(const CommandLine& line);
int RunRate(const CommandLine& line);
int RunReset(const CommandLine& line);
int RunClose(const CommandLine& line);
int RunWatch(const CommandLine& line);

}  // namespace z4ctl
