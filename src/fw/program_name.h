// The running program's own file name, as message boxes are captioned.
#pragma once

#include <string>

namespace fw {

// File name of the executable without folder and extension ("Z4_Setting").
std::wstring ProgramName();

}  // namespace fw
