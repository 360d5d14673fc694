// Console output of z4ctl (UTF-8 text to the standard streams, flushed at once), its exit
// codes, and the text conversions at the Windows boundary.
#pragma once

#include <string>
#include <string_view>

#include "fw/win32.h"

namespace z4ctl {

enum ExitCode : int {
  kExitOk = 0,
  kExitFailed = 1,      // bad command line, file, key layout, settings text or registry access
  kExitNotRunning = 2,  // no agent window, or it went away
  kExitNoAnswer = 3,    // the agent did not answer in time, refused or did not confirm
};

// Writes to standard output or standard error as it is: a console gets the text as UTF-16,
// a pipe or a file gets the UTF-8 bytes. Nothing is buffered.
void Out(std::string_view text);
void Err(std::string_view text);
// "z4ctl: " + message + newline on standard error; returns code.
int Fail(int code, std::string_view message);

std::string Utf8(std::wstring_view text);
std::wstring Wide(std::string_view utf8);
// The system's message for an error code, one line.
std::string SystemMessage(DWORD error);

// A whole number 1..max written in decimal digits, or -1.
long long Positive(const std::string& text, long long max);

}  // namespace z4ctl
