#include "fw/program_name.h"

#include "fw/win32.h"

namespace fw {

std::wstring ProgramName() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name = path;
  name = name.substr(name.find_last_of(L"\\/") + 1);
  return name.substr(0, name.find_last_of(L'.'));
}

}  // namespace fw
